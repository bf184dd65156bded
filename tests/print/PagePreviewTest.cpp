#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "doubles/DialogFixture.h"
#include "doubles/RecordingCanvas.h"

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
