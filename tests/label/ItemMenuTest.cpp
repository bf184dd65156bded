#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "doubles/DialogFixture.h"

namespace korval {
namespace {

using test::DialogFixture;
using Menu = TfrmMain::ItemMenuState;

TEST(ItemMenuTest, ABarcodeOffersFontGuardBarsAndNumberAbove) {
  DialogFixture f;
  TfrmMain& d = f.Dialog();
  for (const char* name : {"NrEANCode", "lEANCode"}) {
    SCOPED_TRACE(name);
    auto& barcode = d.Ctl<TBarCodeControl>(name);
    barcode.SetTag(11);
    barcode.SetTallGuardBars(true);
    Menu menu = d.ppMenuPopup(barcode);
    EXPECT_EQ(d.CurrentItem(), &barcode);
    EXPECT_TRUE(menu.FontVisible);
    EXPECT_TRUE(menu.GuardBarsVisible);
    EXPECT_TRUE(menu.GuardBarsChecked);
    EXPECT_TRUE(menu.NumberAboveVisible);
    EXPECT_TRUE(menu.NumberAboveChecked);
    EXPECT_TRUE(menu.FitVisible);
    EXPECT_FALSE(menu.FitEnabled);
    EXPECT_FALSE(menu.AlignmentVisible);
    EXPECT_FALSE(menu.WordWrapVisible);
    EXPECT_FALSE(menu.SplitVisible);

    barcode.SetTag(10);
    barcode.SetTallGuardBars(false);
    menu = d.ppMenuPopup(barcode);
    EXPECT_FALSE(menu.GuardBarsChecked);
    EXPECT_FALSE(menu.NumberAboveChecked);
  }
}

TEST(ItemMenuTest, ThePictureOffersOnlyStretch) {
  DialogFixture f;
  TfrmMain& d = f.Dialog();
  auto& picture = d.Ctl<TImage>("imgBitMap");
  Menu menu = d.ppMenuPopup(picture);
  EXPECT_EQ(d.CurrentItem(), &picture);
  EXPECT_TRUE(menu.FitVisible);
  EXPECT_TRUE(menu.FitEnabled);
  EXPECT_TRUE(menu.FitChecked);
  EXPECT_FALSE(menu.FontVisible);
  EXPECT_FALSE(menu.GuardBarsVisible);
  EXPECT_FALSE(menu.NumberAboveVisible);
  EXPECT_FALSE(menu.AlignmentVisible);
  EXPECT_FALSE(menu.WordWrapVisible);
  EXPECT_FALSE(menu.SplitVisible);
  picture.SetStretch(false);
  EXPECT_FALSE(d.ppMenuPopup(picture).FitChecked);
}

TEST(ItemMenuTest, ATextItemShowsItsStyle) {
  DialogFixture f;
  TfrmMain& d = f.Dialog();
  auto& name = d.Ctl<TLabel>("lNazev");
  name.SetAlignment(TAlignment::taRightJustify);
  name.SetWordWrap(true);
  Menu menu = d.ppMenuPopup(name);
  EXPECT_EQ(d.CurrentItem(), &name);
  EXPECT_TRUE(menu.FontVisible);
  EXPECT_TRUE(menu.AlignmentVisible);
  EXPECT_EQ(menu.Alignment, TAlignment::taRightJustify);
  EXPECT_EQ(menu.Layout, TTextLayout::tlCenter);
  EXPECT_TRUE(menu.WordWrapVisible);
  EXPECT_TRUE(menu.WordWrapChecked);
  EXPECT_FALSE(menu.GuardBarsVisible);
  EXPECT_FALSE(menu.NumberAboveVisible);
  EXPECT_FALSE(menu.FitVisible);
  EXPECT_FALSE(menu.SplitVisible);
}

TEST(ItemMenuTest, OnlyPricesOfferTheSplit) {
  DialogFixture f;
  TfrmMain& d = f.Dialog();
  EXPECT_FALSE(d.ppMenuPopup(d.Ctl<Control>("lminzas")).SplitVisible);
  auto& price = d.Ctl<TLabel>("lcena1");
  Menu menu = d.ppMenuPopup(price);
  EXPECT_TRUE(menu.SplitVisible);
  EXPECT_FALSE(menu.SplitChecked);
  price.SetLinked(true);
  EXPECT_TRUE(d.ppMenuPopup(price).SplitChecked);
  // The second half of a split price is no price of its own.
  EXPECT_FALSE(d.ppMenuPopup(*price.LinkLabel()).SplitVisible);
}

TEST(ItemMenuTest, FontDialogPresetWithTheItemsFont) {
  DialogFixture f;
  TfrmMain& d = f.Dialog();
  Font chosen;
  chosen.Name = "Arial";
  chosen.SetHeight(-16);
  chosen.Style = fsItalic;

  auto& text = d.Ctl<TLabel>("lCislo");
  const Font before = text.GetFont();
  d.ppMenuPopup(text);
  d.FontClick();  // cancelled: nothing changes
  ASSERT_EQ(f.ui.fontDialogs_.size(), 1u);
  EXPECT_EQ(f.ui.fontDialogs_.back(), before);
  EXPECT_EQ(text.GetFont(), before);
  f.ui.fontAnswers_.push_back(chosen);
  d.ppMenuPopup(text);
  d.FontClick();
  EXPECT_EQ(text.GetFont(), chosen);

  auto& barcode = d.Ctl<TBarCodeControl>("NrEANCode");
  const Font barcodeFont = barcode.GetFont();
  f.ui.fontAnswers_.push_back(chosen);
  d.ppMenuPopup(barcode);
  d.FontClick();
  EXPECT_EQ(f.ui.fontDialogs_.back(), barcodeFont);
  EXPECT_EQ(barcode.GetFont(), chosen);

  // The picture has no font to choose.
  d.ppMenuPopup(d.Ctl<Control>("imgBitMap"));
  d.FontClick();
  EXPECT_EQ(f.ui.fontDialogs_.size(), 3u);
}

TEST(ItemMenuTest, AlignmentLayoutAndWordWrapOfTextItems) {
  DialogFixture f;
  TfrmMain& d = f.Dialog();
  auto& text = d.Ctl<TLabel>("lText1");
  const auto open = [&] { d.ppMenuPopup(text); };

  const std::pair<TAlignment, TTextLayout> steps[] = {
      {TAlignment::taCenter, TTextLayout::tlTop},
      {TAlignment::taRightJustify, TTextLayout::tlBottom},
      {TAlignment::taLeftJustify, TTextLayout::tlCenter},
  };
  const std::function<void()> layoutEntries[] = {[&] { d.Nahoru1Click(); }, [&] { d.Dol1Click(); },
                                                 [&] { d.Nasted2Click(); }};
  for (std::size_t i = 0; i < 3; ++i) {
    open();
    d.AlignFont(steps[i].first);
    EXPECT_EQ(text.Alignment(), steps[i].first);
    open();
    layoutEntries[i]();
    EXPECT_EQ(text.Layout(), steps[i].second);
  }

  open();
  d.Zalomentextu1Click();
  EXPECT_TRUE(text.WordWrap());
  EXPECT_TRUE(d.ppMenuPopup(text).WordWrapChecked);
  d.Zalomentextu1Click();
  EXPECT_FALSE(text.WordWrap());

  // Text entries leave other items alone.
  auto& barcode = d.Ctl<TBarCodeControl>("NrEANCode");
  d.ppMenuPopup(barcode);
  d.AlignFont(TAlignment::taCenter);
  d.ppMenuPopup(barcode);
  d.Dol1Click();
  d.ppMenuPopup(barcode);
  d.Zalomentextu1Click();
  EXPECT_EQ(text.Alignment(), TAlignment::taLeftJustify);
  EXPECT_EQ(text.Layout(), TTextLayout::tlCenter);
}

TEST(ItemMenuTest, BarcodeOptions) {
  DialogFixture f;
  TfrmMain& d = f.Dialog();
  auto& barcode = d.Ctl<TBarCodeControl>("lEANCode");
  barcode.SetTag(0);
  d.ppMenuPopup(barcode);
  d.NrTopClick();
  EXPECT_EQ(barcode.Tag(), 11);
  EXPECT_TRUE(d.ppMenuPopup(barcode).NumberAboveChecked);
  d.NrTopClick();
  EXPECT_EQ(barcode.Tag(), 10);

  d.ppMenuPopup(barcode);
  d.EanGuardClick();
  EXPECT_TRUE(barcode.TallGuardBars());
  EXPECT_TRUE(barcode.ShowGuardChars());
  EXPECT_TRUE(d.ppMenuPopup(barcode).GuardBarsChecked);
  d.EanGuardClick();
  EXPECT_FALSE(barcode.TallGuardBars());
  EXPECT_FALSE(barcode.ShowGuardChars());

  // Barcode entries on a text item change nothing.
  auto& text = d.Ctl<TLabel>("lNazev");
  d.ppMenuPopup(text);
  d.NrTopClick();
  d.ppMenuPopup(text);
  d.EanGuardClick();
  EXPECT_EQ(text.Tag(), 10);
}

TEST(ItemMenuTest, StretchAndSplit) {
  DialogFixture f;
  TfrmMain& d = f.Dialog();
  auto& picture = d.Ctl<TImage>("imgBitMap");
  d.ppMenuPopup(picture);
  d.Pizpsobitrozmru1Click();
  EXPECT_FALSE(picture.Stretch());
  d.ppMenuPopup(picture);
  d.Pizpsobitrozmru1Click();
  EXPECT_TRUE(picture.Stretch());

  auto& price = d.Ctl<TLabel>("lcena1");
  price.SetVisible(true);
  d.ppMenuPopup(price);
  d.Rozdltcenunacelazbytek1Click();
  ASSERT_TRUE(price.Linked());
  EXPECT_NE(d.FindComponent("lcena1_Link"), nullptr);
  d.ppMenuPopup(price);
  d.Rozdltcenunacelazbytek1Click();
  EXPECT_FALSE(price.Linked());
  EXPECT_EQ(d.FindComponent("lcena1_Link"), nullptr);
}

TEST(ItemMenuTest, EveryEntryEndsWithARefresh) {
  DialogFixture f;
  TfrmMain& d = f.Dialog();
  d.DrawTiket();
  f.ui.fontAnswers_.push_back(Font{});
  const std::pair<const char*, std::function<void()>> entries[] = {
      {"lNazev", [&] { d.FontClick(); }},
      {"lNazev", [&] { d.AlignFont(TAlignment::taCenter); }},
      {"lNazev", [&] { d.Nahoru1Click(); }},
      {"lNazev", [&] { d.Nasted2Click(); }},
      {"lNazev", [&] { d.Dol1Click(); }},
      {"lNazev", [&] { d.Zalomentextu1Click(); }},
      {"NrEANCode", [&] { d.NrTopClick(); }},
      {"NrEANCode", [&] { d.EanGuardClick(); }},
      {"imgBitMap", [&] { d.Pizpsobitrozmru1Click(); }},
      {"lcena1", [&] { d.Rozdltcenunacelazbytek1Click(); }},
  };
  // The refresh sizes the design panel from the label size.
  auto& panel = d.Ctl<Control>("Panel2");
  const Rect labelSize = panel.BoundsRect();
  ASSERT_GT(labelSize.Width(), 1);
  for (const auto& [item, entry] : entries) {
    SCOPED_TRACE(item);
    panel.SetBounds(0, 0, 1, 1);
    d.ppMenuPopup(d.Ctl<Control>(item));
    entry();
    EXPECT_EQ(panel.BoundsRect(), labelSize);
  }
}

}  // namespace
}  // namespace korval
