#pragma once

#include "win32/WinApi.h"

#include "dialog/TfrmMain.h"
#include "dialog/ViewMirror.h"
#include "win32/ChildWindowClass.h"

namespace korval::win32 {

// The preview's paint box (Image1): the sheet drawn by the dialog's preview
// on every paint, and a press on it handed to the dialog, which picks the
// start position under it.
class PreviewWindow final : private WindowObject {
 public:
  PreviewWindow(TfrmMain& dialog, ActionRunner run);
  ~PreviewWindow();
  PreviewWindow(const PreviewWindow&) = delete;
  PreviewWindow& operator=(const PreviewWindow&) = delete;

  // The window, a hidden child of parent of size 0 x 0: the form view sizes
  // and shows it. 0 when it cannot be made.
  HWND Create(HWND parent);
  HWND Handle() const { return window_; }
  // Paints the sheet again when the window next paints.
  void Repaint();

 private:
  LRESULT HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;
  void Paint(HDC dc);
  void Press(MouseButton button, LPARAM at);

  TfrmMain& dialog_;
  ActionRunner run_;
  HWND window_ = nullptr;
};

}  // namespace korval::win32
