// The label dialog from creation to destruction: what runs in which order,
// the three ways of leaving and what each saves, the printer-change
// reactions, and the report of an error that ends a stage.
#include <korval/Version.h>

#include <exception>

#include "dialog/Texts.h"
#include "dialog/TfrmMain.h"
#include "host_api/FormPath.h"
#include "host_api/HostContext.h"
#include "host_api/ModulePaths.h"
#include "platform/Clock.h"
#include "platform/LocaleInfo.h"
#include "platform/PrintSurface.h"
#include "platform/Text.h"
#include "platform/Ui.h"

namespace korval {
namespace {

constexpr const char* kCreationFailed =
    "Chyba :\r\n  vytváření modulu nastavení proběhlo s chybou,\r\n  nelze pokračovat !\r\n\r\nERR "
    ": %s";
constexpr const char* kShowFailed =
    "Chyba :\r\n  procedura zobrazení modulu nastavení proběhla s chybou,\r\n  nelze pokračovat "
    "!\r\n\r\nERR : %s";

// The caption the version resource gives on Windows, from the build here.
std::string VersionCaption() {
  const std::string version = FormatText("%d.%2.2d", KORVAL_VERSION_MAJOR, KORVAL_VERSION_MINOR);
  const std::string build = FormatText(" build(%d.%d)", KORVAL_VERSION_PATCH, 0);
  return FormatText("%s ver.%s%s", KORVAL_PRODUCT_NAME, version.c_str(), build.c_str());
}

}  // namespace

void TfrmMain::RunCreationSteps() {
  Created = true;
  BoundItemIndex = -1;
  // Before anything is read from the format files it names.
  ReportUnresolvedFormPath(services_.Host, services_.UserInterface);
  try {
    LoadPrinterSettings(services_.Host.FormatName());
    RegisterStoredControls();
    HandleSize = 5;
    SolidHandles = true;
    Caption = VersionCaption();
    auto& box = Ctl<ComboBox>("cboxSaves");
    box.SetItems(ReadFormatList());
    if (!services_.Host.FormatName().empty()) box.SetText(services_.Host.FormatName());
  } catch (const std::exception& e) {
    services_.UserInterface.ShowMessage({"Chyba", FormatText(kCreationFailed, e.what()),
                                         MessageIcon::Error, MessageButtons::Ok,
                                         MessageModality::TaskModal});
    CloseRequested = true;
  }
  ReadWindowPlacement();
}

void TfrmMain::ShowStep() {
  try {
    Ctl<TLabel>("Label7").SetCaption(
        FillPattern(MessagePattern("MouseReadout", "Myš(mm):\r%d:%d"), {"0", "0"}));
    cboxSavesChange();
    LeavePlacingMode();
    Ctl<CheckBox>("cbRamecek").OnClick = [this](Control&) {
      Ctl<Control>("PaintBox1").Invalidate();
    };
    Ctl<TabSheet>("TabSheet1").OnEnter = [this](Control&) {
      Ctl<PageControl>("PageControl1").SetHelpContext(3);
      DrawTiket();
    };
    BindGoodsItem(0);
    ArrangeItemSwitches();
    if (const SheetTemplate* sheet = SheetCatalogue().Find(StartSheet).Found) ChooseSheet(*sheet);
  } catch (const std::exception& e) {
    services_.UserInterface.ShowMessage({"Chyba", FormatText(kShowFailed, e.what()),
                                         MessageIcon::Error, MessageButtons::Ok,
                                         MessageModality::TaskModal});
    CloseRequested = true;
  }
}

void TfrmMain::RunPrintPath() {
  LoadPrinterSettings(services_.Host.FormatName());
  ShowStep();
  GetAction("actPrint").Execute();
  services_.UserInterface.ProcessPendingEvents();
  // A close request sent by an error report is delivered with the pending
  // events.
  if (CloseRequested && !Closed) Close();
}

bool TfrmMain::Close() {
  CloseRequested = false;
  if (Result != ModalResult::Cancel) {
    const bool autoSave = Ctl<CheckBox>("cbAutoSave").Checked();
    const bool named = !Ctl<ComboBox>("cboxSaves").Text().empty();
    try {
      SaveState(!(autoSave && named), autoSave);
    } catch (const std::exception& e) {
      // As any error of an event handler: shown, and the dialog stays open.
      services_.UserInterface.ShowMessage(
          {"", e.what(), MessageIcon::Error, MessageButtons::Ok, MessageModality::TaskModal});
      return false;
    }
    if (Result == ModalResult::None) Result = ModalResult::Cancel;
  }
  try {
    WriteWindowPlacement();
  } catch (const std::exception& e) {
    services_.UserInterface.ShowMessage(
        {"", e.what(), MessageIcon::Error, MessageButtons::Ok, MessageModality::TaskModal});
  }
  Closed = true;
  return true;
}

void TfrmMain::OkClick() {
  Result = ModalResult::Ok;
  Close();
}

void TfrmMain::CancelClick() {
  Result = ModalResult::Cancel;
  try {
    SaveLastUsedState();
  } catch (const std::exception& e) {
    services_.UserInterface.ShowMessage(
        {"", e.what(), MessageIcon::Error, MessageButtons::Ok, MessageModality::TaskModal});
  }
  Closed = true;
}

void TfrmMain::WmDevModeChange() {
  ApplyPrinterSelection(services_.Printer.PrinterIndex(), -1, -1);
}

void TfrmMain::WmDeviceChange() {
  ApplyPrinterSelection(services_.Printer.PrinterIndex(), -1, -1);
}

void TfrmMain::WmSettingChange() {
  PrintSurface& printer = services_.Printer;
  if (!printer.HasPrinter()) return;
  const int index = DefaultPrinterIndex();
  if (printer.PrinterIndex() == index) return;
  if (Ctl<CheckBox>("cbDefPrinterChange").Checked()) {
    const MessageAnswer answer = services_.UserInterface.ShowMessage(
        {"Dotaz",
         "Byla změněna výchozí tiskárna !\r\nPřejete si změnit výstupní tiskárnu v editoru ?",
         MessageIcon::Question, MessageButtons::YesNo, MessageModality::TaskModal});
    if (answer != MessageAnswer::Yes) return;
  }
  printer.SelectPrinter(index);
  ApplyPrinterSelection(index, -1, -1);
}

}  // namespace korval

namespace korval {

DialogServices SystemDialogServices(HostContext& host, Ui& ui, PrintSurface& printer) {
  return {host, ui, printer, SystemLocale(), SystemClock(), HostExecutablePath()};
}

void PrintTiketFormularWith(const DialogServices& services) {
  TfrmMain dialog(services);
  dialog.RunCreationSteps();
  dialog.RunPrintPath();
}

}  // namespace korval
