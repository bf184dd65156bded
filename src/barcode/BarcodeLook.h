#pragma once

#include <string>

#include "barcode/BarcodeElements.h"
#include "barcode/Symbology.h"
#include "platform/Color.h"
#include "platform/Font.h"
#include "platform/Geometry.h"

namespace korval {

// Everything painting a barcode needs: the code with the elements built from
// it (BuildElements) and the control's look.
struct BarcodeLook {
  std::string Code;
  TBarCodeType Type = bcUPC_A;
  // Whether the elements carry a check character (Interleaved 2 of 5, Code
  // 11); the written text shows it.
  bool AddCheckChar = true;
  BarcodeElementList Elements;
  // Wanted width of a bar module in thousandths of an inch.
  double BarWidth = 12;
  double BarToSpaceRatio = 1;
  bool ShowCode = true;
  bool TallGuardBars = false;
  korval::Color BarColor = kBlack;
  korval::Color Color = kWhite;
  // The font of the written code, in the colour it is written in. Its Height
  // is in device units of the canvas painted on, as every canvas font is: on
  // the design surface that is the item's own font; for a printer page the
  // caller scales the height to printer dots first.
  korval::Font Font;
  // Where the caller writes the number itself, over the code: a written code
  // that would lie wholly inside it is left out, as it would be covered.
  Rect CodeCover;
};

}  // namespace korval
