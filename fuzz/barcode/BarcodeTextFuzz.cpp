// Barcode texts as goods records and edits carry them: any bytes, under every
// symbology and option the barcode item offers, encoded and written out.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "barcode/BarcodeEncoder.h"
#include "barcode/BarcodeError.h"
#include "barcode/BarcodeText.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace korval;
  if (size < 1) return 0;
  const std::string_view code(reinterpret_cast<const char*>(data) + 1, size - 1);
  BarcodeOptions options;
  options.AddCheckChar = (data[0] & 0x80) != 0;
  options.BarNarrowToWideRatio = (data[0] & 0x40) != 0 ? 3 : 2;
  const auto type = static_cast<TBarCodeType>((data[0] & 0x3F) % (bcCode128 + 1));
  (void)WrittenText(code, type, options.AddCheckChar);
  try {
    const BarcodeElementList elements = BuildElements(code, type, options);
    (void)elements;
  } catch (const BarcodeError&) {
  }
  return 0;
}
