#pragma once

#include <string_view>

#include "barcode/BarcodeElements.h"
#include "barcode/BarcodeOptions.h"
#include "barcode/Symbology.h"

namespace korval {

// Turns a code into the symbol's elements for the symbology. An empty code
// gives an empty list (the barcode then paints its background only). Throws
// BarcodeError when a character cannot be encoded, and for the symbologies
// the system never selects (Codabar, Code 39, Code 93, Code 128).
//
// EAN-13, EAN-8 and UPC-A take a code one digit short of full length and add
// the check digit; a full-length code is encoded as it stands, its last digit
// unchecked. Codes of other lengths are cut or padded with "0" on the right
// to full length, like the text written under the bars. UPC-E takes the first
// six digits.
BarcodeElementList BuildElements(std::string_view code, TBarCodeType type,
                                 const BarcodeOptions& options);

}  // namespace korval
