#include "qt/PreviewWidget.h"

#include <QMouseEvent>
#include <QPainter>
#include <exception>

#include "qt/QtCanvas.h"

namespace korval::qt {

PreviewWidget::PreviewWidget(TfrmMain& dialog, ActionRunner run, QWidget* parent)
    : QWidget(parent), dialog_(dialog), run_(std::move(run)) {
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void PreviewWidget::paintEvent(QPaintEvent* /*event*/) {
  QPainter painter(this);
  QtCanvas canvas(painter, TfrmMain::kPixelsPerInch, TfrmMain::kPixelsPerInch);
  // While it paints, the preview's own redraws land here too.
  dialog_.PreviewCanvas = &canvas;
  try {
    dialog_.DrawPreviewPage(canvas);
  } catch (...) {
    // Nothing may leave a Qt event handler: Qt would abort. A paint has no
    // one to tell; the next change repaints.
  }
  dialog_.PreviewCanvas = nullptr;
}

void PreviewWidget::mousePressEvent(QMouseEvent* event) {
  const QPoint at = event->position().toPoint();
  const MouseButton button = event->button() == Qt::RightButton    ? MouseButton::Right
                             : event->button() == Qt::MiddleButton ? MouseButton::Middle
                                                                   : MouseButton::Left;
  Control& box = dialog_.Ctl<Control>("Image1");
  run_([&box, button, at] { box.MouseDown(button, at.x(), at.y()); });
}

}  // namespace korval::qt
