#include "barcode/BarcodeText.h"

#include "barcode/CheckDigits.h"
#include "barcode/EanUpcEncoder.h"
#include "barcode/Interleaved2of5Encoder.h"

namespace korval {

namespace {

std::string FullLength(std::string_view code, int length) {
  if (AllDigits(code)) return CompleteEanUpcDigits(code, length);
  std::string text(code.substr(0, static_cast<std::size_t>(length)));
  text.resize(static_cast<std::size_t>(length), '0');
  return text;
}

}  // namespace

std::string WrittenText(std::string_view code, TBarCodeType type, bool addCheckChar) {
  switch (type) {
    case bcUPC_A:
      return FullLength(code, 12);
    case bcEAN_8:
      return FullLength(code, 8);
    case bcEAN_13:
      return FullLength(code, 13);
    case bcUPC_E: {
      std::string text(code.substr(0, 6));
      text.resize(6, '0');
      return text;
    }
    case bcInterleaved2of5:
      if (AllDigits(code)) return Interleaved2of5Digits(code, addCheckChar);
      return code.size() % 2 != 0 ? "0" + std::string(code) : std::string(code);
    default:
      return std::string(code);
  }
}

}  // namespace korval
