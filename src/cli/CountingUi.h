#pragma once

#include "platform/Ui.h"

namespace korval::cli {

// The Ui the korval program hands the library, passing everything on and
// counting the messages (not the questions) it showed. A failure the
// library has told of already, with its own words, gets no second line of
// the program's about the same thing.
class CountingUi final : public Ui {
 public:
  explicit CountingUi(Ui& inner) : inner_(inner) {}

  MessageAnswer ShowMessage(const MessageBoxRequest& request) override {
    if (request.Buttons != MessageButtons::YesNo) ++messages_;
    return inner_.ShowMessage(request);
  }
  std::optional<std::string> OpenPictureDialog(const std::string& title,
                                               const std::string& filter) override {
    return inner_.OpenPictureDialog(title, filter);
  }
  bool ShowSaveDialog(TfrmSaves& dialog) override { return inner_.ShowSaveDialog(dialog); }
  std::optional<Font> ChooseFont(const Font& initial) override {
    return inner_.ChooseFont(initial);
  }
  void SetCursor(Cursor cursor) override { inner_.SetCursor(cursor); }
  void ProcessPendingEvents() override { inner_.ProcessPendingEvents(); }
  void PostHostNotice(std::intptr_t hostWindow, std::uint32_t message) override {
    inner_.PostHostNotice(hostWindow, message);
  }

  int MessagesShown() const { return messages_; }

 private:
  Ui& inner_;
  int messages_ = 0;
};

}  // namespace korval::cli
