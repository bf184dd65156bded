#pragma once

#include <string>
#include <string_view>

#include "barcode/Symbology.h"

namespace korval {

// The text a barcode writes under its bars:
// - UPC-A, EAN-8, EAN-13: the digits the symbol carries (the code one digit
//   short gets its check digit; others are cut or padded with "0");
// - UPC-E: the first six characters, padded with "0";
// - Interleaved 2 of 5: the digits the bars carry: the code with its "0" in
//   front where the count must be made even, and with addCheckChar its check
//   digit (writing only the "0" for odd codes would put "05" under bars
//   that scan "55");
// - any other symbology: the code as it stands.
// A code with other characters than digits gets no check digit appended.
std::string WrittenText(std::string_view code, TBarCodeType type, bool addCheckChar);

}  // namespace korval
