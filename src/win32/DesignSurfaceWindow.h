#pragma once

#include "win32/WinApi.h"

#include "dialog/TfrmMain.h"
#include "dialog/ViewMirror.h"
#include "win32/ChildWindowClass.h"

namespace korval::win32 {

class Win32Ui;

// The label on the design page: one child window the size of the white
// panel (Panel2) that paints what the dialog's design surface holds — the
// frame and print-area outlines of PaintBox1, the items through the label
// renderer at the design resolution, the outline of a drag in progress and
// the selection handles after a drop — and hands the mouse to the item under
// it, or to PaintBox1 over an empty spot. Items are not windows.
class DesignSurfaceWindow final : private WindowObject {
 public:
  DesignSurfaceWindow(TfrmMain& dialog, ActionRunner run, Win32Ui& ui);
  ~DesignSurfaceWindow();
  DesignSurfaceWindow(const DesignSurfaceWindow&) = delete;
  DesignSurfaceWindow& operator=(const DesignSurfaceWindow&) = delete;

  // The window, a hidden child of parent of size 0 x 0: the form view sizes
  // and shows it. 0 when it cannot be made.
  HWND Create(HWND parent);
  HWND Handle() const { return window_; }

  // Shows the cursor that the dialog's state asks for at once, rather than
  // at the next move of the mouse: the window under the mouse is asked for
  // its cursor again when it is part of the dialog.
  void UpdateCursors();
  // The control goes: nothing of it may be kept.
  void Forget(const Control& control);
  // Paints the surface again when the window next paints. The view calls it
  // whenever the model changes a control on Panel2 or asks PaintBox1 to
  // paint ("Paint"), which is also how a drag's outline follows the mouse.
  void Repaint();
  // The cursor of the scroll box around the label (ScrollBox1) while the
  // mouse is over it but not over the label: not-allowed in placing mode,
  // as the item may be placed on the label only.
  HCURSOR AroundCursor() const;
  // The topmost label item at a point of the label, if any.
  Control* ItemAt(POINT at) const;

 private:
  LRESULT HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;
  LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
  void Paint(HDC dc);
  void Press(MouseButton button, POINT at);
  void Move(POINT at);
  void Release(MouseButton button, POINT at);
  void Hover(Control& item, POINT at);
  // The menu opens once the mouse message that asked for it has returned.
  void RequestMenu(Control& item, POINT at);
  void ShowItemMenu(Control& item, POINT at);
  // Ends the press without a release: the mouse went elsewhere.
  void DropPress();
  Cursor SurfaceCursor() const;
  void ShowHint(const Control* item);
  Control& PaintBox() const;

  TfrmMain& dialog_;
  ActionRunner run_;
  Win32Ui& ui_;
  HWND window_ = nullptr;
  HWND tooltip_ = nullptr;
  // The control that took the press: it gets the moves and the release.
  Control* captured_ = nullptr;
  bool pressedOnLabel_ = false;
  // The item and point of the last move handed over, so that a press comes
  // after the move that brought the mouse there.
  Control* hovered_ = nullptr;
  POINT hoveredAt_{};
  bool overItem_ = false;
  // The item whose hint the tooltip holds.
  const Control* hinted_ = nullptr;
  // The menu asked for and not opened yet.
  Control* menuItem_ = nullptr;
  POINT menuAt_{};
};

}  // namespace korval::win32
