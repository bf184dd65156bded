#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "dialog/Form.h"
#include "platform/Geometry.h"
#include "label/TLabel.h"

namespace korval {

class Ui;

// Runs a model operation on the user's behalf.
using ActionRunner = std::function<void(const std::function<void()>& action)>;

// The widget that stands for a control on screen, whatever the toolkit.
enum class WidgetKind {
  None,  // painted by its owner: label items, paint boxes, pictures, barcodes
  CheckBox,
  Edit,
  ReadOnlyEdit,
  EditableCombo,  // a name may be typed as well as picked
  DropDownList,
  List,
  PushButton,
  ReadOut,  // a text label of the dialog
  Panel,
  GroupBox,
  ScrollArea,  // its children go into a content area that scrolls
  Pages,       // a tab control
  Page,        // a page of the parent's tab control
};

WidgetKind WidgetKindOf(const Control& control);

// How a read-out shows its caption: line breaks as "\n" (the model breaks
// them with a bare carriage return), placed in the label's rectangle.
struct ReadOutLook {
  std::string Text;
  TAlignment Alignment = TAlignment::taLeftJustify;
  TTextLayout Layout = TTextLayout::tlTop;
  bool WordWrap = false;
};

ReadOutLook ReadOutLookOf(const Control& control);

// Docks the aligned ones of controls into client: tops, bottoms, lefts and
// rights in turn take a strip off the rest, then the client-aligned ones
// fill what remains. Done in model terms (SetBounds), so the model's own
// resize handlers run.
void DockControls(const Form& form, const std::vector<Control*>& controls, const Rect& client);

// What a view does that has nothing to do with its toolkit: one widget per
// control in creation order, under the container of its parent; the
// widget's state kept in step with the control's properties; aligned
// controls docked; the user's input turned into the operations a person
// performs on the control (a click, a typed key, a picked entry, a page
// shown), with any error that escapes one shown, the form staying open.
//
// A toolkit's view derives from it and does the widget work it is asked
// for. Widgets are the toolkit's own handles (a QWidget*, an HWND), kept
// here as opaque pointers. Controls whose parent has no container (the items
// on the design panel) get no widget: their owner paints them.
class ViewMirror : public ControlObserver {
 public:
  using Widget = void*;

  // Errors that escape an operation are shown through ui, as the platform's
  // default error box would.
  ViewMirror(Form& form, Ui& ui);
  ~ViewMirror() override;
  ViewMirror(const ViewMirror&) = delete;
  ViewMirror& operator=(const ViewMirror&) = delete;

  // A widget of the owner's own for a control (the design surface, the
  // preview box), or nullptr for the standard widget of its kind.
  std::function<Widget(Control& control, Widget parent)> MakeWidget;
  // Told after every change of any control, with or without a widget.
  std::function<void(Control& control, std::string_view property)> OnChanged;
  // Told before a control goes.
  std::function<void(Control& control)> OnDestroyed;
  // Runs after every operation done for the user.
  std::function<void()> AfterUserAction;

  // Widgets for the controls the form has now, in creation order; the
  // form's children are then docked into the root.
  void Build();
  Widget WidgetOf(const Control& control) const;
  // Docks the aligned children of parent (nullptr: the form) into client.
  void LayoutChildren(Control* parent, const Rect& client);
  // Docks the form's own children into the root's area.
  void LayoutForm();
  // Runs an operation for the user: an error is shown, then AfterUserAction.
  void UserAction(const std::function<void()>& action);
  void ShowError(const char* text) noexcept;
  ActionRunner Runner() {
    return [this](const std::function<void()>& action) { UserAction(action); };
  }
  // Whether the model's state is being copied into widgets: what their
  // toolkit reports meanwhile is not the user's doing.
  bool Syncing() const { return syncing_ > 0; }

  // What the person did to a control's widget.
  // A button or check box clicked; a check box shows the model's state
  // afterwards, which need not be what the click made of it.
  void Clicked(Control& control);
  // The text of an edit or an editable combo box edited.
  void TextEdited(Control& control, const std::string& text);
  // An entry of a combo box's list picked.
  void EntryPicked(Control& combo, int index);
  // The current row of a list moved, clicked, double-clicked.
  void RowChosen(Control& list, int row);
  void RowClicked(Control& list);
  void RowDoubleClicked(Control& list);
  // A page of a page control brought to the front.
  void PageChosen(Control& pages, int index);
  // The toolkit sized the pages of a page control.
  void PagesResized(Control& pages, int width, int height);
  void FocusEntered(Control& control);
  void FocusLeft(Control& control);
  void MouseMoved(Control& control, int x, int y);
  // A character typed into an edit (8 for a backspace) goes through the
  // edit's key handler: the result is the character the widget types
  // instead, the same one to type it as it is, 0 for none.
  char32_t KeyTyped(Control& edit, char32_t key);

  void ControlCreated(Control& control) override;
  void ControlChanged(Control& control, std::string_view property) override;
  void ControlDestroyed(Control& control) override;

 protected:
  // The toolkit's part. Widgets are only ever asked of controls that have
  // one, and never after they were destroyed.

  // A standard widget of kind under parent (a container); container receives
  // where the children of a container kind go (the widget itself, a scroll
  // area's content, the page). nullptr when the kind has no widget there.
  virtual Widget CreateWidget(Control& control, WidgetKind kind, Widget parent,
                              Widget& container) = 0;
  // A widget of MakeWidget becomes the control's: the toolkit wires what it
  // wires for every widget (mouse moves, its name).
  virtual void AdoptWidget(Control& control, Widget widget) = 0;
  // Also called for widgets of MakeWidget; the toolkit takes the widget down
  // once it is done with its events.
  virtual void DestroyWidget(Widget widget) = 0;
  // The widget still exists (it goes with its parent's, whichever control
  // goes first).
  virtual bool Alive(Widget widget) const = 0;
  virtual void SetGeometry(Widget widget, const Rect& bounds) = 0;
  virtual void SetVisible(Widget widget, bool visible) = 0;
  virtual void SetEnabled(Widget widget, bool enabled) = 0;
  virtual void SetTooltip(Widget widget, const std::string& text) = 0;
  // The caption of a button, check box or group box.
  virtual void SetCaption(Widget widget, WidgetKind kind, const std::string& text) = 0;
  virtual void SetReadOut(Widget widget, const ReadOutLook& look) = 0;
  // The text of an edit or of an editable combo box. Setting it keeps the
  // cursor where it was, as far as the new text allows.
  virtual std::string EditText(Widget widget, WidgetKind kind) const = 0;
  virtual void SetEditText(Widget widget, WidgetKind kind, const std::string& text) = 0;
  virtual void SetPageTitle(Widget pages, Widget page, const std::string& text) = 0;
  virtual void SetChecked(Widget widget, bool checked) = 0;
  virtual void SetItems(Widget widget, WidgetKind kind, const std::vector<std::string>& items) = 0;
  virtual void SelectItem(Widget widget, WidgetKind kind, int index) = 0;
  virtual void ShowPage(Widget pages, int index) = 0;
  virtual void Repaint(Widget widget) = 0;
  // Where the children of a group box or scroll area lie inside its frame,
  // for the size it has.
  virtual Rect ClientArea(Widget widget, WidgetKind kind, int width, int height) const = 0;
  // The scrolled content of a scroll area takes the size of its children.
  virtual void SetContentSize(Widget container, int width, int height) = 0;
  // The size of the inside of the form's own window.
  virtual Size RootSize() const = 0;

  Form& form() const { return form_; }

 private:
  struct Entry {
    Widget Handle = nullptr;
    WidgetKind Kind = WidgetKind::None;
    // The list last given to a combo box or list.
    std::vector<std::string> Items;
  };

  void Create(Control& control);
  const Entry* EntryOf(const Control& control) const;
  void Sync(Control& control, std::string_view property);
  void SyncAll(Control& control);
  void SyncGeometry(Control& control);
  void SyncText(Control& control);
  void SyncItems(Control& control);
  void SyncPage(Control& control);
  Rect ClientRect(const Control& control) const;
  void FitScrollContent(const Control& scrollBox);

  Form& form_;
  Ui& ui_;
  std::unordered_map<const Control*, Entry> widgets_;
  // Where the children of a control go; nullptr stands for the form.
  std::unordered_map<const Control*, Widget> containers_;
  int syncing_ = 0;
};

}  // namespace korval
