#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "doubles/DialogFixture.h"
#include "doubles/RecordingCanvas.h"
#include "storage/PrintOffsetFile.h"
#include "storage/ProfileTestFolder.h"

namespace korval {
namespace {

using test::DialogFixture;
using test::FakePrintSurface;
using test::RecordBuilder;
using test::RecordingCanvas;
using Op = RecordingCanvas::Op;

constexpr const char* kPrintTitle = "Tisk etiket (Etikety)";
constexpr const char* kTestPrintTitle = "Zkušební tisk (Etikety)";
constexpr int kLabelDots = 1000;

using Goods = std::vector<std::pair<std::string, int>>;
using Sheet = std::vector<std::string>;

// A 600 dpi label printer with a sheet of 4 × 4 inches (2400 × 2400 dots)
// and labels of 1000 × 1000 dots: 2 × 2 positions, at 0 and 1000 dots.
// The label shows the goods item's name and its frame, so every printed
// label says which item it is and where it lies.
class PrintJobTest : public ::testing::Test {
 protected:
  void SetUp() override {
    f_.printer.printers_ = {FakePrintSurface::Printer{"Etikety", 600, 600, 4.0, 4.0}};
    f_.printer.SelectPrinter(0);
    TfrmMain& d = f_.Dialog();
    d.UpdateSheetInfo(-1, -1);
    d.Ctl<Edit>("rxseOsax").SetText(std::to_string(kLabelDots));
    d.Ctl<Edit>("rxseOsay").SetText(std::to_string(kLabelDots));
    d.Ctl<CheckBox>("cbRamecek").SetChecked(true);
    d.Ctl<Control>("lNazev").SetVisible(true);
  }

  TfrmMain& D() { return f_.Dialog(); }

  // Handed over with the label printer, as a host that prints directly does.
  void SetGoods(const Goods& goods, int labelPrinter = 0) {
    std::vector<TTiketItem> records;
    for (const auto& [name, count] : goods) {
      records.push_back(
          RecordBuilder().Name(name).Count(static_cast<std::uint16_t>(count)).Build());
    }
    f_.SetGoods(records);
    f_.host.SetLabelPrinterIndex(labelPrinter);
  }

  // The names on every printed sheet, job after job.
  std::vector<Sheet> Sheets() const {
    std::vector<Sheet> sheets;
    for (const auto& job : f_.printer.jobs_) {
      for (const auto& page : job.Pages) {
        Sheet names;
        for (const auto& call : page->CallsOf(Op::DrawText)) names.push_back(call.text);
        sheets.push_back(names);
      }
    }
    return sheets;
  }

  // Where the labels of a sheet lie: the top-left corners of their frames.
  static std::vector<Point> Origins(const RecordingCanvas& page) {
    std::vector<Point> origins;
    for (const auto& call : page.CallsOf(Op::FrameRect)) {
      if (call.rect.Width() == kLabelDots && call.rect.Height() == kLabelDots)
        origins.push_back(Point{call.rect.Left, call.rect.Top});
    }
    return origins;
  }

  const RecordingCanvas& Page(std::size_t job, std::size_t page) const {
    return *f_.printer.jobs_.at(job).Pages.at(page);
  }

  DialogFixture f_;
};

const std::vector<Point> kAllPositions = {{0, 0}, {1000, 0}, {0, 1000}, {1000, 1000}};

TEST_F(PrintJobTest, GoodsFillSheetAfterSheetWithConsecutiveLabels) {
  SetGoods({{"A", 3}, {"B", 2}});
  D().PrintTikets();

  ASSERT_EQ(f_.printer.jobs_.size(), 1u);
  EXPECT_EQ(f_.printer.jobs_[0].Title, kPrintTitle);
  EXPECT_TRUE(f_.printer.jobs_[0].Ended);
  EXPECT_EQ(Sheets(), (std::vector<Sheet>{{"A", "A", "A", "B"}, {"B"}}));
  EXPECT_EQ(Origins(Page(0, 0)), kAllPositions);
  EXPECT_EQ(Origins(Page(0, 1)), (std::vector<Point>{{0, 0}}));
  // Each sheet under the lock, released at the end.
  EXPECT_EQ(f_.printer.maxLockDepth_, 1);
  EXPECT_EQ(f_.printer.lockDepth_, 0);
}

// Text 3 as the unit price: every label binds its goods item again, and each
// must read the template with text 3 put in once, not once more per label.
TEST_F(PrintJobTest, UnitPriceTextReadsTheSameOnEveryLabel) {
  TTiketItemExt ext{};
  ext.Velikost = sizeof(TTiketItemExt);
  const std::string pattern = "%TEXT3% za kg";
  ext.CenaZaJednotku[0] = static_cast<std::uint8_t>(pattern.size());
  std::memcpy(ext.CenaZaJednotku + 1, pattern.data(), pattern.size());
  const TTiketItemExt* table[] = {&ext};
  f_.host.SetExtensions(table, 1);
  std::vector<TTiketItem> records;
  for (const char* name : {"A", "B"}) {
    records.push_back(RecordBuilder().Name(name).Count(3).Extension(1).Build());
#if KORVAL_WIN32_ABI
    records.back().Rozsireni = &ext;
#endif
  }
  f_.SetGoods(records);
  f_.host.SetLabelPrinterIndex(0);
  D().Ctl<Control>("lNazev").SetVisible(false);
  D().Ctl<Control>("lText3").SetVisible(true);
  D().Ctl<CheckBox>("cbText3").SetChecked(true);
  D().Ctl<Edit>("eText3").SetText("1kg");
  D().Ctl<CheckBox>("CBAsCHMJ").SetChecked(true);
  D().DrawTiket();
  D().PrintTikets();
  EXPECT_EQ(Sheets(), (std::vector<Sheet>{{"1kg za kg", "1kg za kg", "1kg za kg", "1kg za kg"},
                                          {"1kg za kg", "1kg za kg"}}));
}

TEST_F(PrintJobTest, StartPositionAppliesToTheFirstSheetAndIsResetAfterwards) {
  SetGoods({{"A", 3}, {"B", 2}});
  D().StartCol = 1;
  D().StartRow = 1;
  D().PrintTikets();

  EXPECT_EQ(Sheets(), (std::vector<Sheet>{{"A"}, {"A", "A", "B", "B"}}));
  EXPECT_EQ(Origins(Page(0, 0)), (std::vector<Point>{{1000, 1000}}));
  EXPECT_EQ(Origins(Page(0, 1)), kAllPositions);

  EXPECT_EQ(D().StartCol, 0);
  EXPECT_EQ(D().StartRow, 0);
  EXPECT_EQ(D().ClickPoint, (Point{-1, -1}));
  // The first goods item is shown again.
  EXPECT_EQ(D().CurrentItemIndex, 0);
  EXPECT_EQ(D().Ctl<Control>("lNazev").Caption(), "A");
}

TEST_F(PrintJobTest, ZeroCountGetsOneLabelAndAnExactlyFilledSheetIsTheLast) {
  SetGoods({{"A", 1}, {"B", 0}, {"C", 2}});
  D().PrintTikets();
  EXPECT_EQ(Sheets(), (std::vector<Sheet>{{"A", "B", "C", "C"}}));
}

TEST_F(PrintJobTest, AnEmptyListStillSendsOneBlankSheet) {
  SetGoods({});
  D().PrintTikets();
  ASSERT_EQ(f_.printer.jobs_.size(), 1u);
  EXPECT_EQ(Sheets(), (std::vector<Sheet>{{}}));
  EXPECT_TRUE(Page(0, 0).Calls().empty());
}

TEST_F(PrintJobTest, OwnQueueSendsEverySheetAsAJobOfItsOwnWithAPause) {
  SetGoods({{"A", 3}, {"B", 2}, {"C", 4}});
  D().Ctl<CheckBox>("cbVlastniFronta").SetChecked(true);
  D().PrintTikets();

  ASSERT_EQ(f_.printer.jobs_.size(), 3u);
  for (const auto& job : f_.printer.jobs_) {
    EXPECT_EQ(job.Title, kPrintTitle);
    EXPECT_EQ(job.Pages.size(), 1u);
    EXPECT_TRUE(job.Ended);
  }
  EXPECT_EQ(Sheets(), (std::vector<Sheet>{{"A", "A", "A", "B"}, {"B", "C", "C", "C"}, {"C"}}));
  EXPECT_EQ(f_.clock.sleeps_, (std::vector<int>{500, 500}));
  EXPECT_EQ(f_.printer.lockDepth_, 0);
}

// A job the print system did not take ends the print: the sheets after it
// would meet the same queue.
TEST_F(PrintJobTest, NoJobFollowsOneThePrintSystemRefused) {
  SetGoods({{"A", 3}, {"B", 2}, {"C", 4}});
  D().Ctl<CheckBox>("cbVlastniFronta").SetChecked(true);
  f_.printer.refuseFromJob_ = 1;
  D().PrintTikets();
  ASSERT_EQ(f_.printer.jobs_.size(), 2u);
  EXPECT_FALSE(f_.printer.jobs_[0].Refused);
  EXPECT_TRUE(f_.printer.jobs_[1].Refused);
  EXPECT_EQ(f_.clock.sleeps_, (std::vector<int>{500}));
  EXPECT_EQ(f_.printer.lockDepth_, 0);
  EXPECT_EQ(D().StartCol, 0);
}

TEST_F(PrintJobTest, OneQueueBreaksPagesWithoutPausing) {
  SetGoods({{"A", 3}, {"B", 2}, {"C", 4}});
  D().PrintTikets();
  ASSERT_EQ(f_.printer.jobs_.size(), 1u);
  EXPECT_EQ(f_.printer.jobs_[0].Pages.size(), 3u);
  EXPECT_TRUE(f_.clock.sleeps_.empty());
}

TEST_F(PrintJobTest, PrintDialogOnlyWithoutAHandedOverLabelPrinter) {
  SetGoods({{"A", 1}}, 0);
  D().PrintTikets();
  EXPECT_EQ(f_.printer.printDialogs_, 0);
  EXPECT_EQ(f_.printer.jobs_.size(), 1u);

  // Without one the dialog asks; cancelling it prints and changes nothing.
  SetGoods({{"A", 1}}, -1);
  D().StartCol = 1;
  f_.printer.printDialogAnswer_ = false;
  D().PrintTikets();
  EXPECT_EQ(f_.printer.printDialogs_, 1);
  EXPECT_EQ(f_.printer.jobs_.size(), 1u);
  EXPECT_EQ(D().StartCol, 1);

  f_.printer.printDialogAnswer_ = true;
  D().PrintTikets();
  EXPECT_EQ(f_.printer.printDialogs_, 2);
  EXPECT_EQ(f_.printer.jobs_.size(), 2u);
}

TEST_F(PrintJobTest, NoPrinterEndsThePrintQuietly) {
  SetGoods({{"A", 1}});
  f_.printer.printers_.clear();
  f_.printer.SelectPrinter(-1);
  f_.printer.printDialogAnswer_ = true;
  D().PrintTikets();
  EXPECT_TRUE(f_.printer.jobs_.empty());
  EXPECT_EQ(f_.printer.maxLockDepth_, 0);
  EXPECT_TRUE(f_.ui.messages_.empty());
}

// A sheet on which no label fits would never finish the job, and a blank
// sheet is no print: no job is opened at all, for the real print and the
// test print alike.
struct NothingFits {
  const char* What;
  const char* Width;
  const char* Height;
  int StartCol;
  int StartRow;
};

void PrintTo(const NothingFits& c, std::ostream* os) {
  *os << c.What;
}

class PrintJobNothingFitsTest : public PrintJobTest,
                                public ::testing::WithParamInterface<NothingFits> {
 protected:
  void SetUp() override {
    PrintJobTest::SetUp();
    SetGoods({{"A", 1}});
    D().Ctl<Edit>("rxseOsax").SetText(GetParam().Width);
    D().Ctl<Edit>("rxseOsay").SetText(GetParam().Height);
    D().StartCol = GetParam().StartCol;
    D().StartRow = GetParam().StartRow;
  }
  void ExpectOneError() {
    EXPECT_TRUE(f_.printer.jobs_.empty());
    EXPECT_EQ(f_.printer.lockDepth_, 0);
    ASSERT_EQ(f_.ui.messages_.size(), 1u);
    EXPECT_EQ(f_.ui.messages_[0].Caption, "Chyba");
    EXPECT_EQ(f_.ui.messages_[0].Icon, MessageIcon::Error);
    EXPECT_EQ(f_.ui.messages_[0].Text, "Na stránku se nevejde žádná etiketa, tisk byl ukončen.");
  }
};

TEST_P(PrintJobNothingFitsTest, RealPrintOpensNoJob) {
  D().PrintTikets();
  ExpectOneError();
  EXPECT_EQ(D().StartCol, 0);
  EXPECT_EQ(D().StartRow, 0);
}

TEST_P(PrintJobNothingFitsTest, TestPrintOpensNoJob) {
  D().actTestPrintExecute();
  ExpectOneError();
}

INSTANTIATE_TEST_SUITE_P(
    Sheets, PrintJobNothingFitsTest,
    ::testing::Values(NothingFits{"LabelWiderThanTheSheet", "3000", "1000", 0, 0},
                      NothingFits{"LabelHeightZero", "1000", "0", 0, 0},
                      NothingFits{"LabelWidthZero", "0", "1000", 0, 0},
                      NothingFits{"LabelWidthBelowZero", "-1000", "1000", 0, 0},
                      NothingFits{"StartRowBelowTheLastRow", "1000", "1000", 0, 2},
                      NothingFits{"StartColumnPastTheLastRow", "1000", "1000", 2, 1}),
    [](const auto& param) { return std::string(param.param.What); });

// The printer's offset (etikety.ini of the current folder) moves every label
// of a print and of a test print by the same dots: 1 mm and −0.5 mm are 24
// and −12 dots at 600 dpi. Another printer's offset moves nothing here.
TEST_F(PrintJobTest, PrinterOffsetMovesEveryLabelOfThatPrinter) {
  const test::TempFolder folder;
  const test::FolderInUse inUse(folder.Path());
  PrintOffsetFile().SetOffset("Jiná", {5, 5});
  PrintOffsetFile().SetOffset("Etikety", {1, -0.5});
  SetGoods({{"A", 4}});
  D().PrintTikets();
  EXPECT_EQ(Origins(Page(0, 0)), (std::vector<Point>{{24, -12}, {1024, -12}, {24, 988}, {1024, 988}}));
  D().Ctl<Edit>("ePocetEtiket").SetText("1");
  D().actTestPrintExecute();
  EXPECT_EQ(Origins(Page(1, 0)), (std::vector<Point>{{24, -12}}));
  // Less than a millimetre beyond the area is not worth a question.
  EXPECT_TRUE(f_.ui.messages_.empty());

  PrintOffsetFile().SetOffset("Etikety", {});
  EXPECT_EQ(test::ReadBytes((folder.Path() / "etikety.ini").string()).find("Etikety_"), std::string::npos);
  D().actTestPrintExecute();
  EXPECT_EQ(Origins(Page(2, 0)), (std::vector<Point>{{0, 0}}));
}

// Labels that reach out of the printable area are asked about once per
// print, before a job opens; only the positions the job will use count.
TEST_F(PrintJobTest, LabelsOutsideThePrintableAreaAreAskedAboutOnce) {
  // 0.5 in of right strip leaves 2100 dots: the second column (1000–2000)
  // fits, with labels of 1100 dots it (1100–2200) does not.
  f_.printer.printers_[0].WasteRightIn = 0.5;
  f_.printer.SelectPrinter(0);
  D().Ctl<Edit>("rxseOsax").SetText("1100");
  SetGoods({{"A", 1}});
  D().PrintTikets();
  EXPECT_TRUE(f_.ui.messages_.empty()) << "one label in the first position";
  ASSERT_EQ(f_.printer.jobs_.size(), 1u);

  SetGoods({{"A", 3}, {"B", 4}});  // two sheets
  f_.ui.answers_.push_back(MessageAnswer::No);
  D().PrintTikets();
  ASSERT_EQ(f_.ui.messages_.size(), 1u);
  const MessageBoxRequest& asked = f_.ui.messages_[0];
  EXPECT_EQ(asked.Text, "Etikety přesahují oblast tisku tiskárny...\r\nTisknout přesto?");
  EXPECT_EQ(asked.Buttons, MessageButtons::YesNo);
  EXPECT_EQ(asked.Unattended, MessageAnswer::Yes) << "the command line prints with a warning";
  EXPECT_EQ(f_.printer.jobs_.size(), 1u) << "answered No: nothing printed";

  f_.ui.answers_.push_back(MessageAnswer::Yes);
  D().PrintTikets();
  EXPECT_EQ(f_.ui.messages_.size(), 2u);
  ASSERT_EQ(f_.printer.jobs_.size(), 2u);
  EXPECT_EQ(Sheets().size(), 3u) << "the earlier job's sheet and two";

  // A test print asks too, for the labels it prints.
  D().Ctl<Edit>("ePocetEtiket").SetText("1");
  D().actTestPrintExecute();
  EXPECT_EQ(f_.ui.messages_.size(), 2u);
  D().Ctl<Edit>("ePocetEtiket").SetText("2");
  f_.ui.answers_.push_back(MessageAnswer::No);
  D().actTestPrintExecute();
  EXPECT_EQ(f_.ui.messages_.size(), 3u);
  EXPECT_EQ(f_.printer.jobs_.size(), 3u);
}

TEST_F(PrintJobTest, TestPrintPutsTheCountOnOneSheetFromTheStartPosition) {
  SetGoods({{"A", 3}, {"B", 2}}, -1);
  ASSERT_TRUE(D().BindGoodsItem(0));
  auto& count = D().Ctl<Edit>("ePocetEtiket");
  ASSERT_EQ(count.Text(), "5");

  D().actTestPrintExecute();
  ASSERT_EQ(f_.printer.jobs_.size(), 1u);
  EXPECT_EQ(f_.printer.jobs_[0].Title, kTestPrintTitle);
  EXPECT_TRUE(f_.printer.jobs_[0].Ended);
  // Five wanted, four positions; the label as it stands, no goods walked.
  EXPECT_EQ(Sheets(), (std::vector<Sheet>{{"A", "A", "A", "A"}}));
  EXPECT_EQ(Origins(Page(0, 0)), kAllPositions);
  EXPECT_EQ(f_.printer.printDialogs_, 0);
  EXPECT_EQ(f_.printer.lockDepth_, 0);
  EXPECT_EQ(f_.printer.maxLockDepth_, 1);

  // Fewer than the sheet holds: the first positions.
  count.SetText("3");
  D().actTestPrintExecute();
  ASSERT_EQ(f_.printer.jobs_.size(), 2u);
  EXPECT_EQ(Origins(Page(1, 0)), (std::vector<Point>{{0, 0}, {1000, 0}, {0, 1000}}));

  // From the start position, which stays for the real print.
  D().StartCol = 1;
  D().StartRow = 1;
  D().actTestPrintExecute();
  ASSERT_EQ(f_.printer.jobs_.size(), 3u);
  EXPECT_EQ(Origins(Page(2, 0)), (std::vector<Point>{{1000, 1000}}));
  EXPECT_EQ(D().StartCol, 1);
  EXPECT_EQ(D().StartRow, 1);
}

TEST_F(PrintJobTest, TestPrintOfNoLabelsOpensNoJob) {
  SetGoods({{"A", 1}});
  auto& count = D().Ctl<Edit>("ePocetEtiket");
  for (const char* text : {"0", ""}) {
    SCOPED_TRACE(text);
    f_.ui.messages_.clear();
    count.SetText(text);
    D().actTestPrintExecute();
    EXPECT_TRUE(f_.printer.jobs_.empty());
    ASSERT_EQ(f_.ui.messages_.size(), 1u);
    EXPECT_EQ(f_.ui.messages_[0].Text, "Počet etiket zkušebního tisku je 0, netiskne se nic.");
  }
}

TEST_F(PrintJobTest, PrinterSetupAppliesTheConfirmedPaper) {
  SetGoods({{"A", 1}});
  f_.printer.setupDialogAnswer_ = false;
  D().actPrinterSetupExecute();
  EXPECT_TRUE(f_.printer.customPaperSizes_.empty());

  f_.printer.setupDialogAnswer_ = true;
  f_.printer.dialogPaperWidthIn_ = 5;
  f_.printer.dialogPaperHeightIn_ = 6;
  D().actPrinterSetupExecute();
  EXPECT_EQ(f_.printer.setupDialogs_, 2);
  ASSERT_FALSE(f_.printer.customPaperSizes_.empty());
  EXPECT_EQ(f_.printer.customPaperSizes_.back(), (std::pair<double, double>{5, 6}));
}

TEST_F(PrintJobTest, ResetReturnsToTheFirstPosition) {
  auto& reset = D().Ctl<Control>("sbReset");
  D().StartCol = 2;
  D().StartRow = 1;
  D().ClickPoint = Point{130, 80};
  reset.SetEnabled(true);

  D().sbResetClick();
  EXPECT_EQ(D().StartCol, 0);
  EXPECT_EQ(D().StartRow, 0);
  EXPECT_EQ(D().ClickPoint, (Point{0, 0}));
  EXPECT_FALSE(reset.Enabled());
}

TEST_F(PrintJobTest, CountFieldTakesDigitsAndKeepsItsLastCharacter) {
  auto& count = D().Ctl<Edit>("ePocetEtiket");
  const auto press = [&](char32_t key) {
    D().NrEditPress(count, key);
    return key;
  };
  count.SetText("5");
  EXPECT_EQ(press(U'0'), U'0');
  EXPECT_EQ(press(U'9'), U'9');
  EXPECT_EQ(press(U'x'), 0u);
  EXPECT_EQ(press(U','), 0u);
  EXPECT_EQ(press(U'-'), 0u);
  EXPECT_EQ(press(8), 0u);  // backspace would empty it
  count.SetText("12");
  EXPECT_EQ(press(8), 8u);
}

}  // namespace
}  // namespace korval
