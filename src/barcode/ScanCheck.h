#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace korval {

// Why the barcode that a goods item's EAN text becomes on the label (the
// symbology chosen by its length, as the barcode items choose it) will not
// scan, or prints no symbol at all: characters the symbology cannot encode,
// a check digit that disagrees with the digits before it (the label encodes
// a full-length code as it stands), a UPC-E number that no UPC-A number
// zero-suppresses to, a length that no symbology takes. Nothing when the
// symbol will scan, or when the text is empty (no barcode wanted). The text
// is taken as given, already trimmed.
std::optional<std::string> WhyBarcodeWillNotScan(std::string_view text);

}  // namespace korval
