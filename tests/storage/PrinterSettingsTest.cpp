#include <gtest/gtest.h>

#include <filesystem>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "doubles/DialogFixture.h"
#include "storage/ProfileFile.h"
#include "storage/ProfileTestFolder.h"

namespace korval {
namespace {

using test::DialogFixture;
using test::FakePrintSurface;

const char* const kQuestion = "Uložit tuto tiskárnu jako výchozí při tisku etiket ?";
const char* const kNoPrinterInfo =
    "Tiskárna nebyla zadána, bude nastavena výchozí tiskárna systému,\r\n"
    "později ji lze zadat v editoru - nastavení tisku";

FakePrintSurface::Printer MakePrinter(const std::string& name, double widthIn, double heightIn) {
  FakePrintSurface::Printer p;
  p.Name = name;
  p.PaperWidthIn = widthIn;
  p.PaperHeightIn = heightIn;
  return p;
}

void ExpectQuestion(const MessageBoxRequest& m) {
  EXPECT_EQ(m.Caption, "Dotaz");
  EXPECT_EQ(m.Text, kQuestion);
  EXPECT_EQ(m.Icon, MessageIcon::Question);
  EXPECT_EQ(m.Buttons, MessageButtons::YesNo);
  EXPECT_EQ(m.Modality, MessageModality::Topmost);
}

void ExpectNoPrinterInfo(const MessageBoxRequest& m) {
  EXPECT_EQ(m.Caption, "Informace");
  EXPECT_EQ(m.Text, kNoPrinterInfo);
  EXPECT_EQ(m.Icon, MessageIcon::Information);
  EXPECT_EQ(m.Buttons, MessageButtons::Ok);
  EXPECT_EQ(m.Modality, MessageModality::Topmost);
}

// Every test works in a fresh current folder, where "etikety.ini" lives.
class PrinterSettingsTest : public ::testing::Test {
 protected:
  static constexpr int kZebra = 0;
  static constexpr int kLaser = 1;
  static constexpr int kOffice = 2;

  PrinterSettingsTest() : previous_(std::filesystem::current_path()) {
    std::filesystem::current_path(folder_.Path());
  }
  ~PrinterSettingsTest() override { std::filesystem::current_path(previous_); }

  void SetUp() override {
    // Built before the scene is set, so whatever creating the dialog does
    // happens without printers and is not counted below.
    d_ = &f_.Dialog();
    f_.printer.printers_ = {MakePrinter("Zebra ZD420", 4, 6), MakePrinter("Laser", 8.27, 11.69),
                            MakePrinter("Office", 8.5, 11)};
    f_.printer.defaultName_ = "Office";
    f_.host.SetLabelPrinterIndex(-1);
    f_.ui.messages_.clear();
    f_.printer.setupDialogs_ = 0;
    f_.printer.metricRefreshes_ = 0;
    f_.printer.customPaperSizes_.clear();
  }

  // The paper size last handed to the sheet geometry, which sets it as the
  // printer's custom paper size.
  std::pair<double, double> PaperHandedOn() const {
    const auto& sizes = f_.printer.customPaperSizes_;
    return sizes.empty() ? std::pair{-1.0, -1.0} : sizes.back();
  }

  TfrmMain& D() { return *d_; }
  void SetBox(const std::string& name) { D().Ctl<ComboBox>("cboxSaves").SetText(name); }

  static void Write(const std::string& key, const std::string& value) {
    ProfileFile(".\\etikety.ini").WriteString("SETUP", key, value);
  }
  static std::string Read(const std::string& key) {
    return ProfileFile(".\\etikety.ini").ReadString("SETUP", key, "<none>");
  }
  std::string FileBytes() const { return test::ReadBytes(folder_.File("etikety.ini")); }
  bool FileExists() const { return std::filesystem::exists(folder_.File("etikety.ini")); }
  // Every key of the section with its value, in file order.
  static std::vector<std::pair<std::string, std::string>> Entries() {
    std::vector<std::pair<std::string, std::string>> entries;
    const ProfileFile file(".\\etikety.ini");
    for (const auto& key : file.ReadKeys("SETUP"))
      entries.emplace_back(key, file.ReadString("SETUP", key, ""));
    return entries;
  }

  // What the printer setup action does after the user chose in the dialog.
  void ChooseInSetupDialog(int printer, double widthIn, double heightIn) {
    f_.printer.setupDialogAnswer_ = true;
    f_.printer.dialogPrinter_ = printer;
    f_.printer.dialogPaperWidthIn_ = widthIn;
    f_.printer.dialogPaperHeightIn_ = heightIn;
    ASSERT_TRUE(f_.printer.ShowPrinterSetupDialog());
    D().ApplyPrinterSelection(f_.printer.PrinterIndex(), f_.printer.PaperWidth(SizeUnit::Inches),
                              f_.printer.PaperHeight(SizeUnit::Inches));
  }

  bool ActionsEnabled() const {
    const bool setup = d_->GetAction("actPrinterSetup").Enabled();
    EXPECT_EQ(d_->GetAction("actTestPrint").Enabled(), setup);
    EXPECT_EQ(d_->GetAction("actPrint").Enabled(), setup);
    return setup;
  }

  test::TempFolder folder_;
  std::filesystem::path previous_;
  DialogFixture f_;
  TfrmMain* d_ = nullptr;
};

TEST_F(PrinterSettingsTest, FormatWithItsOwnPrinterAndPaperIsSelectedQuietlyAndNothingWritten) {
  Write("TISKARNA", "Office");
  Write("A_TISKARNA", "zebra zd420");  // names are matched without regard to case
  Write("A_TISKARNA_WIDTH", "4,5");
  Write("A_TISKARNA_HEIGHT", "2.25");
  SetBox("A");
  const std::string before = FileBytes();
  for (const char* action : {"actPrinterSetup", "actTestPrint", "actPrint"})
    D().GetAction(action).SetEnabled(false);

  D().LoadPrinterSettings("A");

  EXPECT_EQ(f_.printer.PrinterIndex(), kZebra);
  EXPECT_EQ(f_.host.LabelPrinterIndex(), kZebra);
  EXPECT_DOUBLE_EQ(D().RememberedPaperWidth, 4.5);
  EXPECT_DOUBLE_EQ(D().RememberedPaperHeight, 2.25);
  EXPECT_EQ(PaperHandedOn(), (std::pair{4.5, 2.25}));
  EXPECT_TRUE(f_.ui.messages_.empty());
  EXPECT_EQ(f_.printer.setupDialogs_, 0);
  EXPECT_EQ(FileBytes(), before);
  EXPECT_TRUE(ActionsEnabled());
  EXPECT_GE(f_.printer.metricRefreshes_, 1);
}

TEST_F(PrinterSettingsTest, FormatWithoutItsOwnPrinterTakesTheGeneralPrinterAndItsPaper) {
  Write("TISKARNA", "Laser");
  Write("TISKARNA_WIDTH", "3");
  Write("TISKARNA_HEIGHT", "1,5");
  Write("A_TISKARNA", "Zebra ZD420");
  // A paper size of its own does not count without a printer of its own.
  Write("B_TISKARNA_WIDTH", "9");
  Write("B_TISKARNA_HEIGHT", "9");
  SetBox("B");
  const std::string before = FileBytes();

  D().LoadPrinterSettings("B");

  EXPECT_EQ(f_.printer.PrinterIndex(), kLaser);
  EXPECT_EQ(f_.host.LabelPrinterIndex(), kLaser);
  EXPECT_DOUBLE_EQ(D().RememberedPaperWidth, 3);
  EXPECT_DOUBLE_EQ(D().RememberedPaperHeight, 1.5);
  EXPECT_EQ(PaperHandedOn(), (std::pair{3.0, 1.5}));
  EXPECT_TRUE(f_.ui.messages_.empty());
  EXPECT_EQ(FileBytes(), before);

  // An empty name reads the general entry alone.
  D().LoadPrinterSettings("");
  EXPECT_EQ(f_.printer.PrinterIndex(), kLaser);
  EXPECT_DOUBLE_EQ(D().RememberedPaperWidth, 3);
}

TEST_F(PrinterSettingsTest, StoredPrinterNoLongerInstalledFallsBackToTheDefaultAndAsks) {
  Write("TISKARNA", "Zebra ZD420");
  Write("A_TISKARNA", "Gone");
  Write("A_TISKARNA_WIDTH", "4");
  Write("A_TISKARNA_HEIGHT", "2");
  SetBox("A");
  auto expected = Entries();
  f_.ui.answers_ = {MessageAnswer::Yes};

  D().LoadPrinterSettings("A");

  EXPECT_EQ(f_.printer.PrinterIndex(), kOffice);
  EXPECT_EQ(f_.host.LabelPrinterIndex(), kOffice);
  ASSERT_EQ(f_.ui.messages_.size(), 1u);
  ExpectQuestion(f_.ui.messages_[0]);
  // Only the general printer changed; the format's own entry stays.
  expected[0].second = "Office";
  EXPECT_EQ(Entries(), expected);
}

TEST_F(PrinterSettingsTest, AnsweringNoToTheQuestionWritesNothing) {
  Write("A_TISKARNA", "Gone");
  const std::string before = FileBytes();
  f_.ui.answers_ = {MessageAnswer::No};

  D().LoadPrinterSettings("A");

  EXPECT_EQ(f_.printer.PrinterIndex(), kOffice);
  EXPECT_EQ(f_.ui.messages_.size(), 1u);
  EXPECT_EQ(FileBytes(), before);
  // The label printer is now the selected one: nothing is asked again.
  D().ApplyPrinterSelection(f_.printer.PrinterIndex(), -1, -1);
  EXPECT_EQ(f_.ui.messages_.size(), 1u);
}

TEST_F(PrinterSettingsTest, NothingStoredAndSetupCancelledInformsThenUsesTheDefaultAndAsks) {
  f_.printer.setupDialogAnswer_ = false;

  D().LoadPrinterSettings("A");

  EXPECT_EQ(f_.printer.setupDialogs_, 1);
  ASSERT_EQ(f_.ui.messages_.size(), 2u);
  ExpectNoPrinterInfo(f_.ui.messages_[0]);
  ExpectQuestion(f_.ui.messages_[1]);
  EXPECT_EQ(f_.printer.PrinterIndex(), kOffice);
  EXPECT_EQ(f_.host.LabelPrinterIndex(), kOffice);
  EXPECT_FALSE(FileExists()) << "the question was answered No";
  EXPECT_TRUE(ActionsEnabled());
}

TEST_F(PrinterSettingsTest, AnsweringYesAfterTheCancelledSetupStoresTheDefaultAsLabelPrinter) {
  f_.ui.answers_ = {MessageAnswer::Ok, MessageAnswer::Yes};
  D().LoadPrinterSettings("");
  EXPECT_EQ(Entries(), (std::vector<std::pair<std::string, std::string>>{{"TISKARNA", "Office"}}));
}

TEST_F(PrinterSettingsTest, NothingStoredUsesTheHostsLabelPrinterIndexWhenItIsListed) {
  f_.host.SetLabelPrinterIndex(kLaser);
  D().LoadPrinterSettings("A");
  EXPECT_EQ(f_.printer.PrinterIndex(), kLaser);
  EXPECT_EQ(f_.printer.setupDialogs_, 0);
  EXPECT_TRUE(f_.ui.messages_.empty());
  EXPECT_FALSE(FileExists());

  // An index beyond the list names no printer: the setup dialog decides.
  f_.host.SetLabelPrinterIndex(3);
  D().LoadPrinterSettings("A");
  EXPECT_EQ(f_.printer.setupDialogs_, 1);
}

TEST_F(PrinterSettingsTest, NothingStoredAndSetupConfirmedStoresTheChoiceForTheNamedFormat) {
  SetBox("A");
  f_.printer.setupDialogAnswer_ = true;
  f_.printer.dialogPrinter_ = kZebra;
  f_.printer.dialogPaperWidthIn_ = 4;
  f_.printer.dialogPaperHeightIn_ = 3;
  f_.ui.answers_ = {MessageAnswer::No};

  D().LoadPrinterSettings("A");

  EXPECT_EQ(f_.printer.PrinterIndex(), kZebra);
  ASSERT_EQ(f_.ui.messages_.size(), 1u);
  ExpectQuestion(f_.ui.messages_[0]);
  EXPECT_EQ(
      Entries(),
      (std::vector<std::pair<std::string, std::string>>{
          {"A_TISKARNA", "Zebra ZD420"}, {"A_TISKARNA_WIDTH", "4"}, {"A_TISKARNA_HEIGHT", "3"}}));
}

TEST_F(PrinterSettingsTest, AnotherPrinterChosenInSetupIsStoredForTheFormatInTheBox) {
  Write("TISKARNA", "Zebra ZD420");
  Write("A_TISKARNA", "Zebra ZD420");
  Write("A_TISKARNA_WIDTH", "4");
  Write("A_TISKARNA_HEIGHT", "6");
  SetBox("A");
  D().LoadPrinterSettings("A");
  ASSERT_TRUE(f_.ui.messages_.empty());
  f_.ui.answers_ = {MessageAnswer::No};

  ChooseInSetupDialog(kLaser, 8.27, 11.69);

  ASSERT_EQ(f_.ui.messages_.size(), 1u);
  ExpectQuestion(f_.ui.messages_[0]);
  EXPECT_EQ(Read("TISKARNA"), "Zebra ZD420");
  EXPECT_EQ(Read("A_TISKARNA"), "Laser");
  // Widths carry the locale's decimal separator.
  EXPECT_EQ(Read("A_TISKARNA_WIDTH"), "8,27");
  EXPECT_EQ(Read("A_TISKARNA_HEIGHT"), "11,69");
  EXPECT_DOUBLE_EQ(D().RememberedPaperWidth, 8.27);
  EXPECT_DOUBLE_EQ(D().RememberedPaperHeight, 11.69);
  EXPECT_EQ(f_.host.LabelPrinterIndex(), kLaser);

  // The same printer and paper again: nothing asked, nothing written.
  const std::string before = FileBytes();
  ChooseInSetupDialog(kLaser, 8.27, 11.69);
  EXPECT_EQ(f_.ui.messages_.size(), 1u);
  EXPECT_EQ(FileBytes(), before);

  // And what was stored is what the next load selects, quietly.
  f_.host.SetLabelPrinterIndex(-1);
  D().LoadPrinterSettings("A");
  EXPECT_EQ(f_.printer.PrinterIndex(), kLaser);
  EXPECT_EQ(f_.ui.messages_.size(), 1u);
  EXPECT_DOUBLE_EQ(D().RememberedPaperHeight, 11.69);
}

TEST_F(PrinterSettingsTest, OtherPaperOnTheSamePrinterIsStoredWithoutAQuestion) {
  Write("A_TISKARNA", "Zebra ZD420");
  Write("A_TISKARNA_WIDTH", "4");
  Write("A_TISKARNA_HEIGHT", "6");
  SetBox("A");
  D().LoadPrinterSettings("A");

  ChooseInSetupDialog(kZebra, 4, 2.5);

  EXPECT_TRUE(f_.ui.messages_.empty());
  EXPECT_EQ(Read("A_TISKARNA"), "Zebra ZD420");
  EXPECT_EQ(Read("A_TISKARNA_WIDTH"), "4");
  EXPECT_EQ(Read("A_TISKARNA_HEIGHT"), "2,5");
}

TEST_F(PrinterSettingsTest, AnEmptyFormatNameBoxNeverWritesPerFormatKeys) {
  Write("TISKARNA", "Zebra ZD420");
  Write("A_TISKARNA", "Zebra ZD420");
  Write("A_TISKARNA_WIDTH", "4");
  Write("A_TISKARNA_HEIGHT", "6");
  SetBox("");
  D().LoadPrinterSettings("A");
  const auto before = Entries();
  f_.ui.answers_ = {MessageAnswer::No};

  ChooseInSetupDialog(kLaser, 8.27, 11.69);
  ChooseInSetupDialog(kZebra, 3, 3);

  EXPECT_EQ(Entries(), before);
}

TEST_F(PrinterSettingsTest, ASelectionWithoutAPaperSizeOrWithTheDefaultPrinterStoresNoFormatEntry) {
  SetBox("A");
  f_.host.SetLabelPrinterIndex(kZebra);
  D().ApplyPrinterSelection(kZebra, -1, 6);
  D().ApplyPrinterSelection(kZebra, 4, -1);
  EXPECT_FALSE(FileExists());
  // Index -1 (the system default) is never stored for a format.
  f_.ui.answers_ = {MessageAnswer::No};
  D().ApplyPrinterSelection(-1, 8.5, 11);
  EXPECT_EQ(f_.printer.PrinterIndex(), kOffice);
  EXPECT_FALSE(FileExists());
}

TEST_F(PrinterSettingsTest, SizesAreWrittenWithTheLocalesSeparatorAndReadWithEither) {
  f_.locale.separator_ = '.';
  SetBox("A");
  f_.host.SetLabelPrinterIndex(kZebra);
  D().ApplyPrinterSelection(kZebra, 4, 6);
  f_.printer.printers_[kZebra].PaperWidthIn = 2.125;
  D().ApplyPrinterSelection(kZebra, 2.125, 6);
  EXPECT_EQ(Read("A_TISKARNA_WIDTH"), "2.125");
  EXPECT_EQ(Read("A_TISKARNA_HEIGHT"), "6");

  Write("B_TISKARNA", "Zebra ZD420");
  Write("B_TISKARNA_WIDTH", "2,125");
  Write("B_TISKARNA_HEIGHT", "0.75");
  D().LoadPrinterSettings("B");
  EXPECT_DOUBLE_EQ(D().RememberedPaperWidth, 2.125);
  EXPECT_DOUBLE_EQ(D().RememberedPaperHeight, 0.75);
}

TEST_F(PrinterSettingsTest, SizesThatAreMissingOrUnreadableReadAsNone) {
  Write("A_TISKARNA", "Zebra ZD420");
  Write("A_TISKARNA_WIDTH", "široký");
  D().LoadPrinterSettings("A");
  EXPECT_EQ(f_.printer.PrinterIndex(), kZebra);
  EXPECT_EQ(D().RememberedPaperWidth, -1);
  EXPECT_EQ(D().RememberedPaperHeight, -1);
}

TEST_F(PrinterSettingsTest, WithoutPrintersTheFileIsNotTouchedAndPrintingIsDisabled) {
  Write("TISKARNA", "Zebra ZD420");
  Write("A_TISKARNA", "Zebra ZD420");
  Write("A_TISKARNA_WIDTH", "4");
  const std::string before = FileBytes();
  f_.printer.printers_.clear();
  SetBox("A");
  // Reading the file would reset these.
  D().RememberedPaperWidth = 7;
  D().RememberedPaperHeight = 8;

  D().LoadPrinterSettings("A");

  EXPECT_FALSE(ActionsEnabled());
  EXPECT_TRUE(f_.ui.messages_.empty());
  EXPECT_EQ(f_.printer.setupDialogs_, 0);
  EXPECT_EQ(D().RememberedPaperWidth, 7);
  EXPECT_EQ(D().RememberedPaperHeight, 8);
  EXPECT_TRUE(f_.printer.customPaperSizes_.empty()) << "the sheet runs without a paper size";
  EXPECT_EQ(FileBytes(), before);
  EXPECT_EQ(f_.host.LabelPrinterIndex(), -1);

  // A printer that turns up enables printing again.
  f_.printer.printers_ = {MakePrinter("Zebra ZD420", 4, 6)};
  D().LoadPrinterSettings("A");
  EXPECT_TRUE(ActionsEnabled());
  EXPECT_EQ(f_.printer.PrinterIndex(), 0);
}

TEST_F(PrinterSettingsTest, WithoutPrintersNoFileIsCreated) {
  f_.printer.printers_.clear();
  f_.host.SetLabelPrinterIndex(2);
  D().LoadPrinterSettings("A");
  EXPECT_FALSE(FileExists());
  EXPECT_TRUE(f_.ui.messages_.empty()) << "no printer to offer as the label printer";
  EXPECT_FALSE(ActionsEnabled());
}

TEST_F(PrinterSettingsTest, EverySelectionRecomputesThePageMetrics) {
  f_.host.SetLabelPrinterIndex(kZebra);
  D().ApplyPrinterSelection(kZebra, -1, -1);
  D().ApplyPrinterSelection(kZebra, -1, -1);
  EXPECT_EQ(f_.printer.metricRefreshes_, 2);
}

class DefaultPrinterTest : public ::testing::Test {
 protected:
  void SetUp() override { d_ = &f_.Dialog(); }
  int Lookup(std::vector<std::string> names, const std::string& defaultName) {
    f_.printer.printers_.clear();
    for (auto& name : names) f_.printer.printers_.push_back(MakePrinter(name, 8.5, 11));
    f_.printer.defaultName_ = defaultName;
    return d_->DefaultPrinterIndex();
  }
  void ExpectNoDefault(std::vector<std::string> names, const std::string& defaultName) {
    try {
      Lookup(std::move(names), defaultName);
      ADD_FAILURE() << "no error for " << defaultName;
    } catch (const std::runtime_error& e) {
      EXPECT_STREQ(e.what(), "There is no default printer currently selected");
    }
  }

  DialogFixture f_;
  TfrmMain* d_ = nullptr;
};

TEST_F(DefaultPrinterTest, AnEntryWithAPortMatchesByTheTextBeforeOn) {
  EXPECT_EQ(Lookup({"Office", "Laser on LPT1:"}, "Laser"), 1);
  EXPECT_EQ(Lookup({"Office", "laser on LPT1:"}, "LASER"), 1);
  // Everything before "on" counts, so a longer name before it does not match.
  EXPECT_EQ(Lookup({"Laser Jet on LPT2:", "Laser on LPT1:"}, "Laser"), 1);
}

TEST_F(DefaultPrinterTest, ANameContainingOnMatchesOverTheWholeNameLength) {
  EXPECT_EQ(Lookup({"Laser", "Label Station"}, "Label Station"), 1);
  EXPECT_EQ(Lookup({"Tiskárna Štítky", "Label Station"}, "TISKÁRNA ŠTÍTKY"), 0);
}

TEST_F(DefaultPrinterTest, TheFirstMatchingEntryWins) {
  // Without "on" the entry is compared over the name's length only.
  EXPECT_EQ(Lookup({"Office", "Laser 4", "Laser"}, "Laser"), 1);
  EXPECT_EQ(Lookup({"Laser", "Laser on LPT1:"}, "Laser"), 0);
}

TEST_F(DefaultPrinterTest, NoMatchingEntryOrNoDefaultRaisesTheError) {
  ExpectNoDefault({"Office", "Laser on LPT1:"}, "Zebra");
  ExpectNoDefault({"Office", "Laser"}, "");
  ExpectNoDefault({}, "Laser");
}

}  // namespace
}  // namespace korval
