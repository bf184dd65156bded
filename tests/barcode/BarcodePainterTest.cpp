#include <gtest/gtest.h>

#include <algorithm>

#include "barcode/BarcodeEncoder.h"
#include "barcode/BarcodePainter.h"
#include "doubles/RecordingCanvas.h"

namespace korval::test {
namespace {

using Op = RecordingCanvas::Op;

BarcodeLook Look(const std::string& code, TBarCodeType type, double barWidth = 10) {
  BarcodeLook look;
  look.Code = code;
  look.Type = type;
  look.Elements = BuildElements(code, type, BarcodeOptions{});
  look.BarWidth = barWidth;
  look.Font.Height = -13;  // the recording canvas makes that text 13 units high
  return look;
}

// The bars: every FillRect after the background.
std::vector<Rect> Bars(const RecordingCanvas& canvas) {
  std::vector<Rect> bars;
  const auto fills = canvas.CallsOf(Op::FillRect);
  for (std::size_t i = 1; i < fills.size(); ++i) bars.push_back(fills[i].rect);
  return bars;
}

int LeftOf(const std::vector<Rect>& bars) {
  return bars.front().Left;
}
int RightOf(const std::vector<Rect>& bars) {
  return bars.back().Right;
}

TEST(BarcodePainterTest, Ean8At96DpiIs67PixelsCentredInTheItem) {
  RecordingCanvas canvas(96, 96);
  BarcodeLook look = Look("85951631", bcEAN_8);
  look.ShowCode = false;
  // The fixed barcode item of the label: 179 x 37 at (8, 132).
  PaintBarcodeTo(canvas, Rect{8, 132, 187, 169}, look);
  const auto bars = Bars(canvas);
  ASSERT_FALSE(bars.empty());
  EXPECT_EQ(RightOf(bars) - LeftOf(bars), 67);
  EXPECT_EQ(LeftOf(bars), 8 + 56);
}

TEST(BarcodePainterTest, Ean8At600DpiIs402DotsCentred) {
  RecordingCanvas canvas(600, 600);
  BarcodeLook look = Look("85951631", bcEAN_8);
  look.ShowCode = false;
  PaintBarcodeTo(canvas, Rect{50, 825, 50 + 1119, 825 + 231}, look);
  const auto bars = Bars(canvas);
  EXPECT_EQ(RightOf(bars) - LeftOf(bars), 402);
  EXPECT_EQ(LeftOf(bars), 50 + 358);  // (1119 - 402) div 2
  // Every module is 6 dots: each bar is a multiple of 6 wide and starts on
  // the 6-dot grid from the symbol's left edge.
  for (const Rect& bar : bars) {
    EXPECT_EQ(bar.Width() % 6, 0);
    EXPECT_EQ((bar.Left - LeftOf(bars)) % 6, 0);
  }
}

TEST(BarcodePainterTest, ASymbolWiderThanTheRectangleStartsAtItsLeftEdge) {
  RecordingCanvas canvas(96, 96);
  BarcodeLook look = Look("590123412345", bcEAN_13, 30);  // 3 pixels a module: 285
  PaintBarcodeTo(canvas, Rect{10, 0, 189, 37}, look);
  const auto bars = Bars(canvas);
  EXPECT_EQ(LeftOf(bars), 10);
  EXPECT_EQ(RightOf(bars), 10 + 285);
}

// A 13-pixel text: bars lose 13 + 13 div 4 = 16 pixels; the guard extension
// is at most 13 div 4 = 3.
TEST(BarcodePainterTest, WrittenCodeTakesATextLineAndLimitsTheGuardExtension) {
  RecordingCanvas canvas(96, 96);
  BarcodeLook look = Look("1234567", bcEAN_8);
  look.TallGuardBars = true;
  PaintBarcodeTo(canvas, Rect{0, 0, 179, 100}, look);
  // Shrunken by 10 at top and bottom: 10..90, 80 high; bars 80 - 16 = 64.
  const auto bars = Bars(canvas);
  // Two bars in each of the three guards and in each of the eight digits.
  ASSERT_EQ(bars.size(), 22u);
  const Rect guard = bars.front();
  const Rect data = bars[2];  // the first data bar follows the two start guard bars
  EXPECT_EQ(data.Top, 10);
  EXPECT_EQ(data.Bottom, 10 + 64);
  EXPECT_EQ(guard.Top, 10 - 3);
  EXPECT_EQ(guard.Bottom, 10 + 64 + 3);

  const auto texts = canvas.CallsOf(Op::DrawText);
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_EQ(texts[0].text, "12345670");
  EXPECT_EQ(texts[0].rect, (Rect{56, 10 + 64 + 3, 56 + 67, 90}));
  EXPECT_NE(texts[0].flags & DT_CENTER, 0u);
  EXPECT_EQ(texts[0].brushStyle, BrushStyle::Clear);
}

TEST(BarcodePainterTest, GuardExtensionIsATenthOfTheBarsWhenThatIsLess) {
  RecordingCanvas canvas(96, 96);
  BarcodeLook look = Look("1234567", bcEAN_8);
  look.TallGuardBars = true;
  // 40 high: shrunken by 4 to 4..36; bars 32 - 16 = 16; 16 * 10 div 100 = 1.
  PaintBarcodeTo(canvas, Rect{0, 0, 179, 40}, look);
  const auto bars = Bars(canvas);
  EXPECT_EQ(bars.front().Top, 4 - 1);
  EXPECT_EQ(bars.front().Bottom, 4 + 16 + 1);
}

TEST(BarcodePainterTest, WithoutTheCodeTheBarsTakeTheShrunkenHeight) {
  RecordingCanvas canvas(96, 96);
  BarcodeLook look = Look("1234567", bcEAN_8);
  look.ShowCode = false;
  look.TallGuardBars = true;
  PaintBarcodeTo(canvas, Rect{0, 0, 179, 100}, look);
  EXPECT_TRUE(canvas.CallsOf(Op::DrawText).empty());
  const auto bars = Bars(canvas);
  // 10..90 and a guard extension of 80 * 10 div 100 = 8, not limited by text.
  for (const Rect& bar : bars) {
    const bool isGuard = bar.Top != 10;
    EXPECT_EQ(bar.Top, isGuard ? 2 : 10);
    EXPECT_EQ(bar.Bottom, isGuard ? 98 : 90);
  }
  // Two bars in each of the start, centre and end guards.
  EXPECT_EQ(std::count_if(bars.begin(), bars.end(), [](const Rect& b) { return b.Top == 2; }), 6);
}

TEST(BarcodePainterTest, GuardBarsAreOrdinaryBarsUnlessTall) {
  RecordingCanvas canvas(96, 96);
  BarcodeLook look = Look("1234567", bcEAN_8);
  PaintBarcodeTo(canvas, Rect{0, 0, 179, 100}, look);
  for (const Rect& bar : Bars(canvas)) {
    EXPECT_EQ(bar.Top, 10);
    EXPECT_EQ(bar.Bottom, 74);
  }
}

// UPC-A writes its first and last digit beside the symbol, in boxes twice a
// digit wide (the recording canvas makes a digit 7 wide at height 13).
TEST(BarcodePainterTest, UpcAWritesItsOuterDigitsBesideTheSymbol) {
  RecordingCanvas canvas(96, 96);
  BarcodeLook look = Look("03600029145", bcUPC_A);
  PaintBarcodeTo(canvas, Rect{0, 0, 200, 100}, look);
  const int x = (200 - 95) / 2;
  const auto texts = canvas.CallsOf(Op::DrawText);
  ASSERT_EQ(texts.size(), 3u);
  EXPECT_EQ(texts[0].text, "0");
  EXPECT_EQ(texts[0].rect, (Rect{x - 14, 10, x, 74}));
  EXPECT_EQ(texts[0].flags & (DT_BOTTOM | DT_CENTER | DT_SINGLELINE),
            unsigned{DT_BOTTOM | DT_CENTER | DT_SINGLELINE});
  EXPECT_EQ(texts[1].text, "2");
  EXPECT_EQ(texts[1].rect, (Rect{x + 95, 10, x + 95 + 14, 74}));
  EXPECT_EQ(texts[2].text, "3600029145");
  EXPECT_EQ(texts[2].rect, (Rect{x, 77, x + 95, 90}));
}

TEST(BarcodePainterTest, WrittenTextPerSymbology) {
  struct Case {
    std::string code;
    TBarCodeType type;
    std::string text;
  };
  for (const Case& c :
       {Case{"590123412345", bcEAN_13, "5901234123457"},
        Case{"5901234123450", bcEAN_13, "5901234123450"}, Case{"123", bcEAN_8, "12300000"},
        Case{"1234567890", bcEAN_8, "12345678"}, Case{"654321", bcUPC_E, "654321"},
        Case{"12345", bcInterleaved2of5, "123457"}, Case{"1234", bcInterleaved2of5, "012348"},
        Case{"123-45", bcCode11, "123-45"}}) {
    RecordingCanvas canvas(96, 96);
    PaintBarcodeTo(canvas, Rect{0, 0, 300, 100}, Look(c.code, c.type));
    const auto texts = canvas.CallsOf(Op::DrawText);
    ASSERT_EQ(texts.size(), 1u) << c.code;
    EXPECT_EQ(texts[0].text, c.text);
  }
}

TEST(BarcodePainterTest, AnEmptyCodePaintsTheBackgroundOnly) {
  RecordingCanvas canvas(96, 96);
  BarcodeLook look = Look("", bcEAN_13);
  look.Color = Rgb(255, 255, 0);
  look.TallGuardBars = true;
  PaintBarcodeTo(canvas, Rect{3, 4, 50, 60}, look);
  ASSERT_EQ(canvas.Calls().size(), 1u);
  EXPECT_EQ(canvas.Calls()[0].op, Op::FillRect);
  EXPECT_EQ(canvas.Calls()[0].rect, (Rect{3, 4, 50, 60}));
  EXPECT_EQ(canvas.Calls()[0].brushColor, Rgb(255, 255, 0));
}

TEST(BarcodePainterTest, ColoursAndTheCanvasStateIsRestored) {
  RecordingCanvas canvas(96, 96);
  Font before;
  before.Name = "Arial";
  before.Height = -40;
  canvas.SetFont(before);
  canvas.SetPenColor(Rgb(1, 2, 3));
  canvas.SetBrushColor(Rgb(4, 5, 6));
  canvas.SetBrushStyle(BrushStyle::Clear);

  BarcodeLook look = Look("1234567", bcEAN_8);
  look.BarColor = Rgb(0, 0, 128);
  look.Color = Rgb(255, 255, 200);
  look.Font.FontColor = Rgb(128, 0, 0);
  PaintBarcodeTo(canvas, Rect{0, 0, 179, 100}, look);

  const auto fills = canvas.CallsOf(Op::FillRect);
  EXPECT_EQ(fills.front().rect, (Rect{0, 0, 179, 100}));
  EXPECT_EQ(fills.front().brushColor, Rgb(255, 255, 200));
  EXPECT_EQ(fills.front().brushStyle, BrushStyle::Solid);
  for (std::size_t i = 1; i < fills.size(); ++i) {
    EXPECT_EQ(fills[i].brushColor, Rgb(0, 0, 128));
    EXPECT_EQ(fills[i].brushStyle, BrushStyle::Solid);
  }
  EXPECT_EQ(canvas.CallsOf(Op::DrawText).at(0).font, look.Font);

  EXPECT_EQ(canvas.SaveDepth(), 0);
  EXPECT_EQ(canvas.GetFont(), before);
  EXPECT_EQ(canvas.PenColor(), Rgb(1, 2, 3));
  EXPECT_EQ(canvas.BrushColor(), Rgb(4, 5, 6));
  EXPECT_EQ(canvas.GetBrushStyle(), BrushStyle::Clear);
}

// A bar-to-space ratio of 2 on a 96 dpi screen: bar modules 2 pixels, space
// modules 1; the start guard is bar 2, space 1, bar 2.
TEST(BarcodePainterTest, BarAndSpaceModulesFollowTheRatio) {
  RecordingCanvas canvas(96, 96);
  BarcodeLook look = Look("1234567", bcEAN_8);
  look.BarToSpaceRatio = 2;
  look.ShowCode = false;
  PaintBarcodeTo(canvas, Rect{0, 0, 179, 100}, look);
  const auto bars = Bars(canvas);
  // Whatever the split into bars and spaces, the symbol stays 67 modules.
  int barPixels = 0;
  for (const Rect& bar : bars) {
    EXPECT_EQ(bar.Width() % 2, 0);
    barPixels += bar.Width();
  }
  const int spacePixels = RightOf(bars) - LeftOf(bars) - barPixels;
  EXPECT_EQ(barPixels / 2 + spacePixels, 67);
  EXPECT_EQ(bars[0].Width(), 2);
  EXPECT_EQ(bars[1].Left - bars[0].Right, 1);
  EXPECT_EQ(bars[1].Width(), 2);
}

}  // namespace
}  // namespace korval::test
