#include "dialog/StdControls.h"

#include "platform/CodePage.h"
#include "platform/Text.h"

namespace korval {

void CheckBox::SetChecked(bool v) {
  if (v == checked_) return;
  checked_ = v;
  Changed("Checked");
  Control::Click();
}

void CheckBox::Click() {
  SetChecked(!checked_);
}

void Edit::SetCaption(std::string v) {
  if (v == Caption()) return;
  Control::SetCaption(std::move(v));
  if (OnChange) OnChange(*this);
}

void Edit::TypeKey(char32_t key) {
  if (OnKeyPress) OnKeyPress(*this, key);
  if (key == 0 || readOnly_) return;
  std::string text = Text();
  if (key == 8) {
    if (text.empty()) return;
    // Back over one whole character.
    std::size_t pos = 0, last = 0;
    while (pos < text.size()) {
      last = pos;
      NextCodePoint(text, pos);
    }
    text.erase(last);
  } else {
    AppendUtf8(text, key);
  }
  SetText(std::move(text));
}

void Edit::Exit() {
  if (OnExit) OnExit(*this);
}

void ComboBox::SetItems(std::vector<std::string> items) {
  items_ = std::move(items);
  if (itemIndex_ >= static_cast<int>(items_.size())) itemIndex_ = -1;
  Changed("Items");
}

void ComboBox::SetItemIndex(int index) {
  if (index < -1 || index >= static_cast<int>(items_.size())) index = -1;
  if (index == itemIndex_) return;
  itemIndex_ = index;
  if (index >= 0) Control::SetCaption(items_[static_cast<std::size_t>(index)]);
  Changed("ItemIndex");
}

int ComboBox::IndexOf(const std::string& text) const {
  for (std::size_t i = 0; i < items_.size(); ++i) {
    if (SameText(items_[i], text)) return static_cast<int>(i);
  }
  return -1;
}

void ComboBox::UserSetText(std::string text) {
  SetText(std::move(text));
  itemIndex_ = -1;
  if (OnChange) OnChange(*this);
}

void ComboBox::UserSelect(int index) {
  SetItemIndex(index);
  if (OnChange) OnChange(*this);
}

void ListBox::SetItems(std::vector<std::string> items) {
  items_ = std::move(items);
  itemIndex_ = -1;
  Changed("Items");
}

void ListBox::AddItem(std::string item) {
  items_.push_back(std::move(item));
  Changed("Items");
}

void ListBox::DeleteItem(int index) {
  if (index < 0 || index >= static_cast<int>(items_.size())) return;
  items_.erase(items_.begin() + index);
  if (itemIndex_ >= static_cast<int>(items_.size()) || itemIndex_ == index) itemIndex_ = -1;
  Changed("Items");
}

void ListBox::SetItemIndex(int index) {
  if (index < -1 || index >= static_cast<int>(items_.size())) index = -1;
  if (index == itemIndex_) return;
  itemIndex_ = index;
  Changed("ItemIndex");
}

void ListBox::DblClick() {
  if (OnDblClick) OnDblClick(*this);
}

void ListBox::Enter() {
  if (OnEnter) OnEnter(*this);
}

void PageControl::SetActivePage(int index) {
  if (index == activePage_) return;
  activePage_ = index;
  Changed("ActivePage");
}

void PageControl::ShowPage(int index) {
  SetActivePage(index);
  int page = 0;
  for (Control* child : Children()) {
    if (auto* sheet = dynamic_cast<TabSheet*>(child)) {
      if (page++ == index && sheet->OnEnter) sheet->OnEnter(*sheet);
    }
  }
}

}  // namespace korval
