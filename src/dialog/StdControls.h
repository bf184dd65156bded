#pragma once

#include <string>
#include <vector>

#include "dialog/Control.h"

namespace korval {

// The plain controls of the dialogs. Like the platform's own, setting a check
// box's Checked or an edit's Text to a new value runs its handler (OnClick,
// OnChange), so whoever restores state detaches the handler first.

class CheckBox : public Control {
 public:
  CheckBox(Form& owner, std::string name)
      : Control(owner, ControlKind::CheckBox, std::move(name)) {}
  bool Checked() const { return checked_; }
  void SetChecked(bool v);
  // A user's click toggles the box (which runs OnClick).
  void Click() override;

 private:
  bool checked_ = false;
};

class Edit : public Control {
 public:
  Edit(Form& owner, std::string name) : Control(owner, ControlKind::Edit, std::move(name)) {
    SetBackColor(kWindowColor);
  }
  const std::string& Text() const { return Caption(); }
  void SetText(std::string v) { SetCaption(std::move(v)); }
  void SetCaption(std::string v) override;
  bool ReadOnly() const { return readOnly_; }
  void SetReadOnly(bool v) { readOnly_ = v; }

  NotifyEvent OnChange;
  NotifyEvent OnExit;
  KeyPressEvent OnKeyPress;

  // A key typed by the user: filtered by OnKeyPress, then applied (printable
  // characters appended, backspace removes the last character).
  void TypeKey(char32_t key);
  void Exit();

 private:
  bool readOnly_ = false;
};

class ComboBox : public Control {
 public:
  ComboBox(Form& owner, std::string name, bool editable)
      : Control(owner, ControlKind::ComboBox, std::move(name)), editable_(editable) {
    SetBackColor(kWindowColor);
  }
  bool Editable() const { return editable_; }
  const std::vector<std::string>& Items() const { return items_; }
  void SetItems(std::vector<std::string> items);
  int ItemIndex() const { return itemIndex_; }
  // Programmatic selection runs no handler.
  void SetItemIndex(int index);
  const std::string& Text() const { return Caption(); }
  void SetText(std::string v) { SetCaption(std::move(v)); }
  // Position of text in the list, without regard to case; -1 when absent.
  int IndexOf(const std::string& text) const;

  NotifyEvent OnChange;
  // What the user does: types a text or picks an entry; both run OnChange.
  void UserSetText(std::string text);
  void UserSelect(int index);

 private:
  bool editable_;
  std::vector<std::string> items_;
  int itemIndex_ = -1;
};

class ListBox : public Control {
 public:
  ListBox(Form& owner, std::string name) : Control(owner, ControlKind::ListBox, std::move(name)) {
    SetBackColor(kWindowColor);
  }
  const std::vector<std::string>& Items() const { return items_; }
  void SetItems(std::vector<std::string> items);
  void AddItem(std::string item);
  void DeleteItem(int index);
  int ItemIndex() const { return itemIndex_; }
  void SetItemIndex(int index);

  NotifyEvent OnDblClick;
  NotifyEvent OnEnter;
  void DblClick();
  void Enter();

 private:
  std::vector<std::string> items_;
  int itemIndex_ = -1;
};

enum class ModalResult { None, Ok, Cancel };

class Button : public Control {
 public:
  Button(Form& owner, std::string name) : Control(owner, ControlKind::Button, std::move(name)) {}
  ModalResult Result() const { return result_; }
  void SetResult(ModalResult r) { result_ = r; }

 private:
  ModalResult result_ = ModalResult::None;
};

// Containers and surfaces that carry nothing but the common properties.
class Panel : public Control {
 public:
  Panel(Form& owner, std::string name, ControlKind kind = ControlKind::Panel)
      : Control(owner, kind, std::move(name)) {}
};

class PageControl : public Control {
 public:
  PageControl(Form& owner, std::string name)
      : Control(owner, ControlKind::PageControl, std::move(name)) {}
  int ActivePage() const { return activePage_; }
  void SetActivePage(int index);
  // The page's OnEnter runs when it is shown by the user.
  void ShowPage(int index);

 private:
  int activePage_ = 0;
};

class TabSheet : public Control {
 public:
  TabSheet(Form& owner, std::string name)
      : Control(owner, ControlKind::TabSheet, std::move(name)) {}
  NotifyEvent OnEnter;
};

}  // namespace korval
