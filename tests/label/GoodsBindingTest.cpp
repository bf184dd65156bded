#include <gtest/gtest.h>

#include <cstring>

#include "doubles/DialogFixture.h"
#include "doubles/HostCallback.h"

namespace korval {
namespace {

using test::DialogFixture;
using test::RecordBuilder;

std::vector<TTiketItem> ThreeGoods() {
  return {RecordBuilder()
              .Name("Sýr")
              .Number("SYR-1")
              .Ean("8594001001019")
              .PriceA(12.5)
              .Count(3)
              .Build(),
          RecordBuilder().Name("Chléb").Number("PEC-2").Ean("96385074").PriceA(42).Count(2).Build(),
          RecordBuilder().Name("Káva").Number("KAV-3").Ean("123456").PriceA(389).Count(0).Build()};
}

TEST(GoodsBindingTest, CounterAndButtonsFollowThePosition) {
  DialogFixture f;
  f.SetGoods(ThreeGoods());
  TfrmMain& d = f.Dialog();
  ASSERT_TRUE(d.BindGoodsItem(0));
  EXPECT_EQ(d.Ctl<Control>("lblItemText").Caption(), "Položka: 1/3 (3x)");
  EXPECT_FALSE(d.Ctl<Control>("sbPrevPol").Enabled());
  EXPECT_TRUE(d.Ctl<Control>("sbNextPol").Enabled());
  EXPECT_EQ(d.LabelCount, 3);
  EXPECT_EQ(d.BoundItemIndex, 0);

  d.Ctl<Button>("sbNextPol").Click();
  d.Ctl<Button>("sbNextPol").Click();
  EXPECT_EQ(d.CurrentItemIndex, 2);
  EXPECT_EQ(d.Ctl<Control>("lblItemText").Caption(), "Položka: 3/3 (0x)");
  EXPECT_TRUE(d.Ctl<Control>("sbPrevPol").Enabled());
  EXPECT_FALSE(d.Ctl<Control>("sbNextPol").Enabled());
  EXPECT_EQ(d.LabelCount, 0);

  d.Ctl<Button>("sbPrevPol").Click();
  EXPECT_EQ(d.Ctl<Control>("lNazev").Caption(), "Chléb");
}

TEST(GoodsBindingTest, FixedItemsAndCatalogueTakeTheRecord) {
  DialogFixture f;
  f.SetGoods(ThreeGoods());
  TfrmMain& d = f.Dialog();
  d.Ctl<TLabel>("lcena1").SetLinked(true);
  ASSERT_TRUE(d.BindGoodsItem(0));
  EXPECT_EQ(d.Ctl<Control>("lNazev").Caption(), "Sýr");
  EXPECT_EQ(d.Ctl<Control>("lCislo").Caption(), "SYR-1");
  // Hidden items are refreshed as well, link labels included.
  EXPECT_EQ(d.Ctl<Control>("lcena1").Caption(), "12,");
  EXPECT_EQ(d.Ctl<Control>("lcena1_Link").Caption(), "50");
  EXPECT_EQ(d.Ctl<Control>("lnextean").Caption(), "!! chyba verze !!");
  EXPECT_EQ(d.Ctl<Control>("lingred").Caption(), "není definováno");
  EXPECT_EQ(d.Ctl<TBarCodeControl>("lEANCode").BarCodeType(), bcEAN_13);
  EXPECT_EQ(d.Ctl<TBarCodeControl>("NrEANCode").Code(), "8594001001019");
  EXPECT_EQ(d.Ctl<Control>("gbTiket").Caption(), "8594001001019");

  ASSERT_TRUE(d.BindGoodsItem(1));
  EXPECT_EQ(d.Ctl<TBarCodeControl>("NrEANCode").BarCodeType(), bcEAN_8);
  ASSERT_TRUE(d.BindGoodsItem(2));
  EXPECT_EQ(d.Ctl<TBarCodeControl>("NrEANCode").BarCodeType(), bcUPC_E);
}

TEST(GoodsBindingTest, SameIndexTwiceChangesNothingUnlessReset) {
  DialogFixture f;
  f.SetGoods(ThreeGoods());
  TfrmMain& d = f.Dialog();
  ASSERT_TRUE(d.BindGoodsItem(1));
  d.Ctl<Control>("lNazev").SetCaption("edited");
  EXPECT_TRUE(d.BindGoodsItem(1));
  EXPECT_EQ(d.Ctl<Control>("lNazev").Caption(), "edited");
  d.BoundItemIndex = -1;
  EXPECT_TRUE(d.BindGoodsItem(1));
  EXPECT_EQ(d.Ctl<Control>("lNazev").Caption(), "Chléb");
}

TEST(GoodsBindingTest, NoListOrPastTheEnd) {
  DialogFixture f;
  TfrmMain& d = f.Dialog();
  EXPECT_FALSE(d.BindGoodsItem(0));
  EXPECT_FALSE(d.Ctl<Control>("sbPrevPol").Enabled());
  EXPECT_FALSE(d.Ctl<Control>("sbNextPol").Enabled());
  EXPECT_EQ(d.Ctl<Control>("lblItemText").Caption(), "");

  f.SetGoods({});
  EXPECT_FALSE(d.BindGoodsItem(0));
  f.SetGoods(ThreeGoods());
  ASSERT_TRUE(d.BindGoodsItem(0));
  EXPECT_FALSE(d.BindGoodsItem(3));
  EXPECT_EQ(d.Ctl<Control>("lNazev").Caption(), "Sýr");  // texts stay as they were
  EXPECT_EQ(d.Ctl<Control>("lblItemText").Caption(), "");
  EXPECT_EQ(d.BoundItemIndex, 0);
}

// The host's callback hands over more records than before while the record
// being bound is still read: the record stays valid, the call is refused.
struct ReentrantHost {
  HostContext* host = nullptr;
  std::vector<TTiketItem> more;
  std::vector<std::int32_t> results;
};

std::int32_t SetParamsFromCallback(intptr_t context, std::int32_t, const char*, char* buffer,
                                   std::int32_t* length) {
  auto* host = reinterpret_cast<ReentrantHost*>(context);
  if (buffer == nullptr) {
    host->results.push_back(host->host->SetParamsCopy(
        host->more.data(), static_cast<std::int32_t>(host->more.size()), "B", 0));
    *length = 4;
    return 0;
  }
  std::memcpy(buffer, "123", 4);
  return 0;
}

TEST(GoodsBindingTest, ParamsFromTheHostsCallbackLeaveTheBoundRecordAlone) {
  DialogFixture f;
  f.SetGoods(ThreeGoods(), "A");
  std::vector<TTiketItem> more(40, RecordBuilder().Name("Jiné").Number("J").Ean("123456").Build());
  ReentrantHost answering{&f.host, more, {}};
  const TItemTextCallback callback =
      test::HostCallback<&SetParamsFromCallback>(reinterpret_cast<intptr_t>(&answering));
  f.host.SetParams(nullptr, "A", 0, &callback);
  f.SetGoods(ThreeGoods(), "A");
  TfrmMain& d = f.Dialog();
  ASSERT_TRUE(d.BindGoodsItem(0));
  ASSERT_FALSE(answering.results.empty());
  for (const std::int32_t result : answering.results) EXPECT_EQ(result, KORVAL_ERROR_BUSY);
  EXPECT_EQ(d.Ctl<Control>("lnextean").Caption(), "123");
  EXPECT_EQ(d.Ctl<Control>("lNazev").Caption(), "Sýr");
  EXPECT_EQ(d.Ctl<Control>("lCislo").Caption(), "SYR-1");
  EXPECT_EQ(d.Ctl<TBarCodeControl>("NrEANCode").Code(), "8594001001019");
  EXPECT_EQ(d.Ctl<Control>("lblItemText").Caption(), "Položka: 1/3 (3x)");
  EXPECT_EQ(f.host.GoodsCount(), 3);
}

TEST(GoodsBindingTest, WrongRecordSizeIsReportedAndStillBound) {
  DialogFixture f;
  std::vector<TTiketItem> goods = ThreeGoods();
  goods[1].Velikost = 500;
  f.SetGoods(goods);
  TfrmMain& d = f.Dialog();
  ASSERT_TRUE(d.BindGoodsItem(1));
  ASSERT_EQ(f.ui.MessageTexts(), std::vector<std::string>{"500 x 494"});
  EXPECT_EQ(d.Ctl<Control>("lNazev").Caption(), "Chléb");
}

TEST(GoodsBindingTest, Text3AsUnitPriceFromTheExtensionBlock) {
  DialogFixture f;
  TTiketItemExt ext{};
  ext.Velikost = sizeof(TTiketItemExt);
  const std::string pattern = "%TEXT1% / %TEXT3% za kg";
  ext.CenaZaJednotku[0] = static_cast<std::uint8_t>(pattern.size());
  std::memcpy(ext.CenaZaJednotku + 1, pattern.data(), pattern.size());
  const TTiketItemExt* table[] = {&ext};
  f.host.SetExtensions(table, 1);
  TTiketItem item = RecordBuilder().Name("Sýr").Extension(1).Build();
#if KORVAL_WIN32_ABI
  item.Rozsireni = &ext;
#endif
  f.SetGoods({item});
  TfrmMain& d = f.Dialog();
  d.Ctl<CheckBox>("cbText3").SetChecked(true);
  d.Ctl<CheckBox>("CBAsCHMJ").SetChecked(true);
  d.Ctl<Edit>("eText1").SetText("149,90");
  ASSERT_TRUE(d.BindGoodsItem(0));
  // %TEXT3% is the text eText3 held before the assignment.
  EXPECT_EQ(d.Ctl<Edit>("eText3").Text(), "149,90 / eText3 za kg");
  EXPECT_EQ(d.Ctl<Control>("lText3").Caption(), "149,90 / eText3 za kg");

  // A change of eText1 follows at once while the box is checked; %TEXT3% is
  // still the text 3 the user gave, not what the last substitution left.
  d.Ctl<CheckBox>("CBAsCHMJ").OnClick = [&](Control& c) { d.CBAsCHMJClick(c); };
  d.Ctl<Edit>("eText1").SetText("99");
  EXPECT_EQ(d.Ctl<Edit>("eText3").Text(), "99 / eText3 za kg");
  EXPECT_FALSE(d.Ctl<Control>("eText3").Enabled());
  // Every refresh binds again: the text stays as it is.
  d.Ctl<Control>("lText3").SetVisible(true);
  for (int i = 0; i < 3; ++i) d.DrawTiket();
  EXPECT_EQ(d.Ctl<Control>("lText3").Caption(), "99 / eText3 za kg");
  // A text 3 given anew is the one substituted from then on.
  d.Ctl<Edit>("eText3").SetText("1kg");
  d.CBAsCHMJClick(d.Ctl<CheckBox>("CBAsCHMJ"));
  EXPECT_EQ(d.Ctl<Edit>("eText3").Text(), "99 / 1kg za kg");
}

}  // namespace
}  // namespace korval
