#pragma once

#include <QDialog>
#include <memory>

#include "qt/FormMirror.h"
#include "storage/TfrmSaves.h"

class QFrame;

namespace korval {
class Ui;
}

namespace korval::qt {

// The save-format dialog, "Uložit nastavení", on screen: a window over the
// TfrmSaves model, which enables the buttons and keeps the list. It opens
// 235 x 222 with the input in the name field, can be sized between that and
// the screen less 20 pixels, and reports its size to the model, which places
// the panels and, through their resize rules, the buttons and the field.
class SaveDialogView final : public QDialog {
 public:
  SaveDialogView(TfrmSaves& dialog, Ui& ui, QWidget* parent = nullptr);
  ~SaveDialogView() override;
  SaveDialogView(const SaveDialogView&) = delete;
  SaveDialogView& operator=(const SaveDialogView&) = delete;

  // Runs the window modally; true when it was closed with the save button.
  bool Run();

  // Esc: as the title-bar close.
  void reject() override;

 protected:
  void showEvent(QShowEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void PlaceSeparator();
  void EndIfSaved();

  TfrmSaves& dialog_;
  std::unique_ptr<FormMirror> mirror_;
  QFrame* separator_ = nullptr;
};

}  // namespace korval::qt
