#include "dialog/Control.h"

#include <algorithm>

#include "dialog/Form.h"

namespace korval {

Control::Control(Form& owner, ControlKind kind, std::string name)
    : owner_(owner), kind_(kind), name_(std::move(name)) {}

Control::~Control() = default;

void Control::SetName(std::string name) {
  if (name == name_) return;
  name_ = std::move(name);
  owner_.NameChanged();
  Changed("Name");
}

bool Control::IsGraphic() const {
  switch (kind_) {
    case ControlKind::Label:
    case ControlKind::PaintBox:
    case ControlKind::Image:
    case ControlKind::BarCode:
      return true;
    default:
      return false;
  }
}

void Control::SetParent(Control* parent) {
  if (parent == parent_) return;
  if (parent_ != nullptr) parent_->RemoveChild(this);
  parent_ = parent;
  if (parent_ != nullptr) parent_->children_.push_back(this);
  Changed("Parent");
}

void Control::RemoveChild(Control* child) {
  children_.erase(std::remove(children_.begin(), children_.end(), child), children_.end());
}

void Control::SetBounds(int left, int top, int width, int height) {
  const Rect next{left, top, left + width, top + height};
  if (next == bounds_) return;
  const bool resized = next.Width() != bounds_.Width() || next.Height() != bounds_.Height();
  bounds_ = next;
  Changed("Bounds");
  if (resized && OnResize) OnResize(*this);
}

void Control::SetVisible(bool v) {
  if (v == visible_) return;
  visible_ = v;
  Changed("Visible");
}

void Control::SetEnabled(bool v) {
  if (v == enabled_) return;
  enabled_ = v;
  Changed("Enabled");
}

void Control::SetTag(int v) {
  if (v == tag_) return;
  tag_ = v;
  Changed("Tag");
}

void Control::SetHint(std::string v) {
  if (v == hint_) return;
  hint_ = std::move(v);
  Changed("Hint");
}

void Control::SetCaption(std::string v) {
  if (v == caption_) return;
  caption_ = std::move(v);
  Changed("Caption");
}

void Control::SetBackColor(Color v) {
  if (v == color_) return;
  color_ = v;
  Changed("Color");
}

void Control::SetHelpContext(int v) {
  if (v == helpContext_) return;
  helpContext_ = v;
  Changed("HelpContext");
}

void Control::Click() {
  if (OnClick) OnClick(*this);
}

void Control::MouseDown(MouseButton button, int x, int y) {
  if (OnMouseDown) OnMouseDown(*this, button, x, y);
}

void Control::MouseMove(int x, int y) {
  if (OnMouseMove) OnMouseMove(*this, x, y);
}

void Control::MouseUp(MouseButton button, int x, int y) {
  if (OnMouseUp) OnMouseUp(*this, button, x, y);
}

void Control::FreeNotification(Control& other) {
  auto& list = other.notifyOnFree_;
  if (std::find(list.begin(), list.end(), this) == list.end()) list.push_back(this);
}

void Control::Notification(Control& /*removed*/) {}

void Control::Changed(std::string_view property) {
  for (auto* observer : owner_.Observers()) observer->ControlChanged(*this, property);
}

}  // namespace korval
