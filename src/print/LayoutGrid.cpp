#include "print/LayoutGrid.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "platform/NumberFormat.h"

namespace korval {
namespace {

constexpr int kIntMax = std::numeric_limits<int>::max();

double D(std::int64_t value) {
  return static_cast<double>(value);
}

int ClampToInt(double value) {
  if (value >= static_cast<double>(kIntMax)) return kIntMax;
  if (value <= static_cast<double>(std::numeric_limits<int>::min())) {
    return std::numeric_limits<int>::min();
  }
  return static_cast<int>(value);
}

}  // namespace

GridInput SheetGridInput(const SheetEdits& edits, MeasureUnit unit, double labelWidthMm,
                         double labelHeightMm, const PrinterResolution& resolution) {
  GridInput input;
  input.Unit = unit;
  input.TopMargin = EditValue(edits.meOdsazHorni);
  input.LeftMargin = EditValue(edits.meOdsazLev);
  input.HorizontalGap = EditValue(edits.meOdsazX);
  input.VerticalGap = EditValue(edits.meOdsazY);
  input.LabelWidthMm = labelWidthMm;
  input.LabelHeightMm = labelHeightMm;
  input.Resolution = resolution;
  return input;
}

LayoutGrid::LayoutGrid(const GridInput& input) : input_(input) {
  const double dotsPerMmX = input.Resolution.DotsPerMmX;
  const double dotsPerMmY = input.Resolution.DotsPerMmY;
  if (input.Unit == MeasureUnit::Dots) {
    spacing_.Top = RoundHalfEven(input.TopMargin);
    spacing_.Left = RoundHalfEven(input.LeftMargin);
    spacing_.GapX = RoundHalfEven(input.HorizontalGap);
    spacing_.GapY = RoundHalfEven(input.VerticalGap);
  } else {
    spacing_.Top = RoundHalfEven(input.TopMargin * dotsPerMmY);
    spacing_.Left = RoundHalfEven(input.LeftMargin * dotsPerMmX);
    spacing_.GapX = RoundHalfEven(input.HorizontalGap * dotsPerMmX);
    spacing_.GapY = RoundHalfEven(input.VerticalGap * dotsPerMmY);
  }
  metrics_.Width = RoundHalfEven(input.ScaleX * dotsPerMmX * input.LabelWidthMm);
  metrics_.Height = RoundHalfEven(input.ScaleY * dotsPerMmY * input.LabelHeightMm);
  metrics_.Top = RoundHalfEven(D(spacing_.Top) * input.ScaleY);
  metrics_.Left = RoundHalfEven(D(spacing_.Left) * input.ScaleX);
  metrics_.GapX = RoundHalfEven(D(spacing_.GapX) * input.ScaleX);
  metrics_.GapY = RoundHalfEven(D(spacing_.GapY) * input.ScaleY);
  // Where the labels start lies on the sheet's own pitch, not on the
  // rounded label plus the rounded gap: a sheet whose pitch is not a whole
  // number of dots (21,2 mm is 500,79 dots at 600 dpi) would otherwise drift
  // off its labels by a fraction of a dot per row. Margins and gaps typed in
  // dots are whole dots as they stand.
  const bool dots = input.Unit == MeasureUnit::Dots;
  pitchX_ = input.ScaleX * (dotsPerMmX * input.LabelWidthMm +
                            (dots ? D(spacing_.GapX) : input.HorizontalGap * dotsPerMmX));
  pitchY_ = input.ScaleY * (dotsPerMmY * input.LabelHeightMm +
                            (dots ? D(spacing_.GapY) : input.VerticalGap * dotsPerMmY));
  originX_ = input.ScaleX * (dots ? D(spacing_.Left) : input.LeftMargin * dotsPerMmX);
  originY_ = input.ScaleY * (dots ? D(spacing_.Top) : input.TopMargin * dotsPerMmY);
  columnsAdvance_ = D(metrics_.Width) + D(metrics_.GapX) > 0;
  rowsAdvance_ = D(metrics_.Height) + D(metrics_.GapY) > 0;
}

// The tests run in double: the rounded quantities are whole numbers, exact in
// a double far beyond any real sheet, and absurd edit values cannot overflow.
bool LayoutGrid::RowFits(int row) const {
  const double i = row;
  const double reach = (i + 1) * D(metrics_.Height) + (i - 1) * D(metrics_.GapY) + D(metrics_.Top);
  return reach < input_.SurfaceHeight + input_.OvershootY && input_.LabelHeightMm > 0 &&
         metrics_.Width >= 1 && metrics_.Height >= 1;
}

bool LayoutGrid::ColumnFits(int col) const {
  const double j = col;
  const double reach = (j + 1) * D(metrics_.Width) + (j - 1) * D(metrics_.GapX) + D(metrics_.Left);
  return reach < input_.SurfaceWidth + input_.OvershootX && input_.LabelWidthMm > 0;
}

GridPosition LayoutGrid::PositionAt(int col, int row) const {
  const double j = col;
  const double i = row;
  // Halves to even, as every rounding of the grid.
  const double left = std::nearbyint(j * pitchX_ + originX_);
  const double top = std::nearbyint(i * pitchY_ + originY_);
  GridPosition position;
  position.Col = col;
  position.Row = row;
  position.Bounds = {ClampToInt(left), ClampToInt(top), ClampToInt(left + D(metrics_.Width)),
                     ClampToInt(top + D(metrics_.Height))};
  return position;
}

template <typename Fits>
int LayoutGrid::CountFitting(Fits fits, double room, double firstReach, double step) const {
  if (!fits(0)) return 0;
  if (step <= 0) return 1;
  // reach(k) = firstReach + k × step; the estimate is corrected by the test
  // itself, so that rounding in the division cannot miscount.
  const double estimate = std::floor((room - firstReach) / step);
  int k = static_cast<int>(std::clamp(estimate, 0.0, static_cast<double>(kIntMax - 1)));
  while (k > 0 && !fits(k)) --k;
  while (k < kIntMax - 1 && fits(k + 1)) ++k;
  return k + 1;
}

int LayoutGrid::ColumnCount() const {
  if (!RowFits(0)) return 0;
  const double step = D(metrics_.Width) + D(metrics_.GapX);
  return CountFitting(
      [this](int j) { return ColumnFits(j); }, input_.SurfaceWidth + input_.OvershootX,
      D(metrics_.Width) - D(metrics_.GapX) + D(metrics_.Left), columnsAdvance_ ? step : 0);
}

int LayoutGrid::RowCount() const {
  if (!ColumnFits(0)) return 0;
  const double step = D(metrics_.Height) + D(metrics_.GapY);
  return CountFitting(
      [this](int i) { return RowFits(i); }, input_.SurfaceHeight + input_.OvershootY,
      D(metrics_.Height) - D(metrics_.GapY) + D(metrics_.Top), rowsAdvance_ ? step : 0);
}

std::vector<GridPosition> LayoutGrid::Positions() const {
  std::vector<GridPosition> positions;
  for (const GridPosition& position : *this) positions.push_back(position);
  return positions;
}

LayoutGrid::Iterator::Iterator(const LayoutGrid& grid) : grid_(&grid) {
  const int startRow = grid.input_.StartRow;
  if (!grid.RowFits(startRow)) return;
  current_.Row = startRow;
  if (grid.ColumnFits(grid.input_.StartCol)) {
    Place(grid.input_.StartCol, startRow);
    return;
  }
  // The start column lies beyond the first row; the sheet goes on with the
  // next row from its first column.
  NextRow();
}

void LayoutGrid::Iterator::Place(int col, int row) {
  current_ = grid_->PositionAt(col, row);
  done_ = false;
}

// Every row after the first starts at column 0, and whether a column fits
// does not depend on the row, so a row without column 0 ends the sheet.
void LayoutGrid::Iterator::NextRow() {
  const int row = current_.Row;
  if (!grid_->rowsAdvance_ || row == kIntMax || !grid_->RowFits(row + 1) || !grid_->ColumnFits(0)) {
    done_ = true;
    return;
  }
  Place(0, row + 1);
}

LayoutGrid::Iterator& LayoutGrid::Iterator::operator++() {
  if (done_) return *this;
  const int col = current_.Col;
  if (grid_->columnsAdvance_ && col != kIntMax && grid_->ColumnFits(col + 1)) {
    Place(col + 1, current_.Row);
  } else {
    NextRow();
  }
  return *this;
}

LayoutGrid::Iterator LayoutGrid::Iterator::operator++(int) {
  Iterator before = *this;
  ++*this;
  return before;
}

}  // namespace korval
