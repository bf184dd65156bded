#include <gtest/gtest.h>
#include <korval/Version.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>

#include "doubles/FormsFolderTest.h"
#include "platform/Text.h"
#include "print/PrinterWatch.h"
#include "storage/ProfileFile.h"
#include "storage/ProfileTestFolder.h"

namespace korval {
namespace {

using test::DialogFixture;
using test::RecordBuilder;
using test::TempFolder;
using test::WriteBytes;

class LifecycleTest : public test::FormsFolderTest {
 protected:
  void SetUp() override {
    FormsFolderTest::SetUp();
    f_.printer.printers_ = {{"Laser"}, {"Etiketovač"}};
  }
  std::vector<std::string> Files() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder_.Path()))
      if (entry.is_regular_file()) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }
};

TEST_F(LifecycleTest, CreationFillsTheFormatListAndTakesTheHostsName) {
  WriteBytes(folder_.File("TiketFrm.ini"), "[Saves]\r\nA=\r\nB=\r\n");
  f_.SetGoods({RecordBuilder().Name("Sýr").Build()}, "B");
  TfrmMain& d = f_.Dialog();
  EXPECT_EQ(d.Caption, "Nastavení etikety");
  d.RunCreationSteps();
  EXPECT_EQ(d.Caption,
            FormatText("%s ver.%d.%02d build(%d.0)", KORVAL_PRODUCT_NAME, KORVAL_VERSION_MAJOR,
                       KORVAL_VERSION_MINOR, KORVAL_VERSION_PATCH));
  EXPECT_EQ(d.Ctl<ComboBox>("cboxSaves").Items(), (std::vector<std::string>{"A", "B"}));
  EXPECT_EQ(d.Ctl<ComboBox>("cboxSaves").Text(), "B");
  EXPECT_EQ(d.BoundItemIndex, -1);
  EXPECT_FALSE(d.CloseRequested);
}

TEST_F(LifecycleTest, ShowStepBindsTheFirstRecord) {
  f_.SetGoods(
      {RecordBuilder().Name("Sýr").Count(2).Build(), RecordBuilder().Name("Chléb").Build()});
  TfrmMain& d = f_.Dialog();
  d.RunCreationSteps();
  d.ShowStep();
  EXPECT_EQ(d.Ctl<Control>("Label7").Caption(), "Myš(mm):\r0:0");
  EXPECT_EQ(d.Ctl<Control>("lNazev").Caption(), "Sýr");
  EXPECT_EQ(d.Ctl<Control>("lblItemText").Caption(), "Položka: 1/2 (2x)");
  EXPECT_TRUE(d.Ctl<Control>("sbNextPol").Enabled());
  EXPECT_FALSE(d.PlacingItem());
  // From now on the frame switch repaints the label.
  EXPECT_TRUE(static_cast<bool>(d.Ctl<CheckBox>("cbRamecek").OnClick));
}

TEST_F(LifecycleTest, BeforeAnyParametersNoGoodsItemIsShown) {
  TfrmMain& d = f_.Dialog();
  d.RunCreationSteps();
  d.ShowStep();
  EXPECT_FALSE(d.Ctl<Control>("sbNextPol").Enabled());
  EXPECT_FALSE(d.Ctl<Control>("sbPrevPol").Enabled());
  EXPECT_EQ(d.Ctl<Control>("lblItemText").Caption(), "");
}

TEST_F(LifecycleTest, AnErrorInCreationIsReportedAndClosesTheDialog) {
  // The printer question is answered Yes, and the settings file cannot be
  // written: a folder stands in its place.
  std::filesystem::remove(folder_.File("etikety.ini"));
  std::filesystem::create_directory(folder_.File("etikety.ini"));
  f_.host.SetLabelPrinterIndex(-1);
  f_.ui.answers_ = {MessageAnswer::Ok, MessageAnswer::Yes};
  TfrmMain& d = f_.Dialog();
  d.RunCreationSteps();
  ASSERT_FALSE(f_.ui.messages_.empty());
  const MessageBoxRequest& report = f_.ui.messages_.back();
  EXPECT_EQ(report.Caption, "Chyba");
  EXPECT_EQ(report.Icon, MessageIcon::Error);
  EXPECT_EQ(report.Text.rfind("Chyba :\r\n  vytváření modulu nastavení proběhlo s chybou,\r\n"
                              "  nelze pokračovat !\r\n\r\nERR : Unable to write to ",
                              0),
            0u);
  EXPECT_TRUE(d.CloseRequested);
}

// A form path that start-up could not resolve is said once, before the
// dialog reads the format files, by the first dialog or print of the load.
TEST_F(LifecycleTest, AnUnresolvedFormPathIsReportedOnce) {
  const std::string nowhere = folder_.File("nikde");
  f_.host.SetFormPath(nowhere, true);
  f_.SetGoods({RecordBuilder().Name("Sýr").Build()}, "A");
  f_.host.SetLabelPrinterIndex(0);
  f_.Dialog().RunCreationSteps();
  ASSERT_EQ(f_.ui.messages_.size(), 1u);
  const MessageBoxRequest& warning = f_.ui.messages_[0];
  EXPECT_EQ(warning.Caption, "Varování");
  EXPECT_EQ(warning.Icon, MessageIcon::Warning);
  EXPECT_EQ(warning.Buttons, MessageButtons::Ok);
  EXPECT_NE(warning.Text.find("\"" + nowhere + "\""), std::string::npos) << warning.Text;
  EXPECT_NE(warning.Text.find(nowhere + "TiketFrm.ini"), std::string::npos) << warning.Text;
  EXPECT_FALSE(f_.dialog->CloseRequested);
  f_.dialog->RunPrintPath();

  f_.Recreate();
  f_.Dialog().RunCreationSteps();
  f_.dialog->RunPrintPath();
  EXPECT_EQ(f_.ui.messages_.size(), 1u);
  EXPECT_EQ(f_.host.FormPath(), nowhere);
}

TEST_F(LifecycleTest, PrintPathWritesNothingButThePlacement) {
  WriteBytes(folder_.File("TiketFrm.ini"), "[Saves]\r\nA=\r\n");
  WriteBytes(folder_.File("TiketSav.000"), "[SetUp]\r\nlNazev.Visible=True\r\n");
  const auto before = test::ReadBytes(folder_.File("TiketSav.000"));
  f_.SetGoods({RecordBuilder().Name("Sýr").Count(3).Build()}, "A");
  f_.host.SetLabelPrinterIndex(0);
  {
    TfrmMain& d = f_.Dialog();
    d.RunCreationSteps();
    d.RunPrintPath();
    EXPECT_EQ(f_.ui.pendingEventRuns_, 1);
    EXPECT_EQ(f_.printer.printDialogs_, 0);
    ASSERT_EQ(f_.printer.jobs_.size(), 1u);
    EXPECT_EQ(f_.printer.jobs_[0].Title, "Tisk etiket (Etikety)");
    f_.dialog.reset();
  }
  const std::string after = test::ReadBytes(folder_.File("TiketSav.000"));
  EXPECT_EQ(after.rfind(before, 0), 0u);
  EXPECT_NE(after.find("[Formular]"), std::string::npos);
  EXPECT_EQ(ProfileFile(folder_.File("TiketFrm.ini")).ReadKeys("SetLast").size(), 0u);
  EXPECT_TRUE(f_.ui.messages_.empty());
}

TEST_F(LifecycleTest, DefaultPrinterChangeAsksWhenTheBoxIsChecked) {
  TfrmMain& d = f_.Dialog();
  d.RunCreationSteps();
  d.ShowStep();
  ASSERT_EQ(f_.printer.PrinterIndex(), 0);
  f_.printer.defaultName_ = "Etiketovač";
  f_.ui.messages_.clear();
  f_.ui.answers_ = {MessageAnswer::No};
  d.WmSettingChange();
  EXPECT_EQ(f_.printer.PrinterIndex(), 0);
  ASSERT_EQ(f_.ui.messages_.size(), 1u);
  EXPECT_EQ(f_.ui.messages_[0].Text,
            "Byla změněna výchozí tiskárna !\r\nPřejete si změnit výstupní tiskárnu v editoru ?");

  f_.ui.answers_ = {MessageAnswer::Yes, MessageAnswer::No};
  d.WmSettingChange();
  EXPECT_EQ(f_.printer.PrinterIndex(), 1);

  // Without the box nothing is asked; the same printer does nothing at all.
  f_.ui.messages_.clear();
  d.Ctl<CheckBox>("cbDefPrinterChange").SetChecked(false);
  f_.printer.defaultName_ = "Laser";
  f_.ui.answers_ = {MessageAnswer::No};
  d.WmSettingChange();
  EXPECT_EQ(f_.printer.PrinterIndex(), 0);
  f_.ui.messages_.clear();
  d.WmSettingChange();
  EXPECT_TRUE(f_.ui.messages_.empty());
}

// Where the system sends no message about printers, the watch compares what
// it saw last with what is there now and runs the reactions the messages
// would have run: nothing when nothing changed.
TEST_F(LifecycleTest, AWatchNoticesTheDefaultPrinterAndThePrinterListChanging) {
  TfrmMain& d = f_.Dialog();
  d.RunCreationSteps();
  d.ShowStep();
  PrinterWatch watch(f_.printer);
  f_.ui.messages_.clear();
  watch.Check(d);
  EXPECT_TRUE(f_.ui.messages_.empty());
  EXPECT_EQ(f_.printer.printerRefreshes_, 1);

  f_.printer.defaultName_ = "Etiketovač";
  // Yes to the change; No to keeping the new printer for the format.
  f_.ui.answers_ = {MessageAnswer::Yes, MessageAnswer::No};
  watch.Check(d);
  ASSERT_FALSE(f_.ui.messages_.empty());
  EXPECT_EQ(f_.ui.messages_[0].Text,
            "Byla změněna výchozí tiskárna !\r\nPřejete si změnit výstupní tiskárnu v editoru ?");
  EXPECT_EQ(f_.printer.PrinterIndex(), 1);
  // Seen once, a change is not asked about again.
  const std::size_t shown = f_.ui.messages_.size();
  watch.Check(d);
  EXPECT_EQ(f_.ui.messages_.size(), shown);

  // A printer added elsewhere: the dialog re-applies its printer selection.
  f_.printer.printers_.push_back({"Zebra"});
  const int refreshes = f_.printer.metricRefreshes_;
  watch.Check(d);
  EXPECT_GT(f_.printer.metricRefreshes_, refreshes);
}

}  // namespace
}  // namespace korval
