#pragma once

#include "platform/Canvas.h"
#include "platform/Geometry.h"
#include "print/LayoutGrid.h"

namespace korval {

class TfrmMain;

// Where the preview draws the label of a grid position: the sheet's metrics
// at the preview's scale, from the printable area's corner (offset).
Rect PreviewCell(const GridPosition& position, const GridMetrics& scaledCells, Point offset);

// The page preview with its details shown ("Podrobnosti"): every label
// position of the first sheet, from the start position on, painted with the
// goods item that a real print puts there, scaled down into the preview's
// cells. The grid is the sheet in printer dots, scaledCells the same sheet on
// the preview (its metrics at the preview's scale), offset the corner of the
// printable area on the preview, scaleX and scaleY preview pixels per dot.
//
// Each goods item is bound once for its run of positions; afterwards the item
// that was bound before is bound again, so the design surface, the goods
// navigation and the print's counters are as they were. Onto a NullCanvas
// (a pass that only picks the start position) nothing is bound.
void PaintPreviewContents(TfrmMain& dialog, Canvas& canvas, const LayoutGrid& grid,
                          const GridMetrics& scaledCells, Point offset, double scaleX,
                          double scaleY);

}  // namespace korval
