#pragma once

#include <cstdint>
#include <iosfwd>
#include <optional>
#include <string>

#include "platform/Font.h"

namespace korval {

class TfrmSaves;

enum class MessageIcon { None, Error, Warning, Question, Information };
enum class MessageButtons { Ok, YesNo };
enum class MessageAnswer { Ok, Yes, No, Cancel };
// Task-modal boxes belong to the dialog's thread; topmost ones stand above
// every window and have no owner.
enum class MessageModality { Application, TaskModal, Topmost };

enum class Cursor { Default, NotAllowed, HourGlass, AppStart, SizeNWSE, SizeNESW, SizeWE, SizeNS };

struct MessageBoxRequest {
  std::string Caption;  // empty: the platform's own
  std::string Text;
  MessageIcon Icon = MessageIcon::None;
  MessageButtons Buttons = MessageButtons::Ok;
  MessageModality Modality = MessageModality::Application;
  // The answer to a question when nobody is there to give one (a print from
  // the command line): the cautious No, unless going on is what a person
  // would want in nearly every case.
  MessageAnswer Unattended = MessageAnswer::No;
};

// The person in front of the program: message boxes with their answer, the
// file and font dialogs, the cursor, letting pending events run, and the
// notice to the host window.
class Ui {
 public:
  virtual ~Ui() = default;

  virtual MessageAnswer ShowMessage(const MessageBoxRequest& request) = 0;
  // A file name, or nothing when the dialog was cancelled.
  virtual std::optional<std::string> OpenPictureDialog(const std::string& title,
                                                       const std::string& filter) = 0;
  // Runs the save-format dialog modally; true when it was closed with its
  // save button.
  virtual bool ShowSaveDialog(TfrmSaves& dialog) = 0;
  // The chosen font (heights in design pixels), or nothing when cancelled.
  virtual std::optional<Font> ChooseFont(const Font& initial) = 0;
  virtual void SetCursor(Cursor cursor) = 0;
  virtual void ProcessPendingEvents() = 0;
  // Posts a message with both parameters 0 to the host window; no waiting.
  virtual void PostHostNotice(std::intptr_t hostWindow, std::uint32_t message) = 0;
};

// A message that nobody can see, written as one line to log ("korval:
// caption: text", with the answer given to a question), and its answer: Ok,
// or a question's Unattended answer.
MessageAnswer AnswerUnattended(const MessageBoxRequest& request, std::ostream& log);

}  // namespace korval
