// The item menu that both toolkits build from one table: each entry runs the
// handler its caption names, on the item the menu was opened on, and shows
// the marks ppMenuPopup reports.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "dialog/ItemMenuEntries.h"
#include "doubles/DialogFixture.h"

namespace korval {
namespace {

using test::DialogFixture;
using Kind = ItemMenuEntry::Kind;

const ItemMenuEntry* Find(const std::vector<ItemMenuEntry>& entries, const std::string& caption) {
  for (const ItemMenuEntry& entry : entries) {
    if (entry.Caption == caption) return &entry;
  }
  return nullptr;
}

TEST(ItemMenuEntriesTest, EachEntryDoesWhatItsCaptionSays) {
  DialogFixture f;
  TfrmMain& d = f.Dialog();
  auto& text = d.Ctl<TLabel>("lcena1");
  auto& barcode = d.Ctl<TBarCodeControl>("NrEANCode");
  auto& picture = d.Ctl<TImage>("imgBitMap");
  text.SetVisible(true);
  barcode.SetTag(10);
  barcode.SetTallGuardBars(false);
  f.ui.fontAnswers_.push_back(Font{});
  const struct {
    Control* Item;
    const char* Caption;
    std::function<bool()> Done;
  } cases[] = {
      {&text, "&Font", [&] { return f.ui.fontDialogs_.size() == 1; }},
      {&text, "V&pravo", [&] { return text.Alignment() == TAlignment::taRightJustify; }},
      {&text, "&Nastřed", [&] { return text.Alignment() == TAlignment::taCenter; }},
      {&text, "&Vlevo", [&] { return text.Alignment() == TAlignment::taLeftJustify; }},
      {&text, "&Dolů", [&] { return text.Layout() == TTextLayout::tlBottom; }},
      {&text, "&Nahoru", [&] { return text.Layout() == TTextLayout::tlTop; }},
      {&text, "Na&střed", [&] { return text.Layout() == TTextLayout::tlCenter; }},
      {&text, "Zalomení textu", [&] { return text.WordWrap(); }},
      {&text, "Rozdělt cenu na celé a zbytek", [&] { return text.Linked(); }},
      {&barcode, "&EAN och.známka", [&] { return barcode.TallGuardBars(); }},
      {&barcode, "Tisknout číslo na&d čárový kód", [&] { return barcode.Tag() == 11; }},
      {&picture, "&Přizpůsobit rozměru", [&] { return !picture.Stretch(); }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Caption);
    const std::vector<ItemMenuEntry> entries = ItemMenuEntries(d, d.ppMenuPopup(*c.Item));
    const ItemMenuEntry* entry = Find(entries, c.Caption);
    ASSERT_NE(entry, nullptr);
    ASSERT_TRUE(entry->Handler);
    EXPECT_FALSE(c.Done());
    entry->Handler();
    EXPECT_TRUE(c.Done());
  }
}

TEST(ItemMenuEntriesTest, ChoicesSitInTheirSubmenuAndMarkTheItemsStyle) {
  DialogFixture f;
  TfrmMain& d = f.Dialog();
  auto& text = d.Ctl<TLabel>("lNazev");
  text.SetAlignment(TAlignment::taRightJustify);
  text.SetLayout(TTextLayout::tlBottom);
  const std::vector<ItemMenuEntry> entries = ItemMenuEntries(d, d.ppMenuPopup(text));
  const struct {
    const char* Caption;
    const char* Submenu;
    bool Checked;
  } choices[] = {
      {"&Vlevo", "Zarovnání &vodorovné", false}, {"&Nastřed", "Zarovnání &vodorovné", false},
      {"V&pravo", "Zarovnání &vodorovné", true}, {"&Nahoru", "Zarovnání &svislé", false},
      {"Na&střed", "Zarovnání &svislé", false},  {"&Dolů", "Zarovnání &svislé", true},
  };
  for (const auto& c : choices) {
    SCOPED_TRACE(c.Caption);
    const ItemMenuEntry* entry = Find(entries, c.Caption);
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->Type, Kind::Choice);
    EXPECT_EQ(entry->Checked, c.Checked);
    // A toolkit makes the submenu before it fills it.
    ASSERT_GE(entry->Parent, 0);
    ASSERT_LT(&entries[static_cast<std::size_t>(entry->Parent)], entry);
    EXPECT_EQ(entries[static_cast<std::size_t>(entry->Parent)].Caption, c.Submenu);
    EXPECT_EQ(entries[static_cast<std::size_t>(entry->Parent)].Type, Kind::Submenu);
  }
  // The rest hang in the menu itself.
  for (const ItemMenuEntry& entry : entries) {
    if (entry.Type != Kind::Choice) {
      EXPECT_EQ(entry.Parent, -1) << entry.Caption;
    }
  }
}

}  // namespace
}  // namespace korval
