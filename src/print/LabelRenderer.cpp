// One label drawn onto a printed page: the items as they stand on the design
// surface at this moment, mapped from design pixels to printer dots.
#include "barcode/BarcodeText.h"
#include "dialog/TfrmMain.h"
#include "platform/NumberFormat.h"
#include "platform/Text.h"

namespace korval {
namespace {

int ToDots(double pixels, float dotsPerPixel, int origin) {
  return static_cast<int>(RoundHalfEven(pixels * dotsPerPixel + origin));
}

// Font heights are design pixels; negative ones (character height) stay
// negative, so the printed glyphs keep the size they have on screen.
Font FontOnPage(const Font& font, float dotsPerPixelY) {
  Font scaled = font;
  scaled.Height = static_cast<int>(RoundHalfEven(font.Height * static_cast<double>(dotsPerPixelY)));
  return scaled;
}

unsigned TextFlags(const TLabel& label) {
  unsigned flags = 0;
  if (label.WordWrap()) flags |= DT_WORDBREAK;
  switch (label.Alignment()) {
    case TAlignment::taRightJustify:
      flags |= DT_RIGHT;
      break;
    case TAlignment::taCenter:
      flags |= DT_CENTER;
      break;
    case TAlignment::taLeftJustify:
      break;
  }
  switch (label.Layout()) {
    case TTextLayout::tlCenter:
      flags |= DT_VCENTER;
      break;
    case TTextLayout::tlBottom:
      flags |= DT_BOTTOM;
      break;
    case TTextLayout::tlTop:
      break;
  }
  return flags;
}

void PaintPicture(Canvas& canvas, const TImage& image, const Rect& r) {
  const Picture& picture = image.GetPicture();
  if (picture.Empty()) return;
  if (image.Stretch()) {
    canvas.StretchDraw(r, picture);
  } else {
    // One picture pixel per printer dot: a photo keeps its own resolution.
    canvas.Draw(r.Left, r.Top, picture);
  }
}

// The items of the label at (x, y) of the canvas, design pixels scaled by
// the given dots per pixel. The canvas's brush colour is the background. On
// the screen a barcode's own digits are the legible ones.
void PaintItems(TfrmMain& dialog, Canvas& canvas, int x, int y, float dotsPerPixelX,
                float dotsPerPixelY, bool outlines, bool screen) {
  const Color background = canvas.BrushColor();
  for (int i = 0; i < dialog.ComponentCount(); ++i) {
    Control& item = dialog.Component(i);
    if (!IsLabelItem(item)) continue;
    const Rect r{ToDots(item.Left(), dotsPerPixelX, x), ToDots(item.Top(), dotsPerPixelY, y),
                 ToDots(item.Left() + item.Width(), dotsPerPixelX, x),
                 ToDots(item.Top() + item.Height(), dotsPerPixelY, y)};
    canvas.SetBrushColor(background);

    if (const auto* image = dynamic_cast<const TImage*>(&item)) {
      PaintPicture(canvas, *image, r);
    } else if (const auto* barcode = dynamic_cast<const TBarCodeControl*>(&item)) {
      // Bit 0 of the tag asks for the number above the bars; the barcode
      // itself would write it below, so it is drawn without it.
      const bool numberAbove = (barcode->Tag() & 1) != 0;
      const bool showCode = barcode->ShowCode() && !numberAbove;
      if (screen && !numberAbove) {
        barcode->PaintBarcodeTo(canvas, r, barcode->GetFont(), showCode);
        continue;
      }

      // The barcode's own digits are written in a font meant for the screen;
      // the number is written again, legibly, in the font scaled to the page,
      // on a band of the background. Digits of the barcode that the band
      // covers are not written at all: the page holds the number once.
      canvas.SetFont(FontOnPage(barcode->GetFont(), dotsPerPixelY));
      // Interleaved 2 of 5 writes the digits its bars carry, the "0" in
      // front and the check digit included; the other codes as they stand.
      const std::string number =
          barcode->BarCodeType() == bcInterleaved2of5 && !barcode->Elements().empty()
              ? WrittenText(TrimControl(barcode->Code()), bcInterleaved2of5,
                            barcode->AddCheckChar())
              : TrimControl(barcode->Code());
      // One text line's height, whatever the digits.
      const int line = canvas.TextExtent("0").Cy;
      const Rect band = numberAbove ? Rect{r.Left, r.Top - line, r.Right, r.Top}
                                    : Rect{r.Left, r.Bottom - line, r.Right, r.Bottom};
      barcode->PaintBarcodeTo(canvas, r, barcode->GetFont(), showCode, band);
      canvas.SetBrushStyle(BrushStyle::Solid);
      canvas.SetBrushColor(background);
      canvas.FillRect(band);
      dialog.DrawItemText(canvas, number, band, DT_CENTER | DT_BOTTOM);
    } else if (const auto* label = dynamic_cast<const TLabel*>(&item)) {
      const Font font = FontOnPage(label->GetFont(), dotsPerPixelY);
      canvas.SetFont(font);
      canvas.SetPenColor(font.FontColor);
      canvas.SetBrushColor(background);
      dialog.DrawItemText(canvas, label->Caption(), r, TextFlags(*label));
    }

    if (outlines) {
      canvas.SetBrushColor(kBlack);
      canvas.FrameRect(r);
      canvas.SetBrushColor(background);
    }
  }
}

}  // namespace

void TfrmMain::PaintTiket(Canvas& canvas, int x, int y) {
  // The caller's pen, font and brush come back unchanged, whatever the items
  // set; its brush colour is the page background that every item sits on.
  CanvasStateGuard keep(canvas);
  canvas.SetBrushStyle(BrushStyle::Solid);

  if (Ctl<CheckBox>("cbRamecek").Checked()) {
    const Color background = canvas.BrushColor();
    const int width = static_cast<int>(RoundHalfEven(Resolution.DotsPerMmX * LabelWidthMm()));
    const int height = static_cast<int>(RoundHalfEven(Resolution.DotsPerMmY * LabelHeightMm()));
    canvas.SetBrushColor(kBlack);
    canvas.FrameRect(Rect{x, y, x + width, y + height});
    canvas.SetBrushColor(background);
  }
  PaintItems(*this, canvas, x, y, DotsPerPixelX, DotsPerPixelY,
             TestMode && Ctl<CheckBox>("CheckBox2").Checked(), false);
}

void TfrmMain::PaintItemsForScreen(Canvas& canvas) {
  // The design surface draws its frame itself (PaintBox1Paint); here only the
  // items, one design pixel per screen pixel.
  CanvasStateGuard keep(canvas);
  canvas.SetBrushStyle(BrushStyle::Solid);
  PaintItems(*this, canvas, 0, 0, 1.0F, 1.0F, false, true);
}

// The platform's text drawing places single lines vertically but leaves a
// block of wrapped lines at the top. The block is measured first and the
// rectangle's top moved down by the room left, so centred and bottom layouts
// hold for any number of lines; the bottom edge stays, so the text is still
// cut at the item's rectangle.
void TfrmMain::DrawItemText(Canvas& canvas, const std::string& text, Rect rect, unsigned flags) {
  constexpr unsigned kVertical = DT_VCENTER | DT_BOTTOM;
  const unsigned lines = flags & ~(kVertical | DT_CALCRECT | DT_NOCLIP);
  if ((flags & kVertical) != 0) {
    Rect needed = rect;
    canvas.DrawText(text, needed, lines | DT_CALCRECT);
    const int room = rect.Height() - needed.Height();
    if (room < 0) {
      // Taller than the item: cut on both sides as the canvas aligns it
      // within the rectangle, where it can.
      canvas.DrawText(text, rect, flags & ~(DT_CALCRECT | DT_NOCLIP));
      return;
    }
    rect.Top += (flags & DT_VCENTER) != 0 ? room / 2 : room;
  }
  canvas.DrawText(text, rect, lines);
}

}  // namespace korval
