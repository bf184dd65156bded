#pragma once

#include <functional>
#include <string>
#include <vector>

namespace korval {

class Control;

// A command that buttons show: its caption and enabled state are theirs.
class Action {
 public:
  Action(std::string name, std::string caption)
      : name_(std::move(name)), caption_(std::move(caption)) {}

  const std::string& Name() const { return name_; }
  const std::string& Caption() const { return caption_; }
  bool Enabled() const { return enabled_; }
  // The linked buttons follow.
  void SetEnabled(bool v);
  void Link(Control& button);
  // Runs OnExecute when enabled.
  void Execute();

  std::function<void()> OnExecute;

 private:
  std::string name_;
  std::string caption_;
  bool enabled_ = true;
  std::vector<Control*> buttons_;
};

}  // namespace korval
