#pragma once

#include <string>
#include <string_view>

#include "barcode/BarcodeElements.h"

namespace korval {

// The digits a fixed-length EAN or UPC symbol of `length` digits carries for
// a code: a code one digit short gets its GS1 check digit appended; any other
// code is cut to its first `length` characters and padded with "0" on the
// right, and its last digit is taken as it stands, checked or not. The
// written text under the bars is made the same way, so bars and text agree.
// The code must be digits only.
std::string CompleteEanUpcDigits(std::string_view code, int length);

// The encoders take a code of digits only (BarcodeError otherwise) and give
// the symbol with guard patterns as guard elements. No quiet zones.

// 95 modules: start guard, six digits in sets A and B as the first digit's
// parity says, centre guard, six digits in set C, end guard.
BarcodeElementList EncodeEan13(std::string_view code);

// 67 modules: start guard, four digits in set A, centre guard, four in set C,
// end guard.
BarcodeElementList EncodeEan8(std::string_view code);

// 95 modules: an EAN-13 of first digit 0, written as twelve digits.
BarcodeElementList EncodeUpcA(std::string_view code);

// 51 modules: start guard, six digits in sets A and B as the number-system-0
// parity of the check digit says, end guard "010101". The code's first six
// characters, padded with "0", are the six digits.
BarcodeElementList EncodeUpcE(std::string_view code);

}  // namespace korval
