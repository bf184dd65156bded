#include "barcode/BarcodePainter.h"

#include <algorithm>
#include <string>
#include <vector>

#include "barcode/BarcodeText.h"
#include "barcode/ModuleWidths.h"

namespace korval {

namespace {

constexpr unsigned kOneLine = DT_SINGLELINE | DT_NOPREFIX;

// How far tall guard bars reach beyond the data bars: a tenth of the bar
// height, and with the code written no more than a quarter of a text line,
// which is the gap left between bars and text.
int GuardExtension(int barHeight, bool showCode, int textHeight) {
  const int g = barHeight * 10 / 100;
  return showCode ? std::min(g, textHeight / 4) : g;
}

bool Contains(const Rect& outer, const Rect& inner) {
  return inner.Left >= outer.Left && inner.Right <= outer.Right && inner.Top >= outer.Top &&
         inner.Bottom <= outer.Bottom;
}

// Writes one line into box, unless the line would lie wholly under cover:
// the glyphs stay within the box, one text line high at its top or bottom.
void WriteLine(Canvas& canvas, const std::string& text, Rect box, unsigned flags, int textHeight,
               const Rect& cover) {
  Rect ink = box;
  if ((flags & DT_BOTTOM) != 0)
    ink.Top = std::max(box.Top, box.Bottom - textHeight);
  else
    ink.Bottom = std::min(box.Bottom, box.Top + textHeight);
  if (Contains(cover, ink)) return;
  canvas.DrawText(text, box, flags);
}

void WriteCode(Canvas& canvas, std::string text, TBarCodeType type, const Rect& r, int x, int width,
               int barHeight, int textHeight, const Rect& cover) {
  canvas.SetBrushStyle(BrushStyle::Clear);
  if (type == bcUPC_A && text.size() >= 2) {
    // UPC-A writes its number-system digit and check digit beside the
    // symbol, each in a box twice a digit wide, level with the bars' bottom.
    const std::string first = text.substr(0, 1);
    const std::string last = text.substr(text.size() - 1);
    const int firstWidth = canvas.TextExtent(first).Cx;
    WriteLine(canvas, first, Rect{x - 2 * firstWidth, r.Top, x, r.Top + barHeight},
              kOneLine | DT_BOTTOM | DT_CENTER, textHeight, cover);
    const int lastWidth = canvas.TextExtent(last).Cx;
    WriteLine(canvas, last, Rect{x + width, r.Top, x + width + 2 * lastWidth, r.Top + barHeight},
              kOneLine | DT_BOTTOM | DT_CENTER, textHeight, cover);
    text = text.substr(1, text.size() - 2);
  }
  WriteLine(canvas, text, Rect{x, r.Top + barHeight + textHeight / 4, x + width, r.Bottom},
            kOneLine | DT_TOP | DT_CENTER, textHeight, cover);
  canvas.SetBrushStyle(BrushStyle::Solid);
}

}  // namespace

void PaintBarcodeTo(Canvas& canvas, const Rect& rect, const BarcodeLook& look) {
  CanvasStateGuard state(canvas);
  canvas.SetBrushStyle(BrushStyle::Solid);
  canvas.SetBrushColor(look.Color);
  canvas.FillRect(rect);
  if (look.Elements.empty()) return;

  Rect r = rect;
  const int margin = rect.Height() * 10 / 100;
  r.Top += margin;
  r.Bottom -= margin;
  canvas.SetBrushColor(look.BarColor);
  canvas.SetPenColor(look.BarColor);
  canvas.SetFont(look.Font);

  const ModuleWidths widths =
      ComputeModuleWidths(canvas.DpiX(), look.BarWidth, look.BarToSpaceRatio);
  const int width = SymbolWidth(look.Elements, widths);
  int x = width < r.Width() ? r.Left + (r.Width() - width) / 2 : r.Left;

  int h = r.Height();
  const int textHeight = canvas.TextExtent("Yg0").Cy;
  int g = GuardExtension(h, look.ShowCode, textHeight);
  if (look.ShowCode && !look.Code.empty()) {
    h -= textHeight + textHeight / 4;
    g = GuardExtension(h, look.ShowCode, textHeight);
    WriteCode(canvas, WrittenText(look.Code, look.Type, look.AddCheckChar), look.Type, r, x, width,
              h, textHeight, look.CodeCover);
  }

  std::vector<Rect> bars;
  bars.reserve(look.Elements.size());
  for (const BarcodeElement& element : look.Elements) {
    if (!IsBar(element.Kind)) {
      x += element.Modules * widths.Space;
      continue;
    }
    const int right = x + element.Modules * widths.Bar;
    const bool tall = look.TallGuardBars && element.Kind == BarcodeElementKind::GuardBar;
    const Rect bar =
        tall ? Rect{x, r.Top - g, right, r.Top + h + g} : Rect{x, r.Top, right, r.Top + h};
    // A rectangle too low for any bar (text taking all the room) draws nothing.
    if (bar.Bottom > bar.Top) bars.push_back(bar);
    x = right;
  }
  canvas.FillRects(bars);
}

}  // namespace korval
