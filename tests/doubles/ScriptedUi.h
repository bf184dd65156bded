#pragma once

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/Ui.h"

namespace korval::test {

// Stands in for the person: answers come from queues filled by the test, and
// everything shown is logged. A message box with no queued answer gets the
// harmless one: Ok, or No for a question.
class ScriptedUi final : public Ui {
 public:
  MessageAnswer ShowMessage(const MessageBoxRequest& request) override;
  std::optional<std::string> OpenPictureDialog(const std::string& title,
                                               const std::string& filter) override;
  std::optional<Font> ChooseFont(const Font& initial) override;
  bool ShowSaveDialog(TfrmSaves& dialog) override;
  void SetCursor(Cursor cursor) override { cursors_.push_back(cursor); }
  void ProcessPendingEvents() override { ++pendingEventRuns_; }
  void PostHostNotice(std::intptr_t hostWindow, std::uint32_t message) override {
    notices_.push_back({hostWindow, message});
  }

  // Texts of the boxes shown, in order.
  std::vector<std::string> MessageTexts() const;

  std::deque<MessageAnswer> answers_;
  std::deque<std::optional<std::string>> pictureAnswers_;
  std::deque<std::optional<Font>> fontAnswers_;
  // What the person does in the save dialog: acts on it and says whether it
  // was closed with the save button. Without a script it is closed unsaved.
  std::deque<std::function<bool(TfrmSaves&)>> saveDialogScripts_;
  int saveDialogsShown_ = 0;

  std::vector<MessageBoxRequest> messages_;
  std::vector<std::pair<std::string, std::string>> pictureDialogs_;
  std::vector<Font> fontDialogs_;
  std::vector<Cursor> cursors_;
  int pendingEventRuns_ = 0;
  struct Notice {
    std::intptr_t Window;
    std::uint32_t Message;
  };
  std::vector<Notice> notices_;
};

}  // namespace korval::test
