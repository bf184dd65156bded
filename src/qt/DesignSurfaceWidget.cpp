#include "qt/DesignSurfaceWidget.h"

#include <QContextMenuEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>
#include <exception>

#include "dialog/ItemMenuEntries.h"
#include "qt/ItemMenu.h"
#include "qt/QtCanvas.h"
#include "qt/QtUi.h"

namespace korval::qt {
namespace {

MouseButton ButtonOf(Qt::MouseButton button) {
  switch (button) {
    case Qt::RightButton:
      return MouseButton::Right;
    case Qt::MiddleButton:
      return MouseButton::Middle;
    default:
      return MouseButton::Left;
  }
}

}  // namespace

DesignSurfaceWidget::DesignSurfaceWidget(TfrmMain& dialog, ActionRunner run, QWidget* parent)
    : QWidget(parent), dialog_(dialog), run_(std::move(run)) {
  setMouseTracking(true);
  setAttribute(Qt::WA_OpaquePaintEvent);
  setContextMenuPolicy(Qt::DefaultContextMenu);
  // The barcode asks for the menu on a right-button release (it has no menu
  // of its own).
  dialog_.OnPopupRequest = [this](Control& item, int x, int y) {
    ShowItemMenu(item, QPoint(item.Left() + x, item.Top() + y));
  };
}

DesignSurfaceWidget::~DesignSurfaceWidget() {
  dialog_.OnPopupRequest = nullptr;
}

Control& DesignSurfaceWidget::PaintBox() const {
  return dialog_.Ctl<Control>("PaintBox1");
}

Control* DesignSurfaceWidget::ItemAt(QPoint at) const {
  const Control& panel = dialog_.Ctl<Control>("Panel2");
  // Later components lie above earlier ones.
  for (int i = dialog_.ComponentCount() - 1; i >= 0; --i) {
    Control& c = dialog_.Component(i);
    if (c.Parent() != &panel || !IsLabelItem(c)) continue;
    if (at.x() >= c.Left() && at.x() < c.Left() + c.Width() && at.y() >= c.Top() &&
        at.y() < c.Top() + c.Height()) {
      return &c;
    }
  }
  return nullptr;
}

void DesignSurfaceWidget::paintEvent(QPaintEvent* /*event*/) {
  QPainter painter(this);
  // The panel under the paint box is white; the label is drawn at the
  // dialog's design resolution, one design pixel per logical pixel, which
  // Qt maps onto the device pixels of a dense screen.
  painter.fillRect(rect(), Qt::white);
  QtCanvas canvas(painter, TfrmMain::kPixelsPerInch, TfrmMain::kPixelsPerInch);
  try {
    dialog_.PaintDesignSurface(canvas);
  } catch (...) {
    // Nothing may leave a Qt event handler: Qt would abort. A paint has no
    // one to tell; the next edit repaints.
  }
}

void DesignSurfaceWidget::Hover(Control& item, QPoint at) {
  hovered_ = &item;
  hoveredAt_ = at;
  run_([&item, at] { item.MouseMove(at.x() - item.Left(), at.y() - item.Top()); });
}

void DesignSurfaceWidget::mousePressEvent(QMouseEvent* event) {
  const QPoint at = event->position().toPoint();
  const MouseButton button = ButtonOf(event->button());
  if (captured_ != nullptr || pressedOnLabel_) return;  // a second button during a press
  if (Control* item = ItemAt(at)) {
    if (hovered_ != item || hoveredAt_ != at) Hover(*item, at);
    if (!dialog_.Owns(item)) return;
    captured_ = item;
    run_([item, button, at] {
      item->MouseDown(button, at.x() - item->Left(), at.y() - item->Top());
    });
  } else {
    pressedOnLabel_ = true;
    Control& box = PaintBox();
    run_([&box, button, at] { box.MouseDown(button, at.x(), at.y()); });
  }
}

void DesignSurfaceWidget::mouseMoveEvent(QMouseEvent* event) {
  const QPoint at = event->position().toPoint();
  if (captured_ != nullptr) {
    // The item that took the press follows the mouse wherever it goes,
    // measured from its own corner.
    Control* item = captured_;
    run_([item, at] { item->MouseMove(at.x() - item->Left(), at.y() - item->Top()); });
    return;
  }
  if (Control* item = ItemAt(at)) {
    overItem_ = true;
    Hover(*item, at);
  } else {
    overItem_ = false;
    hovered_ = nullptr;
    Control& box = PaintBox();
    run_([&box, at] { box.MouseMove(at.x(), at.y()); });
  }
  UpdateCursors();
}

void DesignSurfaceWidget::mouseReleaseEvent(QMouseEvent* event) {
  const QPoint at = event->position().toPoint();
  const MouseButton button = ButtonOf(event->button());
  if (captured_ != nullptr) {
    Control* item = captured_;
    captured_ = nullptr;
    run_(
        [item, button, at] { item->MouseUp(button, at.x() - item->Left(), at.y() - item->Top()); });
  } else if (pressedOnLabel_) {
    pressedOnLabel_ = false;
    Control& box = PaintBox();
    run_([&box, button, at] { box.MouseUp(button, at.x(), at.y()); });
    // Press and release on the label make a click, which redraws it.
    if (button == MouseButton::Left && rect().contains(at) && dialog_.Owns(&box))
      run_([&box] { box.Click(); });
  }
  UpdateCursors();
}

void DesignSurfaceWidget::contextMenuEvent(QContextMenuEvent* event) {
  Control* item = ItemAt(event->pos());
  if (item == nullptr || !HasItemMenu(*item)) return;
  ShowItemMenu(*item, event->pos());
}

bool DesignSurfaceWidget::event(QEvent* event) {
  if (event->type() != QEvent::ToolTip) return QWidget::event(event);
  const auto* help = static_cast<QHelpEvent*>(event);
  const Control* item = ItemAt(help->pos());
  if (item != nullptr && !item->Hint().empty()) {
    QToolTip::showText(help->globalPos(), QString::fromStdString(item->Hint()), this);
  } else {
    QToolTip::hideText();
    event->ignore();
  }
  return true;
}

void DesignSurfaceWidget::ShowItemMenu(Control& item, QPoint at) {
  // The menu takes the mouse: whatever the press started ends here.
  captured_ = nullptr;
  pressedOnLabel_ = false;
  TfrmMain::ItemMenuState state;
  run_([this, &item, &state] { state = dialog_.ppMenuPopup(item); });
  if (menu_ != nullptr) menu_->deleteLater();
  menu_ = MakeItemMenu(dialog_, state, run_, this);
  menu_->popup(mapToGlobal(at));
}

void DesignSurfaceWidget::UpdateCursors() {
  const bool placing = dialog_.PlacingItem();
  // Only the label accepts the item being placed.
  setCursor(!placing && overItem_ ? QtCursorShape(dialog_.ItemCursor) : Qt::ArrowCursor);
  if (QWidget* content = parentWidget()) {
    const Qt::CursorShape around = placing ? Qt::ForbiddenCursor : Qt::ArrowCursor;
    content->setCursor(around);
    if (QWidget* viewport = content->parentWidget()) viewport->setCursor(around);
  }
}

void DesignSurfaceWidget::Forget(const Control& control) {
  if (captured_ == &control) captured_ = nullptr;
  if (hovered_ == &control) {
    hovered_ = nullptr;
    overItem_ = false;
  }
}

}  // namespace korval::qt
