#pragma once

#include <QDialog>
#include <memory>
#include <string_view>

#include "dialog/TfrmMain.h"
#include "qt/FormMirror.h"

namespace korval {
class Ui;
class PrinterWatch;
}  // namespace korval

namespace korval::qt {

class DesignSurfaceWidget;
class PreviewWidget;

// The label dialog on screen: a Qt dialog that mirrors the dialog model
// (TfrmMain) control by control and leaves every decision to it. The design
// surface and the preview are widgets of their own; everything else is the
// standard widget of the control's kind, named after the control.
//
// Showing it the first time applies the stored window placement and runs the
// model's show step. Leaving goes through the model: "&Ok", "&Zrušit" and the
// close box run its leaving rules, and the dialog ends when the model says it
// is closed. The window's placement is reported back to the model as it
// changes, so whatever the model writes is where the window stood.
class FormView final : public QDialog {
 public:
  // Messages of errors that escape an operation go to ui; the model's own
  // messages go to the Ui of its services.
  FormView(TfrmMain& dialog, Ui& ui, QWidget* parent = nullptr);
  ~FormView() override;
  FormView(const FormView&) = delete;
  FormView& operator=(const FormView&) = delete;

  // Runs the dialog modally until the model is closed.
  void Run();

  TfrmMain& Model() const { return dialog_; }
  // The widget of a control by the control's name, or nullptr.
  QWidget* WidgetOf(std::string_view name) const;
  DesignSurfaceWidget& Surface() const { return *surface_; }
  PreviewWidget& PreviewBox() const { return *preview_; }

  // Looks for changes of the system's printers and runs the dialog's
  // reactions to them; done whenever the window becomes active.
  void CheckPrinters();

  // Esc: as the window's close box.
  void reject() override;

 protected:
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void moveEvent(QMoveEvent* event) override;
  void changeEvent(QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  QWidget* MakeWidget(Control& control, QWidget& parent);
  void Changed(Control& control, std::string_view property);
  void AfterUserAction();
  void ApplyPlacement();
  void ReportPlacement();
  void DeliverCloseRequest();
  void EndIfClosed();

  TfrmMain& dialog_;
  std::unique_ptr<FormMirror> mirror_;
  std::unique_ptr<PrinterWatch> printerWatch_;
  DesignSurfaceWidget* surface_ = nullptr;
  PreviewWidget* preview_ = nullptr;
  bool shown_ = false;
  bool ending_ = false;
};

}  // namespace korval::qt
