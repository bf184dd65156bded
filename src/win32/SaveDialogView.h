#pragma once

#include "win32/WinApi.h"

#include <memory>

#include "storage/TfrmSaves.h"
#include "win32/ChildWindowClass.h"
#include "win32/FormMirror.h"

namespace korval::win32 {

// The save-format dialog, "Uložit nastavení", on Windows: a window owned by
// the label dialog's over the TfrmSaves model, which enables the buttons and
// keeps the list. It opens 235 x 222 with the input in the name field, can
// be sized between that and the screen less 20 pixels, and reports the size
// of its inside to the model, which places the panels and, through their
// resize rules, the buttons and the field.
class SaveDialogView final : private WindowObject {
 public:
  SaveDialogView(TfrmSaves& dialog, Ui& ui, HWND owner);
  ~SaveDialogView();
  SaveDialogView(const SaveDialogView&) = delete;
  SaveDialogView& operator=(const SaveDialogView&) = delete;

  // Runs the window modally (its owner disabled); true when it was closed
  // with the save button.
  bool Run();

  HWND Handle() const { return window_; }
  HWND WindowOf(const Control& control) const { return mirror_->WindowOf(control); }

 private:
  LRESULT HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;
  void PlaceSeparator();

  TfrmSaves& dialog_;
  HWND owner_;
  HFONT font_ = nullptr;
  HWND window_ = nullptr;
  HWND separator_ = nullptr;
  std::unique_ptr<FormMirror> mirror_;
};

}  // namespace korval::win32
