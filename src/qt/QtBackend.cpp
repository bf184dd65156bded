// The library's show and print paths on Qt.
#include <iostream>

#include "dialog/TfrmMain.h"
#include "host_api/Backend.h"
#include "host_api/HostApi.h"
#include "qt/LabelDialogWindow.h"
#include "qt/QtApplication.h"
#include "qt/QtPrintSurface.h"
#include "qt/QtUi.h"

namespace korval {
namespace {

void PrintLabelsOnQt(HostContext& host) {
  qt::EnsureApplication();
  qt::QtUi ui(host, std::cerr);
  qt::QtPrintSurface printer(ui);
  PrintTiketFormularWith(SystemDialogServices(host, ui, printer));
}

void ShowDialogOnQt(HostContext& host, std::intptr_t hostWindow) {
  qt::RunLabelDialog(host, hostWindow, std::cerr);
}

}  // namespace

void InstallBackend() {
  SetDialogRunners(&ShowDialogOnQt, &PrintLabelsOnQt);
}

}  // namespace korval
