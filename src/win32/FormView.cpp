#include "win32/FormView.h"

#include <algorithm>

#include "host_api/HostApi.h"
#include "host_api/HostContext.h"
#include "platform/Text.h"
#include "platform/WideText.h"
#include "storage/TfrmSaves.h"
#include "win32/DesignSurfaceWindow.h"
#include "win32/PreviewWindow.h"
#include "win32/SaveDialogView.h"
#include "win32/SpoolerPrintSurface.h"
#include "win32/Win32Ui.h"

namespace korval::win32 {
namespace {

constexpr wchar_t kWindowClass[] = L"KorvalLabelDialog";
// A close request of a failed creation or show step, delivered once the
// window is up, as a posted message would be.
constexpr UINT kCloseRequest = WM_APP + 0x4B1;

int ShowCommandOf(int stored) {
  if (stored == 2 || stored == 6) return SW_SHOWMINIMIZED;
  if (stored == 3) return SW_SHOWMAXIMIZED;
  return SW_SHOWNORMAL;
}

}  // namespace

void RunLabelDialog(HostContext& host, const std::string& startSheet) {
  const DpiUnawareScope scaledBySystem;
  Win32Ui ui(host);
  SpoolerPrintSurface printer(ui, host.HostWindow());
  TfrmMain dialog(SystemDialogServices(host, ui, printer));
  dialog.StartSheet = startSheet;
  dialog.RunCreationSteps();
  FormView view(dialog, ui);
  printer.SetOwnerWindow(reinterpret_cast<std::intptr_t>(view.Handle()));
  ui.SaveDialogRunner = [&ui, &view](TfrmSaves& saves) {
    SaveDialogView saveView(saves, ui, view.Handle());
    return saveView.Run();
  };
  view.Run();
  ui.SaveDialogRunner = nullptr;
}

HFONT CreateDialogFont() {
  return CreateFontW(-11, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                     OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                     DEFAULT_PITCH | FF_SWISS, L"MS Sans Serif");
}

DpiUnawareScope::DpiUnawareScope() {
  // Windows 10 1607 and later; looked up, so that the library loads on
  // older systems and under Wines without it.
  if (HMODULE user = GetModuleHandleW(L"user32.dll")) {
    set_ = reinterpret_cast<SetContext>(
        reinterpret_cast<void*>(GetProcAddress(user, "SetThreadDpiAwarenessContext")));
  }
  // DPI_AWARENESS_CONTEXT_UNAWARE is the handle value -1.
  if (set_ != nullptr) previous_ = set_(reinterpret_cast<void*>(static_cast<INT_PTR>(-1)));
}

DpiUnawareScope::~DpiUnawareScope() {
  if (set_ != nullptr && previous_ != nullptr) set_(previous_);
}

namespace {

struct WindowSearch {
  HWND Except;
  std::vector<HWND>* Found;
};

BOOL CALLBACK CollectEnabledWindow(HWND window, LPARAM data) {
  auto& search = *reinterpret_cast<WindowSearch*>(data);
  if (window != search.Except && IsWindowVisible(window) && IsWindowEnabled(window))
    search.Found->push_back(window);
  return TRUE;
}

}  // namespace

ThreadWindowsDisabled::ThreadWindowsDisabled(HWND except) {
  WindowSearch search{except, &disabled_};
  EnumThreadWindows(GetCurrentThreadId(), &CollectEnabledWindow, reinterpret_cast<LPARAM>(&search));
  for (HWND window : disabled_) EnableWindow(window, FALSE);
}

ThreadWindowsDisabled::~ThreadWindowsDisabled() {
  for (HWND window : disabled_) {
    if (IsWindow(window)) EnableWindow(window, TRUE);
  }
}

void RunModalLoop(HWND window, const std::function<bool()>& done,
                  const std::function<bool(const MSG&)>& take) {
  MSG message;
  while (!done()) {
    const BOOL got = GetMessageW(&message, nullptr, 0, 0);
    if (got == 0) {
      // The host's loop must see the quit too.
      PostQuitMessage(static_cast<int>(message.wParam));
      return;
    }
    if (got < 0) return;
    if (take && take(message)) continue;
    if (IsWindow(window) && IsDialogMessageW(window, &message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

FormView::FormView(TfrmMain& dialog, Ui& ui) : dialog_(dialog), ui_(ui) {
  font_ = CreateDialogFont();
  const WindowPlacement& placement = dialog_.Placement;
  const int width = std::max(placement.NormalPos.Width(), TfrmMain::kMinWidth);
  const int height = std::max(placement.NormalPos.Height(), TfrmMain::kMinHeight);
  // Without an owner: the host's windows are disabled while it runs instead.
  window_ = CreateTopWindow(kWindowClass, WideFromUtf8(dialog_.Caption), nullptr, *this,
                            WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                            WS_EX_CONTROLPARENT | WS_EX_DLGMODALFRAME, width, height);
  if (window_ == nullptr) throw std::runtime_error("the label dialog's window cannot be created");
  SendMessageW(window_, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);

  mirror_ = std::make_unique<FormMirror>(dialog_, window_, font_, ui_);
  mirror_->MakeWidget = [this](Control& control, ViewMirror::Widget parent) {
    return MakeWidget(control, parent);
  };
  mirror_->ContainerHook = [this](HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                  LRESULT& result) {
    return ContainerMessage(window, message, wParam, lParam, result);
  };
  mirror_->OnChanged = [this](Control& control, std::string_view property) {
    Changed(control, property);
  };
  mirror_->OnDestroyed = [this](Control& control) { Forget(control); };
  mirror_->AfterUserAction = [this] { AfterUserAction(); };
  mirror_->Build();
  // Enter presses "&Ok".
  if (Control* ok = dialog_.FindComponent("bbtnOk")) mirror_->SetDefaultButton(*ok);
}

FormView::~FormView() {
  // The mirror goes first, so that nothing the windows do while they are
  // taken down reaches the model.
  mirror_.reset();
  if (window_ != nullptr) DestroyWindow(window_);
  surface_.reset();
  preview_.reset();
  if (font_ != nullptr) DeleteObject(font_);
}

HWND FormView::WindowOf(std::string_view name) const {
  const Control* control = dialog_.FindComponent(name);
  return control == nullptr || mirror_ == nullptr ? nullptr : mirror_->WindowOf(*control);
}

void FormView::Run() {
  if (dialog_.Closed) return;
  auto* boxes = dynamic_cast<Win32Ui*>(&ui_);
  {
    const ThreadWindowsDisabled others(window_);
    if (boxes != nullptr) boxes->SetOwnerWindow(reinterpret_cast<std::intptr_t>(window_));
    FirstShow();
    RunModalLoop(
        window_, [this] { return dialog_.Closed; },
        [this](const MSG& message) {
          if (OnMessage) OnMessage(message);
          // Alt and the marked letter of a tab shows its page, as it does a
          // button's click.
          return message.message == WM_SYSCHAR && IsWindowEnabled(window_) &&
                 mirror_->PageMnemonic(static_cast<wchar_t>(message.wParam));
        });
    ReportPlacement();
    ending_ = true;
    if (boxes != nullptr) boxes->SetOwnerWindow(0);
    // The host's windows come back before this one goes, so that the system
    // activates one of them and not some other program's.
  }
  ShowWindow(window_, SW_HIDE);
  dialog_.OnScreen = false;
}

void FormView::FirstShow() {
  if (shown_) return;
  ApplyPlacement();
  shown_ = true;
  dialog_.OnScreen = true;
  // The show step of the first showing: the format, the first goods item.
  mirror_->UserAction([this] { dialog_.ShowStep(); });
  SetWindowTextW(window_, WideFromUtf8(dialog_.Caption).c_str());
  if (HWND ok = WindowOf("bbtnOk")) SetFocus(ok);
  mirror_->UserAction([this] { dialog_.Preview(); });
  // A failed creation or show step asks for the dialog to close; the request
  // arrives once the window is up, as a message would.
  if (dialog_.CloseRequested) PostMessageW(window_, kCloseRequest, 0, 0);
}

void FormView::ApplyPlacement() {
  const WindowPlacement& placement = dialog_.Placement;
  const Rect& r = placement.NormalPos;
  const int width = std::max(r.Width(), TfrmMain::kMinWidth);
  const int height = std::max(r.Height(), TfrmMain::kMinHeight);
  RECT stored{r.Left, r.Top, r.Left + width, r.Top + height};
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  GetMonitorInfoW(MonitorFromRect(&stored, MONITOR_DEFAULTTOPRIMARY), &monitor);
  RECT seen{};
  // A placement that was never taken from a window (the corner of the
  // screen) or that lies off every screen centres the dialog instead.
  const bool usable =
      (r.Left != 0 || r.Top != 0) && r.Left < r.Right && IntersectRect(&seen, &stored, &monitor.rcWork);
  if (!usable) {
    const RECT& work = monitor.rcWork;
    stored.left = work.left + (work.right - work.left - width) / 2;
    stored.top = work.top + (work.bottom - work.top - height) / 2;
    stored.right = stored.left + width;
    stored.bottom = stored.top + height;
  }
  WINDOWPLACEMENT place{};
  place.length = sizeof place;
  place.flags = usable ? static_cast<UINT>(placement.Flags) & WPF_RESTORETOMAXIMIZED : 0;
  place.showCmd = static_cast<UINT>(ShowCommandOf(placement.ShowCmd));
  place.rcNormalPosition = stored;
  SetWindowPlacement(window_, &place);
  ShowWindow(window_, static_cast<int>(place.showCmd));
  UpdateWindow(window_);
}

void FormView::ReportPlacement() {
  if (!shown_ || ending_) return;
  WINDOWPLACEMENT place{};
  place.length = sizeof place;
  if (!GetWindowPlacement(window_, &place)) return;
  WindowPlacement& placement = dialog_.Placement;
  placement.Flags = static_cast<int>(place.flags);
  placement.ShowCmd = static_cast<int>(place.showCmd);
  const RECT& r = place.rcNormalPosition;
  placement.NormalPos = Rect{r.left, r.top, r.right, r.bottom};
}

void FormView::CloseBox() {
  if (dialog_.Closed) return;
  // The same leaving rules as "&Ok", which may keep the dialog open.
  ReportPlacement();
  mirror_->UserAction([this] { dialog_.Close(); });
}

void FormView::EndIfClosed() {
  // The modal loop looks at the model after every message; a closed model
  // ends it.
  if (dialog_.Closed) PostMessageW(window_, WM_NULL, 0, 0);
}

ViewMirror::Widget FormView::MakeWidget(Control& control, ViewMirror::Widget parent) {
  HWND under = parent != nullptr ? static_cast<HWND>(parent) : window_;
  if (control.Name() == "Panel2") {
    // The surface asks the platform's Ui for the cursor the dialog set; a
    // view on another Ui (a test's) gets one of its own, which keeps the
    // arrow.
    auto* cursors = dynamic_cast<Win32Ui*>(&dialog_.Services().UserInterface);
    if (cursors == nullptr) {
      ownUi_ = std::make_unique<Win32Ui>(dialog_.Services().Host);
      cursors = ownUi_.get();
    }
    surface_ = std::make_unique<DesignSurfaceWindow>(dialog_, mirror_->Runner(), *cursors);
    return surface_->Create(under);
  }
  if (control.Name() == "Image1") {
    preview_ = std::make_unique<PreviewWindow>(dialog_, mirror_->Runner());
    return preview_->Create(under);
  }
  return nullptr;
}

void FormView::Forget(Control& control) {
  if (surface_ == nullptr) return;
  surface_->Forget(control);
  surface_->Repaint();
}

bool FormView::ContainerMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                LRESULT& result) {
  if (message != WM_SETCURSOR || surface_ == nullptr || LOWORD(lParam) != HTCLIENT) return false;
  // Around the label, in the scroll box, the cursor tells what a click
  // there would do: nothing in placing mode.
  const Control* box = dialog_.FindComponent("ScrollBox1");
  if (box == nullptr || mirror_->ControlOf(window) != box ||
      reinterpret_cast<HWND>(wParam) == surface_->Handle())
    return false;
  SetCursor(surface_->AroundCursor());
  result = TRUE;
  return true;
}

void FormView::Changed(Control& control, std::string_view property) {
  if (surface_ == nullptr) return;
  // Everything on the label, and the paint box under it, is the surface's.
  const Control* panel = dialog_.FindComponent("Panel2");
  if (control.Parent() == panel || (property == "Paint" && control.Name() == "PaintBox1"))
    surface_->Repaint();
}

void FormView::AfterUserAction() {
  if (surface_ != nullptr) surface_->UpdateCursors();
  EndIfClosed();
}

LRESULT FormView::HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT result = 0;
  if (mirror_ != nullptr && mirror_->Route(window, message, wParam, lParam, result)) return result;
  switch (message) {
    // The close box, and Esc.
    case WM_CLOSE:
      CloseBox();
      return 0;
    case WM_GETMINMAXINFO: {
      auto* limits = reinterpret_cast<MINMAXINFO*>(lParam);
      limits->ptMinTrackSize.x = TfrmMain::kMinWidth;
      limits->ptMinTrackSize.y = TfrmMain::kMinHeight;
      return 0;
    }
    case WM_SIZE:
      if (mirror_ == nullptr || wParam == SIZE_MINIMIZED) break;
      // The layout runs model code outside a user action: nothing of it may
      // leave the window procedure.
      mirror_->UserAction([this] { mirror_->LayoutForm(); });
      ReportPlacement();
      // Every resize recomputes the page preview.
      if (dialog_.OnScreen) mirror_->UserAction([this] { dialog_.Preview(); });
      return 0;
    case WM_MOVE:
      ReportPlacement();
      return 0;
    // The system's printer-change broadcasts, to the dialog's reactions.
    case WM_SETTINGCHANGE:
      if (shown_ && mirror_ != nullptr) mirror_->UserAction([this] { dialog_.WmSettingChange(); });
      return 0;
    case WM_DEVMODECHANGE:
      if (shown_ && mirror_ != nullptr) mirror_->UserAction([this] { dialog_.WmDevModeChange(); });
      return 0;
    case WM_DEVICECHANGE:
      if (shown_ && mirror_ != nullptr) mirror_->UserAction([this] { dialog_.WmDeviceChange(); });
      return TRUE;
    case kCloseRequest:
      if (dialog_.CloseRequested && !dialog_.Closed) CloseBox();
      return 0;
    default:
      break;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace korval::win32
