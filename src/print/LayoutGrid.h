#pragma once

#include <cstddef>
#include <cstdint>
#include <iterator>
#include <vector>

#include "platform/Geometry.h"
#include "print/SheetGeometry.h"

namespace korval {

// Which label positions a sheet has, in which order, and where each lies on a
// surface. The print job runs it on the whole sheet in printer dots (scale 1,
// surface = paper size × 25.4 × dots per mm, which is fractional); the page
// preview runs it on its paint box (surface = the box in pixels, scale =
// pixels per printer dot). Both get the same positions, so a start position
// picked on the preview is the one that gets printed.

struct GridInput {
  // The surface, in its own units. Deliberately not whole numbers: the
  // printer's sheet in dots is paper inches × 25.4 × DotsPerMm.
  double SurfaceWidth = 0;
  double SurfaceHeight = 0;
  // How far, in surface units, a position may overshoot the surface and
  // still fit. A sheet's labels are measured in millimetres and rounded to
  // dots one by one, so a sheet that the labels fill exactly (3 × 70 mm on
  // A4) comes out a dot or two wider than the paper; its last column ends in
  // the unprintable strip, where nothing is printed anyway. The sheet on
  // paper allows less than a millimetre (SheetOnPaper); 0 is the bare rule.
  double OvershootX = 0;
  double OvershootY = 0;
  // Surface units per printer dot.
  double ScaleX = 1;
  double ScaleY = 1;
  // The first position used; the column applies to the first row only.
  int StartCol = 0;
  int StartRow = 0;
  // The margin and gap edits' values, in Unit.
  MeasureUnit Unit = MeasureUnit::Dots;
  double TopMargin = 0;
  double LeftMargin = 0;
  double HorizontalGap = 0;
  double VerticalGap = 0;
  double LabelWidthMm = 0;
  double LabelHeightMm = 0;
  PrinterResolution Resolution;
};

// A grid input with the sheet taken from the edits (unreadable text counts as
// 0) and the dialog's label size; surface, scale and start are left for the
// caller.
GridInput SheetGridInput(const SheetEdits& edits, MeasureUnit unit, double labelWidthMm,
                         double labelHeightMm, const PrinterResolution& resolution);

// Margins and gaps in printer dots.
struct GridSpacing {
  std::int64_t Top = 0;
  std::int64_t Left = 0;
  std::int64_t GapX = 0;
  std::int64_t GapY = 0;
  friend bool operator==(const GridSpacing&, const GridSpacing&) = default;
};

// Label size, margins and gaps on the surface, each rounded on its own.
struct GridMetrics {
  std::int64_t Width = 0;   // W
  std::int64_t Height = 0;  // H
  std::int64_t Top = 0;
  std::int64_t Left = 0;
  std::int64_t GapX = 0;
  std::int64_t GapY = 0;
  friend bool operator==(const GridMetrics&, const GridMetrics&) = default;
};

struct GridPosition {
  int Col = 0;
  int Row = 0;
  // The label's rectangle on the surface: left = Col × pitch + margin
  // rounded, with the pitch (label and gap) and the margin as the edits give
  // them (whole dots in dots mode), right = left + W. Coordinates beyond the
  // range of int are clamped.
  Rect Bounds;
  friend bool operator==(const GridPosition&, const GridPosition&) = default;
};

// The positions row by row, left to right within a row, top to bottom. A row
// is laid while (i + 1) × H + (i − 1) × gy + top < SH + OvershootY, the label
// height is positive and W and H are at least 1; a column while
// (j + 1) × W + (j − 1) × gx + left < SW + OvershootX and the label width is
// positive.
// Both tests count one gap fewer than there are labels before the tested
// edge, so a label may reach into the last gap's width beyond the surface.
// All roundings are to the nearest integer with halves to even.
//
// Iterating is lazy and costs the same for every position, so a sheet of many
// thousands of small labels is cheap to walk and nothing is kept.
//
// A negative gap that cancels the label (W + gx ≤ 0, or H + gy ≤ 0) would make
// the tests hold for ever; such a row holds only its first column, and such a
// sheet only its first row.
class LayoutGrid {
 public:
  explicit LayoutGrid(const GridInput& input);

  const GridSpacing& SpacingDots() const { return spacing_; }
  const GridMetrics& Metrics() const { return metrics_; }

  class Iterator {
   public:
    using iterator_category = std::forward_iterator_tag;
    using value_type = GridPosition;
    using difference_type = std::ptrdiff_t;
    using pointer = const GridPosition*;
    using reference = const GridPosition&;

    Iterator() = default;

    reference operator*() const { return current_; }
    pointer operator->() const { return &current_; }
    Iterator& operator++();
    Iterator operator++(int);

    friend bool operator==(const Iterator& a, const Iterator& b) {
      if (a.done_ || b.done_) return a.done_ == b.done_;
      return a.grid_ == b.grid_ && a.current_.Col == b.current_.Col &&
             a.current_.Row == b.current_.Row;
    }
    friend bool operator==(const Iterator& it, std::default_sentinel_t) { return it.done_; }

   private:
    friend class LayoutGrid;
    explicit Iterator(const LayoutGrid& grid);
    void NextRow();
    void Place(int col, int row);

    const LayoutGrid* grid_ = nullptr;
    GridPosition current_;
    bool done_ = true;
  };

  Iterator begin() const { return Iterator(*this); }
  std::default_sentinel_t end() const { return {}; }

  // Every position at once.
  std::vector<GridPosition> Positions() const;

  // The columns and rows of a full sheet (from the first position, whatever
  // the start position), worked out without walking them.
  int ColumnCount() const;
  int RowCount() const;

 private:
  // The last index from which test still holds, counting from 0 when it
  // holds there: reach grows by step per index.
  template <typename Fits>
  int CountFitting(Fits fits, double room, double firstReach, double step) const;
  bool RowFits(int row) const;
  bool ColumnFits(int col) const;
  GridPosition PositionAt(int col, int row) const;

  GridInput input_;
  GridSpacing spacing_;
  GridMetrics metrics_;
  // Surface units: a label's start is Round(index × pitch + origin).
  double pitchX_ = 0;
  double pitchY_ = 0;
  double originX_ = 0;
  double originY_ = 0;
  bool columnsAdvance_ = true;
  bool rowsAdvance_ = true;
};

}  // namespace korval
