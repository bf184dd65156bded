// The library's show and print paths on Qt.
#include <iostream>
#include <sstream>

#include "dialog/TfrmMain.h"
#include "host_api/Backend.h"
#include "host_api/HostApi.h"
#include "qt/LabelDialogWindow.h"
#include "qt/QtApplication.h"
#include "qt/QtPrintSurface.h"
#include "qt/QtUi.h"

namespace korval {
namespace {

// Both paths run on the thread of the Qt application, whichever thread of the
// host calls.
void PrintLabelsOnQt(HostContext& host) {
  qt::RunInApplicationThread([&host] {
    qt::EnsureApplication();
    qt::QtUi ui(host, std::cerr);
    qt::QtPrintSurface printer(ui);
    PrintTiketFormularWith(SystemDialogServices(host, ui, printer));
  });
}

void ShowDialogOnQt(HostContext& host, std::intptr_t hostWindow) {
  qt::RunInApplicationThread([&] { qt::RunLabelDialog(host, hostWindow, std::cerr); });
}

// The error box of an exported function; without a person in front of the
// screen the log line that the boundary wrote is all there is.
void ShowErrorOnQt(HostContext& host, const std::string& text) {
  qt::RunInApplicationThread([&] {
    if (!qt::QtUi::Interactive()) return;
    std::ostringstream unused;
    qt::QtUi ui(host, unused);
    ui.ShowMessage(
        {"Chyba", text, MessageIcon::Error, MessageButtons::Ok, MessageModality::TaskModal});
  });
}

}  // namespace

void InstallBackend() {
  SetDialogRunners(&ShowDialogOnQt, &PrintLabelsOnQt, &ShowErrorOnQt);
}

}  // namespace korval
