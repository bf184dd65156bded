#pragma once

#include "win32/WinApi.h"

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "dialog/TfrmMain.h"
#include "win32/ChildWindowClass.h"
#include "win32/FormMirror.h"

namespace korval {
class HostContext;
}

namespace korval::win32 {

class Win32Ui;
class DesignSurfaceWindow;
class PreviewWindow;

// The label dialog on Windows: a top-level window without an owner that
// mirrors the dialog model (TfrmMain) control by control and leaves every
// decision to it, run modally on the calling thread. The design surface and
// the preview are windows of their own; everything else is the standard
// control of its kind.
//
// Showing it applies the stored window placement and runs the model's show
// step. Leaving goes through the model: "&Ok", "&Zrušit", Esc and the close
// box run its leaving rules, and the dialog ends when the model says it is
// closed. The placement is reported back to the model as it changes, as
// GetWindowPlacement gives it, so that what the model writes is where the
// window stood.
class FormView final : private WindowObject {
 public:
  // Errors that escape an operation are shown through ui; the model's own
  // messages go to the Ui of its services. A Win32Ui gets the window as the
  // owner of its boxes while the dialog runs.
  FormView(TfrmMain& dialog, Ui& ui);
  ~FormView();
  FormView(const FormView&) = delete;
  FormView& operator=(const FormView&) = delete;

  // Runs the dialog until the model is closed. The other enabled windows of
  // the thread (the host's) are disabled meanwhile, as under any
  // thread-modal dialog, and enabled again before it returns.
  void Run();

  HWND Handle() const { return window_; }
  TfrmMain& Model() const { return dialog_; }
  // The window of a control by the control's name, or nullptr.
  HWND WindowOf(std::string_view name) const;
  DesignSurfaceWindow* Surface() const { return surface_.get(); }

  // Called for every message taken from the queue while the dialog runs,
  // before it is dispatched (a test's hook).
  std::function<void(const MSG&)> OnMessage;

 private:
  LRESULT HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;
  ViewMirror::Widget MakeWidget(Control& control, ViewMirror::Widget parent);
  bool ContainerMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
  void Changed(Control& control, std::string_view property);
  void Forget(Control& control);
  void AfterUserAction();
  void FirstShow();
  void ApplyPlacement();
  void ReportPlacement();
  void CloseBox();
  void EndIfClosed();

  TfrmMain& dialog_;
  Ui& ui_;
  HFONT font_ = nullptr;
  HWND window_ = nullptr;
  std::unique_ptr<Win32Ui> ownUi_;
  std::unique_ptr<FormMirror> mirror_;
  std::unique_ptr<DesignSurfaceWindow> surface_;
  std::unique_ptr<PreviewWindow> preview_;
  bool shown_ = false;
  bool ending_ = false;
};

// ShowTiketFormular on Windows: the label dialog is created for the host's
// context, run modally on the calling thread and destroyed when the person
// leaves it. The host's window gets the save notice. A start sheet (a
// template's code) is applied once the format is loaded.
void RunLabelDialog(HostContext& host, const std::string& startSheet = {});

// The font of the dialog's controls: "MS Sans Serif" with a height of -11
// at 96 pixels per inch.
HFONT CreateDialogFont();

// Creates windows of the calling thread as not DPI-aware for as long as it
// lives, so that the system scales the dialog's 96-ppi layout on screens of
// another DPI whatever the host declared. Does nothing where Windows cannot
// set a thread's DPI awareness.
class DpiUnawareScope {
 public:
  DpiUnawareScope();
  ~DpiUnawareScope();
  DpiUnawareScope(const DpiUnawareScope&) = delete;
  DpiUnawareScope& operator=(const DpiUnawareScope&) = delete;

 private:
  using SetContext = void*(WINAPI*)(void*);
  SetContext set_ = nullptr;
  void* previous_ = nullptr;
};

// The enabled, visible top-level windows of the calling thread are disabled
// for as long as it lives (a modal window's owners and siblings), then
// enabled again.
class ThreadWindowsDisabled {
 public:
  explicit ThreadWindowsDisabled(HWND except);
  ~ThreadWindowsDisabled();
  ThreadWindowsDisabled(const ThreadWindowsDisabled&) = delete;
  ThreadWindowsDisabled& operator=(const ThreadWindowsDisabled&) = delete;

 private:
  std::vector<HWND> disabled_;
};

// Pumps the calling thread's messages until done says so, with the dialog
// keys (Tab, Alt accelerators, Enter, Esc) handled for window. Each message
// goes to take first, which may keep it. A WM_QUIT ends the loop too and is
// posted again for the host's own loop.
void RunModalLoop(HWND window, const std::function<bool()>& done,
                  const std::function<bool(const MSG&)>& take = {});

}  // namespace korval::win32
