#include "dialog/Form.h"

#include <algorithm>
#include <stdexcept>

#include "platform/Text.h"

namespace korval {

Form::~Form() {
  // The form goes as a whole: nobody is left to be told, and controls go in
  // the reverse order of their creation.
  observers_.clear();
  for (auto& c : components_) c->notifyOnFree_.clear();
  while (!components_.empty()) components_.pop_back();
}

void Form::Destroy(Control& control) {
  const auto it = std::find_if(components_.begin(), components_.end(),
                               [&](const auto& c) { return c.get() == &control; });
  if (it == components_.end()) return;
  const std::vector<Control*> interested = control.notifyOnFree_;
  for (Control* other : interested) {
    if (Owns(other)) other->Notification(control);
  }
  for (auto& c : components_) {
    auto& list = c->notifyOnFree_;
    list.erase(std::remove(list.begin(), list.end(), &control), list.end());
  }
  const std::vector<Control*> children = control.children_;
  for (Control* child : children) child->SetParent(nullptr);
  control.SetParent(nullptr);
  for (auto* observer : observers_) observer->ControlDestroyed(control);
  // Found again: a Notification above may have destroyed other controls.
  const auto again = std::find_if(components_.begin(), components_.end(),
                                  [&](const auto& c) { return c.get() == &control; });
  std::unique_ptr<Control> owned = std::move(*again);
  components_.erase(again);
  indexed_ = false;
}

Control* Form::FindComponent(std::string_view name) const {
  if (!indexed_) {
    byName_.clear();
    for (const auto& c : components_) byName_.try_emplace(UpperCase(c->Name()), c.get());
    indexed_ = true;
  }
  const auto found = byName_.find(UpperCase(name));
  return found == byName_.end() ? nullptr : found->second;
}

bool Form::Owns(const Control* control) const {
  return std::any_of(components_.begin(), components_.end(),
                     [&](const auto& c) { return c.get() == control; });
}

void Form::AddObserver(ControlObserver* observer) {
  if (std::find(observers_.begin(), observers_.end(), observer) == observers_.end())
    observers_.push_back(observer);
}

void Form::RemoveObserver(ControlObserver* observer) {
  observers_.erase(std::remove(observers_.begin(), observers_.end(), observer), observers_.end());
}

void MissingControl(std::string_view name) {
  throw std::logic_error("the dialog has no control " + std::string(name));
}

}  // namespace korval
