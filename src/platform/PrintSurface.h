#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/Canvas.h"

namespace korval {

enum class SizeUnit { Inches, Millimetres };

// How far everything printed on one printer is moved so that it meets the
// sheet's labels, in millimetres: right and down, negative left and up. A
// printer's paper feed and the sheets' cut are never exact; the clerk reads
// the two numbers off a calibration sheet.
struct PrintOffset {
  double XMm = 0;
  double YMm = 0;
  friend bool operator==(const PrintOffset&, const PrintOffset&) = default;
};

// Where each printer's offset is kept.
class PrintOffsetStore {
 public:
  virtual ~PrintOffsetStore() = default;
  virtual PrintOffset Offset(const std::string& printer) const = 0;
  virtual void SetOffset(const std::string& printer, const PrintOffset& offset) = 0;
};

// What the label printing needs of a printing backend. Positions on a page
// are printer dots from the top-left corner of the printable area.
class PrintSurface {
 public:
  virtual ~PrintSurface() = default;

  // Installed printers in a fixed order; names are what formats store.
  virtual std::vector<std::string> Printers() const = 0;
  virtual bool HasPrinter() const { return !Printers().empty(); }
  // Index of the selected printer, -1 when there is none.
  virtual int PrinterIndex() const = 0;
  // -1 selects the system default printer, or the last listed one when the
  // default cannot be determined.
  virtual void SelectPrinter(int index) = 0;
  // The system's default printer name, empty when none is set.
  virtual std::string DefaultPrinterName() const = 0;
  // Re-reads the system's list of printers, keeping the selected printer
  // selected while it is listed (the default one when it went away).
  virtual void RefreshPrinters() {}
  // Re-reads the page metrics of the selected printer.
  virtual void RefreshMetrics() = 0;

  // Page metrics of the selected printer. With no printer installed, a sheet
  // of 8.5 x 11 inches without unprintable strips at 300 dots per inch.
  virtual int DpiX() const = 0;
  virtual int DpiY() const = 0;
  virtual double PaperWidth(SizeUnit unit) const = 0;
  virtual double PaperHeight(SizeUnit unit) const = 0;
  virtual double WasteLeft(SizeUnit unit) const = 0;
  virtual double WasteRight(SizeUnit unit) const = 0;
  virtual double WasteTop(SizeUnit unit) const = 0;
  virtual double WasteBottom(SizeUnit unit) const = 0;
  virtual void SetCustomPaperSize(double widthInches, double heightInches) = 0;

  // Modal dialogs; true when confirmed. Without a display they answer false.
  virtual bool ShowPrintDialog() = 0;
  virtual bool ShowPrinterSetupDialog() = 0;
  // The offsets that a setup dialog able to show them reads and edits; null
  // when none are kept. The store outlives the surface's use of it.
  virtual void SetOffsetStore(PrintOffsetStore* /*store*/) {}

  // A job under a title, opened with its first page. False when it cannot be
  // opened (no printer: the backend has shown its message).
  virtual bool BeginJob(const std::string& title) = 0;
  virtual Canvas& PageCanvas() = 0;
  virtual void NewPage() = 0;
  // Closes the job and hands it to the print system. False when the print
  // system did not take it (a queue that rejects jobs or is stopped, a
  // printer that is gone, a file that cannot be written): the backend has
  // shown its message with the print system's reason.
  virtual bool EndJob() = 0;
  // Held while one sheet is laid out.
  virtual void LockCanvas() = 0;
  virtual void UnlockCanvas() = 0;

  // The jobs of one print, one after another (a sheet per job when every
  // sheet goes to a queue of its own). A backend that writes files puts all
  // jobs of a run into one file, so that no sheet overwrites the one before;
  // a printer's queue takes the jobs as they come.
  virtual void BeginRun() {}
  // False when what the run wrote could not be kept (a file cut short on a
  // full disk): the backend has shown its message.
  virtual bool EndRun() { return true; }
};

// The printer SelectPrinter(index) means among printers (not empty): index
// itself when it is one of them; otherwise the one that defaultName names
// (asked only then: the system may take its time to tell), or the last
// listed when it names none.
int PrinterToSelect(const std::vector<std::string>& printers, int index,
                    const std::function<std::string()>& defaultName);

// The index of the printer named selectedName in printers after the list was
// read again, -1 when it is gone (or none was selected).
int IndexAfterRefresh(const std::vector<std::string>& printers, const std::string& selectedName);

}  // namespace korval
