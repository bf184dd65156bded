#pragma once

#include "barcode/BarcodeLook.h"
#include "platform/Canvas.h"
#include "platform/Geometry.h"

namespace korval {

// Paints the barcode into r on any canvas, with module widths for the
// canvas's horizontal resolution: the background fills r; the symbol, without
// quiet zones, is centred in r when it fits and starts at r's left edge when
// it does not; the bars take r's height less a tenth at top and bottom, and
// less a line of text when the code is written under them. Tall guard bars
// reach above and below the data bars by the guard extension. A barcode
// without elements paints its background only. The canvas's drawing state is
// as it was afterwards.
void PaintBarcodeTo(Canvas& canvas, const Rect& r, const BarcodeLook& look);

}  // namespace korval
