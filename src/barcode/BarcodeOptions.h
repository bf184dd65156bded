#pragma once

namespace korval {

// The control's settings that shape the element list.
struct BarcodeOptions {
  // Interleaved 2 of 5 and Code 11 only: append the symbology's check
  // character(s). EAN and UPC take no notice of it: a code one digit short
  // always gets its check digit, a full one never.
  bool AddCheckChar = true;
  // Bar module width divided by space module width. The list itself is in
  // modules and does not depend on it; painting does.
  double BarToSpaceRatio = 1.0;
  // Width of a wide element in modules, for the two-width symbologies.
  int BarNarrowToWideRatio = 2;
};

}  // namespace korval
