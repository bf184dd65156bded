#include "print/LayoutGrid.h"

#include <gtest/gtest.h>

#include <iterator>
#include <utility>
#include <vector>

namespace korval {
namespace {

using Cells = std::vector<std::pair<int, int>>;  // (col, row)

// A sheet in printer dots at 10 dots per mm, so that label sizes given in
// dots come out exact.
GridInput DotsSheet(double surfaceWidth, double surfaceHeight, double labelWidthDots,
                    double labelHeightDots) {
  GridInput input;
  input.SurfaceWidth = surfaceWidth;
  input.SurfaceHeight = surfaceHeight;
  input.Unit = MeasureUnit::Dots;
  input.Resolution = {10.0f, 10.0f};
  input.LabelWidthMm = labelWidthDots / 10;
  input.LabelHeightMm = labelHeightDots / 10;
  return input;
}

Cells CellsOf(const LayoutGrid& grid) {
  Cells cells;
  for (const GridPosition& p : grid) cells.emplace_back(p.Col, p.Row);
  return cells;
}

Rect Bounds(int left, int top, int right, int bottom) {
  return Rect{left, top, right, bottom};
}

TEST(LayoutGridRows, RowTestCountsOneGapFewer) {
  // Row 1 is tested as 2 × 45 + 0 × 20 = 90 < 100 and laid, although it
  // ends at 110; row 2 (3 × 45 + 1 × 20 = 155) is not.
  GridInput input = DotsSheet(50, 100, 45, 45);
  input.VerticalGap = 20;
  const std::vector<GridPosition> positions = LayoutGrid(input).Positions();
  ASSERT_EQ(positions.size(), 2u);
  EXPECT_EQ(positions[0], (GridPosition{0, 0, Bounds(0, 0, 45, 45)}));
  EXPECT_EQ(positions[1], (GridPosition{0, 1, Bounds(0, 65, 45, 110)}));
}

TEST(LayoutGridRows, LabelAsHighAsThePageDoesNotFitWithoutAGap) {
  GridInput input = DotsSheet(200, 100, 100, 100);
  EXPECT_TRUE(LayoutGrid(input).Positions().empty());
  input.VerticalGap = 10;  // 100 − 10 = 90 < 100
  EXPECT_EQ(CellsOf(LayoutGrid(input)), (Cells{{0, 0}}));
}

TEST(LayoutGridRows, TopMarginCountsInTheRowTest) {
  GridInput input = DotsSheet(50, 100, 45, 45);
  input.TopMargin = 10;  // row 1: 90 + 10 = 100, not < 100
  EXPECT_EQ(CellsOf(LayoutGrid(input)), (Cells{{0, 0}}));
}

TEST(LayoutGridColumns, ColumnTestCountsOneGapFewer) {
  GridInput input = DotsSheet(100, 50, 45, 45);
  input.HorizontalGap = 20;
  const std::vector<GridPosition> positions = LayoutGrid(input).Positions();
  ASSERT_EQ(positions.size(), 2u);
  EXPECT_EQ(positions[1], (GridPosition{1, 0, Bounds(65, 0, 110, 45)}));
}

TEST(LayoutGridColumns, LeftMarginCountsInTheColumnTest) {
  GridInput input = DotsSheet(100, 50, 45, 45);
  input.LeftMargin = 10;
  EXPECT_EQ(CellsOf(LayoutGrid(input)), (Cells{{0, 0}}));
}

TEST(LayoutGridColumns, FractionalSurfaceWidthCounts) {
  // The printer's sheet in dots is inches × 25.4 × dots per mm: 100.5 here
  // holds a second 50-dot column that a sheet cut to 100 would not.
  EXPECT_EQ(CellsOf(LayoutGrid(DotsSheet(100.5, 60, 50, 50))), (Cells{{0, 0}, {1, 0}}));
  EXPECT_EQ(CellsOf(LayoutGrid(DotsSheet(100, 60, 50, 50))), (Cells{{0, 0}}));
}

TEST(LayoutGridOrder, RowByRowLeftToRight) {
  const GridInput input = DotsSheet(30, 30, 10, 10);
  EXPECT_EQ(CellsOf(LayoutGrid(input)),
            (Cells{{0, 0}, {1, 0}, {0, 1}, {1, 1}}));  // 3 × 10 is not < 30
}

TEST(LayoutGridStart, StartColumnAppliesToTheFirstRowOnly) {
  GridInput input = DotsSheet(35, 25, 10, 10);  // 3 columns, 2 rows
  input.StartCol = 2;
  EXPECT_EQ(CellsOf(LayoutGrid(input)), (Cells{{2, 0}, {0, 1}, {1, 1}, {2, 1}}));
  input.StartCol = 1;
  input.StartRow = 1;
  EXPECT_EQ(CellsOf(LayoutGrid(input)), (Cells{{1, 1}, {2, 1}}));
}

TEST(LayoutGridStart, StartRowBelowTheLastFittingRowLaysNothing) {
  GridInput input = DotsSheet(35, 25, 10, 10);
  input.StartRow = 1;
  EXPECT_EQ(CellsOf(LayoutGrid(input)), (Cells{{0, 1}, {1, 1}, {2, 1}}));
  input.StartRow = 2;
  EXPECT_TRUE(LayoutGrid(input).Positions().empty());
  input.StartRow = 50;
  EXPECT_TRUE(LayoutGrid(input).Positions().empty());
}

TEST(LayoutGridStart, StartColumnBeyondTheRowGoesOnWithTheNextRow) {
  GridInput input = DotsSheet(35, 25, 10, 10);
  input.StartCol = 5;
  EXPECT_EQ(CellsOf(LayoutGrid(input)), (Cells{{0, 1}, {1, 1}, {2, 1}}));
}

TEST(LayoutGridEmpty, ZeroLabelWidthOrHeightGivesNoPosition) {
  EXPECT_TRUE(LayoutGrid(DotsSheet(1000, 1000, 0, 10)).Positions().empty());
  EXPECT_TRUE(LayoutGrid(DotsSheet(1000, 1000, 10, 0)).Positions().empty());
  EXPECT_TRUE(LayoutGrid(DotsSheet(1000, 1000, -10, 10)).Positions().empty());
  // Less than half a surface unit rounds to a label of no size.
  GridInput input = DotsSheet(1000, 1000, 10, 10);
  input.ScaleX = 0.04;
  EXPECT_TRUE(LayoutGrid(input).Positions().empty());
}

TEST(LayoutGridEmpty, LabelLargerThanTheSheet) {
  EXPECT_TRUE(LayoutGrid(DotsSheet(100, 1000, 150, 10)).Positions().empty());
  EXPECT_EQ(LayoutGrid(DotsSheet(100, 1000, 150, 10)).begin(), LayoutGrid::Iterator());
}

TEST(LayoutGridScale, MillimetresOnAScaledSurface) {
  GridInput input;
  input.SurfaceWidth = 400;
  input.SurfaceHeight = 200;
  input.ScaleX = 0.5;
  input.ScaleY = 0.25;
  input.Unit = MeasureUnit::Millimetres;
  input.Resolution = {10.0f, 20.0f};
  input.TopMargin = 2;
  input.LeftMargin = 3;
  input.HorizontalGap = 1.5;
  input.VerticalGap = 2.5;
  input.LabelWidthMm = 20;
  input.LabelHeightMm = 10;
  const LayoutGrid grid(input);

  // Margins and gaps become dots along their own axis first...
  EXPECT_EQ(grid.SpacingDots(), (GridSpacing{40, 30, 15, 50}));
  // ...and are then scaled and rounded one by one, halves to even (the
  // vertical gap 12.5 becomes 12).
  EXPECT_EQ(grid.Metrics(), (GridMetrics{100, 50, 10, 15, 8, 12}));

  const std::vector<GridPosition> positions = grid.Positions();
  // The third column is tested as 323 < 400, the third row as 172 < 200.
  ASSERT_EQ(positions.size(), 9u);
  EXPECT_EQ(positions.front(), (GridPosition{0, 0, Bounds(15, 10, 115, 60)}));
  // Labels start on the sheet's own pitch, not on the rounded label plus the
  // rounded gap: 0.5 × (200 + 15) = 107.5 across, 0.25 × (200 + 50) = 62.5
  // down, so column 2 starts at 230 (not 231) and row 2 at 135 (not 134);
  // row 1's 72.5 rounds to even.
  EXPECT_EQ(positions[5], (GridPosition{2, 1, Bounds(230, 72, 330, 122)}));
  EXPECT_EQ(positions.back(), (GridPosition{2, 2, Bounds(230, 135, 330, 185)}));
}

TEST(LayoutGridScale, DotValuesRoundHalvesToEven) {
  GridInput input = DotsSheet(1000, 1000, 100, 100);
  input.TopMargin = 2.5;
  input.LeftMargin = 3.5;
  input.HorizontalGap = 0.5;
  input.VerticalGap = 1.5;
  const LayoutGrid grid(input);
  EXPECT_EQ(grid.SpacingDots(), (GridSpacing{2, 4, 0, 2}));
  EXPECT_EQ(grid.Positions().front().Bounds, Bounds(4, 2, 104, 102));
}

TEST(LayoutGridLazy, FirstPositionsOfAVastSheetComeAtOnce) {
  // A thousand million positions per row: walking must not lay them all.
  const LayoutGrid grid(DotsSheet(1e9, 1e9, 1, 1));
  auto it = grid.begin();
  EXPECT_EQ(it->Col, 0);
  EXPECT_EQ((it++)->Col, 0);
  EXPECT_EQ(it->Col, 1);
  ++it;
  EXPECT_EQ(*it, (GridPosition{2, 0, Bounds(2, 0, 3, 1)}));
}

TEST(LayoutGridLazy, ThousandsOfPositions) {
  // One-dot labels without gaps on a 100-dot sheet: (j + 1) < 100 leaves 99
  // columns and 99 rows.
  const LayoutGrid grid(DotsSheet(100, 100, 1, 1));
  const std::vector<GridPosition> positions = grid.Positions();
  ASSERT_EQ(positions.size(), 99u * 99u);
  EXPECT_EQ(positions.back(), (GridPosition{98, 98, Bounds(98, 98, 99, 99)}));
  EXPECT_EQ(std::distance(grid.begin(), LayoutGrid::Iterator()), 99 * 99);
}

TEST(LayoutGridGuard, GapCancellingTheLabelStillEnds) {
  // Every further position would pass the test again; only the first of each
  // row and the first row are laid.
  GridInput input = DotsSheet(100, 100, 10, 10);
  input.HorizontalGap = -10;
  EXPECT_EQ(CellsOf(LayoutGrid(input)),
            (Cells{{0, 0}, {0, 1}, {0, 2}, {0, 3}, {0, 4}, {0, 5}, {0, 6}, {0, 7}, {0, 8}}));
  input.HorizontalGap = 0;
  input.VerticalGap = -15;
  EXPECT_EQ(LayoutGrid(input).Positions().size(), 9u);  // one row of 9
}

// The sheet that labels fill exactly: 3 × 70 mm across A4 (210 mm) at
// 600 dpi. Each label rounds to 1654 dots, three reach 4962, past the
// sheet's 4960.6; with less than a millimetre's overshoot allowed, the third
// column is laid, and one that overshoots by a millimetre or more is not.
TEST(LayoutGridOvershoot, ASheetFilledExactlyKeepsItsLastColumn) {
  const float dotsPerMm = 600 / 25.4f;
  GridInput input;
  input.SurfaceWidth = 210 * dotsPerMm;
  input.SurfaceHeight = 297 * dotsPerMm;
  input.Unit = MeasureUnit::Millimetres;
  input.Resolution = {dotsPerMm, dotsPerMm};
  input.LabelWidthMm = 70;
  input.LabelHeightMm = 297.0 / 7;
  EXPECT_EQ(LayoutGrid(input).ColumnCount(), 2) << "the bare rule";
  EXPECT_EQ(LayoutGrid(input).RowCount(), 7);
  input.OvershootX = dotsPerMm;
  input.OvershootY = dotsPerMm;
  const LayoutGrid grid(input);
  EXPECT_EQ(grid.ColumnCount(), 3);
  EXPECT_EQ(grid.RowCount(), 7);
  EXPECT_EQ(grid.Positions().size(), 21u);
  // 2 × 1653.5 from the sheet's edge, rounded, and a label of 1654.
  EXPECT_EQ(grid.Positions().back().Bounds.Right, 3307 + 1654);

  input.LeftMargin = 1.0;  // 24 dots more: a millimetre past the sheet
  EXPECT_EQ(LayoutGrid(input).ColumnCount(), 2);
  input.LeftMargin = 0.9;
  EXPECT_EQ(LayoutGrid(input).ColumnCount(), 3);
}

// Columns and rows are worked out without walking the sheet; they must
// be what the walk lays, whatever the start position.
TEST(LayoutGridCount, ColumnsAndRowsAreThoseOfTheWalk) {
  struct Case {
    const char* name;
    GridInput input;
  };
  auto withGaps = [](GridInput in, double gx, double gy, double left, double top) {
    in.HorizontalGap = gx;
    in.VerticalGap = gy;
    in.LeftMargin = left;
    in.TopMargin = top;
    return in;
  };
  auto started = [](GridInput in, int col, int row) {
    in.StartCol = col;
    in.StartRow = row;
    return in;
  };
  auto overshoot = [](GridInput in, double x, double y) {
    in.OvershootX = x;
    in.OvershootY = y;
    return in;
  };
  const Case cases[] = {
      {"plain", DotsSheet(30, 30, 10, 10)},
      {"gaps and margins", withGaps(DotsSheet(1000, 700, 90, 45), 7, 3, 11, 5)},
      {"started late", started(withGaps(DotsSheet(1000, 700, 90, 45), 7, 3, 11, 5), 4, 6)},
      {"one column", DotsSheet(50, 500, 45, 10)},
      {"label wider than the sheet", DotsSheet(100, 1000, 150, 10)},
      {"no height", DotsSheet(100, 100, 10, 0)},
      {"gap cancelling the label", withGaps(DotsSheet(100, 100, 10, 10), -10, 0, 0, 0)},
      {"rows cancelled", withGaps(DotsSheet(100, 100, 10, 10), 0, -15, 0, 0)},
      {"negative margin", withGaps(DotsSheet(100, 100, 10, 10), 0, 0, -25, -5)},
      {"overshoot", overshoot(DotsSheet(100, 100, 25, 20), 0.5, 5)},
      {"fractional", DotsSheet(100.5, 60.25, 50, 20)},
  };
  for (const Case& c : cases) {
    const LayoutGrid grid(c.input);
    GridInput full = c.input;
    full.StartCol = 0;
    full.StartRow = 0;
    int columns = 0;
    int rows = 0;
    for (const GridPosition& p : LayoutGrid(full)) {
      if (p.Row == 0) ++columns;
      rows = p.Row + 1;
    }
    EXPECT_EQ(grid.ColumnCount(), columns) << c.name;
    EXPECT_EQ(grid.RowCount(), rows) << c.name;
  }
  // A sheet of a thousand million columns is counted, not walked.
  const LayoutGrid vast(DotsSheet(1e9, 10, 1, 5));
  EXPECT_EQ(vast.ColumnCount(), 999999999);
  EXPECT_EQ(vast.RowCount(), 1);
}

TEST(SheetGridInput, TakesMarginsFromTheEdits) {
  SheetEdits edits;
  edits.meOdsazHorni = "1,5";
  edits.meOdsazLev = "2";
  edits.meOdsazX = "";
  edits.meOdsazY = "3,";
  const GridInput input =
      SheetGridInput(edits, MeasureUnit::Millimetres, 40, 30, PrinterResolution{10.0f, 20.0f});
  EXPECT_EQ(input.Unit, MeasureUnit::Millimetres);
  EXPECT_EQ(input.TopMargin, 1.5);
  EXPECT_EQ(input.LeftMargin, 2.0);
  EXPECT_EQ(input.HorizontalGap, 0.0);
  EXPECT_EQ(input.VerticalGap, 3.0);
  EXPECT_EQ(input.LabelWidthMm, 40.0);
  EXPECT_EQ(input.LabelHeightMm, 30.0);
  EXPECT_EQ(input.Resolution, (PrinterResolution{10.0f, 20.0f}));
}

}  // namespace
}  // namespace korval
