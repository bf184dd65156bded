#include "dialog/ViewMirror.h"

#include <algorithm>
#include <exception>

#include "dialog/StdControls.h"
#include "platform/Text.h"
#include "platform/Ui.h"

namespace korval {

WidgetKind WidgetKindOf(const Control& control) {
  switch (control.Kind()) {
    case ControlKind::CheckBox:
      return WidgetKind::CheckBox;
    case ControlKind::Edit:
      return static_cast<const Edit&>(control).ReadOnly() ? WidgetKind::ReadOnlyEdit
                                                           : WidgetKind::Edit;
    case ControlKind::ComboBox:
      return static_cast<const ComboBox&>(control).Editable() ? WidgetKind::EditableCombo
                                                              : WidgetKind::DropDownList;
    case ControlKind::ListBox:
      return WidgetKind::List;
    case ControlKind::Button:
      return WidgetKind::PushButton;
    case ControlKind::Label:
      return WidgetKind::ReadOut;
    case ControlKind::Panel:
      return WidgetKind::Panel;
    case ControlKind::GroupBox:
      return WidgetKind::GroupBox;
    case ControlKind::ScrollBox:
      return WidgetKind::ScrollArea;
    case ControlKind::PageControl:
      return WidgetKind::Pages;
    case ControlKind::TabSheet:
      return WidgetKind::Page;
    case ControlKind::PaintBox:
    case ControlKind::Image:
    case ControlKind::BarCode:
      break;
  }
  return WidgetKind::None;
}

ReadOutLook ReadOutLookOf(const Control& control) {
  ReadOutLook look;
  look.Text = ReplaceAll(ReplaceAll(control.Caption(), "\r\n", "\n"), "\r", "\n");
  if (const auto* label = dynamic_cast<const TLabel*>(&control)) {
    look.Alignment = label->Alignment();
    look.Layout = label->Layout();
    look.WordWrap = label->WordWrap();
  }
  return look;
}

void DockControls(const Form& form, const std::vector<Control*>& controls, const Rect& client) {
  Rect rest = client;
  for (const ControlAlign align :
       {ControlAlign::alTop, ControlAlign::alBottom, ControlAlign::alLeft, ControlAlign::alRight,
        ControlAlign::alClient}) {
    for (Control* control : controls) {
      // A resize handler run by an earlier control may have freed this one.
      if (!form.Owns(control) || control->Align() != align || !control->Visible()) continue;
      const int w = control->Width();
      const int h = control->Height();
      switch (align) {
        case ControlAlign::alTop:
          control->SetBounds(rest.Left, rest.Top, rest.Width(), h);
          rest.Top += h;
          break;
        case ControlAlign::alBottom:
          control->SetBounds(rest.Left, rest.Bottom - h, rest.Width(), h);
          rest.Bottom -= h;
          break;
        case ControlAlign::alLeft:
          control->SetBounds(rest.Left, rest.Top, w, rest.Height());
          rest.Left += w;
          break;
        case ControlAlign::alRight:
          control->SetBounds(rest.Right - w, rest.Top, w, rest.Height());
          rest.Right -= w;
          break;
        case ControlAlign::alClient:
          control->SetBounds(rest.Left, rest.Top, std::max(0, rest.Width()),
                             std::max(0, rest.Height()));
          break;
        case ControlAlign::alNone:
          break;
      }
    }
  }
}

ViewMirror::ViewMirror(Form& form, Ui& ui) : form_(form), ui_(ui) {
  // The form's own children go into the root, which no handle stands for.
  containers_[nullptr] = nullptr;
  form_.AddObserver(this);
}

ViewMirror::~ViewMirror() {
  form_.RemoveObserver(this);
}

void ViewMirror::Build() {
  for (int i = 0; i < form_.ComponentCount(); ++i) Create(form_.Component(i));
  LayoutForm();
}

const ViewMirror::Entry* ViewMirror::EntryOf(const Control& control) const {
  const auto it = widgets_.find(&control);
  if (it == widgets_.end() || !Alive(it->second.Handle)) return nullptr;
  return &it->second;
}

ViewMirror::Widget ViewMirror::WidgetOf(const Control& control) const {
  const Entry* entry = EntryOf(control);
  return entry == nullptr ? nullptr : entry->Handle;
}

void ViewMirror::Create(Control& control) {
  if (WidgetOf(control) != nullptr) return;
  const auto container = containers_.find(control.Parent());
  if (container == containers_.end()) return;
  const Widget parent = container->second;
  if (parent != nullptr && !Alive(parent)) return;
  Widget widget = MakeWidget ? MakeWidget(control, parent) : nullptr;
  WidgetKind kind = WidgetKind::None;
  if (widget == nullptr) {
    kind = WidgetKindOf(control);
    // A page belongs to the tab control it lies in, and nowhere else.
    const bool placeable =
        kind != WidgetKind::None &&
        (kind != WidgetKind::Page ||
         (control.Parent() != nullptr && EntryOf(*control.Parent()) != nullptr &&
          EntryOf(*control.Parent())->Kind == WidgetKind::Pages));
    if (!placeable) return;
    Widget children = nullptr;
    widget = CreateWidget(control, kind, parent, children);
    if (widget == nullptr) return;
    if (children != nullptr) containers_[&control] = children;
  } else {
    AdoptWidget(control, widget);
  }
  widgets_[&control] = Entry{widget, kind, {}};
  SyncAll(control);
  // Children docked before this widget was there were docked into the
  // whole of it; a group box or scroll box keeps them inside its frame.
  if (kind == WidgetKind::GroupBox || kind == WidgetKind::ScrollArea)
    LayoutChildren(&control, ClientRect(control));
  if (control.Parent() != nullptr && control.Parent()->Kind() == ControlKind::ScrollBox)
    FitScrollContent(*control.Parent());
}

void ViewMirror::ShowError(const char* text) noexcept {
  try {
    ui_.ShowMessage({"", text, MessageIcon::Error, MessageButtons::Ok, MessageModality::TaskModal});
  } catch (...) {
  }
}

void ViewMirror::UserAction(const std::function<void()>& action) {
  try {
    action();
  } catch (const std::exception& e) {
    // As the platform's default error box: the text alone, and the dialog
    // stays open.
    ShowError(e.what());
  } catch (...) {
    // Whatever it is, it must not reach the toolkit's event loop.
    ShowError("unknown error");
  }
  if (AfterUserAction) AfterUserAction();
}

void ViewMirror::Clicked(Control& control) {
  UserAction([&control] { control.Click(); });
  if (!form_.Owns(&control) || control.Kind() != ControlKind::CheckBox) return;
  if (const Widget widget = WidgetOf(control)) {
    ++syncing_;
    SetChecked(widget, static_cast<CheckBox&>(control).Checked());
    --syncing_;
  }
}

void ViewMirror::TextEdited(Control& control, const std::string& text) {
  if (Syncing()) return;
  if (control.Kind() == ControlKind::ComboBox) {
    UserAction([&control, &text] { static_cast<ComboBox&>(control).UserSetText(text); });
  } else if (control.Kind() == ControlKind::Edit) {
    UserAction([&control, &text] { static_cast<Edit&>(control).SetText(text); });
  }
}

void ViewMirror::EntryPicked(Control& combo, int index) {
  if (Syncing()) return;
  UserAction([&combo, index] { static_cast<ComboBox&>(combo).UserSelect(index); });
}

void ViewMirror::RowChosen(Control& list, int row) {
  if (Syncing()) return;
  UserAction([&list, row] {
    auto& model = static_cast<ListBox&>(list);
    model.SetItemIndex(row);
    model.Click();
  });
}

void ViewMirror::RowClicked(Control& list) {
  UserAction([&list] { list.Click(); });
}

void ViewMirror::RowDoubleClicked(Control& list) {
  UserAction([&list] { static_cast<ListBox&>(list).DblClick(); });
}

void ViewMirror::PageChosen(Control& pages, int index) {
  if (Syncing()) return;
  UserAction([&pages, index] { static_cast<PageControl&>(pages).ShowPage(index); });
}

void ViewMirror::PagesResized(Control& pages, int width, int height) {
  UserAction([this, &pages, width, height] {
    const std::vector<Control*> sheets = pages.Children();
    for (Control* sheet : sheets) {
      if (form_.Owns(sheet)) sheet->SetBounds(0, 0, width, height);
    }
  });
}

void ViewMirror::FocusEntered(Control& control) {
  if (control.Kind() == ControlKind::ListBox)
    UserAction([&control] { static_cast<ListBox&>(control).Enter(); });
}

void ViewMirror::FocusLeft(Control& control) {
  if (control.Kind() == ControlKind::Edit)
    UserAction([&control] { static_cast<Edit&>(control).Exit(); });
}

void ViewMirror::MouseMoved(Control& control, int x, int y) {
  if (control.OnMouseMove) UserAction([&control, x, y] { control.MouseMove(x, y); });
}

char32_t ViewMirror::KeyTyped(Control& control, char32_t key) {
  if (control.Kind() != ControlKind::Edit) return key;
  auto& edit = static_cast<Edit&>(control);
  if (!edit.OnKeyPress || edit.ReadOnly()) return key;
  char32_t filtered = key;
  UserAction([&edit, &filtered] { edit.OnKeyPress(edit, filtered); });
  // The handler may have closed the form or freed the edit: nothing is typed
  // into a widget that is going.
  if (filtered != key && !form_.Owns(&control)) return 0;
  return filtered;
}

void ViewMirror::ControlCreated(Control& control) {
  // A control made while the dialog runs gets its parent only afterwards;
  // its widget is made when it does.
  if (control.Parent() != nullptr) Create(control);
}

void ViewMirror::ControlChanged(Control& control, std::string_view property) {
  ++syncing_;
  Sync(control, property);
  --syncing_;
  if (OnChanged) OnChanged(control, property);
}

void ViewMirror::ControlDestroyed(Control& control) {
  if (OnDestroyed) OnDestroyed(control);
  containers_.erase(&control);
  const auto it = widgets_.find(&control);
  if (it == widgets_.end()) return;
  const Widget widget = it->second.Handle;
  widgets_.erase(it);
  if (Alive(widget)) DestroyWidget(widget);
}

void ViewMirror::Sync(Control& control, std::string_view property) {
  const Entry* entry = EntryOf(control);
  if (property == "Bounds") {
    if (entry != nullptr) SyncGeometry(control);
    LayoutChildren(&control, ClientRect(control));
    if (control.Parent() != nullptr && control.Parent()->Kind() == ControlKind::ScrollBox)
      FitScrollContent(*control.Parent());
    return;
  }
  if (property == "Visible") {
    if (entry != nullptr && entry->Kind != WidgetKind::Page)
      SetVisible(entry->Handle, control.Visible());
    Control* parent = control.Parent();
    if (control.Align() != ControlAlign::alNone) {
      if (parent == nullptr) {
        LayoutForm();
      } else {
        LayoutChildren(parent, ClientRect(*parent));
      }
    }
    if (parent != nullptr && parent->Kind() == ControlKind::ScrollBox) FitScrollContent(*parent);
    return;
  }
  if (property == "Parent") {
    if (entry == nullptr) Create(control);
    return;
  }
  if (entry == nullptr) return;
  if (property == "Enabled") {
    SetEnabled(entry->Handle, control.Enabled());
  } else if (property == "Hint") {
    SetTooltip(entry->Handle, control.Hint());
  } else if (property == "Caption" || property == "Alignment" || property == "Layout" ||
             property == "WordWrap") {
    SyncText(control);
  } else if (property == "Checked") {
    if (entry->Kind == WidgetKind::CheckBox)
      SetChecked(entry->Handle, static_cast<CheckBox&>(control).Checked());
  } else if (property == "Items" || property == "ItemIndex") {
    SyncItems(control);
  } else if (property == "ActivePage") {
    SyncPage(control);
  } else if (property == "Paint") {
    Repaint(entry->Handle);
  }
}

void ViewMirror::SyncAll(Control& control) {
  ++syncing_;
  const Entry& entry = *EntryOf(control);
  SyncGeometry(control);
  if (entry.Kind != WidgetKind::Page) SetVisible(entry.Handle, control.Visible());
  SetEnabled(entry.Handle, control.Enabled());
  SetTooltip(entry.Handle, control.Hint());
  SyncText(control);
  if (entry.Kind == WidgetKind::CheckBox)
    SetChecked(entry.Handle, static_cast<CheckBox&>(control).Checked());
  SyncItems(control);
  SyncPage(control);
  --syncing_;
}

void ViewMirror::SyncGeometry(Control& control) {
  const Entry* entry = EntryOf(control);
  // A page takes the place its tab control gives it.
  if (entry == nullptr || entry->Kind == WidgetKind::Page) return;
  const Rect b = control.BoundsRect();
  SetGeometry(entry->Handle,
              Rect{b.Left, b.Top, b.Left + std::max(0, b.Width()), b.Top + std::max(0, b.Height())});
}

void ViewMirror::SyncText(Control& control) {
  const Entry* entry = EntryOf(control);
  if (entry == nullptr) return;
  switch (entry->Kind) {
    case WidgetKind::ReadOut:
      SetReadOut(entry->Handle, ReadOutLookOf(control));
      break;
    case WidgetKind::CheckBox:
    case WidgetKind::PushButton:
    case WidgetKind::GroupBox:
      SetCaption(entry->Handle, entry->Kind, control.Caption());
      break;
    case WidgetKind::Edit:
    case WidgetKind::ReadOnlyEdit:
    case WidgetKind::EditableCombo:
      // What the person typed stays as it is while the model agrees with
      // it; only a text the model rewrote is put back.
      if (EditText(entry->Handle, entry->Kind) != control.Caption())
        SetEditText(entry->Handle, entry->Kind, control.Caption());
      break;
    case WidgetKind::Page:
      if (control.Parent() != nullptr) {
        if (const Widget pages = WidgetOf(*control.Parent()))
          SetPageTitle(pages, entry->Handle, control.Caption());
      }
      break;
    default:
      break;
  }
}

void ViewMirror::SyncItems(Control& control) {
  const auto it = widgets_.find(&control);
  if (it == widgets_.end() || !Alive(it->second.Handle)) return;
  Entry& entry = it->second;
  if (entry.Kind == WidgetKind::EditableCombo || entry.Kind == WidgetKind::DropDownList) {
    const auto& model = static_cast<ComboBox&>(control);
    if (entry.Items != model.Items()) {
      entry.Items = model.Items();
      SetItems(entry.Handle, entry.Kind, entry.Items);
    }
    SelectItem(entry.Handle, entry.Kind, model.ItemIndex());
    // Picking an entry shows its text; a typed one stays as typed.
    if (entry.Kind == WidgetKind::EditableCombo && EditText(entry.Handle, entry.Kind) != model.Text())
      SetEditText(entry.Handle, entry.Kind, model.Text());
  } else if (entry.Kind == WidgetKind::List) {
    const auto& model = static_cast<ListBox&>(control);
    if (entry.Items != model.Items()) {
      entry.Items = model.Items();
      SetItems(entry.Handle, entry.Kind, entry.Items);
    }
    SelectItem(entry.Handle, entry.Kind, model.ItemIndex());
  }
}

void ViewMirror::SyncPage(Control& control) {
  const Entry* entry = EntryOf(control);
  if (entry != nullptr && entry->Kind == WidgetKind::Pages)
    ShowPage(entry->Handle, static_cast<PageControl&>(control).ActivePage());
}

Rect ViewMirror::ClientRect(const Control& control) const {
  const Entry* entry = EntryOf(control);
  if (entry != nullptr &&
      (entry->Kind == WidgetKind::GroupBox || entry->Kind == WidgetKind::ScrollArea))
    return ClientArea(entry->Handle, entry->Kind, control.Width(), control.Height());
  return Rect{0, 0, control.Width(), control.Height()};
}

void ViewMirror::LayoutForm() {
  const Size size = RootSize();
  LayoutChildren(nullptr, Rect{0, 0, size.Cx, size.Cy});
}

void ViewMirror::LayoutChildren(Control* parent, const Rect& client) {
  std::vector<Control*> children;
  if (parent != nullptr) {
    children = parent->Children();
  } else {
    for (int i = 0; i < form_.ComponentCount(); ++i) {
      if (form_.Component(i).Parent() == nullptr) children.push_back(&form_.Component(i));
    }
  }
  DockControls(form_, children, client);
}

void ViewMirror::FitScrollContent(const Control& scrollBox) {
  const auto container = containers_.find(&scrollBox);
  if (container == containers_.end() || !Alive(container->second)) return;
  int width = 0;
  int height = 0;
  for (const Control* child : scrollBox.Children()) {
    if (!child->Visible() || WidgetOf(*child) == nullptr) continue;
    width = std::max(width, child->Left() + child->Width());
    height = std::max(height, child->Top() + child->Height());
  }
  SetContentSize(container->second, width, height);
}

}  // namespace korval
