#include "print/PrinterWatch.h"

#include "dialog/TfrmMain.h"
#include "platform/PrintSurface.h"

namespace korval {

PrinterWatch::PrinterWatch(PrintSurface& printer)
    : printer_(printer),
      printers_(printer.Printers()),
      defaultName_(printer.DefaultPrinterName()) {}

void PrinterWatch::Check(TfrmMain& dialog) {
  printer_.RefreshPrinters();
  std::vector<std::string> printers = printer_.Printers();
  std::string defaultName = printer_.DefaultPrinterName();
  const bool listChanged = printers != printers_;
  const bool defaultChanged = defaultName != defaultName_;
  // Taken before the reactions run: a question they ask lets events run, and
  // an activation meanwhile must not ask again.
  printers_ = std::move(printers);
  defaultName_ = std::move(defaultName);
  if (listChanged) dialog.WmDeviceChange();
  if (defaultChanged) dialog.WmSettingChange();
}

}  // namespace korval
