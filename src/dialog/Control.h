#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Color.h"
#include "platform/Geometry.h"

namespace korval {

class Form;
class Control;

enum class MouseButton { Left, Right, Middle };

using NotifyEvent = std::function<void(Control& sender)>;
using MouseEvent = std::function<void(Control& sender, MouseButton button, int x, int y)>;
using MouseMoveEvent = std::function<void(Control& sender, int x, int y)>;
// A key press that the handler may swallow by setting key to 0.
using KeyPressEvent = std::function<void(Control& sender, char32_t& key)>;

// The kinds of control the dialogs are made of. The format store chooses the
// keys it writes by kind, and views choose their widgets by it.
enum class ControlKind {
  Label,  // text label, read-outs and label items alike
  CheckBox,
  Edit,
  ComboBox,
  ListBox,
  Button,
  Panel,
  GroupBox,
  ScrollBox,
  PageControl,
  TabSheet,
  PaintBox,
  Image,  // the picture item
  BarCode,
};

// How a control fills its parent; views lay it out by this.
enum class ControlAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };

// A named control owned by a form. Setting a property to a new value tells
// the form's observers (views, tests); events are plain handlers that callers
// attach and detach, because the dialog's behaviour depends on when they are
// attached.
class Control {
 public:
  Control(Form& owner, ControlKind kind, std::string name);
  virtual ~Control();
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;

  ControlKind Kind() const { return kind_; }
  Form& Owner() const { return owner_; }
  const std::string& Name() const { return name_; }
  void SetName(std::string name);

  // Graphic controls have no window of their own: label items, the paint
  // boxes, the picture and the barcodes.
  virtual bool IsGraphic() const;

  Control* Parent() const { return parent_; }
  // Appends to the new parent's children.
  void SetParent(Control* parent);
  const std::vector<Control*>& Children() const { return children_; }

  int Left() const { return bounds_.Left; }
  int Top() const { return bounds_.Top; }
  int Width() const { return bounds_.Width(); }
  int Height() const { return bounds_.Height(); }
  Rect BoundsRect() const { return bounds_; }
  void SetLeft(int v) { SetBounds(v, Top(), Width(), Height()); }
  void SetTop(int v) { SetBounds(Left(), v, Width(), Height()); }
  void SetWidth(int v) { SetBounds(Left(), Top(), v, Height()); }
  void SetHeight(int v) { SetBounds(Left(), Top(), Width(), v); }
  void SetBounds(int left, int top, int width, int height);

  bool Visible() const { return visible_; }
  void SetVisible(bool v);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool v);
  int Tag() const { return tag_; }
  void SetTag(int v);
  const std::string& Hint() const { return hint_; }
  void SetHint(std::string v);
  // The caption of labels, buttons, check boxes and group boxes; the text of
  // edits and combo boxes.
  const std::string& Caption() const { return caption_; }
  virtual void SetCaption(std::string v);
  Color BackColor() const { return color_; }
  void SetBackColor(Color v);
  int HelpContext() const { return helpContext_; }
  void SetHelpContext(int v);
  ControlAlign Align() const { return align_; }
  void SetAlign(ControlAlign v) { align_ = v; }

  NotifyEvent OnClick;
  NotifyEvent OnResize;
  MouseEvent OnMouseDown;
  MouseMoveEvent OnMouseMove;
  MouseEvent OnMouseUp;

  // Asks views to paint the control again.
  void Invalidate() { Changed("Paint"); }

  // What a user's click does: the click handler, when one is attached.
  virtual void Click();
  void MouseDown(MouseButton button, int x, int y);
  void MouseMove(int x, int y);
  void MouseUp(MouseButton button, int x, int y);

  // Asks to be told (Notification) when other is destroyed.
  void FreeNotification(Control& other);
  // Told that a control this one asked about is being destroyed.
  virtual void Notification(Control& removed);

 protected:
  // Tells the form's observers that a property changed.
  void Changed(std::string_view property);

 private:
  friend class Form;
  void RemoveChild(Control* child);

  Form& owner_;
  ControlKind kind_;
  std::string name_;
  Control* parent_ = nullptr;
  std::vector<Control*> children_;
  std::vector<Control*> notifyOnFree_;
  Rect bounds_{};
  bool visible_ = true;
  bool enabled_ = true;
  int tag_ = 0;
  std::string hint_;
  std::string caption_;
  Color color_ = kButtonFaceColor;
  int helpContext_ = 0;
  ControlAlign align_ = ControlAlign::alNone;
};

}  // namespace korval
