#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <set>
#include <stdexcept>

#include "dialog/StdControls.h"
#include "dialog/ViewMirror.h"
#include "doubles/ScriptedUi.h"

namespace korval {
namespace {

// A toolkit that only records: each widget is a record of what it was made
// and told, so that the mirroring can be watched without any toolkit.
struct FakeWidget {
  Control* Model = nullptr;
  std::string Name;
  WidgetKind Kind = WidgetKind::None;
  FakeWidget* Parent = nullptr;
  Rect Bounds{};
  bool Visible = false;
  bool Enabled = false;
  bool Checked = false;
  std::string Tooltip, Caption, Text;
  std::vector<std::string> Items;
  int ItemSets = 0;
  int Selected = -2;
  int Page = -1;
  std::vector<std::string> PageTitles;
  Size Content{};
};

class FakeView final : public ViewMirror {
 public:
  FakeView(Form& form, Ui& ui) : ViewMirror(form, ui) {}

  FakeWidget& Of(const Control& control) {
    auto* widget = static_cast<FakeWidget*>(WidgetOf(control));
    if (widget == nullptr) throw std::runtime_error("no widget " + control.Name());
    return *widget;
  }
  std::vector<std::string> created;
  std::vector<std::string> destroyed;
  Size root{400, 300};
  // Like a toolkit that reports the changes made to its widgets as the
  // user's.
  bool echo = false;
  // Like a toolkit that sizes a tab control's pages as each is added.
  bool sizePagesAtOnce = false;

 protected:
  Widget CreateWidget(Control& control, WidgetKind kind, Widget parent,
                      Widget& container) override {
    auto widget = std::make_unique<FakeWidget>();
    widget->Model = &control;
    widget->Name = control.Name();
    widget->Kind = kind;
    widget->Parent = static_cast<FakeWidget*>(parent);
    if (kind == WidgetKind::Page) widget->Parent->PageTitles.push_back(control.Caption());
    FakeWidget* raw = widget.get();
    if (kind == WidgetKind::Page && sizePagesAtOnce) {
      widgets_[raw] = std::move(widget);
      container = raw;
      created.push_back(control.Name());
      PagesResized(*control.Parent(), 300, 200);
      return raw;
    }
    if (kind == WidgetKind::ScrollArea) {
      auto content = std::make_unique<FakeWidget>();
      content->Name = control.Name() + ".content";
      content->Parent = raw;
      container = content.get();
      widgets_[content.get()] = std::move(content);
    } else if (kind == WidgetKind::Panel || kind == WidgetKind::GroupBox ||
               kind == WidgetKind::Pages || kind == WidgetKind::Page) {
      container = raw;
    }
    created.push_back(control.Name());
    widgets_[raw] = std::move(widget);
    return raw;
  }
  void AdoptWidget(Control&, Widget widget) override {
    adopted_.insert(static_cast<FakeWidget*>(widget));
  }
  // Its children go with it, as a toolkit's do.
  void DestroyWidget(Widget widget) override {
    auto* gone = static_cast<FakeWidget*>(widget);
    destroyed.push_back(gone->Name);
    std::vector<FakeWidget*> children;
    for (const auto& [raw, w] : widgets_) {
      if (w->Parent == gone) children.push_back(raw);
    }
    for (FakeWidget* child : children) DestroyWidget(child);
    adopted_.erase(gone);
    widgets_.erase(gone);
  }
  bool Alive(Widget widget) const override {
    auto* w = static_cast<FakeWidget*>(widget);
    return widgets_.count(w) > 0 || adopted_.count(w) > 0;
  }
  void SetGeometry(Widget w, const Rect& b) override { F(w).Bounds = b; }
  void SetVisible(Widget w, bool v) override { F(w).Visible = v; }
  void SetEnabled(Widget w, bool v) override { F(w).Enabled = v; }
  void SetTooltip(Widget w, const std::string& t) override { F(w).Tooltip = t; }
  void SetCaption(Widget w, WidgetKind, const std::string& t) override { F(w).Caption = t; }
  void SetReadOut(Widget w, const ReadOutLook& look) override { F(w).Text = look.Text; }
  std::string EditText(Widget w, WidgetKind) const override { return F(w).Text; }
  void SetEditText(Widget w, WidgetKind, const std::string& t) override {
    F(w).Text = t;
    if (echo) TextEdited(*F(w).Model, "echo");
  }
  void SetPageTitle(Widget pages, Widget page, const std::string& t) override {
    auto& titles = F(pages).PageTitles;
    int index = 0;
    for (const auto& [raw, w] : widgets_) {
      if (w->Parent == pages && w->Kind == WidgetKind::Page && raw < page) ++index;
    }
    if (index < static_cast<int>(titles.size())) titles[static_cast<std::size_t>(index)] = t;
  }
  void SetChecked(Widget w, bool v) override { F(w).Checked = v; }
  void SetItems(Widget w, WidgetKind, const std::vector<std::string>& items) override {
    F(w).Items = items;
    ++F(w).ItemSets;
  }
  void SelectItem(Widget w, WidgetKind, int index) override { F(w).Selected = index; }
  void ShowPage(Widget w, int index) override {
    F(w).Page = index;
    if (echo) PageChosen(*F(w).Model, 0);
  }
  void Repaint(Widget) override {}
  Rect ClientArea(Widget, WidgetKind, int width, int height) const override {
    // A frame of 2 and a title of 13, as a group box has.
    return Rect{2, 13, width - 2, height - 2};
  }
  void SetContentSize(Widget w, int width, int height) override { F(w).Content = {width, height}; }
  Size RootSize() const override { return root; }

 private:
  static FakeWidget& F(Widget w) { return *static_cast<FakeWidget*>(w); }
  std::map<FakeWidget*, std::unique_ptr<FakeWidget>> widgets_;
  std::set<FakeWidget*> adopted_;
};

class TestForm : public Form {};

struct Mirrored {
  TestForm form;
  test::ScriptedUi ui;
  std::unique_ptr<FakeView> view;
  void Build() {
    view = std::make_unique<FakeView>(form, ui);
    view->Build();
  }
};

template <typename T, typename... Args>
T& Make(Form& form, Control* parent, Args&&... args) {
  T& control = form.Create<T>(std::forward<Args>(args)...);
  control.SetParent(parent);
  return control;
}

TEST(ViewMirrorTest, WidgetsGoUnderTheirParentsInCreationOrderAndPagesOnlyUnderTabs) {
  Mirrored m;
  auto& pages = Make<PageControl>(m.form, nullptr, "Pages");
  auto& first = Make<TabSheet>(m.form, &pages, "First");
  first.SetCaption("Nastavení");
  auto& box = Make<Panel>(m.form, &first, "Box", ControlKind::GroupBox);
  auto& check = Make<CheckBox>(m.form, &box, "Check");
  auto& stray = Make<TabSheet>(m.form, &box, "StrayPage");  // not in a tab control
  auto& scroll = Make<Panel>(m.form, nullptr, "Scroll", ControlKind::ScrollBox);
  auto& inScroll = Make<Edit>(m.form, &scroll, "InScroll");
  inScroll.SetBounds(10, 400, 50, 21);
  auto& surface = Make<Panel>(m.form, nullptr, "Surface");
  Make<Edit>(m.form, &surface, "OnSurface");  // painted by the surface's owner
  m.view = std::make_unique<FakeView>(m.form, m.ui);
  FakeWidget own;
  m.view->MakeWidget = [&](Control& control, ViewMirror::Widget) -> ViewMirror::Widget {
    return control.Name() == "Surface" ? &own : nullptr;
  };
  m.view->Build();
  EXPECT_EQ(m.view->WidgetOf(surface), &own);

  EXPECT_EQ(m.view->created,
            (std::vector<std::string>{"Pages", "First", "Box", "Check", "Scroll", "InScroll"}));
  EXPECT_EQ(m.view->Of(check).Parent, &m.view->Of(box));
  EXPECT_EQ(m.view->Of(first).Parent, &m.view->Of(pages));
  EXPECT_EQ(m.view->Of(pages).PageTitles, std::vector<std::string>{"Nastavení"});
  EXPECT_EQ(m.view->WidgetOf(stray), nullptr);
  // A scroll area's children go into its content, which grows to hold them.
  EXPECT_EQ(m.view->Of(inScroll).Parent->Name, "Scroll.content");
  EXPECT_EQ(m.view->Of(inScroll).Parent->Content.Cy, 421);

  // A control made while the dialog runs gets a widget once it has a parent;
  // a freed one loses it, with its container.
  auto& late = m.form.Create<CheckBox>("Late");
  EXPECT_EQ(m.view->WidgetOf(late), nullptr);
  late.SetParent(&box);
  EXPECT_EQ(m.view->Of(late).Parent, &m.view->Of(box));
  m.form.Destroy(box);
  EXPECT_EQ(m.view->WidgetOf(check), nullptr);
  EXPECT_NE(std::find(m.view->destroyed.begin(), m.view->destroyed.end(), "Box"),
            m.view->destroyed.end());
}

TEST(ViewMirrorTest, AlignedControlsDockIntoTheRootAndIntoAGroupBoxsInside) {
  Mirrored m;
  auto& top = Make<Panel>(m.form, nullptr, "Top");
  top.SetBounds(0, 0, 10, 30);
  top.SetAlign(ControlAlign::alTop);
  auto& bottom = Make<Panel>(m.form, nullptr, "Bottom");
  bottom.SetBounds(0, 0, 10, 40);
  bottom.SetAlign(ControlAlign::alBottom);
  auto& left = Make<Panel>(m.form, nullptr, "Left");
  left.SetBounds(0, 0, 100, 10);
  left.SetAlign(ControlAlign::alLeft);
  auto& hidden = Make<Panel>(m.form, nullptr, "Hidden");
  hidden.SetBounds(0, 0, 50, 10);
  hidden.SetAlign(ControlAlign::alRight);
  hidden.SetVisible(false);
  auto& group = Make<Panel>(m.form, nullptr, "Group", ControlKind::GroupBox);
  group.SetAlign(ControlAlign::alClient);
  auto& inside = Make<Edit>(m.form, &group, "Inside");
  inside.SetBounds(0, 0, 5, 21);
  inside.SetAlign(ControlAlign::alTop);
  m.Build();

  EXPECT_EQ(top.BoundsRect(), (Rect{0, 0, 400, 30}));
  EXPECT_EQ(bottom.BoundsRect(), (Rect{0, 260, 400, 300}));
  EXPECT_EQ(left.BoundsRect(), (Rect{0, 30, 100, 260}));
  EXPECT_EQ(group.BoundsRect(), (Rect{100, 30, 400, 260}));
  EXPECT_EQ(m.view->Of(group).Bounds, (Rect{100, 30, 400, 260}));
  EXPECT_EQ(inside.BoundsRect(), (Rect{2, 13, 298, 34}));

  // Showing the hidden right panel takes its strip from the client one.
  hidden.SetVisible(true);
  EXPECT_EQ(hidden.BoundsRect(), (Rect{350, 30, 400, 260}));
  EXPECT_EQ(group.BoundsRect(), (Rect{100, 30, 350, 260}));
  EXPECT_EQ(inside.BoundsRect(), (Rect{2, 13, 248, 34}));
}

TEST(ViewMirrorTest, AGroupBoxDockedBeforeItsWidgetWasMadeKeepsItsChildrenInsideItsFrame) {
  Mirrored m;
  auto& pages = Make<PageControl>(m.form, nullptr, "Pages");
  auto& page = Make<TabSheet>(m.form, &pages, "Page");
  auto& group = Make<Panel>(m.form, &page, "Group", ControlKind::GroupBox);
  group.SetAlign(ControlAlign::alClient);
  auto& inside = Make<Panel>(m.form, &group, "Inside");
  inside.SetAlign(ControlAlign::alClient);
  m.view = std::make_unique<FakeView>(m.form, m.ui);
  m.view->sizePagesAtOnce = true;
  m.view->Build();
  EXPECT_EQ(group.BoundsRect(), (Rect{0, 0, 300, 200}));
  EXPECT_EQ(inside.BoundsRect(), (Rect{2, 13, 298, 198}));
}

TEST(ViewMirrorTest, WhatThePersonDoesReachesTheModelAndTheWidgetsShowTheModel) {
  Mirrored m;
  auto& check = Make<CheckBox>(m.form, nullptr, "Check");
  // A handler that refuses the change: the box must show the model's state,
  // not what the click made of it.
  check.OnClick = [&](Control&) {
    if (check.Checked()) check.SetChecked(false);
  };
  auto& edit = Make<Edit>(m.form, nullptr, "Digits");
  edit.OnKeyPress = [](Control&, char32_t& key) {
    if (key == U',') key = U'.';
    else if (key != 8 && (key < U'0' || key > U'9') && key != U'.') key = 0;
  };
  auto& combo = Make<ComboBox>(m.form, nullptr, "Combo", true);
  combo.SetItems({"pt.", "mm"});
  auto& failing = Make<Button>(m.form, nullptr, "Failing");
  failing.OnClick = [](Control&) { throw std::runtime_error("Soubor nelze zapsat."); };
  m.Build();
  FakeView& v = *m.view;

  v.Of(check).Checked = true;  // the toolkit toggled it
  v.Clicked(check);
  EXPECT_FALSE(check.Checked());
  EXPECT_FALSE(v.Of(check).Checked);

  EXPECT_EQ(v.KeyTyped(edit, U'7'), U'7');
  EXPECT_EQ(v.KeyTyped(edit, U','), U'.');
  EXPECT_EQ(v.KeyTyped(edit, U'x'), 0U);
  EXPECT_EQ(v.KeyTyped(edit, 8), 8U);
  v.TextEdited(edit, "7.5");
  EXPECT_EQ(edit.Text(), "7.5");
  // The model's own rewrite reaches the widget; echoes of it do not return.
  edit.SetText("8");
  EXPECT_EQ(v.Of(edit).Text, "8");

  EXPECT_EQ(v.Of(combo).ItemSets, 1);
  v.EntryPicked(combo, 1);
  EXPECT_EQ(combo.ItemIndex(), 1);
  EXPECT_EQ(v.Of(combo).Text, "mm");
  combo.SetItems({"pt.", "mm"});  // the same list: not pushed again
  EXPECT_EQ(v.Of(combo).ItemSets, 1);
  combo.SetItems({"pt.", "mm", "in"});
  EXPECT_EQ(v.Of(combo).ItemSets, 2);

  // An operation that fails is shown as the text alone, and the form stays.
  int after = 0;
  v.AfterUserAction = [&] { ++after; };
  v.Clicked(failing);
  ASSERT_EQ(m.ui.MessageTexts(), std::vector<std::string>{"Soubor nelze zapsat."});
  EXPECT_EQ(after, 1);
  EXPECT_NE(v.WidgetOf(failing), nullptr);
}

TEST(ViewMirrorTest, StateTheModelSetsIsCopiedWithoutReturningAsTheUsersInput) {
  Mirrored m;
  auto& edit = Make<Edit>(m.form, nullptr, "Edit");
  int changes = 0;
  edit.OnChange = [&](Control&) { ++changes; };
  auto& pages = Make<PageControl>(m.form, nullptr, "Pages");
  Make<TabSheet>(m.form, &pages, "A");
  Make<TabSheet>(m.form, &pages, "B");
  auto& list = Make<ListBox>(m.form, nullptr, "List");
  list.SetItems({"a", "b"});
  m.Build();
  FakeView& v = *m.view;
  v.echo = true;
  edit.SetText("model");
  EXPECT_EQ(edit.Text(), "model");
  EXPECT_EQ(changes, 1);
  pages.SetActivePage(1);
  EXPECT_EQ(v.Of(pages).Page, 1);
  EXPECT_EQ(pages.ActivePage(), 1);
  list.SetItemIndex(1);
  EXPECT_EQ(v.Of(list).Selected, 1);
  EXPECT_EQ(v.Of(list).ItemSets, 1);
  edit.SetEnabled(false);
  edit.SetHint("Počet etiket");
  EXPECT_FALSE(v.Of(edit).Enabled);
  EXPECT_EQ(v.Of(edit).Tooltip, "Počet etiket");
}

}  // namespace
}  // namespace korval
