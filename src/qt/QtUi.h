#pragma once

#include <Qt>
#include <functional>
#include <ostream>

#include "platform/Ui.h"

namespace korval {
class HostContext;
}

namespace korval::qt {

// The Qt cursor that stands for the platform cursor of the dialogs.
Qt::CursorShape QtCursorShape(Cursor cursor);

// The person in front of the Linux program. With a display, Qt's message
// boxes and dialogs; without one (the offscreen platform, a print job from a
// service), messages go to a log and every box takes its harmless answer:
// Ok, or No for a question. Nothing ever waits for a person who is not there.
class QtUi final : public Ui {
 public:
  explicit QtUi(HostContext& host, std::ostream& log);

  // Whether boxes and dialogs can be shown to a person.
  static bool Interactive();

  MessageAnswer ShowMessage(const MessageBoxRequest& request) override;
  std::optional<std::string> OpenPictureDialog(const std::string& title,
                                               const std::string& filter) override;
  bool ShowSaveDialog(TfrmSaves& dialog) override;
  std::optional<Font> ChooseFont(const Font& initial) override;
  void SetCursor(Cursor cursor) override;
  void ProcessPendingEvents() override;
  void PostHostNotice(std::intptr_t hostWindow, std::uint32_t message) override;

  // The window of the save dialog, set by the dialog view.
  std::function<bool(TfrmSaves&)> SaveDialogRunner;

 private:
  HostContext& host_;
  std::ostream& log_;
  bool cursorOverridden_ = false;
};

}  // namespace korval::qt
