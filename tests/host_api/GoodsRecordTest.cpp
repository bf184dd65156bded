#include "host_api/GoodsRecord.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "host_api/RecordText.h"
#include "platform/CodePage.h"

namespace korval {
namespace {

// Records live inside a larger buffer with guard bytes around them, so a read
// past the 494 bytes would pick up the guards.
struct GuardedRecord {
  GuardedRecord() {
    std::memset(bytes, 'Z', sizeof bytes);
    std::memset(Item(), 0, sizeof(TTiketItem));
    Item()->Velikost = KORVAL_TIKET_ITEM_SIZE;
  }
  TTiketItem* Item() { return reinterpret_cast<TTiketItem*>(bytes + 7); }  // odd address on purpose
  unsigned char bytes[7 + sizeof(TTiketItem) + 64];
};

TEST(GoodsRecordTest, FieldsAtTheirOffsets) {
  GuardedRecord g;
  unsigned char* raw = reinterpret_cast<unsigned char*>(g.Item());
  const double price = 149.21;
  std::memcpy(raw + 77, &price, sizeof price);  // CenaAsDPH
  const std::uint16_t count = 7;
  std::memcpy(raw + 488, &count, sizeof count);
  const std::string name = Utf8ToCp1250("Čokoláda hořká");
  raw[5] = static_cast<unsigned char>(name.size());
  std::memcpy(raw + 6, name.data(), name.size());
  raw[183] = 13;
  std::memcpy(raw + 184, "8594001001019", 13);

  const GoodsRecord record(*g.Item(), {});
  EXPECT_EQ(record.Size(), 494);
  EXPECT_DOUBLE_EQ(record.CenaAsDPH(), 149.21);
  EXPECT_EQ(record.Pocet(), 7);
  EXPECT_EQ(record.Nazev(), "Čokoláda hořká");
  EXPECT_EQ(record.EAN(), "8594001001019");
  EXPECT_EQ(record.Extension(), nullptr);
  EXPECT_EQ(record.CenaZaJednotku(), "");
  EXPECT_FALSE(record.Ingredience().has_value());
}

TEST(GoodsRecordTest, LengthAboveTheRoomReadsTheRoomOnly) {
  GuardedRecord g;
  TTiketItem* item = g.Item();
  // Jednotka holds 5 characters; a length byte of 40 must not reach the EAN.
  item->Jednotka[0] = 40;
  std::memcpy(item->Jednotka + 1, "kusyX", 5);
  item->EAN[0] = 0;
  std::memset(item->EAN + 1, '9', 19);
  EXPECT_EQ(GoodsRecord(*item, {}).Jednotka(), "kusyX");

  // The last text field, Pozn4, ends 6 bytes before the record's end.
  item->Pozn4[0] = 255;
  std::memset(item->Pozn4 + 1, 'p', 50);
  EXPECT_EQ(GoodsRecord(*item, {}).Pozn4(), std::string(50, 'p'));

  // Bytes past the stated length are ignored.
  item->Cislo[0] = 3;
  std::memcpy(item->Cislo + 1, "ABCDEFG", 7);
  EXPECT_EQ(GoodsRecord(*item, {}).Cislo(), "ABC");
}

TEST(GoodsRecordTest, ExtensionBlockThroughTheIndexTable) {
  GuardedRecord g;
  auto ext = std::make_unique<TTiketItemExt>();
  std::memset(ext.get(), 0, sizeof *ext);
  ext->Velikost = kExtensionSizeWithIngredients;
  const std::string unit = "%TEXT1% za 100 g";
  ext->CenaZaJednotku[0] = static_cast<std::uint8_t>(unit.size());
  std::memcpy(ext->CenaZaJednotku + 1, unit.data(), unit.size());
  const std::string ingredients = Utf8ToCp1250("mléko, sůl");
  ext->Ingredience = ingredients.c_str();
  const TTiketItemExt* table[] = {ext.get()};

#if KORVAL_WIN32_ABI
  g.Item()->Rozsireni = ext.get();
  const GoodsRecord record(*g.Item(), table);
#else
  g.Item()->Rozsireni = 1;
  const GoodsRecord record(*g.Item(), table);
  // An index past the table means no extension.
  g.Item()->Rozsireni = 2;
  EXPECT_EQ(GoodsRecord(*g.Item(), table).Extension(), nullptr);
  g.Item()->Rozsireni = 1;
#endif
  EXPECT_EQ(record.Extension(), ext.get());
  EXPECT_EQ(record.CenaZaJednotku(), unit);
  EXPECT_EQ(record.Ingredience().value_or("-"), "mléko, sůl");

  // A block too small to carry the ingredients' address has none.
  ext->Velikost = kExtensionSizeWithIngredients - 1;
  EXPECT_FALSE(record.Ingredience().has_value());
  EXPECT_EQ(record.CenaZaJednotku(), unit);
}

// A field inside a larger buffer of guard bytes: a write past the size the
// host gave would change a guard.
struct GuardedField {
  GuardedField() { std::memset(bytes, 'Z', sizeof bytes); }
  std::uint8_t* Field() { return bytes + 3; }
  std::string After(std::int32_t fieldSize) const {
    return std::string(reinterpret_cast<const char*>(bytes) + 3 + fieldSize,
                       sizeof bytes - 3 - static_cast<std::size_t>(fieldSize));
  }
  std::uint8_t bytes[3 + 300 + 16];
};

struct SetTextCase {
  const char* what;
  std::string text;
  std::int32_t encoding;
  std::int32_t fieldSize;
  std::int32_t result;
  std::string stored;  // Windows-1250 bytes after the length byte
  std::int32_t replaced;
};

TEST(RecordTextTest, SetTextStoresWhatFitsAndTellsWhatTheWholeTextNeeds) {
  const std::string longText(300, 'x');
  const SetTextCase cases[] = {
      {"fits exactly", "Syr Eidam", KORVAL_TEXT_UTF8, 10, 9, "Syr Eidam", 0},
      {"one too long", "Syr Eidam!", KORVAL_TEXT_UTF8, 10, 10, "Syr Eidam", 0},
      {"Czech letters from UTF-8", "Žluťoučký kůň", KORVAL_TEXT_UTF8, 51, 13,
       "\x8Elu\x9Dou\xE8k\xFD k\xF9\xF2", 0},
      // Four UTF-8 bytes, three characters: it fits a room of three.
      {"counted in characters", "Čaj", KORVAL_TEXT_UTF8, 4, 3,
       "\xC8"
       "aj",
       0},
      {"cut after a whole character", "Čaje", KORVAL_TEXT_UTF8, 4, 4,
       "\xC8"
       "aj",
       0},
      {"not in Windows-1250", "Čaj \xE2\x98\x95", KORVAL_TEXT_UTF8, 51, 5,
       "\xC8"
       "aj ?",
       1},
      {"Latin-1 but not Windows-1250", "\xC3\xBF\xF0\x9F\x98\x80", KORVAL_TEXT_UTF8, 51, 2, "??",
       2},
      {"replacements counted past the room", "\xE2\x98\x95\xE2\x98\x95\xE2\x98\x95",
       KORVAL_TEXT_UTF8, 3, 3, "??", 3},
      {"Windows-1250 as it is", "\x8Elu\x9D", KORVAL_TEXT_CP1250, 6, 4, "\x8Elu\x9D", 0},
      {"Windows-1250 too long", "\x8Elu\x9Dou\xE8k\xFD", KORVAL_TEXT_CP1250, 6, 9, "\x8Elu\x9Do",
       0},
      {"no UTF-8: taken as Windows-1250", "Nastaven\xED", KORVAL_TEXT_UTF8, 51, 9, "Nastaven\xED",
       0},
      {"empty", "", KORVAL_TEXT_UTF8, 51, 0, "", 0},
      {"no room at all", "A", KORVAL_TEXT_UTF8, 1, 1, "", 0},
      {"the largest field", longText, KORVAL_TEXT_CP1250, 256, 300, std::string(255, 'x'), 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    GuardedField g;
    std::memset(g.Field(), 'Q', static_cast<std::size_t>(c.fieldSize));
    std::int32_t replaced = -7;
    EXPECT_EQ(SetRecordText(g.Field(), c.fieldSize, c.text.c_str(), c.encoding, &replaced),
              c.result);
    EXPECT_EQ(replaced, c.replaced);
    ASSERT_EQ(g.Field()[0], c.stored.size());
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(g.Field()) + 1, c.stored.size()), c.stored);
    const std::size_t rest = static_cast<std::size_t>(c.fieldSize) - 1 - c.stored.size();
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(g.Field()) + 1 + c.stored.size(), rest),
              std::string(rest, '\0'));
    EXPECT_EQ(g.After(c.fieldSize), std::string(g.After(c.fieldSize).size(), 'Z'));
    // Without a place for the count, the field comes out the same.
    GuardedField again;
    EXPECT_EQ(SetRecordText(again.Field(), c.fieldSize, c.text.c_str(), c.encoding, nullptr),
              c.result);
    EXPECT_EQ(std::memcmp(again.Field(), g.Field(), static_cast<std::size_t>(c.fieldSize)), 0);
  }
}

TEST(RecordTextTest, SetTextRefusesWhatIsNoFieldOrNoTextAndChangesNothing) {
  struct Case {
    const char* what;
    bool field;
    const char* text;
    std::int32_t fieldSize;
    std::int32_t encoding;
  };
  const Case cases[] = {
      {"no field", false, "Syr", 51, KORVAL_TEXT_UTF8},
      {"no text", true, nullptr, 51, KORVAL_TEXT_UTF8},
      {"size 0", true, "Syr", 0, KORVAL_TEXT_UTF8},
      {"negative size", true, "Syr", -51, KORVAL_TEXT_UTF8},
      {"larger than a length byte counts", true, "Syr", 257, KORVAL_TEXT_UTF8},
      {"the whole record's size", true, "Syr", KORVAL_TIKET_ITEM_SIZE, KORVAL_TEXT_CP1250},
      {"unknown encoding", true, "Syr", 51, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    GuardedField g;
    std::int32_t replaced = -7;
    EXPECT_EQ(
        SetRecordText(c.field ? g.Field() : nullptr, c.fieldSize, c.text, c.encoding, &replaced),
        KORVAL_TEXT_INVALID_ARGUMENT);
    EXPECT_EQ(replaced, 0);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(g.bytes), sizeof g.bytes),
              std::string(sizeof g.bytes, 'Z'));
  }
}

struct GetTextCase {
  const char* what;
  std::string field;  // the length byte and the bytes after it
  std::int32_t fieldSize;
  std::int32_t bufferSize;
  std::int32_t encoding;
  std::int32_t result;
  std::string text;  // what the buffer holds before its NUL
};

TEST(RecordTextTest, GetTextGivesWholeCharactersAndWhatTheWholeTextNeeds) {
  const std::string kun = Utf8ToCp1250("Žluťoučký kůň");
  const std::string field = std::string(1, static_cast<char>(kun.size())) + kun;
  const GetTextCase cases[] = {
      {"Czech letters as UTF-8", field, 51, 64, KORVAL_TEXT_UTF8, 19, "Žluťoučký kůň"},
      {"fits exactly", field, 51, 20, KORVAL_TEXT_UTF8, 19, "Žluťoučký kůň"},
      {"one byte short", field, 51, 19, KORVAL_TEXT_UTF8, 19, "Žluťoučký ků"},
      {"no half character",
       "\x03\xE8"
       "aj",
       4, 2, KORVAL_TEXT_UTF8, 4, ""},
      {"one whole character",
       "\x03\xE8"
       "aj",
       4, 3, KORVAL_TEXT_UTF8, 4, "č"},
      {"Windows-1250 bytes", field, 51, 64, KORVAL_TEXT_CP1250, 13, kun},
      {"Windows-1250 cut", field, 51, 5, KORVAL_TEXT_CP1250, 13, kun.substr(0, 4)},
      {"only the NUL fits", field, 51, 1, KORVAL_TEXT_UTF8, 19, ""},
      {"length byte above the room", "\x28kusyX", 6, 64, KORVAL_TEXT_UTF8, 5, "kusyX"},
      {"bytes past the length",
       "\x03"
       "ABCDEFG",
       13, 64, KORVAL_TEXT_CP1250, 3, "ABC"},
      {"a NUL ends the text",
       std::string("\x05"
                   "ab\0cd",
                   6),
       6, 64, KORVAL_TEXT_UTF8, 2, "ab"},
      {"no room", std::string(1, '\0'), 1, 64, KORVAL_TEXT_UTF8, 0, ""},
      {"euro and quotes", "\x03\x80\x84\x93", 4, 64, KORVAL_TEXT_UTF8, 9, "€„“"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    GuardedField source;
    std::memcpy(source.Field(), c.field.data(), c.field.size());
    char buffer[80];
    std::memset(buffer, 'Y', sizeof buffer);
    EXPECT_EQ(GetRecordText(source.Field(), c.fieldSize, buffer, c.bufferSize, c.encoding),
              c.result);
    EXPECT_EQ(std::string(buffer), c.text);
    EXPECT_EQ(std::string(buffer + c.bufferSize, sizeof buffer - c.bufferSize),
              std::string(sizeof buffer - c.bufferSize, 'Y'));
    // Measured alone, with no buffer at all.
    EXPECT_EQ(GetRecordText(source.Field(), c.fieldSize, nullptr, 0, c.encoding), c.result);
  }
}

TEST(RecordTextTest, GetTextRefusesWhatIsNoFieldOrNoBufferAndWritesNothing) {
  struct Case {
    const char* what;
    bool field;
    std::int32_t fieldSize;
    bool buffer;
    std::int32_t bufferSize;
    std::int32_t encoding;
  };
  const Case cases[] = {
      {"no field", false, 51, true, 16, KORVAL_TEXT_UTF8},
      {"no buffer for its size", true, 51, false, 16, KORVAL_TEXT_UTF8},
      {"negative buffer size", true, 51, true, -1, KORVAL_TEXT_UTF8},
      {"field size 0", true, 0, true, 16, KORVAL_TEXT_UTF8},
      {"larger than a length byte counts", true, 257, true, 16, KORVAL_TEXT_UTF8},
      {"unknown encoding", true, 51, true, 16, 65000},
  };
  GuardedField source;
  std::memcpy(source.Field(), "\x03Syr", 4);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    char buffer[16];
    std::memset(buffer, 'Y', sizeof buffer);
    EXPECT_EQ(GetRecordText(c.field ? source.Field() : nullptr, c.fieldSize,
                            c.buffer ? buffer : nullptr, c.bufferSize, c.encoding),
              KORVAL_TEXT_INVALID_ARGUMENT);
    EXPECT_EQ(std::string(buffer, sizeof buffer), std::string(sizeof buffer, 'Y'));
  }
}

// What a host puts in with the helper is what the library reads from the
// record, and the field beside it keeps its bytes.
TEST(RecordTextTest, TheLibraryReadsWhatTheHostPutIn) {
  GuardedRecord g;
  TTiketItem* item = g.Item();
  std::memset(item->Cislo, 'C', sizeof item->Cislo);
  EXPECT_EQ(SetRecordText(item->Nazev, sizeof item->Nazev, "Žluťoučký kůň – sýr Eidam 30 %",
                          KORVAL_TEXT_UTF8, nullptr),
            30);
  EXPECT_EQ(GoodsRecord(*item, {}).Nazev(), "Žluťoučký kůň – sýr Eidam 30 %");
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(item->Cislo), sizeof item->Cislo),
            std::string(sizeof item->Cislo, 'C'));

  // Every byte but NUL there and back: Windows-1250 in, UTF-8 out, UTF-8 in.
  std::string all;
  for (int b = 1; b < 256; ++b) all += static_cast<char>(b);
  GuardedField first;
  GuardedField second;
  ASSERT_EQ(SetRecordText(first.Field(), 256, all.c_str(), KORVAL_TEXT_CP1250, nullptr), 255);
  char utf8[1024];
  const std::int32_t needed =
      GetRecordText(first.Field(), 256, utf8, sizeof utf8, KORVAL_TEXT_UTF8);
  ASSERT_GT(needed, 255);
  EXPECT_EQ(utf8, Cp1250ToUtf8(all));
  std::int32_t replaced = -1;
  EXPECT_EQ(SetRecordText(second.Field(), 256, utf8, KORVAL_TEXT_UTF8, &replaced), 255);
  EXPECT_EQ(replaced, 0);
  EXPECT_EQ(std::memcmp(first.Field(), second.Field(), 256), 0);
}

}  // namespace
}  // namespace korval
