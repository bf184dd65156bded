#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "dialog/Control.h"

namespace korval {

// Someone who wants to know what happens to a form's controls: a view that
// mirrors them, a test that watches them.
class ControlObserver {
 public:
  virtual ~ControlObserver() = default;
  virtual void ControlCreated(Control& /*control*/) {}
  virtual void ControlChanged(Control& /*control*/, std::string_view /*property*/) {}
  virtual void ControlDestroyed(Control& /*control*/) {}
};

// Owns its controls in creation order, the order in which the label is drawn
// and its components are enumerated.
class Form {
 public:
  Form() = default;
  virtual ~Form();
  Form(const Form&) = delete;
  Form& operator=(const Form&) = delete;

  template <typename T, typename... Args>
  T& Create(Args&&... args) {
    auto control = std::make_unique<T>(*this, std::forward<Args>(args)...);
    T& ref = *control;
    components_.push_back(std::move(control));
    indexed_ = false;
    for (auto* observer : Observers()) observer->ControlCreated(ref);
    return ref;
  }

  // Frees a control: those that asked are told first, then its children
  // lose their parent, then it leaves its parent and the component list.
  void Destroy(Control& control);

  // By name, without regard to case; nullptr when there is none.
  Control* FindComponent(std::string_view name) const;
  template <typename T>
  T* Find(std::string_view name) const {
    return dynamic_cast<T*>(FindComponent(name));
  }
  // Like Find, for controls that the form always has.
  template <typename T>
  T& Get(std::string_view name) const;

  int ComponentCount() const { return static_cast<int>(components_.size()); }
  Control& Component(int index) const { return *components_[static_cast<std::size_t>(index)]; }
  bool Owns(const Control* control) const;

  void AddObserver(ControlObserver* observer);
  void RemoveObserver(ControlObserver* observer);

 private:
  friend class Control;
  const std::vector<ControlObserver*>& Observers() const { return observers_; }

  // A control's name changed: the index of names is made again when next used.
  void NameChanged() { indexed_ = false; }

  std::vector<std::unique_ptr<Control>> components_;
  std::vector<ControlObserver*> observers_;
  // Names, upper case, to the first control of each in creation order: a
  // label is bound and drawn through some thirty lookups by name, each of
  // which would otherwise compare the names of two hundred controls.
  mutable std::unordered_map<std::string, Control*> byName_;
  mutable bool indexed_ = false;
};

// A control that the layout promises was not found: a programming error.
[[noreturn]] void MissingControl(std::string_view name);

template <typename T>
T& Form::Get(std::string_view name) const {
  T* control = Find<T>(name);
  if (control == nullptr) MissingControl(name);
  return *control;
}

}  // namespace korval
