#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "doubles/DialogFixture.h"
#include "doubles/RecordingCanvas.h"

namespace korval {
namespace {

using test::DialogFixture;
using test::RecordingCanvas;
using Op = RecordingCanvas::Op;

constexpr Color kPage = Rgb(255, 250, 205);  // the page's own colour, not white
constexpr Color kRed = Rgb(200, 0, 0);

// A label drawn onto a 600 dpi page: 6.25 printer dots per design pixel.
class LabelRendererTest : public ::testing::Test {
 protected:
  void SetUp() override {
    d_ = &f_.Dialog();
    // The test-print switch redraws the design surface when clicked, which
    // would take the resolution from the (absent) printer.
    d_->Ctl<CheckBox>("CheckBox2").OnClick = nullptr;
    d_->Ctl<CheckBox>("cbRamecek").SetChecked(false);
    d_->Resolution = PrinterResolution{600 / 25.4f, 600 / 25.4f};
    d_->DotsPerPixelX = 6.25f;
    d_->DotsPerPixelY = 6.25f;
    page_.SetBrushColor(kPage);
  }

  TfrmMain& D() { return *d_; }

  template <typename T = Control>
  T& Show(const std::string& name) {
    auto& item = d_->Ctl<T>(name);
    item.SetVisible(true);
    return item;
  }

  std::vector<RecordingCanvas::Call> Texts() const { return page_.CallsOf(Op::DrawText); }

  DialogFixture f_;
  TfrmMain* d_ = nullptr;
  RecordingCanvas page_{600, 600};
};

TEST_F(LabelRendererTest, DrawsVisibleLabelItemsInComponentOrder) {
  // lText1 lies left of lNazev but was created after it: the order of
  // creation decides, not the position.
  Show<TLabel>("lNazev").SetCaption("Mléko");
  D().Ctl<Control>("lNazev").SetBounds(150, 10, 60, 20);
  Show<TLabel>("lText1").SetCaption("Akce");
  D().Ctl<Control>("lText1").SetBounds(10, 10, 60, 20);
  auto& marker9 = Show<TLabel>("lCislo");
  marker9.SetCaption("značka 9");
  marker9.SetTag(9);
  D().Ctl<TLabel>("lText2").SetCaption("skrytý");  // stays hidden

  D().PaintTiket(page_, 0, 0);

  std::vector<std::string> drawn;
  for (const auto& call : Texts()) drawn.push_back(call.text);
  EXPECT_EQ(drawn, (std::vector<std::string>{"Mléko", "Akce"}));
}

TEST_F(LabelRendererTest, ItemRectangleMapsPixelsToDotsRoundingHalvesToEven) {
  auto& name = Show<TLabel>("lNazev");
  name.SetLayout(TTextLayout::tlTop);
  name.SetBounds(66, 12, 97, 25);
  D().TestMode = true;
  D().Ctl<CheckBox>("CheckBox2").SetChecked(true);

  // 66 × 6.25 = 412.5: from x = 100 the left edge is 512.5 and goes down to
  // 512, from x = 101 it is 513.5 and goes up to 514. Right: 163 × 6.25 =
  // 1018.75; top 75; bottom 37 × 6.25 = 231.25.
  D().PaintTiket(page_, 100, 200);
  D().PaintTiket(page_, 101, 200);

  const auto outlines = page_.CallsOf(Op::FrameRect);
  ASSERT_EQ(outlines.size(), 2u);
  EXPECT_EQ(outlines[0].rect, (Rect{512, 275, 1119, 431}));
  EXPECT_EQ(outlines[1].rect, (Rect{514, 275, 1120, 431}));
  ASSERT_EQ(Texts().size(), 2u);
  EXPECT_EQ(Texts()[0].rect, outlines[0].rect);
}

TEST_F(LabelRendererTest, TextTakesTheScaledFontItsColourAndThePageBackground) {
  auto& number = Show<TLabel>("lCislo");
  Font font = number.GetFont();
  font.Height = -13;
  font.FontColor = kRed;
  number.SetFont(font);
  auto& name = Show<TLabel>("lNazev");
  font.Height = -19;
  name.SetFont(font);

  D().PaintTiket(page_, 0, 0);

  const auto texts = Texts();
  ASSERT_EQ(texts.size(), 2u);
  // −19 × 6.25 = −118.75 and −13 × 6.25 = −81.25: the sign stays.
  EXPECT_EQ(texts[0].font.Height, -119);
  EXPECT_EQ(texts[1].font.Height, -81);
  for (const auto& call : texts) {
    EXPECT_EQ(call.font.FontColor, kRed);
    EXPECT_EQ(call.penColor, kRed);
    EXPECT_EQ(call.brushColor, kPage);
    EXPECT_EQ(call.brushStyle, BrushStyle::Solid);  // opaque behind the characters
  }
}

TEST_F(LabelRendererTest, AlignmentAndWordWrapBecomeTextFlags) {
  auto& name = Show<TLabel>("lNazev");
  name.SetLayout(TTextLayout::tlTop);
  struct Case {
    TAlignment Alignment;
    bool WordWrap;
    unsigned Flags;
  };
  for (const Case& c : {Case{TAlignment::taLeftJustify, false, DT_LEFT},
                        Case{TAlignment::taRightJustify, true, DT_RIGHT | DT_WORDBREAK},
                        Case{TAlignment::taCenter, false, DT_CENTER}}) {
    name.SetAlignment(c.Alignment);
    name.SetWordWrap(c.WordWrap);
    page_.Clear();
    D().PaintTiket(page_, 0, 0);
    ASSERT_EQ(Texts().size(), 1u);
    EXPECT_EQ(Texts()[0].flags, c.Flags);
  }
}

TEST_F(LabelRendererTest, VerticalLayoutPlacesTheBlockOfLinesWithinTheItem) {
  // 79 × 16 pixels at (78, 40): dots 250 to 350, 100 high; the scaled font
  // −81 gives a line 81 dots high on the recording canvas, leaving 19.
  auto& number = Show<TLabel>("lCislo");
  number.SetBounds(78, 40, 79, 16);
  Font font = number.GetFont();
  font.Height = -13;
  number.SetFont(font);
  struct Case {
    TTextLayout Layout;
    int Top;
  };
  for (const Case& c : {Case{TTextLayout::tlTop, 250}, Case{TTextLayout::tlCenter, 250 + 19 / 2},
                        Case{TTextLayout::tlBottom, 250 + 19}}) {
    number.SetLayout(c.Layout);
    page_.Clear();
    D().PaintTiket(page_, 0, 0);
    ASSERT_EQ(Texts().size(), 1u);
    EXPECT_EQ(Texts()[0].rect.Top, c.Top);
    // The bottom edge stays the item's: the text is still cut there.
    EXPECT_EQ(Texts()[0].rect.Bottom, 350);
  }

  // A block taller than the item is drawn into the item's rectangle, not
  // beyond it.
  font.Height = -40;
  number.SetFont(font);
  number.SetLayout(TTextLayout::tlBottom);
  page_.Clear();
  D().PaintTiket(page_, 0, 0);
  ASSERT_EQ(Texts().size(), 1u);
  EXPECT_EQ(Texts()[0].rect, (Rect{488, 250, 981, 350}));
}

TEST_F(LabelRendererTest, FrameIsExactlyTheLabelSizeAndOnlyWhenChecked) {
  D().Unit = MeasureUnit::Millimetres;
  D().Ctl<Edit>("rxseOsax").SetText("50");
  D().Ctl<Edit>("rxseOsay").SetText("30");

  D().PaintTiket(page_, 40, 60);
  EXPECT_TRUE(page_.CallsOf(Op::FrameRect).empty());

  D().Ctl<CheckBox>("cbRamecek").SetChecked(true);
  D().PaintTiket(page_, 40, 60);
  const auto frames = page_.CallsOf(Op::FrameRect);
  ASSERT_EQ(frames.size(), 1u);
  // 50 mm × 23.622 dots/mm = 1181.1, 30 mm = 708.66.
  EXPECT_EQ(frames[0].rect, (Rect{40, 60, 40 + 1181, 60 + 709}));
  EXPECT_EQ(frames[0].brushColor, kBlack);
}

TEST_F(LabelRendererTest, ItemOutlinesOnlyInATestPrintWithTheBoxChecked) {
  Show<TLabel>("lNazev").SetCaption("Mléko");
  Show<TLabel>("lText1").SetCaption("Akce");
  struct Case {
    bool TestMode;
    bool Checked;
    std::size_t Outlines;
  };
  for (const Case& c : {Case{false, true, 0}, Case{true, false, 0}, Case{true, true, 2}}) {
    D().TestMode = c.TestMode;
    D().Ctl<CheckBox>("CheckBox2").SetChecked(c.Checked);
    page_.Clear();
    D().PaintTiket(page_, 0, 0);
    const auto outlines = page_.CallsOf(Op::FrameRect);
    ASSERT_EQ(outlines.size(), c.Outlines);
    for (const auto& call : outlines) EXPECT_EQ(call.brushColor, kBlack);
    // The item after an outlined one still sits on the page's colour.
    EXPECT_EQ(Texts().at(1).brushColor, kPage);
  }
}

TEST_F(LabelRendererTest, PictureAtOneDotPerPixelOrStretchedIntoTheItem) {
  auto& image = Show<TImage>("imgBitMap");
  image.SetBounds(10, 6, 79, 57);
  Picture picture;
  picture.Width = 100;
  picture.Height = 100;
  picture.Pixels.assign(100 * 100, 0xFF000000u);
  image.SetPicture(picture);

  // Item: 62.5 → 62, 37.5 → 38, 556.25 → 556, 393.75 → 394.
  image.SetStretch(false);
  D().PaintTiket(page_, 0, 0);
  auto drawn = page_.CallsOf(Op::Draw);
  ASSERT_EQ(drawn.size(), 1u);
  EXPECT_EQ(drawn[0].rect, (Rect{62, 38, 162, 138}));
  EXPECT_TRUE(page_.CallsOf(Op::StretchDraw).empty());

  image.SetStretch(true);
  page_.Clear();
  D().PaintTiket(page_, 0, 0);
  drawn = page_.CallsOf(Op::StretchDraw);
  ASSERT_EQ(drawn.size(), 1u);
  EXPECT_EQ(drawn[0].rect, (Rect{62, 38, 556, 394}));
  EXPECT_TRUE(page_.CallsOf(Op::Draw).empty());
}

// NrEANCode at (8, 132), 179 × 37 pixels: dots (50, 825)–(1169, 1056). Its
// font −11 becomes −68.75 → −69 dots, one line 69 high.
constexpr Rect kBarcodeRect{50, 825, 1169, 1056};
constexpr int kNumberLine = 69;

TEST_F(LabelRendererTest, BarcodeNumberIsWrittenOverAWipedBottomStrip) {
  auto& barcode = Show<TBarCodeControl>("NrEANCode");
  barcode.SetTag(10);

  D().PaintTiket(page_, 0, 0);

  const Rect band{kBarcodeRect.Left, kBarcodeRect.Bottom - kNumberLine, kBarcodeRect.Right,
                  kBarcodeRect.Bottom};
  const auto& calls = page_.Calls();
  std::size_t lastBar = 0;
  std::size_t wipe = calls.size();
  for (std::size_t i = 0; i < calls.size(); ++i) {
    if (calls[i].op != Op::FillRect) continue;
    if (calls[i].brushColor == kBlack) lastBar = i;
    if (calls[i].rect == band && calls[i].brushColor == kPage) wipe = i;
  }
  ASSERT_LT(wipe, calls.size()) << "the bottom strip is not wiped with the page colour";
  EXPECT_GT(wipe, lastBar);
  EXPECT_EQ(calls[wipe].brushStyle, BrushStyle::Solid);

  const auto number = Texts().back();
  EXPECT_EQ(number.text, barcode.Code());
  // The barcode's own digits lie under the strip: the page holds them once.
  EXPECT_EQ(Texts().size(), 1U);
  EXPECT_EQ(number.rect, band);
  EXPECT_EQ(number.font.Height, -kNumberLine);
  EXPECT_EQ(number.flags & (DT_CENTER | DT_RIGHT), unsigned{DT_CENTER});
}

// The printed number of an Interleaved 2 of 5 symbol is what its bars
// carry: "5" with the check character scans "55", "123" scans "1236".
TEST_F(LabelRendererTest, AnInterleaved2of5NumberIsTheDigitsItsBarsCarry) {
  auto& barcode = Show<TBarCodeControl>("NrEANCode");
  barcode.SetTag(10);
  struct Case {
    const char* Code;
    bool AddCheckChar;
    const char* Printed;
  };
  for (const Case& c :
       {Case{"5", true, "55"}, Case{"123", true, "1236"}, Case{"1234", true, "012348"},
        Case{"123", false, "0123"}, Case{"1234", false, "1234"}}) {
    SCOPED_TRACE(c.Code);
    barcode.SetAddCheckChar(c.AddCheckChar);
    barcode.SetCode(bcInterleaved2of5, c.Code);
    page_.Clear();
    D().PaintTiket(page_, 0, 0);
    ASSERT_FALSE(Texts().empty());
    EXPECT_EQ(Texts().back().text, c.Printed);
  }
}

TEST_F(LabelRendererTest, NumberAboveIsWrittenOutsideTheItemAndNotUnderTheBars) {
  auto& barcode = Show<TBarCodeControl>("NrEANCode");
  barcode.SetTag(11);

  D().PaintTiket(page_, 0, 0);

  const auto texts = Texts();
  ASSERT_EQ(texts.size(), 1u) << "the barcode wrote a number of its own";
  EXPECT_EQ(texts[0].text, barcode.Code());
  EXPECT_EQ(texts[0].rect, (Rect{kBarcodeRect.Left, kBarcodeRect.Top - kNumberLine,
                                 kBarcodeRect.Right, kBarcodeRect.Top}));
  EXPECT_TRUE(barcode.ShowCode());
}

// Each change notifies the views, and a view repaints on a change: a paint
// that changed a property would ask for the next paint without end.
struct ChangeCounter final : ControlObserver {
  void ControlChanged(Control& control, std::string_view property) override {
    changes.push_back(control.Name() + "." + std::string(property));
  }
  std::vector<std::string> changes;
};

TEST_F(LabelRendererTest, PaintingChangesNoProperty) {
  Show<TBarCodeControl>("NrEANCode").SetTag(11);
  Show<TLabel>("lNazev").SetCaption("Mléko");
  Show<TBarCodeControl>("lEANCode").SetTag(10);
  ChangeCounter counter;
  D().AddObserver(&counter);
  D().PaintTiket(page_, 0, 0);
  RecordingCanvas screen;
  D().PaintItemsForScreen(screen);
  D().PaintBox1Paint(screen);
  D().RemoveObserver(&counter);
  EXPECT_EQ(counter.changes, std::vector<std::string>{});
}

TEST_F(LabelRendererTest, CanvasPenFontAndBrushComeBackUnchanged) {
  Show<TLabel>("lNazev").SetCaption("Mléko");
  Show<TBarCodeControl>("NrEANCode");
  D().Ctl<CheckBox>("cbRamecek").SetChecked(true);
  D().TestMode = true;
  D().Ctl<CheckBox>("CheckBox2").SetChecked(true);
  page_.SetPenColor(kRed);
  Font font;
  font.Height = -50;
  page_.SetFont(font);

  D().PaintTiket(page_, 10, 10);

  ASSERT_FALSE(page_.Calls().empty());
  EXPECT_EQ(page_.PenColor(), kRed);
  EXPECT_EQ(page_.GetFont().Height, -50);
  EXPECT_EQ(page_.BrushColor(), kPage);
  EXPECT_EQ(page_.SaveDepth(), 0);
}

}  // namespace
}  // namespace korval
