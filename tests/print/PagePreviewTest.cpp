#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "doubles/DialogFixture.h"
#include "doubles/RecordingCanvas.h"
#include "print/LabelOrder.h"

namespace korval {
namespace {

using test::DialogFixture;
using test::FakePrintSurface;
using test::RecordBuilder;
using test::RecordingCanvas;
using Op = RecordingCanvas::Op;

// A 600 dpi printer with paper of 8 × 10 inches (4800 × 6000 dots) shown in a
// group box 310 pixels high: a preview of 200 × 250 pixels, one pixel per 24
// dots. Labels of 1200 dots with gaps of 240 dots are 50 pixels with gaps of
// 10: three columns at x = 0, 60, 120 and four rows at y = 0, 60, 120, 180.
class PagePreviewTest : public ::testing::Test {
 protected:
  void SetUp() override {
    f_.printer.printers_ = {FakePrintSurface::Printer{"Etikety", 600, 600, 8.0, 10.0}};
    f_.printer.SelectPrinter(0);
    TfrmMain& d = f_.Dialog();
    d.UpdateSheetInfo(-1, -1);
    d.Ctl<Control>("gbPreview").SetBounds(0, 0, 417, 310);
    for (const auto& [name, text] : {std::pair{"rxseOsax", "1200"}, std::pair{"rxseOsay", "1200"},
                                     std::pair{"meOdsazX", "240"}, std::pair{"meOdsazY", "240"}}) {
      d.Ctl<Edit>(name).SetText(text);
    }
  }

  TfrmMain& D() { return f_.Dialog(); }
  FakePrintSurface::Printer& Paper() { return f_.printer.printers_[0]; }

  // The preview as a view paints it.
  RecordingCanvas& Paint() {
    box_.Clear();
    D().PreviewCanvas = &box_;
    D().Preview();
    D().PreviewCanvas = nullptr;
    return box_;
  }

  // The label outlines drawn, without the outline of the whole box.
  std::vector<Rect> LabelOutlines() {
    std::vector<Rect> outlines;
    const Rect whole = D().Ctl<Control>("Image1").BoundsRect();
    for (const auto& call : Paint().CallsOf(Op::FrameRect)) {
      if (call.rect != whole) outlines.push_back(call.rect);
    }
    return outlines;
  }

  Point Start() { return Point{D().StartCol, D().StartRow}; }

  DialogFixture f_;
  RecordingCanvas box_;
};

TEST_F(PagePreviewTest, SheetKeepsThePaperProportionsCentredInTheGroupBox) {
  D().Ctl<Control>("gbPreview").SetBounds(0, 0, 417, 322);
  Paper().PaperWidthIn = 8.27;  // A4
  Paper().PaperHeightIn = 11.69;
  D().Preview();
  const auto& panel = D().Ctl<Control>("DSPreview");
  // 322 − 60 high, Round(262 × 8.27 / 11.69) = Round(185.35) wide.
  EXPECT_EQ(panel.BoundsRect(), (Rect{208 - 92, 161 - 131 + 5, 116 + 185, 35 + 262}));
  EXPECT_EQ(D().Ctl<Control>("Image1").BoundsRect(), (Rect{0, 0, 185, 262}));

  // Landscape paper takes the width: 417 − 60, Round(357 × 8.27 / 11.69).
  std::swap(Paper().PaperWidthIn, Paper().PaperHeightIn);
  D().Preview();
  EXPECT_EQ(panel.Width(), 357);
  EXPECT_EQ(panel.Height(), 253);
  EXPECT_EQ(panel.Left(), 208 - 178);
  EXPECT_EQ(panel.Top(), 161 - 126 + 5);
}

TEST_F(PagePreviewTest, DrawsWhitePaperLabelOutlinesAndAFrame) {
  const RecordingCanvas& box = Paint();
  const Rect whole{0, 0, 200, 250};
  ASSERT_FALSE(box.Calls().empty());
  EXPECT_EQ(box.Calls().front().op, Op::FillRect);
  EXPECT_EQ(box.Calls().front().rect, whole);
  EXPECT_EQ(box.Calls().front().brushColor, kWhite);
  EXPECT_EQ(box.Calls().back().op, Op::FrameRect);
  EXPECT_EQ(box.Calls().back().rect, whole);
  for (const auto& call : box.CallsOf(Op::FrameRect)) EXPECT_EQ(call.brushColor, kBlack);
  EXPECT_EQ(box.SaveDepth(), 0);

  const std::vector<Rect> outlines = LabelOutlines();
  ASSERT_EQ(outlines.size(), 12u);
  EXPECT_EQ(outlines.front(), (Rect{0, 0, 50, 50}));
  EXPECT_EQ(outlines[1], (Rect{60, 0, 110, 50}));
  EXPECT_EQ(outlines[3], (Rect{0, 60, 50, 110}));
  EXPECT_EQ(outlines.back(), (Rect{120, 180, 170, 230}));
}

TEST_F(PagePreviewTest, PrintableAreaIsDottedAndOffsetsTheLabelsOnlyWithAllFourStrips) {
  // Strips of 0.25, 0.3, 0.21 and 0.33 inches are 6.25, 7.5, 5.25 and 8.25
  // pixels, cut to 6, 7, 5 and 8.
  Paper().WasteLeftIn = 0.25;
  Paper().WasteTopIn = 0.3;
  Paper().WasteRightIn = 0.21;
  Paper().WasteBottomIn = 0.33;
  const RecordingCanvas& box = Paint();
  std::vector<Rect> line;
  for (const auto& call : box.Calls()) {
    if (call.op != Op::MoveTo && call.op != Op::LineTo) continue;
    EXPECT_EQ(call.penStyle, PenStyle::Dot);
    line.push_back(call.rect);
  }
  EXPECT_EQ(
      line,
      (std::vector<Rect>{
          {6, 7, 6, 7}, {195, 7, 195, 7}, {195, 242, 195, 242}, {6, 242, 6, 242}, {6, 7, 6, 7}}));
  EXPECT_EQ(LabelOutlines().front(), (Rect{6, 7, 56, 57}));

  // A printer that reports one strip as 0 reports none.
  Paper().WasteBottomIn = 0;
  const RecordingCanvas& again = Paint();
  EXPECT_TRUE(again.CallsOf(Op::MoveTo).empty());
  EXPECT_TRUE(again.CallsOf(Op::LineTo).empty());
  EXPECT_EQ(LabelOutlines().front(), (Rect{0, 0, 50, 50}));

  // The hit test uses the shifted outlines too: x = 63 lies in the second
  // column of the grid at the paper's corner, but in a gap of the shifted one.
  Paper().WasteBottomIn = 0.33;
  D().Image1MouseDown(63, 30);
  EXPECT_EQ(Start(), (Point{0, 0}));
}

// Positions that the printer cannot print whole are crossed out in red, as
// far as they reach a millimetre or more out of the printable area; the
// read-out beside the check box says what the sheet holds.
TEST_F(PagePreviewTest, MarksPositionsOutsideThePrintableAreaAndCountsTheSheet) {
  auto marked = [this] {
    std::vector<Rect> red;
    for (const auto& call : Paint().CallsOf(Op::FrameRect))
      if (call.brushColor != kBlack) red.push_back(call.rect);
    return red;
  };
  EXPECT_TRUE(marked().empty());
  EXPECT_TRUE(box_.CallsOf(Op::LineTo).empty());
  EXPECT_EQ(D().Ctl<TLabel>("lblNaArch").Caption(), "3 × 4 = 12 etiket");

  // The third column ends at 4080 dots: 20 dots (less than a millimetre at
  // 600 dpi) past a printable area of 4060 is no loss, 30 dots are.
  Paper().WasteRightIn = 740 / 600.0;
  EXPECT_TRUE(marked().empty());
  Paper().WasteRightIn = 750 / 600.0;
  EXPECT_EQ(marked(), (std::vector<Rect>{{120, 0, 170, 50},
                                         {120, 60, 170, 110},
                                         {120, 120, 170, 170},
                                         {120, 180, 170, 230}}));
  EXPECT_EQ(box_.CallsOf(Op::LineTo).size(), 8u) << "two strokes across each";
  // The positions stay, and so does the count: the printer may still print them.
  EXPECT_EQ(D().Ctl<TLabel>("lblNaArch").Caption(), "3 × 4 = 12 etiket");

  D().Ctl<Edit>("rxseOsax").SetText("6000");
  Paint();
  EXPECT_EQ(D().Ctl<TLabel>("lblNaArch").Caption(), "Na arch se nevejde žádná etiketa");
}

TEST_F(PagePreviewTest, ClickOnAnEdgeOrBetweenLabelsPicksNothing) {
  auto& reset = D().Ctl<Control>("sbReset");
  // Second column 60–110, second row 60–110; gaps 50–60 and 110–120.
  for (const Point click : {Point{60, 80}, Point{110, 80}, Point{80, 60}, Point{80, 110},
                            Point{115, 80}, Point{80, 55}}) {
    SCOPED_TRACE(testing::Message() << click.X << "," << click.Y);
    D().Image1MouseDown(click.X, click.Y);
    EXPECT_EQ(Start(), (Point{0, 0}));
    EXPECT_FALSE(reset.Enabled());
  }
}

TEST_F(PagePreviewTest, PickedPositionStartsTheSheetUntilReset) {
  auto& reset = D().Ctl<Control>("sbReset");
  D().Image1MouseDown(130, 80);
  EXPECT_EQ(Start(), (Point{2, 1}));
  EXPECT_TRUE(reset.Enabled());

  // The first five positions stay white.
  const std::vector<Rect> outlines = LabelOutlines();
  ASSERT_EQ(outlines.size(), 7u);
  EXPECT_EQ(outlines.front(), (Rect{120, 60, 170, 110}));
  EXPECT_EQ(outlines[1], (Rect{0, 120, 50, 170}));

  // Later clicks wait for the reset.
  D().Image1MouseDown(25, 25);
  EXPECT_EQ(Start(), (Point{2, 1}));
  EXPECT_EQ(D().ClickPoint, (Point{130, 80}));

  D().sbResetClick();
  EXPECT_EQ(Start(), (Point{0, 0}));
  EXPECT_FALSE(reset.Enabled());
  EXPECT_EQ(LabelOutlines().size(), 12u);
  D().Image1MouseDown(80, 25);
  EXPECT_EQ(Start(), (Point{1, 0}));
}

TEST_F(PagePreviewTest, PickingTheFirstPositionLeavesResetDisabled) {
  auto& reset = D().Ctl<Control>("sbReset");
  reset.SetEnabled(true);
  D().Image1MouseDown(25, 25);
  EXPECT_EQ(Start(), (Point{0, 0}));
  EXPECT_EQ(D().ClickPoint, (Point{25, 25}));
  EXPECT_FALSE(reset.Enabled());
}

TEST_F(PagePreviewTest, AfterARealPrintAllPositionsShowAndTheFirstClickPicks) {
  f_.SetGoods({RecordBuilder().Name("A").Count(1).Build()});
  f_.host.SetLabelPrinterIndex(0);
  D().Image1MouseDown(130, 80);
  ASSERT_EQ(Start(), (Point{2, 1}));

  D().PrintTikets();
  ASSERT_EQ(f_.printer.jobs_.size(), 1u);
  EXPECT_EQ(Start(), (Point{0, 0}));
  EXPECT_EQ(LabelOutlines().size(), 12u);

  D().Image1MouseDown(130, 80);
  EXPECT_EQ(Start(), (Point{2, 1}));
}

// A view paints the box by running Preview with the box's canvas set; every
// other redraw only asks it to.
class PaintRequests : public ControlObserver {
 public:
  void ControlChanged(Control& control, std::string_view property) override {
    if (control.Name() == "Image1" && property == "Paint") ++count;
  }
  int count = 0;
};

TEST_F(PagePreviewTest, OutsideAPaintTheViewIsAskedToPaintInsideItIsNot) {
  PaintRequests requests;
  D().AddObserver(&requests);
  Paint();
  EXPECT_EQ(requests.count, 0);
  D().Preview();
  EXPECT_GT(requests.count, 0);
  D().RemoveObserver(&requests);
}

// The order without the print: counts per goods item and the positions of
// the first sheet give the item at each position.
struct OrderCase {
  const char* What;
  std::vector<int> Counts;
  int Positions;
  std::vector<int> Items;
};

TEST(FirstSheetItemsTest, ItemsInListOrderEachAsOftenAsItsCountAndAtLeastOnce) {
  const std::vector<OrderCase> cases = {
      {"three and two on four", {3, 2}, 4, {0, 0, 0, 1}},
      {"three and two on five", {3, 2}, 5, {0, 0, 0, 1, 1}},
      {"the goods run out", {3, 2}, 9, {0, 0, 0, 1, 1}},
      {"a count of 0 is one label", {1, 0, 2}, 6, {0, 1, 2, 2}},
      {"starting with 0", {0, 0}, 3, {0, 1}},
      {"no goods", {}, 4, {}},
      {"no positions", {5}, 0, {}},
  };
  for (const OrderCase& c : cases) {
    SCOPED_TRACE(c.What);
    const auto countOf = [&c](int index) -> std::optional<int> {
      if (index < 0 || index >= static_cast<int>(c.Counts.size())) return std::nullopt;
      return c.Counts[static_cast<std::size_t>(index)];
    };
    EXPECT_EQ(FirstSheetItems(c.Positions, countOf), c.Items);
  }
}

// The preview with its details: each position shows the goods item that the
// print puts there. Two items of 3 and 2 labels from position (1, 0) of the
// 3 × 4 sheet: A at (1, 0), (2, 0), (0, 1), B at (1, 1), (2, 1), the rest
// empty; the print's first sheet has them in the same order, scaled.
class PreviewContentsTest : public PagePreviewTest {
 protected:
  void SetUp() override {
    PagePreviewTest::SetUp();
    f_.SetGoods(
        {RecordBuilder().Name("A").Count(3).Build(), RecordBuilder().Name("B").Count(2).Build()});
    f_.host.SetLabelPrinterIndex(0);
    D().Ctl<Control>("lNazev").SetVisible(true);
    D().BindGoodsItem(0);
  }

  struct Label {
    std::string Text;
    Rect Where;
  };
  // The texts drawn (not measured), in order.
  static std::vector<Label> Texts(const RecordingCanvas& canvas) {
    std::vector<Label> texts;
    for (const auto& call : canvas.CallsOf(Op::DrawText)) {
      if ((call.flags & DT_CALCRECT) == 0) texts.push_back({call.text, call.rect});
    }
    return texts;
  }
};

TEST_F(PreviewContentsTest, LabelsFollowThePrintOrderFromTheStartPosition) {
  D().Image1MouseDown(80, 20);
  ASSERT_EQ(Start(), (Point{1, 0}));
  D().Ctl<CheckBox>("PodrobnostiPrew").SetChecked(true);
  const std::vector<Label> preview = Texts(Paint());

  const std::vector<Point> cells = {{60, 0}, {120, 0}, {0, 60}, {60, 60}, {120, 60}};
  ASSERT_EQ(preview.size(), cells.size());
  for (std::size_t i = 0; i < cells.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(preview[i].Text, i < 3 ? "A" : "B");
    const Rect& r = preview[i].Where;
    EXPECT_GE(r.Left, cells[i].X);
    EXPECT_GE(r.Top, cells[i].Y);
    EXPECT_LE(r.Right, cells[i].X + 50);
    EXPECT_LE(r.Bottom, cells[i].Y + 50);
  }

  // The print's first sheet: the same items at the same places, 24 dots to
  // a pixel.
  D().PrintTikets();
  ASSERT_FALSE(f_.printer.jobs_.empty());
  const std::vector<Label> printed = Texts(*f_.printer.jobs_[0].Pages.at(0));
  ASSERT_EQ(printed.size(), preview.size());
  for (std::size_t i = 0; i < printed.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(printed[i].Text, preview[i].Text);
    EXPECT_NEAR(printed[i].Where.Left / 24.0, preview[i].Where.Left, 1.0);
    EXPECT_NEAR(printed[i].Where.Top / 24.0, preview[i].Where.Top, 1.0);
    EXPECT_NEAR(printed[i].Where.Right / 24.0, preview[i].Where.Right, 1.0);
    EXPECT_NEAR(printed[i].Where.Bottom / 24.0, preview[i].Where.Bottom, 1.0);
  }
}

// Painting other items' labels leaves the dialog on the item it showed, with
// the print's counters, the start position and the test print's mode.
TEST_F(PreviewContentsTest, LeavesTheDialogAsItWas) {
  D().Image1MouseDown(80, 20);
  D().TestMode = true;
  D().NextItemIndex = 4;
  D().ItemPrintedCount = 2;
  const auto state = [this] {
    TfrmMain& d = D();
    return std::vector<std::string>{std::to_string(d.CurrentItemIndex),
                                    std::to_string(d.BoundItemIndex),
                                    std::to_string(d.NextItemIndex),
                                    std::to_string(d.ItemPrintedCount),
                                    std::to_string(d.LabelCount),
                                    std::to_string(d.StartCol),
                                    std::to_string(d.StartRow),
                                    std::to_string(d.TestMode),
                                    std::to_string(d.PrintFinished),
                                    d.Ctl<Control>("lNazev").Caption(),
                                    d.Ctl<Control>("lblItemText").Caption(),
                                    std::to_string(d.Ctl<Control>("sbNextPol").Enabled()),
                                    std::to_string(d.Ctl<Control>("sbPrevPol").Enabled()),
                                    d.Ctl<Edit>("eText3").Text()};
  };
  const std::vector<std::string> before = state();
  ASSERT_EQ(before[9], "A");
  D().Ctl<CheckBox>("PodrobnostiPrew").SetChecked(true);
  const std::vector<Label> shown = Texts(Paint());
  ASSERT_EQ(shown.size(), 5u);
  EXPECT_EQ(shown.back().Text, "B");
  EXPECT_EQ(state(), before);
  // The test print's mode would frame every item; the preview shows the real print.
  D().Ctl<CheckBox>("CheckBox2").SetChecked(true);
  const std::size_t inTestMode = Paint().CallsOf(Op::FrameRect).size();
  EXPECT_TRUE(D().TestMode);
  D().TestMode = false;
  EXPECT_EQ(Paint().CallsOf(Op::FrameRect).size(), inTestMode);
}

TEST_F(PreviewContentsTest, UncheckedShowsOnlyTheOutlines) {
  EXPECT_TRUE(D().Ctl<CheckBox>("PodrobnostiPrew").Enabled());
  EXPECT_FALSE(D().Ctl<CheckBox>("PodrobnostiPrew").Checked());
  const RecordingCanvas& box = Paint();
  EXPECT_TRUE(box.CallsOf(Op::DrawText).empty());
  EXPECT_EQ(box.CallsOf(Op::FrameRect).size(), 13u);  // 12 outlines and the box
}

TEST_F(PreviewContentsTest, TogglingTheBoxRedrawsThePreview) {
  PaintRequests requests;
  D().AddObserver(&requests);
  D().Ctl<CheckBox>("PodrobnostiPrew").SetChecked(true);
  EXPECT_GT(requests.count, 0);
  const int after = requests.count;
  D().Ctl<CheckBox>("PodrobnostiPrew").SetChecked(false);
  EXPECT_GT(requests.count, after);
  D().RemoveObserver(&requests);
}

// Each item is bound once for its run of positions, not once per label:
// the item counter changes once per item and twice more to come back.
class CaptionChanges : public ControlObserver {
 public:
  void ControlChanged(Control& control, std::string_view property) override {
    if (control.Name() == "lNazev" && property == "Caption") ++count;
  }
  int count = 0;
};

TEST_F(PreviewContentsTest, RunsOfOneItemAreBoundOnce) {
  f_.SetGoods(
      {RecordBuilder().Name("A").Count(40).Build(), RecordBuilder().Name("B").Count(40).Build()});
  D().BindGoodsItem(0);
  D().Ctl<CheckBox>("PodrobnostiPrew").SetChecked(true);
  CaptionChanges changes;
  D().AddObserver(&changes);
  EXPECT_EQ(Texts(Paint()).size(), 12u);
  EXPECT_EQ(changes.count, 0);  // all twelve are A, which was bound already
  D().NextPol();
  changes.count = 0;
  Paint();
  EXPECT_EQ(changes.count, 2);  // A for the sheet, B again at the end
  D().RemoveObserver(&changes);
}

TEST_F(PagePreviewTest, ShowingTheTabSetsItsHelpAndSizesThePreview) {
  D().Ctl<Control>("gbPreview").SetBounds(0, 0, 417, 322);
  D().TabSheet2Enter();
  EXPECT_EQ(D().Ctl<Control>("PageControl1").HelpContext(), 4);
  EXPECT_EQ(D().Ctl<Control>("Image1").Height(), 262);
}

TEST_F(PagePreviewTest, DesignSurfaceIsRefreshedFirstOnlyWhileItIsOnScreen) {
  // The refresh sizes the design panel to the label: 1200 dots are about
  // 192 pixels, far from the panel's size in the layout.
  auto& panel = D().Ctl<Control>("Panel2");
  const int before = panel.Width();
  D().Preview();
  EXPECT_EQ(panel.Width(), before);

  D().OnScreen = true;
  D().Ctl<PageControl>("PageControl1").SetActivePage(1);
  D().Preview();
  EXPECT_EQ(panel.Width(), before);

  D().Ctl<PageControl>("PageControl1").SetActivePage(0);
  D().Preview();
  EXPECT_NE(panel.Width(), before);
}

}  // namespace
}  // namespace korval

namespace korval {
namespace {

// Labels of 1599 dots fit three across the 4800-dot sheet, but scaled to the
// 200-pixel preview each rounds to 67 pixels, and three of those would not
// fit: the preview must still show the three columns the printer prints.
TEST_F(PagePreviewTest, ShowsThePositionsThePrinterPrintsWhateverThePreviewRounding) {
  D().Ctl<Edit>("rxseOsax").SetText("1599");
  D().Ctl<Edit>("rxseOsay").SetText("1599");
  D().Ctl<Edit>("meOdsazX").SetText("0");
  D().Ctl<Edit>("meOdsazY").SetText("0");
  const std::vector<Rect> outlines = LabelOutlines();
  ASSERT_EQ(outlines.size(), 9u);  // 3 columns × 3 rows (10 inches: 6000 dots)
  EXPECT_EQ(outlines[2], (Rect{134, 0, 201, 67}));
  // A click in the third column picks it.
  D().Image1MouseDown(160, 30);
  EXPECT_EQ(Start(), (Point{2, 0}));
}

}  // namespace
}  // namespace korval
