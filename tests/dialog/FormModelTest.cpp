#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "platform/Text.h"

#include "dialog/LayoutTable.h"
#include "doubles/DialogFixture.h"

namespace korval {
namespace {

using test::DialogFixture;

// Records what a view would be told.
struct Watcher : ControlObserver {
  void ControlCreated(Control& c) override { created.push_back(c.Name()); }
  void ControlChanged(Control& c, std::string_view p) override {
    changed.push_back(c.Name() + "." + std::string(p));
  }
  void ControlDestroyed(Control& c) override { destroyed.push_back(c.Name()); }
  std::vector<std::string> created, changed, destroyed;
};

TEST(FormModelTest, EveryControlOfTheLayoutWithItsParentTextsAndState) {
  DialogFixture f;
  TfrmMain& d = f.Dialog();
  for (const ControlLayout& entry : MainLayoutTable()) {
    SCOPED_TRACE(entry.Name);
    Control* c = d.FindComponent(entry.Name);
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(c->Name(), entry.Name);
    EXPECT_EQ(c->Parent() == nullptr ? std::string() : c->Parent()->Name(), entry.Parent);
    EXPECT_EQ(c->Hint(), entry.Hint);
    EXPECT_EQ(c->Enabled(), entry.Enabled);
  }
  EXPECT_EQ(d.Ctl<Control>("cboxSaves").Hint(), "Seznam uložených formátů etiket");
  EXPECT_EQ(d.Ctl<Control>("cboxSaves").Width(), 153);
  EXPECT_EQ(d.Ctl<Control>("gbDalsi").Width(), 237);
  EXPECT_EQ(d.Ctl<Control>("Panel1").Height(), 34);
  EXPECT_EQ(d.Ctl<Control>("eText2").Width(), 155);
  EXPECT_EQ(d.Ctl<Control>("EBitMap").Width(), 181);
  EXPECT_EQ(d.Ctl<Edit>("ePocetEtiket").Text(), "5");
  EXPECT_EQ(d.Ctl<Edit>("eText3").Text(), "eText3");
  EXPECT_EQ(d.Ctl<Edit>("rxseOsax").Text(), "100");
  EXPECT_EQ(d.Ctl<Control>("gbTiket").Caption(), " Etiketa ");
  EXPECT_EQ(d.Ctl<ComboBox>("ComboBox1").Items(), (std::vector<std::string>{"pt.", "mm"}));
  EXPECT_EQ(d.Ctl<ComboBox>("ComboBox1").ItemIndex(), -1);
  EXPECT_TRUE(d.Ctl<CheckBox>("cbRamecek").Checked());
  EXPECT_TRUE(d.Ctl<CheckBox>("CBoxIgnoreWrongEAN").Checked());
  EXPECT_FALSE(d.Ctl<CheckBox>("cbAutoSave").Checked());
  EXPECT_FALSE(d.Ctl<CheckBox>("CBAsCHMJ").Checked());
}

TEST(FormModelTest, OpensWithTheInactiveControlsDisabled) {
  DialogFixture f;
  TfrmMain& d = f.Dialog();
  for (const char* name : {"SpeedButton1", "sbReset", "CBNumberAsEAN", "sbPrevPol", "sbNextPol"}) {
    EXPECT_FALSE(d.Ctl<Control>(name).Enabled()) << name;
  }
  // The preview's details can be switched on; they start off.
  EXPECT_TRUE(d.Ctl<Control>("PodrobnostiPrew").Enabled());
  EXPECT_FALSE(d.Ctl<CheckBox>("PodrobnostiPrew").Checked());
  EXPECT_EQ(d.Ctl<PageControl>("PageControl1").ActivePage(), 0);
  EXPECT_EQ(d.Ctl<PageControl>("gbDalsi").ActivePage(), 0);
  EXPECT_EQ(d.Ctl<Control>("TabSheet1").Caption(), "&Nastavení");
  EXPECT_EQ(d.Ctl<Control>("tsPolozky").Caption(), "Položky");
}

TEST(FormModelTest, ButtonsShowTheirActionsAndFollowTheirState) {
  DialogFixture f;
  TfrmMain& d = f.Dialog();
  EXPECT_EQ(d.Ctl<Control>("bbtnTisk").Caption(), "Tisk");
  EXPECT_EQ(d.Ctl<Control>("bbtnSave").Caption(), "&Uložit");
  EXPECT_EQ(d.Ctl<Control>("SpeedButton3").Caption(), "Nastavení tisku");
  EXPECT_EQ(d.Ctl<Control>("SpeedButton2").Hint(), "Tisk zkušebních etiket");
  int runs = 0;
  d.GetAction("actPrint").OnExecute = [&] { ++runs; };
  d.Ctl<Button>("bbtnTisk").Click();
  d.GetAction("actPrint").SetEnabled(false);
  EXPECT_FALSE(d.Ctl<Control>("bbtnTisk").Enabled());
  d.Ctl<Button>("bbtnTisk").Click();
  EXPECT_EQ(runs, 1);
}

TEST(FormModelTest, BottomBarKeepsItsButtonsAtTheRightEdge) {
  DialogFixture f;
  TfrmMain& d = f.Dialog();
  d.Ctl<Control>("Panel1").SetWidth(800);
  EXPECT_EQ(d.Ctl<Control>("bbtnOk").Left(), 715);
  EXPECT_EQ(d.Ctl<Control>("bbtnCancel").Left(), 635);
  EXPECT_EQ(d.Ctl<Control>("bbtnSave").Left(), 555);
  EXPECT_EQ(d.Ctl<Control>("bbtnTisk").Left(), 475);
  d.Ctl<Control>("Panel6").SetWidth(500);
  EXPECT_EQ(d.Ctl<Control>("sbNextPol").Left(), 465);
  EXPECT_EQ(d.Ctl<Control>("sbPrevPol").Left(), 435);
  // The item counter reaches from the print-area switch to the buttons.
  EXPECT_EQ(d.Ctl<Control>("lblItemText").Left(), 160);
  EXPECT_EQ(d.Ctl<Control>("lblItemText").Left() + d.Ctl<Control>("lblItemText").Width(), 433);
}

TEST(FormModelTest, ComponentOrderIsLayoutThenCatalogueThenLinkLabels) {
  DialogFixture f;
  TfrmMain& d = f.Dialog();
  const int layoutCount = static_cast<int>(MainLayoutTable().size());
  EXPECT_EQ(d.Component(0).Name(), "Panel1");
  EXPECT_EQ(d.Component(layoutCount).Name(), "lNazev");
  // Eight fixed items, then the catalogue: a switch and its item per entry.
  EXPECT_EQ(d.Component(layoutCount + 8).Name(), "cbcena1");
  EXPECT_EQ(d.Component(layoutCount + 9).Name(), "lcena1");
  EXPECT_EQ(d.Component(d.ComponentCount() - 1).Name(), "lingred");
  d.Ctl<TLabel>("lcena2").SetLinked(true);
  EXPECT_EQ(d.Component(d.ComponentCount() - 1).Name(), "lcena2_Link");
}

TEST(FormModelTest, ObserversSeeControlsComeChangeAndGo) {
  DialogFixture f;
  TfrmMain& d = f.Dialog();
  Watcher watcher;
  d.AddObserver(&watcher);
  auto& price = d.Ctl<TLabel>("lcena1");
  price.SetLinked(true);
  price.SetLinked(false);
  d.Ctl<CheckBox>("cbAutoSave").SetChecked(true);
  d.RemoveObserver(&watcher);
  d.Ctl<CheckBox>("cbAutoSave").SetChecked(false);
  EXPECT_EQ(watcher.created, std::vector<std::string>{"lcena1_Link"});
  EXPECT_EQ(watcher.destroyed, std::vector<std::string>{"lcena1_Link"});
  EXPECT_NE(std::find(watcher.changed.begin(), watcher.changed.end(), "cbAutoSave.Checked"),
            watcher.changed.end());
  EXPECT_EQ(std::count(watcher.changed.begin(), watcher.changed.end(), "cbAutoSave.Checked"), 1);
}

TEST(FormModelTest, ProgrammaticChangesRunTheHandlersOnlyWhenTheValueChanges) {
  DialogFixture f;
  TfrmMain& d = f.Dialog();
  auto& box = d.Ctl<CheckBox>("cbVlastniFronta");
  auto& edit = d.Ctl<Edit>("meOdsazX");
  int clicks = 0, changes = 0;
  box.OnClick = [&](Control&) { ++clicks; };
  edit.OnChange = [&](Control&) { ++changes; };
  box.SetChecked(true);
  box.SetChecked(true);
  box.Click();  // the user's click toggles
  edit.SetText("12");
  edit.SetText("12");
  EXPECT_EQ(clicks, 2);
  EXPECT_FALSE(box.Checked());
  EXPECT_EQ(changes, 1);
  // A handler that is detached is not run.
  box.OnClick = nullptr;
  box.SetChecked(true);
  EXPECT_EQ(clicks, 2);
}

TEST(FormModelTest, TypedKeysGoThroughTheKeyFilter) {
  DialogFixture f;
  auto& edit = f.Dialog().Ctl<Edit>("ePocetEtiket");
  edit.OnKeyPress = [](Control&, char32_t& key) {
    if (key != 8 && (key < '0' || key > '9')) key = 0;
  };
  edit.SetText("");
  for (char32_t key : {U'1', U'x', U'2', U'ř', U'3'}) edit.TypeKey(key);
  EXPECT_EQ(edit.Text(), "123");
  edit.TypeKey(8);
  EXPECT_EQ(edit.Text(), "12");
}

TEST(FormModelTest, NamesAreFoundWithoutRegardToCase) {
  DialogFixture f;
  TfrmMain& d = f.Dialog();
  EXPECT_EQ(d.FindComponent("CBBITMAP"), &d.Ctl<Control>("cbBitMAp"));
  EXPECT_EQ(d.FindComponent("lEANCode")->Kind(), ControlKind::BarCode);
  EXPECT_EQ(d.FindComponent("nothing"), nullptr);
  // Names are found through an index: it follows the controls that come,
  // go and change their names.
  auto& price = d.Ctl<TLabel>("lcena1");
  price.SetLinked(true);
  EXPECT_NE(d.FindComponent("LCENA1_LINK"), nullptr);
  price.SetLinked(false);
  EXPECT_EQ(d.FindComponent("lcena1_Link"), nullptr);
  price.SetName("Cena_Šíře");
  EXPECT_EQ(d.FindComponent("lcena1"), nullptr);
  EXPECT_EQ(d.FindComponent("CENA_ŠÍŘE"), &price);
  price.SetName("lcena1");
  EXPECT_EQ(d.FindComponent("LCena1"), &price);
  std::set<std::string> names;
  for (int i = 0; i < d.ComponentCount(); ++i) names.insert(UpperCase(d.Component(i).Name()));
  EXPECT_EQ(static_cast<int>(names.size()), d.ComponentCount()) << "component names are unique";
}

}  // namespace
}  // namespace korval

namespace korval {
namespace {

// One A4 sheet (L7160: 63.5 x 38.1 mm, 3 x 7, 7.25 / 15.15 mm from the
// edges, 2.54 mm between columns) and one Letter sheet.
constexpr const char* kTwoSheets =
    "A4|63.5|38.1|3|7|21|7.25|15.15|66.04|38.1|Avery:L7160;Avery:J8160|Address labels\n"
    "Letter|66.68|25.4|3|10|30|4.76|12.7|69.85|25.4|Avery:5160|Address labels\n";

// A 600 dpi printer whose printable area starts 1/4 inch (6.35 mm) from the
// left edge and 1/8 inch (3.175 mm) from the top.
void UsePrinterWithStrips(DialogFixture& f) {
  test::FakePrintSurface::Printer printer;
  printer.Name = "Laser";
  printer.WasteLeftIn = 0.25;
  printer.WasteTopIn = 0.125;
  f.printer.printers_ = {printer};
  f.printer.defaultName_ = "Laser";
  f.printer.selected_ = 0;
}

std::vector<std::string> SheetTexts(TfrmMain& d) {
  std::vector<std::string> texts;
  for (const char* name :
       {"meOdsazHorni", "meOdsazLev", "meOdsazX", "meOdsazY", "rxseOsax", "rxseOsay"})
    texts.push_back(d.Ctl<Edit>(name).Text());
  return texts;
}

TEST(FormModelTest, TheSheetComboListsOwnNumbersThenTheCatalogue) {
  DialogFixture f;
  TfrmMain& d = f.Dialog();
  auto& sheets = d.Ctl<ComboBox>("cbArch");
  EXPECT_EQ(sheets.Parent()->Name(), "tsParametry");
  EXPECT_EQ(d.Ctl<TLabel>("lblArch").Caption(), "Arch:");
  d.SetSheetCatalogue(SheetTemplates::Parse(kTwoSheets));
  EXPECT_EQ(sheets.Items(),
            (std::vector<std::string>{"vlastní",
                                      "Avery L7160 \u2013 63,5 \u00d7 38,1 mm, 3 \u00d7 7 = 21",
                                      "Avery 5160 \u2013 66,68 \u00d7 25,4 mm, 3 \u00d7 10 = 30"}));
  EXPECT_EQ(sheets.ItemIndex(), 0);
  EXPECT_EQ(d.ChosenSheet(), nullptr);
}

// The margins count from the printable corner: the printer's strips come off.
TEST(FormModelTest, PickingASheetFillsTheSixEditsInTheUnitInForce) {
  DialogFixture f;
  UsePrinterWithStrips(f);
  TfrmMain& d = f.Dialog();
  d.SetSheetCatalogue(SheetTemplates::Parse(kTwoSheets));
  d.Ctl<ComboBox>("ComboBox1").UserSelect(1);  // millimetres
  d.Ctl<ComboBox>("cbArch").UserSelect(1);
  ASSERT_NE(d.ChosenSheet(), nullptr);
  EXPECT_EQ(d.ChosenSheet()->Name(), "Avery L7160");
  EXPECT_EQ(SheetTexts(d),
            (std::vector<std::string>{"11,975", "0,9", "2,54", "0", "63,5", "38,1"}));
  EXPECT_DOUBLE_EQ(d.LabelWidthMm(), 63.5);

  // In dots at 600 dpi: 11.975 mm = 282.87, 0.9 mm = 21.26, 2.54 mm = 60.
  d.Ctl<ComboBox>("cbArch").UserSelect(0);
  d.Ctl<ComboBox>("ComboBox1").UserSelect(0);
  d.Ctl<ComboBox>("cbArch").UserSelect(1);
  EXPECT_EQ(SheetTexts(d), (std::vector<std::string>{"283", "21", "60", "0", "1500", "900"}));
  // A unit switch keeps the sheet: the lengths are the same.
  d.Ctl<ComboBox>("ComboBox1").UserSelect(1);
  EXPECT_EQ(d.Ctl<ComboBox>("cbArch").ItemIndex(), 1);
}

TEST(FormModelTest, EditingTheSheetByHandMakesItOwnNumbers) {
  for (const char* name :
       {"meOdsazHorni", "meOdsazLev", "meOdsazX", "meOdsazY", "rxseOsax", "rxseOsay"}) {
    SCOPED_TRACE(name);
    DialogFixture f;
    TfrmMain& d = f.Dialog();
    d.SetSheetCatalogue(SheetTemplates::Parse(kTwoSheets));
    auto& sheets = d.Ctl<ComboBox>("cbArch");
    sheets.UserSelect(2);
    EXPECT_EQ(sheets.ItemIndex(), 2);
    const std::vector<std::string> filled = SheetTexts(d);
    d.Ctl<Edit>(name).TypeKey(U'1');
    EXPECT_EQ(sheets.ItemIndex(), 0);
    EXPECT_EQ(d.ChosenSheet(), nullptr);
    EXPECT_NE(SheetTexts(d), filled);
  }
}

}  // namespace
}  // namespace korval
