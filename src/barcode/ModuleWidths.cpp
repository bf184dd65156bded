#include "barcode/ModuleWidths.h"

#include <cmath>

namespace korval {

namespace {

// Under the default rounding mode nearbyint rounds halves to even, which is
// how all geometry here rounds.
int RoundHalfToEven(double value) {
  return static_cast<int>(std::nearbyint(value));
}

}  // namespace

ModuleWidths ComputeModuleWidths(int dpi, double barWidth, double barToSpaceRatio) {
  const double ratio = barToSpaceRatio > 0 ? barToSpaceRatio : 1.0;
  // Multiplying first keeps widths that land on a half exact (12.5 at 600 dpi
  // is 7.5 dots, not a hair above it).
  int bar = RoundHalfToEven(barWidth * dpi / 1000.0);
  if (bar < ratio) bar = RoundHalfToEven(ratio);
  double smallestLine = dpi * 0.01;
  if (smallestLine < 1) smallestLine = 1;
  if (bar < smallestLine) bar = RoundHalfToEven(smallestLine);
  return ModuleWidths{bar, RoundHalfToEven(bar / ratio)};
}

int SymbolWidth(const BarcodeElementList& elements, const ModuleWidths& widths) {
  const ModuleTotals totals = CountModules(elements);
  return totals.BarModules * widths.Bar + totals.SpaceModules * widths.Space;
}

}  // namespace korval
