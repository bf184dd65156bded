#include "barcode/TBarCodeControl.h"

#include "barcode/BarcodeEncoder.h"
#include "barcode/BarcodeError.h"
#include "barcode/BarcodeLook.h"
#include "barcode/BarcodePainter.h"
#include "platform/Text.h"

namespace korval {

TBarCodeControl::TBarCodeControl(Form& owner, std::string name)
    : Control(owner, ControlKind::BarCode, std::move(name)) {
  SetBounds(0, 0, 200, 75);
  Rebuild();
}

void TBarCodeControl::Rebuild() {
  elements_.clear();
  BarcodeOptions options = options_;
  options.BarToSpaceRatio = EffectiveBarToSpaceRatio(type_, options_.BarToSpaceRatio);
  elements_ = BuildElements(code_, type_, options);
  Changed("Elements");
}

void TBarCodeControl::SetBarCodeType(TBarCodeType v) {
  if (v == type_) return;
  type_ = v;
  Rebuild();
}

void TBarCodeControl::SetCode(std::string v) {
  if (v == code_ && !elements_.empty()) return;
  code_ = std::move(v);
  Changed("Code");
  Rebuild();
}

void TBarCodeControl::SetCode(TBarCodeType type, std::string v) {
  type_ = type;
  code_ = std::move(v);
  Changed("Code");
  Rebuild();
}

void TBarCodeControl::SetAddCheckChar(bool v) {
  if (v == options_.AddCheckChar) return;
  options_.AddCheckChar = v;
  Rebuild();
}

void TBarCodeControl::SetBarToSpaceRatio(double v) {
  if (v == options_.BarToSpaceRatio) return;
  options_.BarToSpaceRatio = v;
  Rebuild();
}

void TBarCodeControl::SetBarNarrowToWideRatio(int v) {
  if (v == options_.BarNarrowToWideRatio) return;
  options_.BarNarrowToWideRatio = v;
  Rebuild();
}

void TBarCodeControl::SetBarWidth(double v) {
  barWidth_ = v;
  Changed("BarWidth");
}

void TBarCodeControl::SetBarColor(Color v) {
  barColor_ = v;
  Changed("BarColor");
}

void TBarCodeControl::SetBackgroundColor(Color v) {
  color_ = v;
  Changed("Color");
}

void TBarCodeControl::SetShowCode(bool v) {
  if (v == showCode_) return;
  showCode_ = v;
  Changed("ShowCode");
}

void TBarCodeControl::SetShowGuardChars(bool v) {
  if (v == showGuardChars_) return;
  showGuardChars_ = v;
  Changed("ShowGuardChars");
}

void TBarCodeControl::SetTallGuardBars(bool v) {
  if (v == tallGuardBars_) return;
  tallGuardBars_ = v;
  Changed("TallGuardBars");
}

void TBarCodeControl::SetFont(const Font& v) {
  if (v == font_) return;
  font_ = v;
  Changed("Font");
}

void TBarCodeControl::PaintBarcodeTo(Canvas& canvas, const Rect& r) const {
  PaintBarcodeTo(canvas, r, font_);
}

void TBarCodeControl::PaintBarcodeTo(Canvas& canvas, const Rect& r, const Font& font) const {
  PaintBarcodeTo(canvas, r, font, showCode_);
}

void TBarCodeControl::PaintBarcodeTo(Canvas& canvas, const Rect& r, const Font& font,
                                     bool showCode, const Rect& codeCover) const {
  BarcodeLook look;
  look.Code = code_;
  look.Type = type_;
  look.AddCheckChar = options_.AddCheckChar;
  look.Elements = elements_;
  look.BarWidth = barWidth_;
  look.BarToSpaceRatio = EffectiveBarToSpaceRatio(type_, options_.BarToSpaceRatio);
  look.ShowCode = showCode;
  look.TallGuardBars = tallGuardBars_;
  look.BarColor = barColor_;
  look.Color = color_;
  look.Font = font;
  look.CodeCover = codeCover;
  korval::PaintBarcodeTo(canvas, r, look);
}

std::optional<TBarCodeType> SymbologyForLength(std::size_t length) {
  switch (length) {
    case 1:
    case 2:
    case 3:
    case 4:
    case 5:
      return bcInterleaved2of5;
    case 6:
      return bcUPC_E;
    case 8:
      return bcEAN_8;
    case 11:
      return bcCode11;
    case 12:
      return bcUPC_A;
    case 13:
      return bcEAN_13;
    default:
      return std::nullopt;
  }
}

void ApplyFixedBarcodeText(TBarCodeControl& barcode, Control& groupBox, const std::string& t) {
  try {
    barcode.SetCode(SymbologyForLength(CharCount(t)).value_or(barcode.BarCodeType()), t);
    groupBox.SetCaption(t);
  } catch (const BarcodeError&) {
    barcode.SetCode(std::string());
    barcode.SetHint("ERR : " + t);
  }
}

}  // namespace korval
