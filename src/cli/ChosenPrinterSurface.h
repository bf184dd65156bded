#pragma once

#include <functional>
#include <string>

#include "platform/PrintSurface.h"

namespace korval::cli {

// The print surface as the korval program shows it to the library: only the
// printer named on the command line exists, so whatever a format or the
// printer settings file name, the labels go where the user said. It also
// counts the sheets that go out, for the progress line and the exit status.
class ChosenPrinterSurface final : public PrintSurface {
 public:
  ChosenPrinterSurface(PrintSurface& inner, int innerIndex);

  std::vector<std::string> Printers() const override;
  int PrinterIndex() const override { return inner_.PrinterIndex() == index_ ? 0 : -1; }
  void SelectPrinter(int) override { inner_.SelectPrinter(index_); }
  std::string DefaultPrinterName() const override { return Printers().front(); }
  void RefreshMetrics() override { inner_.RefreshMetrics(); }
  int DpiX() const override { return inner_.DpiX(); }
  int DpiY() const override { return inner_.DpiY(); }
  double PaperWidth(SizeUnit u) const override { return inner_.PaperWidth(u); }
  double PaperHeight(SizeUnit u) const override { return inner_.PaperHeight(u); }
  double WasteLeft(SizeUnit u) const override { return inner_.WasteLeft(u); }
  double WasteRight(SizeUnit u) const override { return inner_.WasteRight(u); }
  double WasteTop(SizeUnit u) const override { return inner_.WasteTop(u); }
  double WasteBottom(SizeUnit u) const override { return inner_.WasteBottom(u); }
  void SetCustomPaperSize(double w, double h) override { inner_.SetCustomPaperSize(w, h); }
  // Nobody is there to answer a dialog; the printer is chosen already.
  bool ShowPrintDialog() override { return true; }
  bool ShowPrinterSetupDialog() override { return false; }
  bool BeginJob(const std::string& title) override;
  Canvas& PageCanvas() override { return inner_.PageCanvas(); }
  void NewPage() override;
  bool EndJob() override;
  void LockCanvas() override { inner_.LockCanvas(); }
  void UnlockCanvas() override { inner_.UnlockCanvas(); }
  void BeginRun() override { inner_.BeginRun(); }
  // A run whose output was lost sent nothing, whatever its jobs said.
  bool EndRun() override;

  // Told at the start of every sheet (1-based).
  std::function<void(int sheet)> OnSheet;
  int SheetsSent() const { return sheetsSent_; }
  int JobsSent() const { return jobsSent_; }
  int JobsRefused() const { return jobsRefused_; }

 private:
  PrintSurface& inner_;
  int index_;
  int sheet_ = 0;
  int pagesInJob_ = 0;
  int sheetsSent_ = 0;
  int jobsSent_ = 0;
  int jobsRefused_ = 0;
};

}  // namespace korval::cli
