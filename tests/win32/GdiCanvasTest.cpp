#include "win32/WinApi.h"

#include "win32/GdiCanvas.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace korval::win32 {
namespace {

constexpr std::uint32_t kGreen = 0x00FF00;  // pixels read back as 0x00RRGGBB

// A 32-bit bitmap of 200 x 100 pixels in a memory context, filled green,
// which a canvas draws on and whose pixels the test reads.
class GdiCanvasTest : public ::testing::Test {
 protected:
  void SetUp() override {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = kWidth;
    info.bmiHeader.biHeight = -kHeight;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    bitmap_ = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    ASSERT_NE(bitmap_, nullptr);
    bits_ = static_cast<std::uint32_t*>(bits);
    dc_ = CreateCompatibleDC(nullptr);
    ASSERT_NE(dc_, nullptr);
    old_ = SelectObject(dc_, bitmap_);
    Fill(kGreen);
    originalFont_ = GetCurrentObject(dc_, OBJ_FONT);
    originalPen_ = GetCurrentObject(dc_, OBJ_PEN);
    originalBrush_ = GetCurrentObject(dc_, OBJ_BRUSH);
  }
  void TearDown() override {
    SelectObject(dc_, old_);
    DeleteDC(dc_);
    DeleteObject(bitmap_);
  }

  void Fill(std::uint32_t rgb) {
    GdiFlush();
    std::fill(bits_, bits_ + kWidth * kHeight, rgb);
  }
  std::uint32_t Pixel(int x, int y) const {
    GdiFlush();
    return bits_[y * kWidth + x] & 0xFFFFFF;
  }
  // Pixels of the rectangle (right, bottom exclusive) that are not green.
  int Painted(int left, int top, int right, int bottom) const {
    int count = 0;
    for (int y = top; y < bottom; ++y)
      for (int x = left; x < right; ++x) count += Pixel(x, y) != kGreen ? 1 : 0;
    return count;
  }

  static constexpr int kWidth = 200;
  static constexpr int kHeight = 100;
  HDC dc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ old_ = nullptr;
  std::uint32_t* bits_ = nullptr;
  HGDIOBJ originalFont_ = nullptr;
  HGDIOBJ originalPen_ = nullptr;
  HGDIOBJ originalBrush_ = nullptr;
};

Font TextFont(int height) {
  Font font;
  font.Name = "Tahoma";
  font.Height = height;
  font.FontColor = kBlack;
  return font;
}

TEST_F(GdiCanvasTest, TextHasTheBrushColourBehindItWhileTheBrushIsSolid) {
  GdiCanvas canvas(dc_);
  canvas.SetFont(TextFont(-20));
  canvas.SetBrushColor(Rgb(255, 0, 0));
  canvas.TextOut(10, 10, "ii");
  // The cell's corner carries no ink: it shows the background, red.
  EXPECT_EQ(Pixel(10, 10), 0xFF0000u);
  EXPECT_EQ(Pixel(9, 9), kGreen);

  Fill(kGreen);
  canvas.SetBrushStyle(BrushStyle::Clear);
  canvas.TextOut(10, 10, "ii");
  EXPECT_EQ(Pixel(10, 10), kGreen);
  int black = 0;
  for (int y = 10; y < 40; ++y)
    for (int x = 10; x < 40; ++x) black += Pixel(x, y) == 0 ? 1 : 0;
  EXPECT_GT(black, 10) << "the text itself is drawn in the font's colour";
}

TEST_F(GdiCanvasTest, FillRectUsesTheBrushColourUpToTheExclusiveEdges) {
  GdiCanvas canvas(dc_);
  canvas.SetBrushColor(Rgb(10, 20, 200));
  canvas.FillRect(Rect{10, 10, 20, 15});
  EXPECT_EQ(Pixel(10, 10), 0x0A14C8u);
  EXPECT_EQ(Pixel(19, 14), 0x0A14C8u);
  EXPECT_EQ(Pixel(20, 10), kGreen);
  EXPECT_EQ(Pixel(10, 15), kGreen);

  // A hollow brush fills nothing.
  canvas.SetBrushStyle(BrushStyle::Clear);
  canvas.FillRect(Rect{30, 10, 40, 20});
  EXPECT_EQ(Painted(30, 10, 40, 20), 0);
}

TEST_F(GdiCanvasTest, StretchDrawMakesEachPicturePixelABlock) {
  GdiCanvas canvas(dc_);
  const Picture picture{2, 2, {0xFFFF0000u, 0xFF00FF00u, 0xFF0000FFu, 0xFFFFFFFFu}};
  canvas.StretchDraw(Rect{0, 0, 20, 20}, picture);
  // Top row first, red in the high byte: a flipped or channel-swapped
  // picture would put blue or white in the wrong corner.
  EXPECT_EQ(Pixel(5, 5), 0xFF0000u);
  EXPECT_EQ(Pixel(15, 5), 0x00FF00u);
  EXPECT_EQ(Pixel(5, 15), 0x0000FFu);
  EXPECT_EQ(Pixel(15, 15), 0xFFFFFFu);
  EXPECT_EQ(Pixel(20, 5), kGreen);
}

TEST_F(GdiCanvasTest, TransparentPicturePixelsLeaveTheCanvasAsItWas) {
  GdiCanvas canvas(dc_);
  Fill(0x808080);
  const Picture picture{3, 1, {0x00000000u, 0xFF0000FFu, 0x80FFFFFFu}};
  canvas.Draw(30, 30, picture);
  EXPECT_EQ(Pixel(30, 30), 0x808080u);
  EXPECT_EQ(Pixel(31, 30), 0x0000FFu);
  // Half-transparent white over grey comes out lighter than the grey.
  const std::uint32_t blended = Pixel(32, 30);
  EXPECT_GT(blended & 0xFF, 0x90u);
  EXPECT_LT(blended & 0xFF, 0xF0u);
}

TEST_F(GdiCanvasTest, FontHeightIsInDeviceUnits) {
  GdiCanvas canvas(dc_);
  // A positive height is the cell, a negative one the character without the
  // internal leading, so its cell is taller.
  canvas.SetFont(TextFont(20));
  EXPECT_EQ(canvas.TextExtent("Ag").Cy, 20);
  canvas.SetFont(TextFont(-20));
  const Size em = canvas.TextExtent("Ag");
  EXPECT_GT(em.Cy, 20);
  EXPECT_LE(em.Cy, 26);
  canvas.SetFont(TextFont(-40));
  EXPECT_GT(canvas.TextExtent("Ag").Cx, em.Cx * 3 / 2);
}

// The design surface draws at the dialog's resolution on any screen: a font
// given in points only is made for the resolution the canvas was given.
TEST_F(GdiCanvasTest, AGivenResolutionIsTheOneFontsInPointsAreMadeFor) {
  Font points = TextFont(0);
  points.Size = 12;
  GdiCanvas own(dc_);
  own.SetFont(points);
  const int ownHeight = own.TextExtent("Ag").Cy;
  const int ownDpi = own.DpiY();
  GdiCanvas doubled(dc_, 2 * ownDpi);
  EXPECT_EQ(doubled.DpiX(), 2 * ownDpi);
  EXPECT_EQ(doubled.DpiY(), 2 * ownDpi);
  doubled.SetFont(points);
  EXPECT_GE(doubled.TextExtent("Ag").Cy, 2 * ownHeight - 2);
}

TEST_F(GdiCanvasTest, RestoreBringsBackThePenOfTheSave) {
  GdiCanvas canvas(dc_);
  canvas.SetPenColor(Rgb(255, 0, 0));
  canvas.Save();
  canvas.SetPenColor(Rgb(0, 0, 255));
  canvas.SetPenStyle(PenStyle::Dot);
  canvas.Restore();
  canvas.Restore();  // one too many changes nothing
  EXPECT_EQ(canvas.PenColor(), Rgb(255, 0, 0));
  canvas.MoveTo(0, 50);
  canvas.LineTo(50, 50);
  EXPECT_EQ(Pixel(1, 50), 0xFF0000u);
  EXPECT_EQ(Pixel(2, 50), 0xFF0000u) << "solid again after the restore";
  EXPECT_EQ(Pixel(50, 50), kGreen) << "a line leaves out its end point";
}

TEST_F(GdiCanvasTest, DrawTextClipsToItsRectangleUnlessTold) {
  GdiCanvas canvas(dc_);
  canvas.SetFont(TextFont(-20));
  canvas.SetBrushStyle(BrushStyle::Clear);
  Rect box{10, 10, 20, 40};
  canvas.DrawText("WWWW", box, DT_SINGLELINE | DT_NOPREFIX);
  EXPECT_GT(Painted(10, 10, 20, 40), 0);
  EXPECT_EQ(Painted(20, 0, kWidth, kHeight), 0);

  Fill(kGreen);
  canvas.DrawText("WWWW", box, DT_SINGLELINE | DT_NOPREFIX | DT_NOCLIP);
  EXPECT_GT(Painted(20, 10, 100, 40), 0);

  // Measuring draws nothing and widens the rectangle to the text.
  Fill(kGreen);
  Rect measured{10, 10, 11, 11};
  const int height = canvas.DrawText("WWWW", measured, DT_SINGLELINE | DT_CALCRECT);
  EXPECT_EQ(Painted(0, 0, kWidth, kHeight), 0);
  EXPECT_GT(measured.Right, 40);
  EXPECT_EQ(measured.Height(), height);
}

TEST_F(GdiCanvasTest, DrawingLeavesTheContextWithItsOwnObjects) {
  {
    GdiCanvas canvas(dc_);
    canvas.SetFont(TextFont(-12));
    canvas.SetPenStyle(PenStyle::Dot);
    canvas.Rectangle(Rect{5, 5, 50, 50});
    Rect box{5, 5, 50, 50};
    canvas.DrawText("Ab", box, 0);
    canvas.TextOut(0, 0, "Ab");
    canvas.MoveTo(0, 0);
    canvas.LineTo(10, 10);
    canvas.Save();  // left open: the canvas closes it
    EXPECT_EQ(GetCurrentObject(dc_, OBJ_FONT), originalFont_);
    EXPECT_EQ(GetCurrentObject(dc_, OBJ_PEN), originalPen_);
    EXPECT_EQ(GetCurrentObject(dc_, OBJ_BRUSH), originalBrush_);
  }
  // Every save of the canvas was restored: the context has none left.
  EXPECT_FALSE(RestoreDC(dc_, -1));
}

}  // namespace
}  // namespace korval::win32
