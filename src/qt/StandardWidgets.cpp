#include "qt/StandardWidgets.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScrollArea>
#include <QTabWidget>

#include "dialog/StdControls.h"

namespace korval::qt {

QWidget* MakeStandardWidget(Control& control, QWidget& parent, QWidget*& container) {
  switch (control.Kind()) {
    case ControlKind::CheckBox:
      return new QCheckBox(&parent);
    case ControlKind::Edit: {
      auto* edit = new QLineEdit(&parent);
      edit->setReadOnly(static_cast<Edit&>(control).ReadOnly());
      return edit;
    }
    case ControlKind::ComboBox: {
      auto* combo = new QComboBox(&parent);
      if (static_cast<ComboBox&>(control).Editable()) {
        combo->setEditable(true);
        // The model decides what a typed name means; Qt adds nothing to
        // the list and completes nothing on its own.
        combo->setInsertPolicy(QComboBox::NoInsert);
        combo->setCompleter(nullptr);
      }
      return combo;
    }
    case ControlKind::ListBox:
      return new QListWidget(&parent);
    case ControlKind::Button: {
      auto* button = new QPushButton(&parent);
      // Enter in an edit must not press a button for the user.
      button->setAutoDefault(false);
      return button;
    }
    case ControlKind::Label: {
      auto* label = new QLabel(&parent);
      label->setTextFormat(Qt::PlainText);
      return label;
    }
    case ControlKind::Panel: {
      auto* panel = new QFrame(&parent);
      panel->setFrameShape(QFrame::NoFrame);
      container = panel;
      return panel;
    }
    case ControlKind::GroupBox: {
      auto* box = new QGroupBox(&parent);
      container = box;
      return box;
    }
    case ControlKind::ScrollBox: {
      auto* area = new QScrollArea(&parent);
      area->setWidgetResizable(false);
      auto* content = new QWidget;
      area->setWidget(content);
      container = content;
      return area;
    }
    case ControlKind::PageControl: {
      auto* pages = new QTabWidget(&parent);
      container = pages;
      return pages;
    }
    case ControlKind::TabSheet: {
      auto* pages = qobject_cast<QTabWidget*>(&parent);
      if (pages == nullptr) return nullptr;
      auto* page = new QWidget;
      pages->addTab(page, QString::fromStdString(control.Caption()));
      container = page;
      return page;
    }
    case ControlKind::PaintBox:
    case ControlKind::Image:
    case ControlKind::BarCode:
      break;
  }
  return nullptr;
}

}  // namespace korval::qt
