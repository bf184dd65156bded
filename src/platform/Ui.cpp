#include "platform/Ui.h"

#include <ostream>

#include "platform/Text.h"

namespace korval {

MessageAnswer AnswerUnattended(const MessageBoxRequest& request, std::ostream& log) {
  const bool question = request.Buttons == MessageButtons::YesNo;
  log << "korval: " << (request.Caption.empty() ? std::string() : request.Caption + ": ")
      << ReplaceAll(request.Text, "\r\n", " ");
  if (question) log << (request.Unattended == MessageAnswer::Yes ? " [answered Yes]" : " [answered No]");
  log << "\n";
  return question ? request.Unattended : MessageAnswer::Ok;
}

}  // namespace korval
