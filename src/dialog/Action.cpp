#include "dialog/Action.h"

#include "dialog/Control.h"

namespace korval {

void Action::SetEnabled(bool v) {
  enabled_ = v;
  for (Control* button : buttons_) button->SetEnabled(v);
}

void Action::Link(Control& button) {
  buttons_.push_back(&button);
  button.SetCaption(caption_);
  button.SetEnabled(enabled_);
  button.OnClick = [this](Control&) { Execute(); };
}

void Action::Execute() {
  if (enabled_ && OnExecute) OnExecute();
}

}  // namespace korval
