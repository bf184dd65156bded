#pragma once

#include "barcode/BarcodeElements.h"

namespace korval {

// Widths of one bar module and one space module in device units.
struct ModuleWidths {
  int Bar = 1;
  int Space = 1;
  friend bool operator==(const ModuleWidths&, const ModuleWidths&) = default;
};

// The module widths on a device of dpi dots per inch for a wanted bar module
// width in thousandths of an inch. The bar module is the wanted width rounded
// (halves to even), at least the bar-to-space ratio rounded, and at least the
// device's smallest line width (a hundredth of an inch, one dot at least)
// rounded; the space module is the bar module divided by the ratio, rounded.
// A ratio that is not positive counts as 1.
ModuleWidths ComputeModuleWidths(int dpi, double barWidth, double barToSpaceRatio);

// The width of the symbol in device units.
int SymbolWidth(const BarcodeElementList& elements, const ModuleWidths& widths);

}  // namespace korval
