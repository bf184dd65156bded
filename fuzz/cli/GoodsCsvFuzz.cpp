// A goods CSV as a person may have saved it from any spreadsheet, in both
// encodings the program reads.
#include <cstddef>
#include <cstdint>
#include <string>

#include "cli/GoodsFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace korval::cli;
  const std::string content(reinterpret_cast<const char*>(data), size);
  for (const TextEncoding encoding : {TextEncoding::Utf8, TextEncoding::Cp1250}) {
    try {
      const GoodsFile goods = ParseGoodsCsv(content, encoding);
      (void)goods.Records.size();
    } catch (const GoodsFileError&) {
      // A bad row is reported by its row and column.
    }
  }
  return 0;
}
