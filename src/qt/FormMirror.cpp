#include "qt/FormMirror.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollArea>
#include <QStackedWidget>
#include <QTabWidget>
#include <algorithm>
#include <exception>
#include <string>
#include <vector>

#include "dialog/StdControls.h"
#include "label/TLabel.h"
#include "platform/Text.h"
#include "platform/Ui.h"
#include "qt/DockLayout.h"
#include "qt/StandardWidgets.h"

namespace korval::qt {
namespace {

QString ToQt(const std::string& text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

std::string FromQt(const QString& text) {
  return text.toStdString();
}

// Read-outs break their lines with a bare carriage return.
QString LabelText(const std::string& caption) {
  return ToQt(ReplaceAll(ReplaceAll(caption, "\r\n", "\n"), "\r", "\n"));
}

Qt::Alignment LabelAlignment(const TLabel& label) {
  Qt::Alignment align = Qt::AlignLeft;
  if (label.Alignment() == TAlignment::taCenter) align = Qt::AlignHCenter;
  if (label.Alignment() == TAlignment::taRightJustify) align = Qt::AlignRight;
  switch (label.Layout()) {
    case TTextLayout::tlTop:
      return align | Qt::AlignTop;
    case TTextLayout::tlCenter:
      return align | Qt::AlignVCenter;
    case TTextLayout::tlBottom:
      return align | Qt::AlignBottom;
  }
  return align;
}

QStringList ToQt(const std::vector<std::string>& items) {
  QStringList list;
  for (const auto& item : items) list << ToQt(item);
  return list;
}

template <typename Widget>
QStringList ItemsOf(const Widget& widget) {
  QStringList list;
  for (int i = 0; i < widget.count(); ++i) list << widget.itemText(i);
  return list;
}

QStringList ItemsOf(const QListWidget& widget) {
  QStringList list;
  for (int i = 0; i < widget.count(); ++i) list << widget.item(i)->text();
  return list;
}

}  // namespace

FormMirror::FormMirror(Form& form, QWidget& root, Ui& ui) : form_(form), root_(root), ui_(ui) {
  containers_[nullptr] = &root_;
  form_.AddObserver(this);
}

FormMirror::~FormMirror() {
  form_.RemoveObserver(this);
}

void FormMirror::Build() {
  for (int i = 0; i < form_.ComponentCount(); ++i) Create(form_.Component(i));
  LayoutForm();
}

QWidget* FormMirror::WidgetOf(const Control& control) const {
  const auto it = widgets_.find(&control);
  return it == widgets_.end() ? nullptr : it->second.data();
}

void FormMirror::Create(Control& control) {
  if (WidgetOf(control) != nullptr) return;
  const auto container = containers_.find(control.Parent());
  if (container == containers_.end() || container->second.isNull()) return;
  QWidget& parent = *container->second;
  QWidget* widget = MakeWidget ? MakeWidget(control, parent) : nullptr;
  if (widget == nullptr) widget = StandardWidget(control, parent);
  if (widget == nullptr) return;
  widget->setObjectName(ToQt(control.Name()));
  // What the mouse does over a panel stays with that panel, as it would
  // with the platform's own windows.
  widget->setAttribute(Qt::WA_NoMousePropagation);
  widgets_[&control] = widget;
  Wire(control, *widget);
  SyncAll(control);
  if (control.Parent() != nullptr && control.Parent()->Kind() == ControlKind::ScrollBox)
    FitScrollContent(*control.Parent());
}

QWidget* FormMirror::StandardWidget(Control& control, QWidget& parent) {
  QWidget* container = nullptr;
  QWidget* widget = MakeStandardWidget(control, parent, container);
  if (container != nullptr) containers_[&control] = container;
  return widget;
}

void FormMirror::Wire(Control& control, QWidget& widget) {
  if (auto* box = qobject_cast<QCheckBox*>(&widget)) {
    connect(box, &QCheckBox::clicked, this, [this, &control, box] {
      UserAction([&control] { control.Click(); });
      const QSignalBlocker quiet(box);
      if (form_.Owns(&control)) box->setChecked(static_cast<CheckBox&>(control).Checked());
    });
  } else if (auto* edit = qobject_cast<QLineEdit*>(&widget)) {
    connect(edit, &QLineEdit::textEdited, this, [this, &control](const QString& text) {
      UserAction([&control, &text] { static_cast<Edit&>(control).SetText(FromQt(text)); });
    });
    Watch(*edit, control);
  } else if (auto* combo = qobject_cast<QComboBox*>(&widget)) {
    auto& model = static_cast<ComboBox&>(control);
    if (combo->lineEdit() != nullptr) {
      connect(combo->lineEdit(), &QLineEdit::textEdited, this, [this, &model](const QString& text) {
        UserAction([&model, &text] { model.UserSetText(FromQt(text)); });
      });
    }
    connect(combo, &QComboBox::activated, this, [this, &model, combo](int index) {
      // An editable box also reports Enter after typing; only an entry
      // taken from the list is a pick.
      if (combo->isEditable() && combo->currentText() != combo->itemText(index)) return;
      UserAction([&model, index] { model.UserSelect(index); });
    });
  } else if (auto* list = qobject_cast<QListWidget*>(&widget)) {
    auto& model = static_cast<ListBox&>(control);
    connect(list, &QListWidget::currentRowChanged, this, [this, &model](int row) {
      if (syncing_ > 0) return;
      UserAction([&model, row] {
        model.SetItemIndex(row);
        model.Click();
      });
    });
    connect(list, &QListWidget::itemClicked, this,
            [this, &model] { UserAction([&model] { model.Click(); }); });
    connect(list, &QListWidget::itemDoubleClicked, this,
            [this, &model] { UserAction([&model] { model.DblClick(); }); });
    Watch(*list, control);
  } else if (auto* button = qobject_cast<QPushButton*>(&widget)) {
    connect(button, &QPushButton::clicked, this,
            [this, &control] { UserAction([&control] { control.Click(); }); });
  } else if (auto* pages = qobject_cast<QTabWidget*>(&widget)) {
    auto& model = static_cast<PageControl&>(control);
    connect(pages, &QTabWidget::currentChanged, this, [this, &model](int index) {
      if (syncing_ > 0) return;
      UserAction([&model, index] { model.ShowPage(index); });
    });
    // Qt sizes the pages; the model's pages follow, and their children are
    // docked into them.
    if (auto* stack = pages->findChild<QStackedWidget*>()) Watch(*stack, control);
  }

  if (control.OnMouseMove) {
    QWidget* target = &widget;
    if (auto* area = qobject_cast<QScrollArea*>(&widget)) target = area->viewport();
    target->setMouseTracking(true);
    Watch(*target, control);
  }
}

void FormMirror::Watch(QObject& object, Control& control) {
  object.installEventFilter(this);
  watched_[&object] = &control;
  connect(&object, &QObject::destroyed, this, [this](QObject* gone) { watched_.erase(gone); });
}

bool FormMirror::eventFilter(QObject* watched, QEvent* event) {
  const auto it = watched_.find(watched);
  if (it == watched_.end() || !form_.Owns(it->second)) return false;
  Control& control = *it->second;
  switch (event->type()) {
    case QEvent::KeyPress:
      if (auto* edit = qobject_cast<QLineEdit*>(watched)) return KeyPressed(control, *edit, *event);
      break;
    case QEvent::FocusOut:
      if (control.Kind() == ControlKind::Edit) {
        UserAction([&control] { static_cast<Edit&>(control).Exit(); });
      }
      break;
    case QEvent::FocusIn:
      if (control.Kind() == ControlKind::ListBox) {
        UserAction([&control] { static_cast<ListBox&>(control).Enter(); });
      }
      break;
    case QEvent::MouseMove:
      if (control.OnMouseMove) {
        const QPoint at = static_cast<QMouseEvent*>(event)->position().toPoint();
        UserAction([&control, at] { control.MouseMove(at.x(), at.y()); });
      }
      break;
    case QEvent::Resize:
      if (auto* stack = qobject_cast<QStackedWidget*>(watched)) {
        const std::vector<Control*> sheets = control.Children();
        for (Control* sheet : sheets) sheet->SetBounds(0, 0, stack->width(), stack->height());
      }
      break;
    default:
      break;
  }
  return false;
}

// A key goes through the edit's key handler first, which may swallow it or
// type another in its place; what remains is typed by Qt, and the edited
// text reaches the model as the user's text.
bool FormMirror::KeyPressed(Control& control, QWidget& widget, QEvent& event) {
  auto& edit = static_cast<Edit&>(control);
  auto& line = static_cast<QLineEdit&>(widget);
  const auto& press = static_cast<QKeyEvent&>(event);
  if (!edit.OnKeyPress || line.isReadOnly()) return false;
  char32_t key = 0;
  if (press.key() == Qt::Key_Backspace) {
    key = 8;
  } else {
    if ((press.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) != 0)
      return false;
    const QList<uint> typed = press.text().toUcs4();
    if (typed.isEmpty() || typed.front() < 32 || typed.front() == 127) return false;
    key = typed.front();
  }
  char32_t filtered = key;
  UserAction([&edit, &filtered] { edit.OnKeyPress(edit, filtered); });
  if (filtered == key) return false;
  if (filtered != 0 && form_.Owns(&control)) {
    if (filtered == 8) {
      line.backspace();
    } else {
      line.insert(QString::fromUcs4(&filtered, 1));
    }
    UserAction([&edit, &line] { edit.SetText(FromQt(line.text())); });
  }
  return true;
}

void FormMirror::ShowError(const char* text) noexcept {
  try {
    ui_.ShowMessage({"", text, MessageIcon::Error, MessageButtons::Ok, MessageModality::TaskModal});
  } catch (...) {
  }
}

void FormMirror::UserAction(const std::function<void()>& action) {
  try {
    action();
  } catch (const std::exception& e) {
    // As the platform's default error box: the text alone, and the dialog
    // stays open.
    ShowError(e.what());
  } catch (...) {
    // Whatever it is, it must not reach Qt's event loop, which would abort.
    ShowError("unknown error");
  }
  if (AfterUserAction) AfterUserAction();
}

void FormMirror::ControlCreated(Control& control) {
  // A control made while the dialog runs gets its parent only afterwards;
  // its widget is made when it does.
  if (control.Parent() != nullptr) Create(control);
}

void FormMirror::ControlChanged(Control& control, std::string_view property) {
  ++syncing_;
  Sync(control, property);
  --syncing_;
  if (OnChanged) OnChanged(control, property);
}

void FormMirror::ControlDestroyed(Control& control) {
  if (OnDestroyed) OnDestroyed(control);
  containers_.erase(&control);
  for (auto it = watched_.begin(); it != watched_.end();) {
    it = it->second == &control ? watched_.erase(it) : std::next(it);
  }
  if (QWidget* widget = WidgetOf(control)) {
    widgets_.erase(&control);
    widget->hide();
    widget->deleteLater();
  }
}

void FormMirror::Sync(Control& control, std::string_view property) {
  QWidget* widget = WidgetOf(control);
  if (property == "Bounds") {
    if (widget != nullptr) SyncGeometry(control);
    LayoutChildren(&control, ClientRect(control));
    if (control.Parent() != nullptr && control.Parent()->Kind() == ControlKind::ScrollBox)
      FitScrollContent(*control.Parent());
    return;
  }
  if (property == "Visible") {
    if (widget != nullptr && control.Kind() != ControlKind::TabSheet)
      widget->setVisible(control.Visible());
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
    if (widget == nullptr) Create(control);
    return;
  }
  if (widget == nullptr) return;
  if (property == "Enabled") {
    widget->setEnabled(control.Enabled());
  } else if (property == "Hint") {
    widget->setToolTip(ToQt(control.Hint()));
  } else if (property == "Caption" || property == "Alignment" || property == "Layout") {
    SyncText(control);
  } else if (property == "Checked") {
    if (auto* box = qobject_cast<QCheckBox*>(widget))
      box->setChecked(static_cast<CheckBox&>(control).Checked());
  } else if (property == "Items" || property == "ItemIndex") {
    SyncItems(control);
  } else if (property == "ActivePage") {
    if (auto* pages = qobject_cast<QTabWidget*>(widget))
      pages->setCurrentIndex(static_cast<PageControl&>(control).ActivePage());
  } else if (property == "Paint") {
    widget->update();
  }
}

void FormMirror::SyncAll(Control& control) {
  ++syncing_;
  QWidget* widget = WidgetOf(control);
  SyncGeometry(control);
  if (control.Kind() != ControlKind::TabSheet) widget->setVisible(control.Visible());
  widget->setEnabled(control.Enabled());
  widget->setToolTip(ToQt(control.Hint()));
  SyncText(control);
  if (auto* box = qobject_cast<QCheckBox*>(widget))
    box->setChecked(static_cast<CheckBox&>(control).Checked());
  SyncItems(control);
  if (auto* pages = qobject_cast<QTabWidget*>(widget))
    pages->setCurrentIndex(static_cast<PageControl&>(control).ActivePage());
  --syncing_;
}

void FormMirror::SyncGeometry(Control& control) {
  QWidget* widget = WidgetOf(control);
  if (widget == nullptr || control.Kind() == ControlKind::TabSheet) return;
  const Rect b = control.BoundsRect();
  widget->setGeometry(b.Left, b.Top, std::max(0, b.Width()), std::max(0, b.Height()));
}

void FormMirror::SyncText(Control& control) {
  QWidget* widget = WidgetOf(control);
  const QString text = ToQt(control.Caption());
  if (auto* label = qobject_cast<QLabel*>(widget)) {
    label->setText(LabelText(control.Caption()));
    if (const auto* model = dynamic_cast<const TLabel*>(&control)) {
      label->setAlignment(LabelAlignment(*model));
      label->setWordWrap(model->WordWrap());
    }
  } else if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
    button->setText(text);
  } else if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
    if (edit->text() != text) {
      // The model rewrote what was typed: the cursor stays where it was.
      const int cursor = edit->cursorPosition();
      edit->setText(text);
      edit->setCursorPosition(std::min(cursor, static_cast<int>(text.size())));
    }
  } else if (auto* combo = qobject_cast<QComboBox*>(widget)) {
    if (combo->isEditable() && combo->currentText() != text) combo->setEditText(text);
  } else if (auto* box = qobject_cast<QGroupBox*>(widget)) {
    box->setTitle(text);
  } else if (control.Kind() == ControlKind::TabSheet && control.Parent() != nullptr) {
    if (auto* pages = qobject_cast<QTabWidget*>(WidgetOf(*control.Parent())))
      pages->setTabText(pages->indexOf(widget), text);
  }
}

void FormMirror::SyncItems(Control& control) {
  QWidget* widget = WidgetOf(control);
  if (auto* combo = qobject_cast<QComboBox*>(widget)) {
    const auto& model = static_cast<ComboBox&>(control);
    const QSignalBlocker quiet(combo);
    const QStringList items = ToQt(model.Items());
    if (ItemsOf(*combo) != items) {
      combo->clear();
      combo->addItems(items);
    }
    combo->setCurrentIndex(model.ItemIndex());
    if (combo->isEditable() && combo->currentText() != ToQt(model.Text()))
      combo->setEditText(ToQt(model.Text()));
  } else if (auto* list = qobject_cast<QListWidget*>(widget)) {
    const auto& model = static_cast<ListBox&>(control);
    const QStringList items = ToQt(model.Items());
    if (ItemsOf(*list) != items) {
      list->clear();
      list->addItems(items);
    }
    if (list->currentRow() != model.ItemIndex()) list->setCurrentRow(model.ItemIndex());
  }
}

Rect FormMirror::ClientRect(const Control& control) const {
  const int width = control.Width();
  const int height = control.Height();
  QWidget* widget = WidgetOf(control);
  if (auto* box = qobject_cast<QGroupBox*>(widget)) {
    // Inside the frame and below the title, as the style draws them.
    box->ensurePolished();
    const QMargins m = box->contentsMargins();
    return Rect{m.left(), m.top(), width - m.right(), height - m.bottom()};
  }
  if (auto* area = qobject_cast<QScrollArea*>(widget)) {
    const int frame = area->frameWidth();
    return Rect{0, 0, width - 2 * frame, height - 2 * frame};
  }
  return Rect{0, 0, width, height};
}

void FormMirror::LayoutForm() {
  LayoutChildren(nullptr, Rect{0, 0, root_.width(), root_.height()});
}

void FormMirror::LayoutChildren(Control* parent, const Rect& client) {
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

void FormMirror::FitScrollContent(const Control& scrollBox) {
  const auto container = containers_.find(&scrollBox);
  if (container == containers_.end() || container->second.isNull()) return;
  int width = 0;
  int height = 0;
  for (const Control* child : scrollBox.Children()) {
    if (!child->Visible() || WidgetOf(*child) == nullptr) continue;
    width = std::max(width, child->Left() + child->Width());
    height = std::max(height, child->Top() + child->Height());
  }
  container->second->resize(width, height);
}

}  // namespace korval::qt
