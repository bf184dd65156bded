#pragma once

#include <QMenu>
#include <QPointer>
#include <QWidget>

#include "dialog/TfrmMain.h"
#include "qt/FormMirror.h"

namespace korval::qt {

// The label on the design page: one widget the size of the white panel
// (Panel2) that paints what the dialog's design surface holds — the frame
// and print-area outlines of PaintBox1, the items through the label
// renderer at the design resolution, the outline of a drag in progress and
// the selection handles after a drop — and hands the mouse to the item under
// it, or to PaintBox1 over an empty spot. Items are not widgets.
class DesignSurfaceWidget final : public QWidget {
 public:
  DesignSurfaceWidget(TfrmMain& dialog, ActionRunner run, QWidget* parent);
  ~DesignSurfaceWidget() override;
  DesignSurfaceWidget(const DesignSurfaceWidget&) = delete;
  DesignSurfaceWidget& operator=(const DesignSurfaceWidget&) = delete;

  // The item menu last opened, while it exists.
  QMenu* ItemMenu() const { return menu_; }
  // Opens the item menu for item at a point of the label.
  void ShowItemMenu(Control& item, QPoint at);
  // Cursors of the label and of the scroll box around it, from the dialog's
  // state: placing mode, the hover shape of the item under the mouse.
  void UpdateCursors();
  // The control goes: nothing of it may be kept.
  void Forget(const Control& control);
  // The topmost label item at a point of the label, if any.
  Control* ItemAt(QPoint at) const;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  // The hint of the item under the mouse.
  bool event(QEvent* event) override;

 private:
  Control& PaintBox() const;
  void Hover(Control& item, QPoint at);

  TfrmMain& dialog_;
  ActionRunner run_;
  // The control that took the press: it gets the moves and the release.
  Control* captured_ = nullptr;
  bool pressedOnLabel_ = false;
  // The item and point of the last move handed over, so that a press comes
  // after the move that brought the mouse there.
  Control* hovered_ = nullptr;
  QPoint hoveredAt_;
  bool overItem_ = false;
  QPointer<QMenu> menu_;
};

}  // namespace korval::qt
