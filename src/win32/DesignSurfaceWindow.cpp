#include "win32/WinApi.h"

#include "win32/DesignSurfaceWindow.h"

#include <commctrl.h>
#include <windowsx.h>

#include <string>

#include "dialog/ItemMenuEntries.h"
#include "platform/WideText.h"
#include "win32/GdiCanvas.h"
#include "win32/ItemMenu.h"
#include "win32/Win32Ui.h"

namespace korval::win32 {
namespace {

constexpr const wchar_t* kClassName = L"KorvalDesignSurface";
// Posted to the window itself: opens the item menu asked for.
constexpr UINT kOpenItemMenu = WM_APP + 1;

POINT PointOf(LPARAM lParam) {
  return POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
}

bool Busy(Cursor cursor) {
  return cursor == Cursor::HourGlass || cursor == Cursor::AppStart;
}

// A bitmap the size of the window that the surface is painted on before it
// goes to the screen in one piece: the items drawn one over another, and the
// label under them, would flicker otherwise.
class Buffer {
 public:
  Buffer(HDC target, int width, int height)
      : dc_(CreateCompatibleDC(target)), bitmap_(CreateCompatibleBitmap(target, width, height)) {
    if (dc_ != nullptr && bitmap_ != nullptr) old_ = SelectObject(dc_, bitmap_);
  }
  ~Buffer() {
    if (old_ != nullptr) SelectObject(dc_, old_);
    if (bitmap_ != nullptr) DeleteObject(bitmap_);
    if (dc_ != nullptr) DeleteDC(dc_);
  }
  Buffer(const Buffer&) = delete;
  Buffer& operator=(const Buffer&) = delete;
  bool Usable() const { return old_ != nullptr; }
  HDC Dc() const { return dc_; }

 private:
  HDC dc_;
  HBITMAP bitmap_;
  HGDIOBJ old_ = nullptr;
};

}  // namespace

DesignSurfaceWindow::DesignSurfaceWindow(TfrmMain& dialog, ActionRunner run, Win32Ui& ui)
    : dialog_(dialog), run_(std::move(run)), ui_(ui) {
  // The barcode asks for the menu on a right-button release (it has no menu
  // of its own).
  dialog_.OnPopupRequest = [this](Control& item, int x, int y) {
    RequestMenu(item, POINT{item.Left() + x, item.Top() + y});
  };
}

DesignSurfaceWindow::~DesignSurfaceWindow() {
  dialog_.OnPopupRequest = nullptr;
  if (window_ != nullptr) DestroyWindow(window_);
}

HWND DesignSurfaceWindow::Create(HWND parent) {
  if (window_ != nullptr) return window_;
  CreateChildWindow(kClassName, parent, *this, WS_CLIPSIBLINGS);
  if (window_ == nullptr) return nullptr;
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES};
  InitCommonControlsEx(&controls);
  tooltip_ =
      CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                      WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP, CW_USEDEFAULT, CW_USEDEFAULT,
                      CW_USEDEFAULT, CW_USEDEFAULT, window_, nullptr, BackendModule(), nullptr);
  if (tooltip_ != nullptr) {
    // One tool for the whole window; its text is the hint of the item under
    // the mouse, none over an empty spot.
    TTTOOLINFOW tool{};
    tool.cbSize = TTTOOLINFOW_V2_SIZE;
    tool.uFlags = TTF_IDISHWND;
    tool.hwnd = window_;
    tool.uId = reinterpret_cast<UINT_PTR>(window_);
    tool.lpszText = const_cast<wchar_t*>(L"");
    SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
  }
  return window_;
}

void DesignSurfaceWindow::Repaint() {
  if (window_ != nullptr) InvalidateRect(window_, nullptr, FALSE);
}

Control& DesignSurfaceWindow::PaintBox() const {
  return dialog_.Ctl<Control>("PaintBox1");
}

Control* DesignSurfaceWindow::ItemAt(POINT at) const {
  const Control* panel = dialog_.FindComponent("Panel2");
  if (panel == nullptr) return nullptr;
  // Later components lie above earlier ones.
  for (int i = dialog_.ComponentCount() - 1; i >= 0; --i) {
    Control& c = dialog_.Component(i);
    if (c.Parent() != panel || !IsLabelItem(c)) continue;
    if (at.x >= c.Left() && at.x < c.Left() + c.Width() && at.y >= c.Top() &&
        at.y < c.Top() + c.Height()) {
      return &c;
    }
  }
  return nullptr;
}

LRESULT DesignSurfaceWindow::HandleMessage(HWND window, UINT message, WPARAM wParam,
                                           LPARAM lParam) {
  if (message == WM_NCCREATE) window_ = window;
  try {
    return Handle(message, wParam, lParam);
  } catch (...) {
    // Nothing may leave a window procedure: Windows' own code lies between
    // it and the message loop. The model's operations show their errors
    // through the runner; what fails outside them has no one to tell.
    return 0;
  }
}

LRESULT DesignSurfaceWindow::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
  if (tooltip_ != nullptr && message >= WM_MOUSEFIRST && message <= WM_MOUSELAST) {
    MSG relayed{};
    relayed.hwnd = window_;
    relayed.message = message;
    relayed.wParam = wParam;
    relayed.lParam = lParam;
    SendMessageW(tooltip_, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&relayed));
  }
  switch (message) {
    case WM_PAINT: {
      PAINTSTRUCT paint;
      if (HDC dc = BeginPaint(window_, &paint)) {
        Paint(dc);
        EndPaint(window_, &paint);
      }
      return 0;
    }
    case WM_PRINTCLIENT:
      Paint(reinterpret_cast<HDC>(wParam));
      return 0;
    case WM_ERASEBKGND:
      return 1;  // the painting covers it all
    case WM_SETCURSOR:
      if (reinterpret_cast<HWND>(wParam) == window_ && LOWORD(lParam) == HTCLIENT) {
        // Windows would put the class cursor back on every move.
        SetCursor(CursorHandle(SurfaceCursor()));
        return TRUE;
      }
      break;
    case WM_LBUTTONDOWN:
      Press(MouseButton::Left, PointOf(lParam));
      return 0;
    case WM_RBUTTONDOWN:
      Press(MouseButton::Right, PointOf(lParam));
      return 0;
    case WM_MBUTTONDOWN:
      Press(MouseButton::Middle, PointOf(lParam));
      return 0;
    case WM_MOUSEMOVE:
      Move(PointOf(lParam));
      return 0;
    case WM_LBUTTONUP:
      Release(MouseButton::Left, PointOf(lParam));
      return 0;
    case WM_RBUTTONUP:
      Release(MouseButton::Right, PointOf(lParam));
      // Windows makes the context-menu gesture of it.
      return DefWindowProcW(window_, message, wParam, lParam);
    case WM_MBUTTONUP:
      Release(MouseButton::Middle, PointOf(lParam));
      return 0;
    case WM_CAPTURECHANGED:
      if (reinterpret_cast<HWND>(lParam) != window_) DropPress();
      return 0;
    case WM_CONTEXTMENU: {
      // From the keyboard (no point) there is no item to ask about: the
      // surface takes no focus.
      if (lParam == -1) return 0;
      POINT at = PointOf(lParam);
      ScreenToClient(window_, &at);
      Control* item = ItemAt(at);
      if (item != nullptr && HasItemMenu(*item)) RequestMenu(*item, at);
      return 0;
    }
    case kOpenItemMenu: {
      Control* item = menuItem_;
      menuItem_ = nullptr;
      if (item != nullptr && dialog_.Owns(item)) ShowItemMenu(*item, menuAt_);
      return 0;
    }
    case WM_DESTROY:
      if (tooltip_ != nullptr) DestroyWindow(tooltip_);
      tooltip_ = nullptr;
      return 0;
    case WM_NCDESTROY:
      window_ = nullptr;
      captured_ = nullptr;
      pressedOnLabel_ = false;
      return 0;
    default:
      break;
  }
  return DefWindowProcW(window_, message, wParam, lParam);
}

void DesignSurfaceWindow::Paint(HDC dc) {
  RECT client{};
  GetClientRect(window_, &client);
  if (client.right <= 0 || client.bottom <= 0) return;
  Buffer buffer(dc, client.right, client.bottom);
  const HDC target = buffer.Usable() ? buffer.Dc() : dc;
  {
    // The label at the dialog's design resolution, one design pixel per
    // pixel of the window, whatever the screen's own resolution.
    GdiCanvas canvas(target, TfrmMain::kPixelsPerInch);
    canvas.SetBrushStyle(BrushStyle::Solid);
    canvas.SetBrushColor(kWhite);
    canvas.FillRect(Rect{0, 0, client.right, client.bottom});
    try {
      dialog_.PaintDesignSurface(canvas);
    } catch (...) {
      // A paint has no one to tell; the next edit repaints.
    }
  }
  if (target != dc) BitBlt(dc, 0, 0, client.right, client.bottom, target, 0, 0, SRCCOPY);
}

void DesignSurfaceWindow::Hover(Control& item, POINT at) {
  hovered_ = &item;
  hoveredAt_ = at;
  run_([&item, at] { item.MouseMove(at.x - item.Left(), at.y - item.Top()); });
}

void DesignSurfaceWindow::Press(MouseButton button, POINT at) {
  if (captured_ != nullptr || pressedOnLabel_) return;  // a second button during a press
  if (Control* item = ItemAt(at)) {
    if (hovered_ != item || hoveredAt_.x != at.x || hoveredAt_.y != at.y) Hover(*item, at);
    if (!dialog_.Owns(item)) return;
    captured_ = item;
    // The moves and the release come here wherever the mouse goes.
    SetCapture(window_);
    run_([item, button, at] { item->MouseDown(button, at.x - item->Left(), at.y - item->Top()); });
  } else {
    pressedOnLabel_ = true;
    SetCapture(window_);
    Control& box = PaintBox();
    run_([&box, button, at] { box.MouseDown(button, at.x, at.y); });
  }
}

void DesignSurfaceWindow::Move(POINT at) {
  if (captured_ != nullptr) {
    // The item that took the press follows the mouse wherever it goes,
    // measured from its own corner.
    Control* item = captured_;
    run_([item, at] { item->MouseMove(at.x - item->Left(), at.y - item->Top()); });
    return;
  }
  Control* item = ItemAt(at);
  if (item != nullptr) {
    overItem_ = true;
    Hover(*item, at);
  } else {
    overItem_ = false;
    hovered_ = nullptr;
    Control& box = PaintBox();
    run_([&box, at] { box.MouseMove(at.x, at.y); });
  }
  ShowHint(item != nullptr && dialog_.Owns(item) ? item : nullptr);
  // Windows asked for the cursor before this move; the item's shape may
  // have changed with it.
  SetCursor(CursorHandle(SurfaceCursor()));
}

void DesignSurfaceWindow::Release(MouseButton button, POINT at) {
  Control* item = captured_;
  const bool onLabel = pressedOnLabel_;
  captured_ = nullptr;
  pressedOnLabel_ = false;
  if (GetCapture() == window_) ReleaseCapture();
  if (item != nullptr) {
    run_([item, button, at] { item->MouseUp(button, at.x - item->Left(), at.y - item->Top()); });
  } else if (onLabel) {
    Control& box = PaintBox();
    run_([&box, button, at] { box.MouseUp(button, at.x, at.y); });
    // Press and release on the label make a click, which redraws it.
    RECT client{};
    GetClientRect(window_, &client);
    if (button == MouseButton::Left && PtInRect(&client, at) && dialog_.Owns(&box))
      run_([&box] { box.Click(); });
  }
}

void DesignSurfaceWindow::DropPress() {
  captured_ = nullptr;
  pressedOnLabel_ = false;
}

void DesignSurfaceWindow::RequestMenu(Control& item, POINT at) {
  menuItem_ = &item;
  menuAt_ = at;
  if (window_ != nullptr) PostMessageW(window_, kOpenItemMenu, 0, 0);
}

void DesignSurfaceWindow::ShowItemMenu(Control& item, POINT at) {
  // The menu takes the mouse: whatever the press started ends here.
  DropPress();
  if (GetCapture() == window_) ReleaseCapture();
  TfrmMain::ItemMenuState state;
  run_([this, &item, &state] { state = dialog_.ppMenuPopup(item); });
  POINT screen = at;
  ClientToScreen(window_, &screen);
  TrackItemMenu(window_, screen, dialog_, state, run_);
}

Cursor DesignSurfaceWindow::SurfaceCursor() const {
  // Only the label accepts the item being placed: the arrow over it.
  if (dialog_.PlacingItem()) return Cursor::Default;
  if (Busy(ui_.CurrentCursor())) return ui_.CurrentCursor();
  return overItem_ ? dialog_.ItemCursor : Cursor::Default;
}

HCURSOR DesignSurfaceWindow::AroundCursor() const {
  if (dialog_.PlacingItem()) return CursorHandle(Cursor::NotAllowed);
  return CursorHandle(Busy(ui_.CurrentCursor()) ? ui_.CurrentCursor() : Cursor::Default);
}

void DesignSurfaceWindow::UpdateCursors() {
  if (window_ == nullptr || !IsWindowVisible(window_)) return;
  if (GetCapture() == window_) {
    SetCursor(CursorHandle(SurfaceCursor()));
    return;
  }
  POINT mouse{};
  if (!GetCursorPos(&mouse)) return;
  const HWND under = WindowFromPoint(mouse);
  if (under == nullptr || GetAncestor(under, GA_ROOT) != GetAncestor(window_, GA_ROOT)) return;
  // Each window of the dialog answers for its own part: the label here,
  // the scroll box around it with AroundCursor.
  const LRESULT hit = SendMessageW(under, WM_NCHITTEST, 0, MAKELPARAM(mouse.x, mouse.y));
  SendMessageW(under, WM_SETCURSOR, reinterpret_cast<WPARAM>(under),
               MAKELPARAM(static_cast<WORD>(hit), WM_MOUSEMOVE));
}

void DesignSurfaceWindow::Forget(const Control& control) {
  if (captured_ == &control) captured_ = nullptr;
  if (hovered_ == &control) {
    hovered_ = nullptr;
    overItem_ = false;
  }
  if (menuItem_ == &control) menuItem_ = nullptr;
  if (hinted_ == &control) ShowHint(nullptr);
}

void DesignSurfaceWindow::ShowHint(const Control* item) {
  if (tooltip_ == nullptr || item == hinted_) return;
  hinted_ = item;
  std::wstring text = item != nullptr ? WideFromUtf8(item->Hint()) : std::wstring();
  // The old hint goes at once; the new one shows after the usual pause.
  SendMessageW(tooltip_, TTM_POP, 0, 0);
  TTTOOLINFOW tool{};
  tool.cbSize = TTTOOLINFOW_V2_SIZE;
  tool.hwnd = window_;
  tool.uId = reinterpret_cast<UINT_PTR>(window_);
  tool.lpszText = text.data();
  SendMessageW(tooltip_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
}

}  // namespace korval::win32
