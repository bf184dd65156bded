#include "barcode/ScanCheck.h"

#include "barcode/BarcodeEncoder.h"
#include "barcode/BarcodeError.h"
#include "barcode/CheckDigits.h"
#include "barcode/TBarCodeControl.h"
#include "platform/Text.h"

namespace korval {
namespace {

const char* Name(TBarCodeType type) {
  switch (type) {
    case bcUPC_A:
      return "UPC-A";
    case bcUPC_E:
      return "UPC-E";
    case bcEAN_8:
      return "EAN-8";
    case bcEAN_13:
      return "EAN-13";
    case bcInterleaved2of5:
      return "Interleaved 2 of 5";
    case bcCode11:
      return "Code 11";
    default:
      return "the barcode";
  }
}

// The GS1 zero-suppression rules give a UPC-E number only for these UPC-A
// numbers; a scanner expands the six digits back by the last one.
std::optional<std::string> UpcEProblem(std::string_view d) {
  switch (d[5]) {
    case '3':
      if (d[2] < '3') return "a UPC-E number ending in 3 needs a third digit of 3 to 9";
      break;
    case '4':
      if (d[3] == '0') return "a UPC-E number ending in 4 needs a fourth digit other than 0";
      break;
    case '5':
    case '6':
    case '7':
    case '8':
    case '9':
      if (d[4] == '0') return "a UPC-E number ending in 5 to 9 needs a fifth digit other than 0";
      break;
    default:
      break;
  }
  return std::nullopt;
}

}  // namespace

std::optional<std::string> WhyBarcodeWillNotScan(std::string_view text) {
  const std::size_t length = CharCount(text);
  if (length == 0) return std::nullopt;
  const auto type = SymbologyForLength(length);
  if (!type) {
    return "no barcode takes a code of " + std::to_string(length) +
           " characters (1 to 5, 6, 8, 11, 12 or 13); the label shows none, or the code cut or "
           "padded";
  }
  try {
    BuildElements(text, *type, BarcodeOptions{});
  } catch (const BarcodeError& e) {
    return std::string(e.what()) + "; the label shows no barcode";
  }
  switch (*type) {
    case bcEAN_13:
    case bcEAN_8:
    case bcUPC_A: {
      const std::string_view data = text.substr(0, text.size() - 1);
      const char wanted = static_cast<char>('0' + Gs1CheckDigit(data));
      if (text.back() != wanted) {
        return FormatText("%s check digit is %c, the digits before it call for %c", Name(*type),
                          text.back(), wanted);
      }
      break;
    }
    case bcUPC_E:
      if (auto problem = UpcEProblem(text)) return "UPC-E: " + *problem;
      break;
    default:
      break;
  }
  return std::nullopt;
}

}  // namespace korval
