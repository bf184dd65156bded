#include "qt/LabelDialogWindow.h"

#include <QWindow>
#include <memory>

#include "dialog/TfrmMain.h"
#include "qt/FormView.h"
#include "qt/QtApplication.h"
#include "qt/QtPrintSurface.h"
#include "qt/QtUi.h"
#include "qt/SaveDialogView.h"

namespace korval::qt {

bool RunLabelDialog(HostContext& host, std::intptr_t hostWindow, std::ostream& log,
                    const std::string& startSheet) {
  EnsureApplication();
  if (!QtUi::Interactive()) {
    log << "korval: no display, the label dialog cannot be shown\n";
    return false;
  }
  QtUi ui(host, log);
  QtPrintSurface printer(ui);
  TfrmMain dialog(SystemDialogServices(host, ui, printer));
  dialog.StartSheet = startSheet;
  dialog.RunCreationSteps();

  // The host's window outlives the dialog's, which stands above it.
  std::unique_ptr<QWindow> owner;
  if (hostWindow != 0) owner.reset(QWindow::fromWinId(static_cast<WId>(hostWindow)));
  {
    FormView view(dialog, ui);
    if (owner != nullptr) {
      view.winId();
      if (QWindow* window = view.windowHandle()) window->setTransientParent(owner.get());
    }
    ui.SaveDialogRunner = [&ui, &view](TfrmSaves& saves) {
      SaveDialogView saveView(saves, ui, &view);
      return saveView.Run();
    };
    view.Run();
    ui.SaveDialogRunner = nullptr;
    if (QWindow* window = view.windowHandle()) window->setTransientParent(nullptr);
  }
  return true;
}

}  // namespace korval::qt
