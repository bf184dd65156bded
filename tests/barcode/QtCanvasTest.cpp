// The Qt canvas behaves as the labels expect of their platform canvas.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <memory>

#include "qt/QtApplication.h"
#include "qt/QtCanvas.h"

namespace korval::qt {
namespace {

class QtCanvasTest : public ::testing::Test {
 protected:
  void SetUp() override {
    EnsureApplication();
    image_ = QImage(120, 80, QImage::Format_RGB32);
    image_.fill(Qt::white);
    painter_ = std::make_unique<QPainter>(&image_);
    canvas_ = std::make_unique<QtCanvas>(*painter_, 96, 96);
  }

  // Ends painting so the image can be read.
  const QImage& Finish() {
    canvas_.reset();
    painter_->end();
    return image_;
  }

  static int DarkPixels(const QImage& image, const QRect& area) {
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
      for (int x = area.left(); x <= area.right(); ++x)
        if (qGray(image.pixel(x, y)) < 128) ++n;
    return n;
  }

  static Font SansFont(int height) {
    Font font;
    font.Name = "MS Sans Serif";
    font.Height = height;
    font.FontColor = kBlack;
    return font;
  }

  QImage image_;
  std::unique_ptr<QPainter> painter_;
  std::unique_ptr<QtCanvas> canvas_;
};

TEST_F(QtCanvasTest, FillRectCoversExactlyTheRectangleWithoutItsRightAndBottomEdge) {
  canvas_->SetBrushColor(Rgb(255, 0, 0));
  canvas_->FillRect(Rect{10, 20, 13, 25});
  const QImage& image = Finish();
  EXPECT_EQ(image.pixel(10, 20), qRgb(255, 0, 0));
  EXPECT_EQ(image.pixel(12, 24), qRgb(255, 0, 0));
  EXPECT_EQ(image.pixel(13, 24), qRgb(255, 255, 255));
  EXPECT_EQ(image.pixel(12, 25), qRgb(255, 255, 255));
  EXPECT_EQ(image.pixel(9, 20), qRgb(255, 255, 255));
}

TEST_F(QtCanvasTest, AClearBrushFillsNothing) {
  canvas_->SetBrushColor(kBlack);
  canvas_->SetBrushStyle(BrushStyle::Clear);
  canvas_->FillRect(Rect{0, 0, 50, 50});
  EXPECT_EQ(DarkPixels(Finish(), QRect(0, 0, 50, 50)), 0);
}

TEST_F(QtCanvasTest, SystemColoursResolve) {
  canvas_->SetBrushColor(kWindowTextColor);
  canvas_->FillRect(Rect{0, 0, 2, 2});
  EXPECT_EQ(Finish().pixel(0, 0), qRgb(0, 0, 0));
}

TEST_F(QtCanvasTest, FrameRectAndRectangleOutlineOneUnitInside) {
  canvas_->SetBrushColor(kBlack);
  canvas_->FrameRect(Rect{10, 10, 20, 20});
  canvas_->SetPenColor(Rgb(0, 0, 255));
  canvas_->SetBrushColor(Rgb(0, 255, 0));
  canvas_->Rectangle(Rect{30, 10, 40, 20});
  const QImage& image = Finish();
  EXPECT_EQ(image.pixel(10, 10), qRgb(0, 0, 0));
  EXPECT_EQ(image.pixel(19, 19), qRgb(0, 0, 0));
  EXPECT_EQ(image.pixel(15, 15), qRgb(255, 255, 255));
  EXPECT_EQ(image.pixel(20, 15), qRgb(255, 255, 255));
  EXPECT_EQ(image.pixel(30, 10), qRgb(0, 0, 255));
  EXPECT_EQ(image.pixel(39, 19), qRgb(0, 0, 255));
  EXPECT_EQ(image.pixel(35, 15), qRgb(0, 255, 0));
  EXPECT_EQ(image.pixel(40, 15), qRgb(255, 255, 255));
}

TEST_F(QtCanvasTest, LinesLeaveOutTheirEndPointAndDotsSkipEveryOther) {
  canvas_->SetPenColor(kBlack);
  canvas_->MoveTo(10, 5);
  canvas_->LineTo(20, 5);
  canvas_->SetPenStyle(PenStyle::Dot);
  canvas_->MoveTo(10, 10);
  canvas_->LineTo(30, 10);
  const QImage& image = Finish();
  EXPECT_EQ(DarkPixels(image, QRect(10, 5, 10, 1)), 10);
  EXPECT_EQ(image.pixel(20, 5), qRgb(255, 255, 255));
  const int dots = DarkPixels(image, QRect(10, 10, 21, 1));
  EXPECT_GE(dots, 8);
  EXPECT_LE(dots, 12);
}

TEST_F(QtCanvasTest, AFocusRectDrawnTwiceLeavesTheImageAsItWas) {
  canvas_->SetBrushColor(Rgb(200, 100, 50));
  canvas_->FillRect(Rect{0, 0, 60, 40});
  painter_->end();
  const QImage before = image_.copy();
  painter_->begin(&image_);
  canvas_ = std::make_unique<QtCanvas>(*painter_, 96, 96);
  canvas_->DrawFocusRect(Rect{5, 5, 50, 30});
  painter_->end();
  const QImage once = image_.copy();
  EXPECT_NE(once, before);
  EXPECT_EQ(once.pixel(5, 5), qRgb(255 - 200, 255 - 100, 255 - 50));
  EXPECT_EQ(once.pixel(6, 5), before.pixel(6, 5));  // dotted
  EXPECT_EQ(once.pixel(20, 20), before.pixel(20, 20));
  painter_->begin(&image_);
  canvas_ = std::make_unique<QtCanvas>(*painter_, 96, 96);
  canvas_->DrawFocusRect(Rect{5, 5, 50, 30});
  EXPECT_EQ(Finish(), before);
}

TEST_F(QtCanvasTest, NegativeFontHeightsAreCharacterHeightsPositiveOnesCellHeights) {
  canvas_->SetFont(SansFont(-20));
  const Size em = canvas_->TextExtent("Yg0");
  EXPECT_GT(em.Cy, 20);  // the cell adds the internal leading
  EXPECT_LT(em.Cy, 28);
  EXPECT_GT(em.Cx, 20);
  canvas_->SetFont(SansFont(30));
  EXPECT_NEAR(canvas_->TextExtent("Yg0").Cy, 30, 1);
  EXPECT_EQ(canvas_->TextExtent("").Cx, 0);
}

TEST(QtFontTest, WindowsFontNamesMapToInstalledFacesWithCzechLetters) {
  EnsureApplication();
  Font font;
  font.Name = "Tahoma";
  EXPECT_EQ(QtFontFor(font, 96).family(), "DejaVu Sans");
  font.Name = "Lucida Console";
  EXPECT_EQ(QtFontFor(font, 96).family(), "DejaVu Sans Mono");
  font.Name = "Georgia";
  EXPECT_EQ(QtFontFor(font, 96).family(), "DejaVu Serif");
  font.Name = "DejaVu Serif";
  font.Style = fsBold | fsItalic;
  const QFont q = QtFontFor(font, 96);
  EXPECT_TRUE(q.bold());
  EXPECT_TRUE(q.italic());
  EXPECT_TRUE(QFontMetrics(q).inFont(QChar(0x0159)));  // ř
}

// Windows' core fonts are drawn with free fonts of the same advance widths,
// so a text is as wide here as on Windows. The widths are those the Windows
// fonts give: "1234,56" is six digits and a comma, in font units of an em of
// 2048 (Arial and its bold: digits 1139, comma 569; Times New Roman: 1024
// and 512; Courier New: 1229 each). The em is 100 pixels; hinting may round
// each of the seven advances by a pixel.
TEST_F(QtCanvasTest, WindowsCoreFontsKeepTheirWidths) {
  struct Case {
    const char* name;
    FontStyles style;
    int unitsOf1234comma56;
  };
  const Case cases[] = {
      {"Arial", fsBold, 6 * 1139 + 569},
      {"Arial", 0, 6 * 1139 + 569},
      {"MS Sans Serif", 0, 6 * 1139 + 569},
      {"Microsoft Sans Serif", fsBold, 6 * 1139 + 569},
      {"Times New Roman", fsBold, 6 * 1024 + 512},
      {"Times New Roman", 0, 6 * 1024 + 512},
      {"Courier New", 0, 7 * 1229},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.name) + (c.style != 0 ? " bold" : ""));
    Font font;
    font.Name = c.name;
    font.Style = c.style;
    font.SetHeight(-100);
    canvas_->SetFont(font);
    const double expected = c.unitsOf1234comma56 * 100.0 / 2048.0;
    EXPECT_NEAR(canvas_->TextExtent("1234,56").Cx, expected, 7.0);
  }
}

TEST_F(QtCanvasTest, TextIsClippedToItsRectangleUnlessNoClip) {
  canvas_->SetFont(SansFont(-16));
  canvas_->SetBrushStyle(BrushStyle::Clear);
  Rect narrow{10, 10, 30, 30};
  canvas_->DrawText("WWWWWW", narrow, DT_SINGLELINE);
  Rect free{10, 50, 30, 70};
  canvas_->DrawText("WWWWWW", free, DT_SINGLELINE | DT_NOCLIP);
  const QImage& image = Finish();
  EXPECT_GT(DarkPixels(image, QRect(10, 10, 20, 20)), 0);
  EXPECT_EQ(DarkPixels(image, QRect(30, 0, 90, 40)), 0);
  EXPECT_GT(DarkPixels(image, QRect(30, 50, 90, 20)), 0);
}

TEST_F(QtCanvasTest, TextIsOpaqueOnASolidBrushAndTransparentOnAClearOne) {
  canvas_->SetBrushColor(kBlack);
  canvas_->FillRect(Rect{0, 0, 120, 80});
  Font font = SansFont(-14);
  font.FontColor = kWhite;
  canvas_->SetFont(font);
  canvas_->SetBrushColor(Rgb(0, 255, 0));
  canvas_->SetBrushStyle(BrushStyle::Solid);
  Rect opaque{0, 0, 120, 30};
  canvas_->DrawText("1 1", opaque, DT_SINGLELINE);
  canvas_->SetBrushStyle(BrushStyle::Clear);
  Rect clear{0, 40, 120, 70};
  canvas_->DrawText("1 1", clear, DT_SINGLELINE);
  // The middle of the blank between the digits shows the text's background.
  const QFontMetrics metrics(QtFontFor(font, 96));
  const int blankX = metrics.horizontalAdvance("1") + metrics.horizontalAdvance(" ") / 2;
  const QImage& image = Finish();
  EXPECT_EQ(image.pixel(blankX, 8), qRgb(0, 255, 0));
  EXPECT_EQ(image.pixel(blankX, 48), qRgb(0, 0, 0));
}

TEST_F(QtCanvasTest, AlignmentAndCalcRect) {
  canvas_->SetFont(SansFont(-12));
  Rect measured{5, 5, 5, 5};
  canvas_->DrawText("Cena", measured, DT_SINGLELINE | DT_CALCRECT);
  const Size extent = canvas_->TextExtent("Cena");
  EXPECT_EQ(measured.Width(), extent.Cx);
  EXPECT_EQ(measured.Height(), extent.Cy);
  Rect wrapped{0, 0, 40, 0};
  canvas_->DrawText("jedna dva tri ctyri", wrapped, DT_WORDBREAK | DT_CALCRECT);
  EXPECT_LE(wrapped.Width(), 40);
  EXPECT_GE(wrapped.Height(), 2 * extent.Cy);

  canvas_->SetBrushStyle(BrushStyle::Clear);
  Rect right{0, 0, 120, 40};
  canvas_->DrawText("I", right, DT_SINGLELINE | DT_RIGHT | DT_BOTTOM);
  const QImage& image = Finish();
  EXPECT_EQ(DarkPixels(image, QRect(0, 0, 100, 80)), 0);  // nothing drawn by CALCRECT
  EXPECT_GT(DarkPixels(image, QRect(100, 20, 20, 20)), 0);
}

TEST_F(QtCanvasTest, PicturesAtTheirOwnSizeAndStretched) {
  Picture picture;
  picture.Width = 2;
  picture.Height = 2;
  picture.Pixels = {0xFFFF0000u, 0xFF00FF00u, 0xFF0000FFu, 0xFF000000u};
  canvas_->Draw(10, 10, picture);
  canvas_->StretchDraw(Rect{20, 20, 40, 40}, picture);
  const QImage& image = Finish();
  EXPECT_EQ(image.pixel(10, 10), qRgb(255, 0, 0));
  EXPECT_EQ(image.pixel(11, 10), qRgb(0, 255, 0));
  EXPECT_EQ(image.pixel(10, 11), qRgb(0, 0, 255));
  EXPECT_EQ(image.pixel(12, 12), qRgb(255, 255, 255));
  EXPECT_EQ(image.pixel(25, 25), qRgb(255, 0, 0));
  EXPECT_EQ(image.pixel(35, 25), qRgb(0, 255, 0));
  EXPECT_EQ(image.pixel(39, 39), qRgb(0, 0, 0));
  EXPECT_EQ(image.pixel(40, 40), qRgb(255, 255, 255));
}

TEST_F(QtCanvasTest, SaveAndRestoreKeepPenBrushAndFont) {
  canvas_->SetPenColor(Rgb(1, 2, 3));
  canvas_->SetBrushStyle(BrushStyle::Clear);
  canvas_->SetFont(SansFont(-9));
  canvas_->Save();
  canvas_->SetPenColor(kWhite);
  canvas_->SetPenStyle(PenStyle::Dot);
  canvas_->SetBrushColor(Rgb(9, 9, 9));
  canvas_->SetBrushStyle(BrushStyle::Solid);
  canvas_->SetFont(SansFont(-30));
  canvas_->Restore();
  EXPECT_EQ(canvas_->PenColor(), Rgb(1, 2, 3));
  EXPECT_EQ(canvas_->GetPenStyle(), PenStyle::Solid);
  EXPECT_EQ(canvas_->BrushColor(), kWhite);
  EXPECT_EQ(canvas_->GetBrushStyle(), BrushStyle::Clear);
  EXPECT_EQ(canvas_->GetFont(), SansFont(-9));
  canvas_->Restore();  // unbalanced: nothing changes
  EXPECT_EQ(canvas_->PenColor(), Rgb(1, 2, 3));
}

}  // namespace
}  // namespace korval::qt
