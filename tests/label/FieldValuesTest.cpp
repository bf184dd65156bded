#include <gtest/gtest.h>

#include "barcode/BarcodeError.h"
#include "doubles/DialogFixture.h"
#include "host_api/GoodsRecord.h"
#include "platform/Text.h"

namespace korval {
namespace {

using test::DialogFixture;
using test::RecordBuilder;

GoodsRecord View(const TTiketItem& item, ExtensionTable ext = {}) {
  return GoodsRecord(item, ext);
}

TEST(FieldValuesTest, PricesSplitIntoWholePartAndDecimals) {
  DialogFixture f;
  TfrmMain& d = f.Dialog();
  const TTiketItem item = RecordBuilder().PriceA(12.5).Build();
  const GoodsRecord record = View(item);
  auto& price = d.Ctl<TPropLabel>("lcena1");
  EXPECT_EQ(d.GetRecordValue(price, &record, 13), "12,50");
  price.SetLinked(true);
  EXPECT_EQ(d.GetRecordValue(price, &record, 13), "12,");
  EXPECT_EQ(d.GetRecordValue(*price.LinkLabel(), &record, 13), "50");
  // Any number item whose label is linked splits the same way.
  f.locale.separator_ = '.';
  EXPECT_EQ(d.FormatSplitNumber(1234.005, price), "1234.");
  EXPECT_EQ(d.FormatSplitNumber(-3.2, *price.LinkLabel()), "20");
  EXPECT_EQ(d.FormatSplitNumber(7, d.Ctl<Control>("lminzas")), "7.00");
  // A separator of more than one byte (the Arabic one of ps_AF) is written
  // whole, on every number and on both halves of a split price.
  f.locale.separatorText_ = "٫";
  EXPECT_EQ(d.FormatSplitNumber(7, d.Ctl<Control>("lminzas")), "7٫00");
  EXPECT_EQ(d.FormatSplitNumber(12.5, price), "12٫");
  EXPECT_EQ(d.FormatSplitNumber(12.5, *price.LinkLabel()), "50");
  const TTiketItem euro = RecordBuilder().Euro(5.125).EuroRate(25.5).Build();
  const GoodsRecord euroRecord = View(euro);
  EXPECT_EQ(d.GetEuroValue(price, &euroRecord, -1), "5٫13€");
  EXPECT_EQ(d.GetEuroRate(price, &euroRecord, -1), "25٫50Kč/€");
}

TEST(FieldValuesTest, RecordFieldsByValueIndex) {
  DialogFixture f;
  TfrmMain& d = f.Dialog();
  const TTiketItem item = RecordBuilder()
                              .Unit("kg")
                              .Ean("8594001001019 ")
                              .Notes("  note one ", "", "", "")
                              .MinStock(3)
                              .Build();
  const GoodsRecord record = View(item);
  Control& any = d.Ctl<Control>("ljedn");
  EXPECT_EQ(d.GetRecordValue(any, &record, 11), "kg");
  EXPECT_EQ(d.GetRecordValue(any, &record, 12), "8594001001019 ");  // not trimmed
  EXPECT_EQ(d.GetRecordValue(any, &record, 1), "note one");
  EXPECT_EQ(d.GetRecordValue(any, &record, 9), "3,00");
  EXPECT_EQ(d.GetRecordValue(any, &record, 0), "");
  EXPECT_EQ(d.GetRecordValue(any, &record, 21), "");
  EXPECT_EQ(d.GetRecordValue(any, nullptr, 11), std::nullopt);
}

TEST(FieldValuesTest, EuroTexts) {
  DialogFixture f;
  TfrmMain& d = f.Dialog();
  Control& any = d.Ctl<Control>("leuro");
  const auto rate = [&](double v) {
    const TTiketItem item = RecordBuilder().EuroRate(v).Build();
    const GoodsRecord record = View(item);
    return d.GetEuroRate(any, &record, -1).value_or("?");
  };
  EXPECT_EQ(rate(25.4551), "25,4551Kč/€");
  EXPECT_EQ(rate(25), "25,00Kč/€");
  EXPECT_EQ(rate(0), "-,--Kč/€");
  const TTiketItem item = RecordBuilder().Euro(5.125).Build();
  const GoodsRecord record = View(item);
  EXPECT_EQ(d.GetEuroValue(any, &record, -1), "5,13€");
  // The euro sign is code 128 where the host reads the texts.
  EXPECT_EQ(Utf8ToCp1250("€"), "\x80");
}

TEST(FieldValuesTest, NotesJoinWithBreaksOnlyWhereTheHostAskedForThem) {
  DialogFixture f;
  TfrmMain& d = f.Dialog();
  const TTiketItem item = RecordBuilder().Notes("a||", "b", "c|d", "").Build();
  const GoodsRecord record = View(item);
  EXPECT_EQ(d.GetAllNotes(d.Ctl<Control>("lpozn5"), &record, -1), "a\r\nbc d");
  // Four full notes fit the 255 characters whole.
  const std::string fifty(50, 'x');
  const TTiketItem full = RecordBuilder().Notes(fifty, fifty, fifty, fifty).Build();
  const GoodsRecord fullRecord = View(full);
  EXPECT_EQ(CharCount(*d.GetAllNotes(d.Ctl<Control>("lpozn5"), &fullRecord, -1)), 200u);
}

TEST(FieldValuesTest, IngredientsNeedABlockLargeEnough) {
  DialogFixture f;
  TfrmMain& d = f.Dialog();
  TTiketItemExt ext{};
  ext.Velikost = kExtensionSizeWithIngredients - 1;
  const std::string text = Utf8ToCp1250("mouka, sůl");
  ext.Ingredience = text.c_str();
  const TTiketItemExt* table[] = {&ext};
  TTiketItem item = RecordBuilder().Extension(1).Build();
#if KORVAL_WIN32_ABI
  item.Rozsireni = &ext;
#endif
  const GoodsRecord record = View(item, table);
  Control& ingred = d.Ctl<Control>("lingred");
  EXPECT_EQ(d.GetRecordValue(ingred, &record, 20), "není definováno");
  ext.Velikost = kExtensionSizeWithIngredients;
  EXPECT_EQ(d.GetRecordValue(ingred, &record, 20), "mouka, sůl");
  const TTiketItem plain = RecordBuilder().Build();
  const GoodsRecord plainRecord = View(plain);
  EXPECT_EQ(d.GetRecordValue(ingred, &plainRecord, 20), "není definováno");
}

TEST(FieldValuesTest, CatalogueBarcodeChoosesItsSymbologyByLength) {
  DialogFixture f;
  TfrmMain& d = f.Dialog();
  auto& barcode = d.Ctl<TPropBarCode>("lEANCode");
  d.ApplyBarcodeText(barcode, "8594001001019");
  EXPECT_EQ(barcode.BarCodeType(), bcEAN_13);
  EXPECT_EQ(barcode.Code(), "8594001001019");
  d.ApplyBarcodeText(barcode, "12345");
  EXPECT_EQ(barcode.BarCodeType(), bcInterleaved2of5);
  d.ApplyBarcodeText(barcode, "123-4567890");
  EXPECT_EQ(barcode.BarCodeType(), bcCode11);
  // Thirteen digits and a trailing blank are fourteen characters: a hidden
  // item keeps its code, a visible one shows none.
  d.ApplyBarcodeText(barcode, "8594001001019 ");
  EXPECT_EQ(barcode.Code(), "123-4567890");
  barcode.SetVisible(true);
  d.ApplyBarcodeText(barcode, "8594001001019 ");
  EXPECT_EQ(barcode.Code(), "");
  EXPECT_EQ(barcode.BarCodeType(), bcCode11);
  // A code the symbology rejects is cleared.
  d.ApplyBarcodeText(barcode, "85940010010A");
  EXPECT_EQ(barcode.Code(), "");
  d.ApplyBarcodeText(barcode, "");
  EXPECT_EQ(barcode.Code(), "");
}

TEST(FieldValuesTest, FurtherBarcodesWithoutACallback) {
  DialogFixture f;
  TfrmMain& d = f.Dialog();
  const TTiketItem item = RecordBuilder().Number("A-1").Build();
  const GoodsRecord record = View(item);
  EXPECT_EQ(d.GetFurtherBarcodes(d.Ctl<Control>("lnextean"), &record, -1), "!! chyba verze !!");
}

TEST(FixedBarcodeTest, LengthChoosesTheSymbologyAndTheCaptionFollows) {
  DialogFixture f;
  TfrmMain& d = f.Dialog();
  auto& barcode = d.Ctl<TBarCodeControl>("NrEANCode");
  auto& group = d.Ctl<Control>("gbTiket");
  EXPECT_EQ(barcode.BarCodeType(), bcEAN_8);
  EXPECT_EQ(barcode.Code(), "85951631");
  // Thirteen digits: EAN-13 with its last digit taken as it stands.
  ApplyFixedBarcodeText(barcode, group, "8594001001010");
  EXPECT_EQ(barcode.BarCodeType(), bcEAN_13);
  EXPECT_EQ(barcode.Code(), "8594001001010");
  EXPECT_EQ(group.Caption(), "8594001001010");
  // Eleven digits and a letter select UPC-A, which rejects the letter.
  ApplyFixedBarcodeText(barcode, group, "12345678901X");
  EXPECT_EQ(barcode.BarCodeType(), bcUPC_A);
  EXPECT_EQ(barcode.Code(), "");
  EXPECT_EQ(group.Caption(), "8594001001010");
  EXPECT_EQ(barcode.Hint(), "ERR : 12345678901X");
  // The hint is not reset by a later good code; other lengths keep the type.
  ApplyFixedBarcodeText(barcode, group, "1234567");
  EXPECT_EQ(barcode.BarCodeType(), bcUPC_A);
  EXPECT_EQ(barcode.Hint(), "ERR : 12345678901X");
  ApplyFixedBarcodeText(barcode, group, "");
  EXPECT_EQ(group.Caption(), "");
}

TEST(FixedBarcodeTest, ItemMenuOptions) {
  DialogFixture f;
  auto& barcode = f.Dialog().Ctl<TBarCodeControl>("NrEANCode");
  TfrmMain::ToggleNumberAbove(barcode);
  EXPECT_EQ(barcode.Tag(), 11);
  TfrmMain::ToggleNumberAbove(barcode);
  EXPECT_EQ(barcode.Tag(), 10);
  barcode.SetTag(0);
  TfrmMain::ToggleNumberAbove(barcode);
  EXPECT_EQ(barcode.Tag(), 11);
  TfrmMain::ToggleTallGuardBars(barcode);
  EXPECT_TRUE(barcode.TallGuardBars());
  EXPECT_TRUE(barcode.ShowGuardChars());
  TfrmMain::ToggleTallGuardBars(barcode);
  EXPECT_FALSE(barcode.TallGuardBars());
  EXPECT_FALSE(barcode.ShowGuardChars());
}

TEST(FixedBarcodeTest, DefaultsOfTheControl) {
  DialogFixture f;
  TfrmMain& d = f.Dialog();
  auto& fixed = d.Ctl<TBarCodeControl>("NrEANCode");
  EXPECT_DOUBLE_EQ(fixed.BarWidth(), 10);
  EXPECT_FALSE(fixed.AddCheckChar());
  EXPECT_EQ(fixed.GetFont().Height, -11);
  EXPECT_EQ(fixed.BoundsRect(), (Rect{8, 132, 187, 169}));
  auto& fresh = d.Ctl<TBarCodeControl>("lEANCode");
  EXPECT_EQ(fresh.BarCodeType(), bcUPC_A);
  EXPECT_EQ(fresh.Code(), "123456789012");
  EXPECT_TRUE(fresh.AddCheckChar());
  EXPECT_DOUBLE_EQ(fresh.BarWidth(), 12);
  EXPECT_EQ(fresh.Width(), 200);
  EXPECT_EQ(fresh.Height(), 75);
  EXPECT_FALSE(fresh.Elements().empty());
}

}  // namespace
}  // namespace korval
