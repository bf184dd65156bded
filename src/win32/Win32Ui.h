#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "platform/Ui.h"

namespace korval {
class HostContext;
}

// The cursor handle as windows.h declares it (STRICT handles: an HCURSOR is
// an HICON), so that this header needs none of windows.h's macros.
struct HICON__;

namespace korval::win32 {

// The person in front of the Windows program: message boxes, the common
// dialogs for pictures and fonts, the cursor and the message queue of the
// calling thread. Texts go to Windows as UTF-16.
class Win32Ui final : public Ui {
 public:
  // Boxes and dialogs belong to the host's window while no other owner is
  // set.
  explicit Win32Ui(HostContext& host);

  // The window that owns the boxes from now on (the label dialog's), 0 for
  // the host's again.
  void SetOwnerWindow(std::intptr_t window) { owner_ = window; }
  // The owner boxes get: the set one or the host's, while it is a window.
  std::intptr_t OwnerWindow() const;

  MessageAnswer ShowMessage(const MessageBoxRequest& request) override;
  std::optional<std::string> OpenPictureDialog(const std::string& title,
                                               const std::string& filter) override;
  bool ShowSaveDialog(TfrmSaves& dialog) override;
  std::optional<Font> ChooseFont(const Font& initial) override;
  void SetCursor(Cursor cursor) override;
  void ProcessPendingEvents() override;
  void PostHostNotice(std::intptr_t hostWindow, std::uint32_t message) override;

  // The cursor last set; a window answers WM_SETCURSOR with it, since
  // Windows puts a window's class cursor back on every mouse move.
  Cursor CurrentCursor() const { return cursor_; }

  // The window of the save dialog, set by the dialog's view.
  std::function<bool(TfrmSaves&)> SaveDialogRunner;

 private:
  HostContext& host_;
  std::intptr_t owner_ = 0;
  Cursor cursor_ = Cursor::Default;
};

// The system's shared cursor for a cursor the model asks for.
HICON__* CursorHandle(Cursor cursor);

// The platform filter of an open dialog ("Bitmaps (*.bmp)|*.bmp", pairs of
// description and pattern separated by "|") as GetOpenFileName takes it:
// every part ends in a null character and the list in a second one.
std::wstring OpenDialogFilter(const std::string& filter);

}  // namespace korval::win32
