#pragma once

#include <QWidget>

#include "dialog/TfrmMain.h"
#include "qt/FormMirror.h"

namespace korval::qt {

// The preview's paint box (Image1): the sheet drawn by the dialog's preview
// on every paint, and a press on it handed to the dialog, which picks the
// start position under it.
class PreviewWidget final : public QWidget {
 public:
  PreviewWidget(TfrmMain& dialog, ActionRunner run, QWidget* parent);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;

 private:
  TfrmMain& dialog_;
  ActionRunner run_;
};

}  // namespace korval::qt
