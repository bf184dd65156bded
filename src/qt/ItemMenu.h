#pragma once

#include "dialog/TfrmMain.h"
#include "qt/FormMirror.h"

class QMenu;
class QWidget;

namespace korval::qt {

// The popup menu of the design surface's items, with the entries that the
// dialog's ppMenuPopup says fit the item it was opened on (hidden ones are
// there but not shown). Each entry runs the dialog's handler through run.
QMenu* MakeItemMenu(TfrmMain& dialog, const TfrmMain::ItemMenuState& state, const ActionRunner& run,
                    QWidget* parent);

}  // namespace korval::qt
