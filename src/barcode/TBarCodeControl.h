#pragma once

#include <functional>
#include <optional>
#include <string>

#include "barcode/BarcodeElements.h"
#include "barcode/BarcodeOptions.h"
#include "barcode/Symbology.h"
#include "dialog/Control.h"
#include "platform/Canvas.h"
#include "platform/Font.h"

namespace korval {

class GoodsRecord;

// The barcode item: a graphic control that draws its code as a symbol.
// Setting Code, BarCodeType, AddCheckChar or a ratio rebuilds the element
// list; a code the symbology cannot encode throws BarcodeError and leaves
// the list empty (the caller then clears the code).
class TBarCodeControl : public Control {
 public:
  TBarCodeControl(Form& owner, std::string name);

  TBarCodeType BarCodeType() const { return type_; }
  void SetBarCodeType(TBarCodeType v);
  const std::string& Code() const { return code_; }
  void SetCode(std::string v);
  // Both at once, with one rebuild: the old code is never tried against the
  // new symbology.
  void SetCode(TBarCodeType type, std::string v);
  bool AddCheckChar() const { return options_.AddCheckChar; }
  void SetAddCheckChar(bool v);
  double BarToSpaceRatio() const { return options_.BarToSpaceRatio; }
  void SetBarToSpaceRatio(double v);
  int BarNarrowToWideRatio() const { return options_.BarNarrowToWideRatio; }
  void SetBarNarrowToWideRatio(int v);

  double BarWidth() const { return barWidth_; }
  void SetBarWidth(double v);
  Color BarColor() const { return barColor_; }
  void SetBarColor(Color v);
  Color BackgroundColor() const { return color_; }
  void SetBackgroundColor(Color v);
  bool ShowCode() const { return showCode_; }
  void SetShowCode(bool v);
  bool ShowGuardChars() const { return showGuardChars_; }
  void SetShowGuardChars(bool v);
  bool TallGuardBars() const { return tallGuardBars_; }
  void SetTallGuardBars(bool v);
  bool BearerBars() const { return bearerBars_; }
  const std::string& SupplementalCode() const { return supplementalCode_; }
  const Font& GetFont() const { return font_; }
  void SetFont(const Font& v);

  const BarcodeElementList& Elements() const { return elements_; }

  // Draws the symbol into r on any canvas, at that canvas's resolution; the
  // font is taken as it is (heights in that canvas's units). The canvas's
  // drawing state is kept.
  void PaintBarcodeTo(Canvas& canvas, const Rect& r) const;
  void PaintBarcodeTo(Canvas& canvas, const Rect& r, const Font& font) const;
  // With the digits under the bars drawn or not, whatever ShowCode says:
  // painting changes no property, or every paint would ask for the next.
  // Digits that would lie wholly inside codeCover are left out: the caller
  // writes the number there itself.
  void PaintBarcodeTo(Canvas& canvas, const Rect& r, const Font& font, bool showCode,
                      const Rect& codeCover = {}) const;

 private:
  void Rebuild();

  TBarCodeType type_ = bcUPC_A;
  std::string code_ = "123456789012";
  BarcodeOptions options_;
  double barWidth_ = 12;
  Color barColor_ = kBlack;
  Color color_ = kWhite;
  bool showCode_ = true;
  bool showGuardChars_ = false;
  bool tallGuardBars_ = false;
  bool bearerBars_ = false;
  std::string supplementalCode_;
  Font font_;
  BarcodeElementList elements_;
};

// A catalogue barcode item: its code comes from a value getter.
class TPropBarCode : public TBarCodeControl {
 public:
  using TBarCodeControl::TBarCodeControl;
  std::function<std::optional<std::string>(Control&, const GoodsRecord*, int)> OnGetValue;
  int ValueIndex = -1;
};

// The rule of the fixed barcode item: the symbology by the length of t, the
// code, and the caption of the group box around the design surface. A code
// that cannot be encoded empties the barcode and leaves "ERR : " + t in its
// hint; the caption then keeps the last accepted code.
void ApplyFixedBarcodeText(TBarCodeControl& barcode, Control& groupBox, const std::string& t);

// The symbology that a text of this many characters selects, if any.
std::optional<TBarCodeType> SymbologyForLength(std::size_t length);

}  // namespace korval
