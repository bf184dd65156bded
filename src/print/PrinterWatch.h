#pragma once

#include <string>
#include <vector>

namespace korval {

class PrintSurface;
class TfrmMain;

// Notices what changed in the system's printers since the last look: the
// default printer, or the list of printers. Windows tells the dialog with
// window messages; elsewhere the view looks when the dialog window becomes
// active (after the person was away setting printers up) and this runs the
// dialog's reactions to the messages Windows would have sent.
class PrinterWatch {
 public:
  // Takes the printers as they are now.
  explicit PrinterWatch(PrintSurface& printer);

  // Re-reads the system's printers. A changed list runs the dialog's
  // reaction to a device change, a changed default printer its reaction to
  // a settings change ("Upozorňovat na změnu výchozí tiskárny" asks first).
  void Check(TfrmMain& dialog);

 private:
  PrintSurface& printer_;
  std::vector<std::string> printers_;
  std::string defaultName_;
};

}  // namespace korval
