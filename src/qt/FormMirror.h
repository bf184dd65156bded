#pragma once

#include <QObject>
#include <QPointer>
#include <QWidget>
#include <string>
#include <unordered_map>
#include <vector>

#include "dialog/ViewMirror.h"

namespace korval::qt {

using korval::ActionRunner;

// Qt widgets that mirror the controls of a headless form (see ViewMirror):
// a check box, a line edit, a combo box, a list, a push button, a plain-text
// label, a frame, a group box, a scroll area, a tab widget and its pages,
// each named after its control. The form's model decides all geometry.
class FormMirror final : public QObject, public ViewMirror {
 public:
  // Widgets are created under root, which stands for the form itself.
  FormMirror(Form& form, QWidget& root, Ui& ui);
  ~FormMirror() override;

  QWidget* WidgetOf(const Control& control) const {
    return static_cast<QWidget*>(ViewMirror::WidgetOf(control));
  }

  void ControlDestroyed(Control& control) override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

  Widget CreateWidget(Control& control, WidgetKind kind, Widget parent,
                      Widget& container) override;
  void AdoptWidget(Control& control, Widget widget) override;
  void DestroyWidget(Widget widget) override;
  bool Alive(Widget widget) const override;
  void SetGeometry(Widget widget, const Rect& bounds) override;
  void SetVisible(Widget widget, bool visible) override;
  void SetEnabled(Widget widget, bool enabled) override;
  void SetTooltip(Widget widget, const std::string& text) override;
  void SetCaption(Widget widget, WidgetKind kind, const std::string& text) override;
  void SetReadOut(Widget widget, const ReadOutLook& look) override;
  std::string EditText(Widget widget, WidgetKind kind) const override;
  void SetEditText(Widget widget, WidgetKind kind, const std::string& text) override;
  void SetPageTitle(Widget pages, Widget page, const std::string& text) override;
  void SetChecked(Widget widget, bool checked) override;
  void SetItems(Widget widget, WidgetKind kind, const std::vector<std::string>& items) override;
  void SelectItem(Widget widget, WidgetKind kind, int index) override;
  void ShowPage(Widget pages, int index) override;
  void Repaint(Widget widget) override;
  Rect ClientArea(Widget widget, WidgetKind kind, int width, int height) const override;
  void SetContentSize(Widget container, int width, int height) override;
  Size RootSize() const override;

 private:
  QWidget* Standard(WidgetKind kind, QWidget& parent, QWidget*& container);
  void Wire(Control& control, WidgetKind kind, QWidget& widget);
  // Filters the object's events for the control.
  void Watch(QObject& object, Control& control);
  QWidget* Parent(Widget parent) const;
  bool KeyPressed(Control& edit, QWidget& widget, QEvent& event);

  QWidget& root_;
  // Guarded: a widget goes with its parent's, whichever control goes first.
  std::unordered_map<const void*, QPointer<QWidget>> alive_;
  std::unordered_map<const QObject*, Control*> watched_;
};

}  // namespace korval::qt
