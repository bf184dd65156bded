#include "win32/WinApi.h"

#include "win32/PreviewWindow.h"

#include <windowsx.h>

#include "win32/GdiCanvas.h"

namespace korval::win32 {
namespace {

constexpr const wchar_t* kClassName = L"KorvalPreview";

}  // namespace

PreviewWindow::PreviewWindow(TfrmMain& dialog, ActionRunner run)
    : dialog_(dialog), run_(std::move(run)) {}

PreviewWindow::~PreviewWindow() {
  if (window_ != nullptr) DestroyWindow(window_);
}

HWND PreviewWindow::Create(HWND parent) {
  if (window_ == nullptr) CreateChildWindow(kClassName, parent, *this, WS_CLIPSIBLINGS);
  return window_;
}

void PreviewWindow::Repaint() {
  if (window_ != nullptr) InvalidateRect(window_, nullptr, FALSE);
}

LRESULT PreviewWindow::HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_NCCREATE:
      window_ = window;
      break;
    case WM_PAINT: {
      PAINTSTRUCT paint;
      if (HDC dc = BeginPaint(window, &paint)) {
        Paint(dc);
        EndPaint(window, &paint);
      }
      return 0;
    }
    case WM_PRINTCLIENT:
      Paint(reinterpret_cast<HDC>(wParam));
      return 0;
    case WM_ERASEBKGND:
      return 1;  // the sheet covers it all
    case WM_LBUTTONDOWN:
      Press(MouseButton::Left, lParam);
      return 0;
    case WM_RBUTTONDOWN:
      Press(MouseButton::Right, lParam);
      return 0;
    case WM_MBUTTONDOWN:
      Press(MouseButton::Middle, lParam);
      return 0;
    case WM_NCDESTROY:
      window_ = nullptr;
      return 0;
    default:
      break;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

void PreviewWindow::Paint(HDC dc) {
  // Drawn straight onto the window: only outlines, one per label position.
  GdiCanvas canvas(dc, TfrmMain::kPixelsPerInch);
  // While it paints, the preview's own redraws land here too.
  dialog_.PreviewCanvas = &canvas;
  try {
    dialog_.DrawPreviewPage(canvas);
  } catch (...) {
    // Nothing may leave a window procedure; a paint has no one to tell, and
    // the next change repaints.
  }
  dialog_.PreviewCanvas = nullptr;
}

void PreviewWindow::Press(MouseButton button, LPARAM at) {
  const int x = GET_X_LPARAM(at);
  const int y = GET_Y_LPARAM(at);
  Control* box = dialog_.FindComponent("Image1");
  if (box == nullptr) return;
  run_([box, button, x, y] { box->MouseDown(button, x, y); });
}

}  // namespace korval::win32
