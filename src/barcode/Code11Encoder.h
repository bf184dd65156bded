#pragma once

#include <string_view>

#include "barcode/BarcodeElements.h"

namespace korval {

// Code 11 for a code of digits and "-": the start/stop pattern at both ends,
// each character followed by one narrow space, and with addCheckChars the
// check characters C and K after the data whatever its length. Wide elements
// are wideModules wide; start and stop are guard elements. BarcodeError for
// any other character.
BarcodeElementList EncodeCode11(std::string_view code, bool addCheckChars, int wideModules);

}  // namespace korval
