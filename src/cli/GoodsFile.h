#pragma once

#include <korval/korval.h>

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace korval::cli {

// A bad goods file: names the row (1-based, the header is row 1) and the
// column where it went wrong.
class GoodsFileError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Detect: UTF-8 when the file is valid UTF-8, Windows-1250 otherwise (the
// Windows host's own export is that).
enum class TextEncoding { Utf8, Cp1250, Detect };

// Goods records as the host would hand them over, with the extension blocks
// and the texts they point to kept alive alongside.
struct GoodsFile {
  std::vector<TTiketItem> Records;
  std::vector<std::unique_ptr<TTiketItemExt>> Extensions;
  std::vector<std::unique_ptr<std::string>> Ingredients;
  // For SetTiketFormularExtensions: record i's Rozsireni is its 1-based index.
  std::vector<const TTiketItemExt*> ExtensionTable;
  // Where each record came from: its row in a CSV file (the header is row 1)
  // or its 1-based place in a file of records.
  std::vector<std::size_t> Rows;
  bool FromRecords = false;
  // The file was not UTF-8 and was read as Windows-1250.
  bool DetectedCp1250 = false;
};

// CSV with a header of the record's field names (Nazev, Cislo, CenaA, ...,
// Pocet, and CenaZaJednotku / Ingredience for the extension block). Fields
// are separated by "," or ";" (the header tells which); numbers take "," or
// "." as the decimal mark; quoted fields may hold separators and doubled
// quotes. A value that does not fit its field is an error, never cut.
GoodsFile ReadGoodsCsv(const std::string& path, TextEncoding encoding);
GoodsFile ParseGoodsCsv(const std::string& content, TextEncoding encoding);

// A file of consecutive 494-byte records.
GoodsFile ReadGoodsRecords(const std::string& path);

// Either kind, told by the file name: ".csv" is CSV, anything else records.
GoodsFile ReadGoods(const std::string& path, TextEncoding encoding);

}  // namespace korval::cli
