#pragma once

#include "platform/Ui.h"

namespace korval {

// Every message box the dialog shows goes through here on its way to the
// person: its caption and text are looked up among the built-in Czech
// messages and replaced by the language catalogue's translation (section
// "Messages", by the message's name). A built-in message with a "%s" matches
// any text it was made from, and the inserted part is kept. Texts that are
// none of the built-in messages (an error's own message) stay as they are.
MessageBoxRequest TranslateMessage(const MessageBoxRequest& request);

// A user interface that shows every message box translated.
class TranslatedUi final : public Ui {
 public:
  explicit TranslatedUi(Ui& shown) : shown_(shown) {}
  MessageAnswer ShowMessage(const MessageBoxRequest& request) override {
    return shown_.ShowMessage(TranslateMessage(request));
  }
  std::optional<std::string> OpenPictureDialog(const std::string& title,
                                               const std::string& filter) override {
    return shown_.OpenPictureDialog(title, filter);
  }
  bool ShowSaveDialog(TfrmSaves& dialog) override { return shown_.ShowSaveDialog(dialog); }
  std::optional<Font> ChooseFont(const Font& initial) override {
    return shown_.ChooseFont(initial);
  }
  void SetCursor(Cursor cursor) override { shown_.SetCursor(cursor); }
  void ProcessPendingEvents() override { shown_.ProcessPendingEvents(); }
  void PostHostNotice(std::intptr_t hostWindow, std::uint32_t message) override {
    shown_.PostHostNotice(hostWindow, message);
  }

 private:
  Ui& shown_;
};

}  // namespace korval
