#pragma once

#include <QImage>

#include "barcode/BarcodeLook.h"
#include "platform/Geometry.h"

namespace korval::test {

// A white image of the given resolution with the barcode painted through the
// Qt canvas into `item`, leaving the margin around it white as the quiet zone
// a label leaves around its barcode.
QImage PaintSymbolImage(const BarcodeLook& look, int dpi, const Rect& item, int margin);

// An item of the design surface (pixels at 96 dpi) scaled to dpi, placed at
// (margin, margin).
Rect ScaledItem(int widthPx, int heightPx, int dpi, int margin);

}  // namespace korval::test
