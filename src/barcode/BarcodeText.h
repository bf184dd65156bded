#pragma once

#include <string>
#include <string_view>

#include "barcode/Symbology.h"

namespace korval {

// The text a barcode writes under its bars:
// - UPC-A, EAN-8, EAN-13: the digits the symbol carries (the code one digit
//   short gets its check digit; others are cut or padded with "0");
// - UPC-E: the first six characters, padded with "0";
// - Interleaved 2 of 5: the code with a "0" in front when its length is odd;
// - any other symbology: the code as it stands.
// A code with other characters than digits gets no check digit appended.
std::string WrittenText(std::string_view code, TBarCodeType type);

}  // namespace korval
