// The page preview on a Windows screen: the sheet painted from the dialog's
// preview, and a press that picks the start position under it.
#include "win32/WinApi.h"

#include "win32/PreviewWindow.h"

#include <gtest/gtest.h>

#include "WindowTestFixture.h"

namespace korval::win32 {
namespace {

class PreviewWindowTest : public test::WindowTestFixture {
 protected:
  void SetUp() override {
    WindowTestFixture::SetUp();
    if (HasFatalFailure()) return;
    // Labels of 50 x 30 mm on the A4 sheet of the fake printer, in a group
    // box whose preview is 262 pixels high.
    TfrmMain& d = Model();
    Runner()([&] {
      d.Ctl<ComboBox>("ComboBox1").UserSelect(1);
      d.Ctl<Edit>("rxseOsax").SetText("50");
      d.Ctl<Edit>("rxseOsay").SetText("30");
      d.Ctl<Control>("gbPreview").SetBounds(0, 0, 417, 322);
      d.Preview();
    });
    ASSERT_EQ(d.Ctl<Control>("Image1").Height(), 262);
    preview_ = std::make_unique<PreviewWindow>(d, Runner());
    window_ = preview_->Create(top_);
    ASSERT_NE(window_, nullptr) << "no window: error " << GetLastError();
    Place(window_, d.Ctl<Control>("Image1"));
  }
  void TearDown() override {
    EXPECT_TRUE(errors_.empty()) << errors_.front();
    preview_.reset();
    WindowTestFixture::TearDown();
  }

  std::unique_ptr<PreviewWindow> preview_;
  HWND window_ = nullptr;
};

TEST_F(PreviewWindowTest, TheSheetIsPaintedWhiteWithOutlines) {
  const Picture sheet(window_);
  ASSERT_EQ(sheet.Width(), 185);
  ASSERT_EQ(sheet.Height(), 262);
  // The whole box framed, white inside: nothing of the window's own is left.
  EXPECT_TRUE(sheet.Dark(0, 0) && sheet.Dark(184, 261) && sheet.Dark(184, 0));
  int green = 0;
  for (int y = 0; y < sheet.Height(); ++y) {
    for (int x = 0; x < sheet.Width(); ++x) green += sheet.At(x, y) == 0x00FF00u ? 1 : 0;
  }
  EXPECT_EQ(green, 0);
  EXPECT_EQ(sheet.At(sheet.Width() - 3, sheet.Height() - 3), 0xFFFFFFu);
}

TEST_F(PreviewWindowTest, APressPicksTheStartPositionUnderIt) {
  TfrmMain& d = Model();
  const auto& printer = f_.printer.printers_.front();
  const double labelX = 50 / (printer.PaperWidthIn * 25.4) * 185;
  const double labelY = 30 / (printer.PaperHeightIn * 25.4) * 262;
  const int middle = static_cast<int>(labelY / 2);
  const int across = static_cast<int>(1.5 * labelX);
  // The first row shows the outlines of both labels, then only the second's.
  const int before = Picture(window_).DarkInRow(middle, 2, across);
  Mouse(window_, WM_LBUTTONDOWN, POINT{across, middle}, MK_LBUTTON);
  EXPECT_EQ(d.ClickPoint, (Point{across, middle}));
  EXPECT_EQ(d.StartCol, 1);
  EXPECT_EQ(d.StartRow, 0);
  EXPECT_TRUE(d.Ctl<Control>("sbReset").Enabled());
  EXPECT_EQ(Picture(window_).DarkInRow(middle, 2, across), before - 1);
}

}  // namespace
}  // namespace korval::win32
