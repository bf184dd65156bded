#include "SymbolImage.h"

#include <QPainter>
#include <cmath>

#include "barcode/BarcodePainter.h"
#include "qt/QtApplication.h"
#include "qt/QtCanvas.h"

namespace korval::test {

QImage PaintSymbolImage(const BarcodeLook& look, int dpi, const Rect& item, int margin) {
  qt::EnsureApplication();
  QImage image(item.Right + margin, item.Bottom + margin, QImage::Format_RGB32);
  const int dotsPerMetre = static_cast<int>(std::lround(dpi / 0.0254));
  image.setDotsPerMeterX(dotsPerMetre);
  image.setDotsPerMeterY(dotsPerMetre);
  image.fill(Qt::white);
  QPainter painter(&image);
  qt::QtCanvas canvas(painter, dpi, dpi);
  PaintBarcodeTo(canvas, item, look);
  painter.end();
  return image;
}

Rect ScaledItem(int widthPx, int heightPx, int dpi, int margin) {
  const auto scale = [dpi](int px) { return static_cast<int>(std::lround(px * dpi / 96.0)); };
  return Rect{margin, margin, margin + scale(widthPx), margin + scale(heightPx)};
}

}  // namespace korval::test
