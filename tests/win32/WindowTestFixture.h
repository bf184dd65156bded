#pragma once

#include "win32/WinApi.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "dialog/ViewMirror.h"
#include "doubles/FormsFolderTest.h"
#include "win32/Win32Ui.h"

namespace korval::win32::test {

// The label dialog shown (its creation and show steps run) over a folder of
// its own, with a top-level window of the test's that holds the window under
// test, and a runner that does the model's operations as a view does,
// keeping the errors that escape them.
class WindowTestFixture : public korval::test::FormsFolderTest {
 protected:
  void SetUp() override {
    FormsFolderTest::SetUp();
    f_.SetGoods({korval::test::RecordBuilder()
                     .Name("Eidam 30 %")
                     .Number("SYR-0301")
                     .PriceA(129.75)
                     .Build()});
    f_.Recreate();
    f_.dialog->RunCreationSteps();
    f_.dialog->ShowStep();
    top_ = CreateWindowExW(0, L"STATIC", L"KORVAL", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0, 0,
                           640, 480, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(top_, nullptr) << "no window: error " << GetLastError();
    ShowWindow(top_, SW_SHOWNOACTIVATE);
    ui_ = std::make_unique<Win32Ui>(f_.host);
  }
  void TearDown() override {
    if (top_ != nullptr) DestroyWindow(top_);
    ui_.reset();
    FormsFolderTest::TearDown();
  }

  TfrmMain& Model() { return *f_.dialog; }

  ActionRunner Runner() {
    return [this](const std::function<void()>& action) {
      try {
        action();
      } catch (const std::exception& e) {
        errors_.push_back(e.what());
      }
    };
  }

  // Gives a child window the model's size of control and shows it.
  static void Place(HWND window, const Control& control) {
    MoveWindow(window, 0, 0, control.Width(), control.Height(), FALSE);
    ShowWindow(window, SW_SHOWNA);
  }

  // Mouse messages as Windows delivers them, in the window's pixels.
  static void Mouse(HWND window, UINT message, POINT at, WPARAM keys = 0) {
    SendMessageW(window, message, keys,
                 MAKELPARAM(static_cast<WORD>(at.x), static_cast<WORD>(at.y)));
  }

  // What a window paints now, as WM_PRINTCLIENT asks it to, on a bitmap
  // the window's size that starts green.
  class Picture {
   public:
    explicit Picture(HWND window) {
      RECT client{};
      GetClientRect(window, &client);
      width_ = client.right;
      height_ = client.bottom;
      BITMAPINFO info{};
      info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
      info.bmiHeader.biWidth = width_;
      info.bmiHeader.biHeight = -height_;
      info.bmiHeader.biPlanes = 1;
      info.bmiHeader.biBitCount = 32;
      info.bmiHeader.biCompression = BI_RGB;
      void* bits = nullptr;
      const HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
      if (bitmap == nullptr || bits == nullptr) return;
      auto* pixels = static_cast<std::uint32_t*>(bits);
      std::fill(pixels, pixels + width_ * height_, 0x00FF00u);
      const HDC dc = CreateCompatibleDC(nullptr);
      const HGDIOBJ old = SelectObject(dc, bitmap);
      SendMessageW(window, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
      GdiFlush();
      pixels_.assign(pixels, pixels + width_ * height_);
      SelectObject(dc, old);
      DeleteDC(dc);
      DeleteObject(bitmap);
    }
    int Width() const { return width_; }
    int Height() const { return height_; }
    std::uint32_t At(int x, int y) const {
      return pixels_.at(static_cast<std::size_t>(y * width_ + x)) & 0xFFFFFFu;
    }
    bool Dark(int x, int y) const {
      const std::uint32_t p = At(x, y);
      return ((p >> 16 & 0xFF) + (p >> 8 & 0xFF) + (p & 0xFF)) < 3 * 128;
    }
    int DarkInRow(int y, int fromX, int toX) const {
      int n = 0;
      for (int x = fromX; x < toX; ++x) n += Dark(x, y) ? 1 : 0;
      return n;
    }

   private:
    int width_ = 0;
    int height_ = 0;
    std::vector<std::uint32_t> pixels_;
  };

  HWND top_ = nullptr;
  std::unique_ptr<Win32Ui> ui_;
  std::vector<std::string> errors_;
};

}  // namespace korval::win32::test
