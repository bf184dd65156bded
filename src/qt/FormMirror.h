#pragma once

#include <QObject>
#include <QPointer>
#include <QWidget>
#include <functional>
#include <string_view>
#include <unordered_map>

#include "dialog/Form.h"
#include "platform/Geometry.h"

namespace korval {
class Ui;
}

namespace korval::qt {

// Runs a model operation on the user's behalf.
using ActionRunner = std::function<void(const std::function<void()>& action)>;

// Qt widgets that mirror the controls of a headless form: one widget per
// control, kept in step with the control's properties, and the user's input
// turned into the operations a person performs on the control (a click, a
// typed key, a picked entry, a page shown).
//
// The form's model decides all geometry. Aligned controls are docked here in
// model terms (SetBounds), so the model's own resize handlers run, and every
// widget simply takes its control's bounds. Controls whose parent has no
// container widget (the items on the design panel) get no widget: their
// owner paints them.
class FormMirror final : public QObject, public ControlObserver {
 public:
  // Widgets are created under root, which stands for the form itself. Errors
  // that escape an operation are shown through ui, as the platform's default
  // error box would, and the form stays open.
  FormMirror(Form& form, QWidget& root, Ui& ui);
  ~FormMirror() override;
  FormMirror(const FormMirror&) = delete;
  FormMirror& operator=(const FormMirror&) = delete;

  // A widget of the owner's own for a control (the design surface, the
  // preview box), or nullptr for the standard widget of its kind.
  std::function<QWidget*(Control& control, QWidget& parent)> MakeWidget;
  // Told after every change of any control, with or without a widget.
  std::function<void(Control& control, std::string_view property)> OnChanged;
  // Told before a control goes.
  std::function<void(Control& control)> OnDestroyed;
  // Runs after every operation done for the user.
  std::function<void()> AfterUserAction;

  // Widgets for the controls the form has now, in creation order.
  void Build();
  QWidget* WidgetOf(const Control& control) const;
  // Docks the aligned children of parent (nullptr: the form) into client.
  void LayoutChildren(Control* parent, const Rect& client);
  // Docks the form's own children into the root widget's area.
  void LayoutForm();
  // Runs an operation for the user: an error is shown, then AfterUserAction.
  void UserAction(const std::function<void()>& action);
  void ShowError(const char* text) noexcept;
  ActionRunner Runner() {
    return [this](const std::function<void()>& action) { UserAction(action); };
  }

  void ControlCreated(Control& control) override;
  void ControlChanged(Control& control, std::string_view property) override;
  void ControlDestroyed(Control& control) override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Create(Control& control);
  QWidget* StandardWidget(Control& control, QWidget& parent);
  void Wire(Control& control, QWidget& widget);
  // Filters the object's events for the control.
  void Watch(QObject& object, Control& control);
  void Sync(Control& control, std::string_view property);
  void SyncAll(Control& control);
  void SyncGeometry(Control& control);
  void SyncText(Control& control);
  void SyncItems(Control& control);
  Rect ClientRect(const Control& control) const;
  void FitScrollContent(const Control& scrollBox);
  bool KeyPressed(Control& edit, QWidget& widget, QEvent& event);

  Form& form_;
  QWidget& root_;
  Ui& ui_;
  // Guarded: a widget goes with its parent's, whichever control goes first.
  std::unordered_map<const Control*, QPointer<QWidget>> widgets_;
  // Where the children of a control go: the widget itself, a scroll box's
  // content, a page of a page control.
  std::unordered_map<const Control*, QPointer<QWidget>> containers_;
  std::unordered_map<const QObject*, Control*> watched_;
  // Set while the model's state is copied into widgets: their signals then
  // are not the user's.
  int syncing_ = 0;
};

}  // namespace korval::qt
