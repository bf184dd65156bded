#include "qt/FormView.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <algorithm>

#include "print/PrinterWatch.h"
#include "qt/DesignSurfaceWidget.h"
#include "qt/PreviewWidget.h"

namespace korval::qt {
namespace {

// The dialog font: "MS Sans Serif" at 11 pixels, or the nearest face of the
// same width that is installed, so the texts fit the controls' sizes.
QFont DialogFont() {
  QFont font;
  font.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("Microsoft Sans Serif"),
                    QStringLiteral("Liberation Sans"), QStringLiteral("Arial"),
                    QStringLiteral("Nimbus Sans"), QStringLiteral("DejaVu Sans")});
  font.setPixelSize(11);
  return font;
}

}  // namespace

FormView::FormView(TfrmMain& dialog, Ui& ui, QWidget* parent)
    : QDialog(parent),
      dialog_(dialog),
      mirror_(std::make_unique<FormMirror>(dialog, *this, ui)),
      printerWatch_(std::make_unique<PrinterWatch>(dialog.Services().Printer)) {
  setObjectName(QString::fromUtf8(TfrmMain::kFormName));
  setWindowTitle(QString::fromStdString(dialog_.Caption));
  setFont(DialogFont());
  setSizeGripEnabled(false);
  setMinimumSize(TfrmMain::kMinWidth, TfrmMain::kMinHeight);
  resize(dialog_.Placement.NormalPos.Width(), dialog_.Placement.NormalPos.Height());

  mirror_->MakeWidget = [this](Control& control, ViewMirror::Widget parentWidget) {
    QWidget& under = parentWidget != nullptr ? *static_cast<QWidget*>(parentWidget) : *this;
    return static_cast<ViewMirror::Widget>(MakeWidget(control, under));
  };
  mirror_->OnChanged = [this](Control& control, std::string_view property) {
    Changed(control, property);
  };
  mirror_->OnDestroyed = [this](Control& control) {
    if (surface_ != nullptr) {
      surface_->Forget(control);
      surface_->update();
    }
  };
  mirror_->AfterUserAction = [this] { AfterUserAction(); };
  mirror_->Build();
}

FormView::~FormView() {
  // The mirror goes first, so that nothing the widgets do while they are
  // taken down reaches the model.
  mirror_.reset();
  const auto children = findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly);
  for (QWidget* child : children) delete child;
}

QWidget* FormView::MakeWidget(Control& control, QWidget& parent) {
  if (control.Name() == "Panel2") {
    surface_ = new DesignSurfaceWidget(dialog_, mirror_->Runner(), &parent);
    return surface_;
  }
  if (control.Name() == "Image1") {
    preview_ = new PreviewWidget(dialog_, mirror_->Runner(), &parent);
    return preview_;
  }
  return nullptr;
}

QWidget* FormView::WidgetOf(std::string_view name) const {
  const Control* control = dialog_.FindComponent(name);
  return control == nullptr || mirror_ == nullptr ? nullptr : mirror_->WidgetOf(*control);
}

void FormView::Changed(Control& control, std::string_view property) {
  if (surface_ == nullptr) return;
  // Everything on the label, and the paint box under it, is the surface's.
  const Control* panel = dialog_.FindComponent("Panel2");
  if (control.Parent() == panel || (property == "Paint" && control.Name() == "PaintBox1"))
    surface_->update();
}

void FormView::AfterUserAction() {
  if (surface_ != nullptr) surface_->UpdateCursors();
  EndIfClosed();
}

void FormView::Run() {
  if (dialog_.Closed) return;
  exec();
}

void FormView::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (shown_) {
    dialog_.OnScreen = true;
    return;
  }
  shown_ = true;
  ApplyPlacement();
  dialog_.OnScreen = true;
  // The show step of the first showing: the format, the first goods item.
  mirror_->UserAction([this] { dialog_.ShowStep(); });
  setWindowTitle(QString::fromStdString(dialog_.Caption));
  if (QWidget* ok = WidgetOf("bbtnOk")) ok->setFocus();
  mirror_->UserAction([this] { dialog_.Preview(); });
  // A failed creation or show step asks for the dialog to close; the request
  // arrives once the window is up, as a message would.
  if (dialog_.CloseRequested) QTimer::singleShot(0, this, [this] { DeliverCloseRequest(); });
}

void FormView::hideEvent(QHideEvent* event) {
  QDialog::hideEvent(event);
  if (!event->spontaneous()) dialog_.OnScreen = false;
}

void FormView::resizeEvent(QResizeEvent* event) {
  QDialog::resizeEvent(event);
  if (mirror_ == nullptr) return;
  // The layout runs model code outside a user action: nothing of it may
  // leave the event handler.
  mirror_->UserAction([this] { mirror_->LayoutForm(); });
  ReportPlacement();
  // Every resize recomputes the page preview.
  if (dialog_.OnScreen) mirror_->UserAction([this] { dialog_.Preview(); });
}

void FormView::moveEvent(QMoveEvent* event) {
  QDialog::moveEvent(event);
  ReportPlacement();
}

void FormView::changeEvent(QEvent* event) {
  QDialog::changeEvent(event);
  if (event->type() == QEvent::WindowStateChange) ReportPlacement();
  // Coming back to the dialog is when the person may have changed printers
  // elsewhere: the print system sends no message for it.
  if (event->type() == QEvent::ActivationChange && isActiveWindow() && shown_ && !ending_)
    CheckPrinters();
}

void FormView::CheckPrinters() {
  mirror_->UserAction([this] { printerWatch_->Check(dialog_); });
}

void FormView::ApplyPlacement() {
  const WindowPlacement& placement = dialog_.Placement;
  const Rect& r = placement.NormalPos;
  const int width = std::max(r.Width(), TfrmMain::kMinWidth);
  const int height = std::max(r.Height(), TfrmMain::kMinHeight);
  resize(width, height);
  QScreen* screen = this->screen() != nullptr ? this->screen() : QGuiApplication::primaryScreen();
  const QRect available = screen != nullptr ? screen->availableGeometry() : QRect();
  const QRect stored(r.Left, r.Top, width, height);
  // A placement that was never taken from a window (the corner of the
  // screen) or that lies off every screen centres the dialog instead.
  const bool usable = (r.Left != 0 || r.Top != 0) && available.intersects(stored);
  if (usable) {
    move(r.Left, r.Top);
  } else if (available.isValid()) {
    move(available.center() - QPoint(width / 2, height / 2));
  }
  if (placement.ShowCmd == 3) setWindowState(windowState() | Qt::WindowMaximized);
}

void FormView::ReportPlacement() {
  if (!shown_) return;
  WindowPlacement& placement = dialog_.Placement;
  const Qt::WindowStates state = windowState();
  placement.ShowCmd = (state & Qt::WindowMaximized) != 0 ? 3 : 1;
  if ((state & (Qt::WindowMaximized | Qt::WindowMinimized | Qt::WindowFullScreen)) == 0) {
    // The window's corner with its frame, as move() takes it, and the size
    // of its inside, as resize() takes it: the two round-trip unchanged.
    const QPoint at = pos();
    placement.NormalPos = Rect{at.x(), at.y(), at.x() + width(), at.y() + height()};
  }
}

void FormView::DeliverCloseRequest() {
  if (!dialog_.CloseRequested || dialog_.Closed) return;
  ReportPlacement();
  mirror_->UserAction([this] { dialog_.Close(); });
}

void FormView::EndIfClosed() {
  if (!dialog_.Closed || ending_ || !isVisible()) return;
  ending_ = true;
  done(dialog_.Result == ModalResult::Ok ? QDialog::Accepted : QDialog::Rejected);
  ending_ = false;
}

void FormView::closeEvent(QCloseEvent* event) {
  if (dialog_.Closed) {
    event->accept();
    return;
  }
  // The close box: the same leaving rules as "&Ok", which may keep the
  // dialog open.
  ReportPlacement();
  mirror_->UserAction([this] { dialog_.Close(); });
  if (dialog_.Closed) {
    event->accept();
  } else {
    event->ignore();
  }
}

void FormView::reject() {
  close();
}

}  // namespace korval::qt
