#include "host_api/GoodsRecord.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <vector>

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

}  // namespace
}  // namespace korval
