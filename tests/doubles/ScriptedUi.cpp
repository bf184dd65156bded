#include "doubles/ScriptedUi.h"

namespace korval::test {

MessageAnswer ScriptedUi::ShowMessage(const MessageBoxRequest& request) {
  messages_.push_back(request);
  if (!answers_.empty()) {
    const MessageAnswer answer = answers_.front();
    answers_.pop_front();
    return answer;
  }
  return request.Buttons == MessageButtons::YesNo ? MessageAnswer::No : MessageAnswer::Ok;
}

std::optional<std::string> ScriptedUi::OpenPictureDialog(const std::string& title,
                                                         const std::string& filter) {
  pictureDialogs_.emplace_back(title, filter);
  if (pictureAnswers_.empty()) return std::nullopt;
  auto answer = pictureAnswers_.front();
  pictureAnswers_.pop_front();
  return answer;
}

std::optional<Font> ScriptedUi::ChooseFont(const Font& initial) {
  fontDialogs_.push_back(initial);
  if (fontAnswers_.empty()) return std::nullopt;
  auto answer = fontAnswers_.front();
  fontAnswers_.pop_front();
  return answer;
}

bool ScriptedUi::ShowSaveDialog(TfrmSaves& dialog) {
  ++saveDialogsShown_;
  if (saveDialogScripts_.empty()) return false;
  auto script = std::move(saveDialogScripts_.front());
  saveDialogScripts_.pop_front();
  return script(dialog);
}

std::vector<std::string> ScriptedUi::MessageTexts() const {
  std::vector<std::string> texts;
  for (const auto& m : messages_) texts.push_back(m.Text);
  return texts;
}

}  // namespace korval::test
