// The library's show and print paths on Windows. Both run on the thread that
// calls the exported function, which on Windows is the host's window thread:
// message boxes and the print dialogs need no thread of their own there.
#include <string>

#include "dialog/TfrmMain.h"
#include "host_api/Backend.h"
#include "host_api/HostApi.h"
#include "win32/FormView.h"
#include "win32/SpoolerPrintSurface.h"
#include "win32/Win32PictureDecoder.h"
#include "win32/Win32Ui.h"

namespace korval {
namespace {

void PrintLabelsOnWindows(HostContext& host) {
  win32::Win32Ui ui(host);
  win32::SpoolerPrintSurface printer(ui, host.HostWindow());
  PrintTiketFormularWith(SystemDialogServices(host, ui, printer));
}

void ShowDialogOnWindows(HostContext& host, std::intptr_t) {
  win32::RunLabelDialog(host);
}

// The error box of an exported function.
void ShowErrorOnWindows(HostContext& host, const std::string& text) {
  win32::Win32Ui ui(host);
  ui.ShowMessage(
      {"Chyba", text, MessageIcon::Error, MessageButtons::Ok, MessageModality::TaskModal});
}

}  // namespace

void InstallBackend() {
  SetDialogRunners(&ShowDialogOnWindows, &PrintLabelsOnWindows, &ShowErrorOnWindows);
  win32::InstallPictureDecoder();
}

}  // namespace korval
