#include "qt/SaveDialogView.h"

#include <QCloseEvent>
#include <QFrame>
#include <QGuiApplication>
#include <QPushButton>
#include <QScreen>

namespace korval::qt {

SaveDialogView::SaveDialogView(TfrmSaves& dialog, Ui& ui, QWidget* parent)
    : QDialog(parent), dialog_(dialog), mirror_(std::make_unique<FormMirror>(dialog, *this, ui)) {
  setObjectName(QString::fromUtf8(TfrmSaves::kFormName));
  setWindowTitle(QString::fromStdString(dialog_.Caption()));
  // Only the system menu among the title-bar buttons.
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
  setMinimumSize(TfrmSaves::kMinTrackSize.Cx, TfrmSaves::kMinTrackSize.Cy);
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    const Size most =
        TfrmSaves::MaxTrackSize(Size{screen->size().width(), screen->size().height()});
    setMaximumSize(std::max(most.Cx, TfrmSaves::kMinTrackSize.Cx),
                   std::max(most.Cy, TfrmSaves::kMinTrackSize.Cy));
  }
  resize(TfrmSaves::kWidth, TfrmSaves::kHeight);

  mirror_->OnChanged = [this](Control& control, std::string_view property) {
    if (&control == &dialog_.Panel2() && property == "Bounds") PlaceSeparator();
  };
  mirror_->AfterUserAction = [this] { EndIfSaved(); };
  mirror_->Build();
  if (auto* save = qobject_cast<QPushButton*>(mirror_->WidgetOf(dialog_.btnOk()))) {
    save->setDefault(true);
  }
  separator_ = new QFrame(mirror_->WidgetOf(dialog_.Panel2()));
  separator_->setObjectName(QStringLiteral("Bevel1"));
  separator_->setFrameShape(QFrame::HLine);
  separator_->setFrameShadow(QFrame::Sunken);
  dialog_.SetClientSize(width(), height());
  PlaceSeparator();
}

SaveDialogView::~SaveDialogView() {
  mirror_.reset();
  const auto children = findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly);
  for (QWidget* child : children) delete child;
}

bool SaveDialogView::Run() {
  exec();
  return dialog_.Result() == ModalResult::Ok;
}

void SaveDialogView::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (QWidget* name = mirror_->WidgetOf(dialog_.ActiveControl())) name->setFocus();
}

void SaveDialogView::resizeEvent(QResizeEvent* event) {
  QDialog::resizeEvent(event);
  if (mirror_ != nullptr) dialog_.SetClientSize(width(), height());
}

void SaveDialogView::PlaceSeparator() {
  if (separator_ == nullptr) return;
  const Panel& panel = dialog_.Panel2();
  separator_->setGeometry(0, std::max(0, panel.Height() - 2), panel.Width(), 2);
}

void SaveDialogView::EndIfSaved() {
  if (dialog_.Result() == ModalResult::Ok && isVisible()) accept();
}

void SaveDialogView::closeEvent(QCloseEvent* event) {
  dialog_.Close();
  event->accept();
  if (isVisible()) QDialog::reject();
}

void SaveDialogView::reject() {
  close();
}

}  // namespace korval::qt
