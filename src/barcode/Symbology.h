#pragma once

namespace korval {

// The symbologies a barcode control knows, in the order the control's
// property lists them (0..9). The label only ever selects EAN-13, EAN-8,
// UPC-A, UPC-E, Interleaved 2 of 5 and Code 11; the others are named so that
// every value of the property means something, and encoding them fails.
enum TBarCodeType : int {
  bcUPC_A,
  bcUPC_E,
  bcEAN_8,
  bcEAN_13,
  bcInterleaved2of5,
  bcCodabar,
  bcCode11,
  bcCode39,
  bcCode93,
  bcCode128,
};

// Symbologies of narrow and wide elements draw bars and spaces of one module
// width, so a bar-to-space ratio other than 1 would distort them: the control
// keeps the ratio at 1 for those, whatever was asked.
constexpr double EffectiveBarToSpaceRatio(TBarCodeType type, double ratio) {
  switch (type) {
    case bcInterleaved2of5:
    case bcCode11:
    case bcCode39:
    case bcCode93:
    case bcCode128:
      return 1.0;
    default:
      return ratio;
  }
}

}  // namespace korval
