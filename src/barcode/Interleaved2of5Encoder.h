#pragma once

#include <string>
#include <string_view>

#include "barcode/BarcodeElements.h"

namespace korval {

// The digits an Interleaved 2 of 5 symbol carries for a code of digits. The
// symbol holds digit pairs, so the count must come out even: with the check
// digit a "0" goes in front of an even number of digits and the GS1 check
// digit (weight 3 on the rightmost data digit) is appended; without it a "0"
// goes in front of an odd number of digits.
std::string Interleaved2of5Digits(std::string_view code, bool addCheckChar);

// Start "narrow bar, narrow space, narrow bar, narrow space", the digit pairs
// (the bars carry the first digit of a pair, the spaces the second), stop
// "wide bar, narrow space, narrow bar". Wide elements are wideModules wide;
// start and stop are guard elements. BarcodeError for anything but digits.
BarcodeElementList EncodeInterleaved2of5(std::string_view code, bool addCheckChar, int wideModules);

}  // namespace korval
