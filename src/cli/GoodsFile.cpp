#include "cli/GoodsFile.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string_view>

#include "platform/CodePage.h"
#include "platform/NumberFormat.h"
#include "platform/Text.h"

namespace korval::cli {
namespace {

std::string ReadWholeFile(const std::string& path) {
  // A folder opens as a stream of nothing, which would read as no goods.
  if (std::filesystem::is_directory(path))
    throw GoodsFileError(path + " is a folder, not a goods file");
  std::ifstream in(path, std::ios::binary);
  if (!in) throw GoodsFileError("cannot open goods file " + path);
  std::ostringstream content;
  content << in.rdbuf();
  if (in.bad()) throw GoodsFileError("cannot read goods file " + path);
  return content.str();
}

// Well-formed UTF-8: no stray continuation bytes, no overlong forms, no
// surrogates, nothing past U+10FFFF. Windows-1250 text with any letter
// beyond ASCII fails this almost always.
bool IsUtf8(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size()) {
    const auto byte = static_cast<unsigned char>(text[i]);
    int more = 0;
    char32_t cp = 0;
    char32_t least = 0;
    if (byte < 0x80) {
      ++i;
      continue;
    } else if ((byte & 0xE0) == 0xC0) {
      more = 1, cp = byte & 0x1F, least = 0x80;
    } else if ((byte & 0xF0) == 0xE0) {
      more = 2, cp = byte & 0x0F, least = 0x800;
    } else if ((byte & 0xF8) == 0xF0) {
      more = 3, cp = byte & 0x07, least = 0x10000;
    } else {
      return false;
    }
    if (i + static_cast<std::size_t>(more) >= text.size()) return false;
    for (int k = 1; k <= more; ++k) {
      const auto next = static_cast<unsigned char>(text[i + static_cast<std::size_t>(k)]);
      if ((next & 0xC0) != 0x80) return false;
      cp = (cp << 6) | (next & 0x3F);
    }
    if (cp < least || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
    i += static_cast<std::size_t>(more) + 1;
  }
  return true;
}

// Splits CSV text into rows of fields, handing each row over as it ends
// (an empty line as an empty row, so the row numbers stay right): a file of
// a hundred thousand goods is never held as fields all at once. Quotes may
// enclose separators, line breaks and doubled quotes.
template <typename EachRow>
void SplitCsv(std::string_view text, char separator, EachRow&& each) {
  std::vector<std::string> row;
  std::string field;
  bool quoted = false;
  bool any = false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (quoted) {
      if (c == '"' && i + 1 < text.size() && text[i + 1] == '"') {
        field += '"';
        ++i;
      } else if (c == '"') {
        quoted = false;
      } else {
        field += c;
      }
      continue;
    }
    if (c == '"') {
      quoted = true;
      any = true;
    } else if (c == separator) {
      row.push_back(std::move(field));
      field.clear();
      any = true;
    } else if (c == '\n' || c == '\r') {
      if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
      if (any || !field.empty()) row.push_back(std::move(field));
      each(row);
      row.clear();
      field.clear();
      any = false;
    } else {
      field += c;
      any = true;
    }
  }
  if (any || !field.empty()) {
    row.push_back(std::move(field));
    each(row);
  }
}

using Setter = std::function<void(GoodsFile&, std::size_t record, const std::string& value)>;

struct Column {
  const char* Name;
  Setter Set;
};

std::string ToRecordText(const std::string& value, std::size_t room) {
  const std::string bytes = Utf8ToCp1250(value);
  if (Cp1250ToUtf8(bytes) != value)
    throw std::invalid_argument("\"" + value + "\" has characters that Windows-1250 cannot hold");
  if (bytes.size() > room)
    throw std::invalid_argument(FormatText(
        "\"%s\" is longer than the %zu characters the field holds", value.c_str(), room));
  return bytes;
}

void StoreText(std::uint8_t* field, std::size_t room, const std::string& value) {
  const std::string bytes = ToRecordText(value, room);
  std::memset(field, 0, room + 1);
  field[0] = static_cast<std::uint8_t>(bytes.size());
  std::memcpy(field + 1, bytes.data(), bytes.size());
}

double ToNumber(const std::string& value) {
  if (IsBlank(value)) return 0.0;
  const auto number = ParseFloat(value);
  if (!number) throw std::invalid_argument("\"" + value + "\" is not a number");
  return *number;
}

TTiketItemExt& ExtensionOf(GoodsFile& goods, std::size_t record) {
  TTiketItem& item = goods.Records[record];
  std::uint32_t index = 0;
  std::memcpy(&index, reinterpret_cast<const char*>(&item) + offsetof(TTiketItem, Rozsireni),
              sizeof index);
  if (index == 0) {
    auto block = std::make_unique<TTiketItemExt>();
    std::memset(block.get(), 0, sizeof(TTiketItemExt));
    block->Velikost = static_cast<std::int32_t>(sizeof(TTiketItemExt));
    goods.ExtensionTable.push_back(block.get());
    goods.Extensions.push_back(std::move(block));
    index = static_cast<std::uint32_t>(goods.ExtensionTable.size());
#if KORVAL_WIN32_ABI
    item.Rozsireni = goods.Extensions.back().get();
#else
    item.Rozsireni = index;
#endif
  }
  return *goods.Extensions[index - 1];
}

#define KORVAL_TEXT_COLUMN(field)                                                           \
  Column {                                                                                  \
#field, [](GoodsFile & g, std::size_t r,                                                \
               const std::string&                                                           \
                   v) { StoreText(g.Records[r].field, sizeof(g.Records[r].field) - 1, v); } \
  }
#define KORVAL_NUMBER_COLUMN(field)                                                 \
  Column {                                                                          \
#field, [](GoodsFile& g, std::size_t r, const std::string& v) {                   \
      const double number = ToNumber(v);                                              \
      std::memcpy(reinterpret_cast<char*>(&g.Records[r]) + offsetof(TTiketItem, field), \
                  &number, sizeof number);                                            \
    } \
  }

const std::vector<Column>& Columns() {
  static const std::vector<Column> columns = {
      KORVAL_TEXT_COLUMN(Nazev),
      KORVAL_TEXT_COLUMN(Cislo),
      KORVAL_NUMBER_COLUMN(CenaA),
      KORVAL_NUMBER_COLUMN(CenaAsDPH),
      KORVAL_NUMBER_COLUMN(CenaB),
      KORVAL_NUMBER_COLUMN(CenaBsDPH),
      KORVAL_NUMBER_COLUMN(CenaC),
      KORVAL_NUMBER_COLUMN(CenaCsDPH),
      KORVAL_NUMBER_COLUMN(MinZasoba),
      KORVAL_NUMBER_COLUMN(MaxZasoba),
      KORVAL_NUMBER_COLUMN(EuroKurz),
      KORVAL_NUMBER_COLUMN(Euro),
      KORVAL_TEXT_COLUMN(PLU1),
      KORVAL_TEXT_COLUMN(PLU2),
      KORVAL_NUMBER_COLUMN(PLU1Cena),
      KORVAL_NUMBER_COLUMN(PLU2Cena),
      KORVAL_TEXT_COLUMN(Jednotka),
      KORVAL_TEXT_COLUMN(EAN),
      KORVAL_TEXT_COLUMN(TkInfo),
      KORVAL_TEXT_COLUMN(Pozn1),
      KORVAL_TEXT_COLUMN(Pozn2),
      KORVAL_TEXT_COLUMN(Pozn3),
      KORVAL_TEXT_COLUMN(Pozn4),
      Column{"Pocet",
             [](GoodsFile& g, std::size_t r, const std::string& v) {
               const auto count = IsBlank(v) ? std::optional<std::int32_t>(1) : ParseInt(v);
               if (!count || *count < 0 || *count > 65535)
                 throw std::invalid_argument("\"" + v + "\" is not a label count (0 to 65535)");
               g.Records[r].Pocet = static_cast<std::uint16_t>(*count);
             }},
      Column{"CenaZaJednotku",
             [](GoodsFile& g, std::size_t r, const std::string& v) {
               if (v.empty()) return;
               TTiketItemExt& ext = ExtensionOf(g, r);
               StoreText(ext.CenaZaJednotku, sizeof(ext.CenaZaJednotku) - 1, v);
             }},
      Column{"Ingredience",
             [](GoodsFile& g, std::size_t r, const std::string& v) {
               if (v.empty()) return;
               const std::string bytes = ToRecordText(v, std::string::npos);
               g.Ingredients.push_back(std::make_unique<std::string>(bytes));
               ExtensionOf(g, r).Ingredience = g.Ingredients.back()->c_str();
             }},
  };
  return columns;
}

#undef KORVAL_TEXT_COLUMN
#undef KORVAL_NUMBER_COLUMN

TTiketItem EmptyRecord() {
  TTiketItem item;
  std::memset(&item, 0, sizeof item);
  item.Velikost = KORVAL_TIKET_ITEM_SIZE;
  item.Pocet = 1;
  return item;
}

}  // namespace

GoodsFile ParseGoodsCsv(const std::string& content, TextEncoding encoding) {
  const bool detected = encoding == TextEncoding::Detect && !IsUtf8(content);
  if (encoding == TextEncoding::Detect)
    encoding = detected ? TextEncoding::Cp1250 : TextEncoding::Utf8;
  std::string converted;
  std::string_view text = content;
  if (encoding == TextEncoding::Cp1250) {
    converted = Cp1250ToUtf8(content);
    text = converted;
  }
  if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);  // byte order mark
  const std::string_view firstLine = text.substr(0, text.find_first_of("\r\n"));
  const char separator = firstLine.find(';') != std::string_view::npos ? ';' : ',';

  GoodsFile goods;
  goods.DetectedCp1250 = detected;
  // One record per line at most: reserved once, the records are not moved
  // while they grow.
  const auto lines = static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
  goods.Records.reserve(lines + 1);
  goods.Rows.reserve(lines + 1);

  std::vector<const Column*> layout;
  std::size_t r = 0;  // 0-based row of the file; the header is row 0
  SplitCsv(text, separator, [&](const std::vector<std::string>& row) {
    const std::size_t at = r++;
    if (at == 0) {
      if (row.empty()) throw GoodsFileError("row 1: the goods file has no header");
      for (const auto& name : row) {
        const std::string wanted = TrimControl(name);
        const auto& columns = Columns();
        const auto it = std::find_if(columns.begin(), columns.end(),
                                     [&](const Column& c) { return SameText(c.Name, wanted); });
        if (it == columns.end())
          throw GoodsFileError(
              FormatText("row 1, column \"%s\": not a field of a goods record", wanted.c_str()));
        layout.push_back(&*it);
      }
      return;
    }
    if (row.empty()) return;
    goods.Rows.push_back(at + 1);
    if (row.size() > layout.size())
      throw GoodsFileError(
          FormatText("row %zu: %zu values for %zu columns", at + 1, row.size(), layout.size()));
    goods.Records.push_back(EmptyRecord());
    for (std::size_t c = 0; c < row.size(); ++c) {
      try {
        layout[c]->Set(goods, goods.Records.size() - 1, row[c]);
      } catch (const std::exception& e) {
        throw GoodsFileError(
            FormatText("row %zu, column %s: %s", at + 1, layout[c]->Name, e.what()));
      }
    }
  });
  if (r == 0) throw GoodsFileError("row 1: the goods file has no header");
  return goods;
}

GoodsFile ReadGoodsCsv(const std::string& path, TextEncoding encoding) {
  return ParseGoodsCsv(ReadWholeFile(path), encoding);
}

GoodsFile ReadGoodsRecords(const std::string& path) {
  const std::string content = ReadWholeFile(path);
  if (content.size() % sizeof(TTiketItem) != 0)
    throw GoodsFileError(FormatText("%s: %zu bytes is not a whole number of %zu-byte records",
                                    path.c_str(), content.size(), sizeof(TTiketItem)));
  GoodsFile goods;
  goods.Records.resize(content.size() / sizeof(TTiketItem));
  std::memcpy(goods.Records.data(), content.data(), content.size());
  for (std::size_t i = 0; i < goods.Records.size(); ++i) goods.Rows.push_back(i + 1);
  goods.FromRecords = true;
  return goods;
}

GoodsFile ReadGoods(const std::string& path, TextEncoding encoding) {
  const std::string upper = UpperCase(path);
  if (upper.size() >= 4 && upper.compare(upper.size() - 4, 4, ".CSV") == 0)
    return ReadGoodsCsv(path, encoding);
  return ReadGoodsRecords(path);
}

}  // namespace korval::cli
