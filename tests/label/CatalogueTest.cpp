#include <gtest/gtest.h>

#include <set>

#include "platform/Text.h"

#include "doubles/DialogFixture.h"

namespace korval {
namespace {

using test::DialogFixture;

const std::vector<std::string> kKeys = {
    "cena1", "cena2",    "cenab", "cenab2",   "cenac",    "cenac2",  "EANCode", "jedn",
    "PLU1",  "PLU1Cena", "PLU2",  "PLU2Cena", "minzas",   "maxzas",  "pozn1",   "pozn2",
    "pozn3", "pozn4",    "pozn5", "euro",     "eurokurz", "nextean", "tkinfo",  "ingred"};

TEST(CatalogueTest, TwentyFourItemsAndSwitchesInOrder) {
  DialogFixture f;
  TfrmMain& d = f.Dialog();
  std::vector<std::string> switches;
  for (Control* child : d.Ctl<Control>("ScrollBox2").Children()) {
    if (dynamic_cast<TPropCheckBox*>(child) != nullptr) switches.push_back(child->Name());
  }
  ASSERT_EQ(switches.size(), 24u);
  for (std::size_t i = 0; i < kKeys.size(); ++i) {
    SCOPED_TRACE(kKeys[i]);
    EXPECT_EQ(switches[i], "cb" + kKeys[i]);
    auto* itemSwitch = d.Find<TPropCheckBox>("cb" + kKeys[i]);
    Control* item = d.FindComponent("l" + kKeys[i]);
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(itemSwitch->Item, item);
    EXPECT_EQ(item->Parent(), &d.Ctl<Control>("Panel2"));
    EXPECT_FALSE(item->Visible());
    EXPECT_EQ(item->Tag(), 10);
    EXPECT_EQ(item->Hint(), itemSwitch->Hint());
    EXPECT_EQ(itemSwitch->Left(), 10);
  }
  EXPECT_NE(dynamic_cast<TPropBarCode*>(d.FindComponent("lEANCode")), nullptr);
}

TEST(CatalogueTest, CaptionsHoldStraightQuotes) {
  DialogFixture f;
  TfrmMain& d = f.Dialog();
  EXPECT_EQ(d.Ctl<Control>("cbcena1").Caption(), "Cena \"A\"");
  EXPECT_EQ(CharCount(d.Ctl<Control>("cbcena1").Caption()), 8u);
  EXPECT_EQ(d.Ctl<Control>("lcena1").Hint(), "Cena \"A\" bez DPH");
  EXPECT_EQ(d.Ctl<Control>("cbnextean").Caption(), "další č.kódy");
  EXPECT_EQ(d.Ctl<Control>("lingred").Hint(), "Seznam ingrediencí pro položku");
}

TEST(CatalogueTest, OnlyThePriceItemsCanSplit) {
  DialogFixture f;
  TfrmMain& d = f.Dialog();
  const std::set<std::string> prices = {"cena1", "cena2",  "cenab",    "cenab2",
                                        "cenac", "cenac2", "PLU1Cena", "PLU2Cena"};
  for (const auto& key : kKeys) {
    auto* label = d.Find<TPropLabel>("l" + key);
    if (label == nullptr) continue;
    EXPECT_EQ(label->CanSplit(), prices.count(key) ? 1 : 0) << key;
  }
}

TEST(CatalogueTest, SwitchesStackByVisibility) {
  DialogFixture f;
  TfrmMain& d = f.Dialog();
  d.ArrangeItemSwitches();
  EXPECT_EQ(d.Ctl<Control>("cbNazev").Top(), 4);
  EXPECT_EQ(d.Ctl<Control>("cbCislo").Top(), 21);
  EXPECT_EQ(d.Ctl<Control>("CBNumberAsEAN").Top(), 38);
  EXPECT_EQ(d.Ctl<Control>("ePrefix").Top(), 55);
  EXPECT_EQ(d.Ctl<Control>("cbcena1").Top(), 80);
  EXPECT_EQ(d.Ctl<Control>("cbcena2").Top(), 97);
  // A hidden child keeps its place and takes no room.
  d.Ctl<Control>("ePrefix").SetVisible(false);
  d.Ctl<Control>("cbcena1").SetVisible(false);
  d.ArrangeItemSwitches();
  EXPECT_EQ(d.Ctl<Control>("ePrefix").Top(), 55);
  EXPECT_EQ(d.Ctl<Control>("cbcena1").Top(), 80);
  EXPECT_EQ(d.Ctl<Control>("cbcena2").Top(), 55);
}

TEST(CatalogueTest, LinkLabelComesAndGoes) {
  DialogFixture f;
  TfrmMain& d = f.Dialog();
  std::vector<std::string> registered;
  d.RegisterDesignControl = [&](Control& c) { registered.push_back(c.Name()); };
  auto& price = d.Ctl<TPropLabel>("lcena1");
  price.SetBounds(40, 30, 50, 20);
  price.SetVisible(true);
  price.SetLinked(true);
  price.SetLinked(true);
  ASSERT_NE(price.LinkLabel(), nullptr);
  EXPECT_EQ(registered, std::vector<std::string>{"lcena1_Link"});
  TPropLabelLink& link = *price.LinkLabel();
  EXPECT_EQ(link.Name(), "lcena1_Link");
  EXPECT_EQ(link.Left(), 90);
  EXPECT_EQ(link.Width(), 12);  // 50 div 4
  EXPECT_EQ(link.Top(), 30);
  EXPECT_EQ(link.Height(), 20);
  EXPECT_TRUE(link.Visible());
  EXPECT_EQ(link.Tag(), 10);
  EXPECT_EQ(link.ValueIndex, 13);
  EXPECT_EQ(link.Parent(), price.Parent());
  EXPECT_EQ(link.GetFont(), price.GetFont());

  // Destroying the link label by any path leaves the owner unlinked.
  d.Destroy(link);
  EXPECT_FALSE(price.Linked());
  EXPECT_EQ(d.FindComponent("lcena1_Link"), nullptr);

  // Unlinking a label without a link does nothing.
  auto& other = d.Ctl<TPropLabel>("lcena2");
  const int before = d.ComponentCount();
  other.SetLinked(false);
  EXPECT_EQ(d.ComponentCount(), before);
}

TEST(CatalogueTest, UncheckingASplitPriceFreesItsLinkLabel) {
  DialogFixture f;
  TfrmMain& d = f.Dialog();
  auto& itemSwitch = d.Ctl<CheckBox>("cbcenab");
  auto& price = d.Ctl<TPropLabel>("lcenab");
  itemSwitch.Click();
  price.SetVisible(true);
  price.SetLinked(true);
  itemSwitch.Click();
  EXPECT_FALSE(price.Visible());
  EXPECT_FALSE(price.Linked());
  EXPECT_EQ(d.FindComponent("lcenab_Link"), nullptr);
  itemSwitch.Click();  // checked again: unsplit until the split is chosen again
  EXPECT_FALSE(price.Linked());
}

TEST(CatalogueTest, CheckingASwitchEntersPlacingMode) {
  DialogFixture f;
  TfrmMain& d = f.Dialog();
  d.Ctl<CheckBox>("cbnextean").Click();
  EXPECT_TRUE(d.PlacingItem());
  EXPECT_EQ(d.CurrentItem(), &d.Ctl<Control>("lnextean"));
  EXPECT_EQ(f.ui.cursors_.back(), Cursor::NotAllowed);
  d.Ctl<CheckBox>("cbnextean").Click();
  EXPECT_FALSE(d.PlacingItem());
  EXPECT_EQ(f.ui.cursors_.back(), Cursor::Default);
}

TEST(CatalogueTest, FixedSwitchesChooseTheirItems) {
  DialogFixture f;
  TfrmMain& d = f.Dialog();
  d.Ctl<CheckBox>("cbCislo").Click();
  EXPECT_EQ(d.CurrentItem(), &d.Ctl<Control>("lCislo"));
  EXPECT_FALSE(d.Ctl<Control>("ePrefix").Enabled());
  d.Ctl<Control>("NrEANCode").SetVisible(true);
  d.Ctl<CheckBox>("cbCislo").SetChecked(false);
  EXPECT_FALSE(d.Ctl<Control>("NrEANCode").Visible());

  d.Ctl<CheckBox>("cbText3").Click();
  EXPECT_EQ(d.CurrentItem(), &d.Ctl<Control>("lText3"));
  EXPECT_TRUE(d.Ctl<Control>("eText3").Enabled());
  EXPECT_TRUE(d.Ctl<Control>("CBAsCHMJ").Enabled());
  d.Ctl<CheckBox>("cbText3").Click();
  EXPECT_FALSE(d.Ctl<Control>("eText3").Enabled());
  EXPECT_EQ(d.Ctl<Control>("eText3").BackColor(), kButtonFaceColor);
  EXPECT_FALSE(d.Ctl<Control>("CBAsCHMJ").Enabled());

  d.Ctl<CheckBox>("cbDatum").Click();
  EXPECT_EQ(d.Ctl<Control>("lDatum").Caption(), "8.12.2026");
}

TEST(CatalogueTest, SwitchesDoNothingWhileAFormatLoads) {
  DialogFixture f;
  TfrmMain& d = f.Dialog();
  d.Loading = true;
  d.Ctl<CheckBox>("cbpozn1").SetChecked(true);
  EXPECT_FALSE(d.PlacingItem());
  EXPECT_EQ(d.CurrentItem(), nullptr);
}

TEST(CatalogueTest, LabelItemTest) {
  DialogFixture f;
  TfrmMain& d = f.Dialog();
  auto& item = d.Ctl<Control>("lpozn1");
  EXPECT_FALSE(IsLabelItem(item));  // hidden
  item.SetVisible(true);
  EXPECT_TRUE(IsLabelItem(item));
  item.SetTag(9);
  EXPECT_FALSE(IsLabelItem(item));
  auto& paintBox = d.Ctl<Control>("PaintBox1");
  paintBox.SetTag(10);
  EXPECT_FALSE(IsLabelItem(paintBox));
  auto& edit = d.Ctl<Control>("eText1");
  edit.SetTag(10);
  EXPECT_FALSE(IsLabelItem(edit));  // not a graphic control
  auto& picture = d.Ctl<Control>("imgBitMap");
  picture.SetVisible(true);
  EXPECT_TRUE(IsLabelItem(picture));
}

}  // namespace
}  // namespace korval
