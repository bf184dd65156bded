#include "qt/FormMirror.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFrame>
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

#include "dialog/StdControls.h"

namespace korval::qt {
namespace {

QString ToQt(const std::string& text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

Qt::Alignment LabelAlignment(const ReadOutLook& look) {
  Qt::Alignment align = Qt::AlignLeft;
  if (look.Alignment == TAlignment::taCenter) align = Qt::AlignHCenter;
  if (look.Alignment == TAlignment::taRightJustify) align = Qt::AlignRight;
  switch (look.Layout) {
    case TTextLayout::tlTop:
      return align | Qt::AlignTop;
    case TTextLayout::tlCenter:
      return align | Qt::AlignVCenter;
    case TTextLayout::tlBottom:
      return align | Qt::AlignBottom;
  }
  return align;
}

QWidget* AsQt(ViewMirror::Widget widget) {
  return static_cast<QWidget*>(widget);
}

}  // namespace

FormMirror::FormMirror(Form& form, QWidget& root, Ui& ui) : ViewMirror(form, ui), root_(root) {}

FormMirror::~FormMirror() = default;

QWidget* FormMirror::Parent(Widget parent) const {
  return parent == nullptr ? &root_ : AsQt(parent);
}

ViewMirror::Widget FormMirror::CreateWidget(Control& control, WidgetKind kind, Widget parent,
                                            Widget& container) {
  QWidget* inside = nullptr;
  QWidget* widget = Standard(kind, *Parent(parent), inside);
  if (widget == nullptr) return nullptr;
  container = inside;
  // A scroll area's content is a widget of its own, which its children's
  // creation asks after.
  if (inside != nullptr) alive_[inside] = inside;
  if (kind == WidgetKind::Page) {
    auto* pages = static_cast<QTabWidget*>(Parent(parent));
    pages->addTab(widget, ToQt(control.Caption()));
  }
  if (kind == WidgetKind::ReadOnlyEdit) static_cast<QLineEdit*>(widget)->setReadOnly(true);
  Wire(control, kind, *widget);
  return widget;
}

void FormMirror::AdoptWidget(Control& control, Widget widget) {
  Wire(control, WidgetKind::None, *AsQt(widget));
}

QWidget* FormMirror::Standard(WidgetKind kind, QWidget& parent, QWidget*& container) {
  switch (kind) {
    case WidgetKind::CheckBox:
      return new QCheckBox(&parent);
    case WidgetKind::Edit:
    case WidgetKind::ReadOnlyEdit:
      return new QLineEdit(&parent);
    case WidgetKind::EditableCombo:
    case WidgetKind::DropDownList: {
      auto* combo = new QComboBox(&parent);
      if (kind == WidgetKind::EditableCombo) {
        combo->setEditable(true);
        // The model decides what a typed name means; Qt adds nothing to
        // the list and completes nothing on its own.
        combo->setInsertPolicy(QComboBox::NoInsert);
        combo->setCompleter(nullptr);
      }
      return combo;
    }
    case WidgetKind::List:
      return new QListWidget(&parent);
    case WidgetKind::PushButton: {
      auto* button = new QPushButton(&parent);
      // Enter in an edit must not press a button for the user.
      button->setAutoDefault(false);
      return button;
    }
    case WidgetKind::ReadOut: {
      auto* label = new QLabel(&parent);
      label->setTextFormat(Qt::PlainText);
      return label;
    }
    case WidgetKind::Panel: {
      auto* panel = new QFrame(&parent);
      panel->setFrameShape(QFrame::NoFrame);
      container = panel;
      return panel;
    }
    case WidgetKind::GroupBox: {
      auto* box = new QGroupBox(&parent);
      container = box;
      return box;
    }
    case WidgetKind::ScrollArea: {
      auto* area = new QScrollArea(&parent);
      area->setWidgetResizable(false);
      auto* content = new QWidget;
      area->setWidget(content);
      container = content;
      return area;
    }
    case WidgetKind::Pages: {
      auto* pages = new QTabWidget(&parent);
      container = pages;
      return pages;
    }
    case WidgetKind::Page: {
      auto* page = new QWidget;
      container = page;
      return page;
    }
    case WidgetKind::None:
      break;
  }
  return nullptr;
}

void FormMirror::Wire(Control& control, WidgetKind kind, QWidget& widget) {
  widget.setObjectName(ToQt(control.Name()));
  alive_[&widget] = &widget;
  // What the mouse does over a panel stays with that panel, as it would
  // with the platform's own windows.
  widget.setAttribute(Qt::WA_NoMousePropagation);
  switch (kind) {
    case WidgetKind::CheckBox:
    case WidgetKind::PushButton:
      connect(static_cast<QAbstractButton*>(&widget), &QAbstractButton::clicked, this,
              [this, &control] { Clicked(control); });
      break;
    case WidgetKind::Edit:
    case WidgetKind::ReadOnlyEdit: {
      auto* edit = static_cast<QLineEdit*>(&widget);
      connect(edit, &QLineEdit::textEdited, this,
              [this, &control](const QString& text) { TextEdited(control, text.toStdString()); });
      Watch(*edit, control);
      break;
    }
    case WidgetKind::EditableCombo:
    case WidgetKind::DropDownList: {
      auto* combo = static_cast<QComboBox*>(&widget);
      if (combo->lineEdit() != nullptr) {
        connect(combo->lineEdit(), &QLineEdit::textEdited, this,
                [this, &control](const QString& text) { TextEdited(control, text.toStdString()); });
      }
      connect(combo, &QComboBox::activated, this, [this, &control, combo](int index) {
        // An editable box also reports Enter after typing; only an entry
        // taken from the list is a pick.
        if (combo->isEditable() && combo->currentText() != combo->itemText(index)) return;
        EntryPicked(control, index);
      });
      break;
    }
    case WidgetKind::List: {
      auto* list = static_cast<QListWidget*>(&widget);
      connect(list, &QListWidget::currentRowChanged, this,
              [this, &control](int row) { RowChosen(control, row); });
      connect(list, &QListWidget::itemClicked, this, [this, &control] { RowClicked(control); });
      connect(list, &QListWidget::itemDoubleClicked, this,
              [this, &control] { RowDoubleClicked(control); });
      Watch(*list, control);
      break;
    }
    case WidgetKind::Pages: {
      auto* pages = static_cast<QTabWidget*>(&widget);
      connect(pages, &QTabWidget::currentChanged, this,
              [this, &control](int index) { PageChosen(control, index); });
      // Qt sizes the pages; the model's pages follow, and their children
      // are docked into them.
      if (auto* stack = pages->findChild<QStackedWidget*>()) Watch(*stack, control);
      break;
    }
    default:
      break;
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
  if (it == watched_.end() || !form().Owns(it->second)) return false;
  Control& control = *it->second;
  switch (event->type()) {
    case QEvent::KeyPress:
      if (auto* edit = qobject_cast<QLineEdit*>(watched)) return KeyPressed(control, *edit, *event);
      break;
    case QEvent::FocusOut:
      FocusLeft(control);
      break;
    case QEvent::FocusIn:
      FocusEntered(control);
      break;
    case QEvent::MouseMove: {
      const QPoint at = static_cast<QMouseEvent*>(event)->position().toPoint();
      MouseMoved(control, at.x(), at.y());
      break;
    }
    case QEvent::Resize:
      if (auto* stack = qobject_cast<QStackedWidget*>(watched))
        PagesResized(control, stack->width(), stack->height());
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
  auto& line = static_cast<QLineEdit&>(widget);
  const auto& press = static_cast<QKeyEvent&>(event);
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
  const char32_t filtered = KeyTyped(control, key);
  if (filtered == key) return false;
  if (filtered != 0) {
    if (filtered == 8) {
      line.backspace();
    } else {
      line.insert(QString::fromUcs4(&filtered, 1));
    }
    TextEdited(control, line.text().toStdString());
  }
  return true;
}

void FormMirror::ControlDestroyed(Control& control) {
  for (auto it = watched_.begin(); it != watched_.end();) {
    it = it->second == &control ? watched_.erase(it) : std::next(it);
  }
  ViewMirror::ControlDestroyed(control);
}

void FormMirror::DestroyWidget(Widget widget) {
  QWidget* gone = AsQt(widget);
  alive_.erase(widget);
  gone->hide();
  gone->deleteLater();
}

bool FormMirror::Alive(Widget widget) const {
  const auto it = alive_.find(widget);
  return it != alive_.end() && !it->second.isNull();
}

void FormMirror::SetGeometry(Widget widget, const Rect& b) {
  AsQt(widget)->setGeometry(b.Left, b.Top, b.Width(), b.Height());
}

void FormMirror::SetVisible(Widget widget, bool visible) {
  AsQt(widget)->setVisible(visible);
}

void FormMirror::SetEnabled(Widget widget, bool enabled) {
  AsQt(widget)->setEnabled(enabled);
}

void FormMirror::SetTooltip(Widget widget, const std::string& text) {
  AsQt(widget)->setToolTip(ToQt(text));
}

void FormMirror::SetCaption(Widget widget, WidgetKind kind, const std::string& text) {
  if (kind == WidgetKind::GroupBox) {
    static_cast<QGroupBox*>(AsQt(widget))->setTitle(ToQt(text));
  } else {
    static_cast<QAbstractButton*>(AsQt(widget))->setText(ToQt(text));
  }
}

void FormMirror::SetReadOut(Widget widget, const ReadOutLook& look) {
  auto* label = static_cast<QLabel*>(AsQt(widget));
  label->setText(ToQt(look.Text));
  label->setAlignment(LabelAlignment(look));
  label->setWordWrap(look.WordWrap);
}

std::string FormMirror::EditText(Widget widget, WidgetKind kind) const {
  if (kind == WidgetKind::EditableCombo)
    return static_cast<QComboBox*>(AsQt(widget))->currentText().toStdString();
  return static_cast<QLineEdit*>(AsQt(widget))->text().toStdString();
}

void FormMirror::SetEditText(Widget widget, WidgetKind kind, const std::string& text) {
  if (kind == WidgetKind::EditableCombo) {
    static_cast<QComboBox*>(AsQt(widget))->setEditText(ToQt(text));
    return;
  }
  // The model rewrote what was typed: the cursor stays where it was.
  auto* edit = static_cast<QLineEdit*>(AsQt(widget));
  const QString value = ToQt(text);
  const int cursor = edit->cursorPosition();
  edit->setText(value);
  edit->setCursorPosition(std::min(cursor, static_cast<int>(value.size())));
}

void FormMirror::SetPageTitle(Widget pages, Widget page, const std::string& text) {
  auto* tabs = static_cast<QTabWidget*>(AsQt(pages));
  tabs->setTabText(tabs->indexOf(AsQt(page)), ToQt(text));
}

void FormMirror::SetChecked(Widget widget, bool checked) {
  auto* box = static_cast<QCheckBox*>(AsQt(widget));
  const QSignalBlocker quiet(box);
  box->setChecked(checked);
}

void FormMirror::SetItems(Widget widget, WidgetKind kind, const std::vector<std::string>& items) {
  QStringList list;
  for (const auto& item : items) list << ToQt(item);
  if (kind == WidgetKind::List) {
    auto* rows = static_cast<QListWidget*>(AsQt(widget));
    rows->clear();
    rows->addItems(list);
    return;
  }
  auto* combo = static_cast<QComboBox*>(AsQt(widget));
  const QSignalBlocker quiet(combo);
  combo->clear();
  combo->addItems(list);
}

void FormMirror::SelectItem(Widget widget, WidgetKind kind, int index) {
  if (kind == WidgetKind::List) {
    auto* rows = static_cast<QListWidget*>(AsQt(widget));
    if (rows->currentRow() != index) rows->setCurrentRow(index);
    return;
  }
  auto* combo = static_cast<QComboBox*>(AsQt(widget));
  const QSignalBlocker quiet(combo);
  combo->setCurrentIndex(index);
}

void FormMirror::ShowPage(Widget pages, int index) {
  static_cast<QTabWidget*>(AsQt(pages))->setCurrentIndex(index);
}

void FormMirror::Repaint(Widget widget) {
  AsQt(widget)->update();
}

Rect FormMirror::ClientArea(Widget widget, WidgetKind kind, int width, int height) const {
  if (kind == WidgetKind::GroupBox) {
    // Inside the frame and below the title, as the style draws them.
    auto* box = static_cast<QGroupBox*>(AsQt(widget));
    box->ensurePolished();
    const QMargins m = box->contentsMargins();
    return Rect{m.left(), m.top(), width - m.right(), height - m.bottom()};
  }
  const int frame = static_cast<QScrollArea*>(AsQt(widget))->frameWidth();
  return Rect{0, 0, width - 2 * frame, height - 2 * frame};
}

void FormMirror::SetContentSize(Widget container, int width, int height) {
  AsQt(container)->resize(width, height);
}

Size FormMirror::RootSize() const {
  return Size{root_.width(), root_.height()};
}

}  // namespace korval::qt
