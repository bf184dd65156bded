#pragma once

#include <memory>
#include <string>
#include <vector>

#include "doubles/RecordingCanvas.h"
#include "platform/PrintSurface.h"

namespace korval::test {

// A print surface with scripted printers whose jobs and pages are kept: each
// page is a recording canvas at the printer's resolution.
class FakePrintSurface final : public PrintSurface {
 public:
  struct Printer {
    std::string Name;
    int DpiX = 600;
    int DpiY = 600;
    double PaperWidthIn = 8.27;  // A4
    double PaperHeightIn = 11.69;
    double WasteLeftIn = 0.0;
    double WasteTopIn = 0.0;
    double WasteRightIn = 0.0;
    double WasteBottomIn = 0.0;
  };
  struct Job {
    std::string Title;
    std::vector<std::unique_ptr<RecordingCanvas>> Pages;
    bool Ended = false;
    bool Refused = false;
  };

  std::vector<std::string> Printers() const override;
  int PrinterIndex() const override { return selected_; }
  void SelectPrinter(int index) override;
  std::string DefaultPrinterName() const override { return defaultName_; }
  // The scripted list is the system's at any moment.
  void RefreshPrinters() override { ++printerRefreshes_; }
  void RefreshMetrics() override { ++metricRefreshes_; }

  int DpiX() const override;
  int DpiY() const override;
  double PaperWidth(SizeUnit unit) const override;
  double PaperHeight(SizeUnit unit) const override;
  double WasteLeft(SizeUnit unit) const override;
  double WasteRight(SizeUnit unit) const override;
  double WasteTop(SizeUnit unit) const override;
  double WasteBottom(SizeUnit unit) const override;
  void SetCustomPaperSize(double widthInches, double heightInches) override;

  bool ShowPrintDialog() override;
  bool ShowPrinterSetupDialog() override;

  bool BeginJob(const std::string& title) override;
  Canvas& PageCanvas() override;
  void NewPage() override;
  bool EndJob() override;
  void LockCanvas() override;
  void UnlockCanvas() override;

  // Scripted state.
  std::vector<Printer> printers_;
  std::string defaultName_;
  int selected_ = -1;
  // Answers of the two dialogs; when confirming, the dialog selects
  // dialogPrinter_ (if >= 0) and, for the setup dialog, dialogPaper_ sizes.
  bool printDialogAnswer_ = false;
  bool setupDialogAnswer_ = false;
  int dialogPrinter_ = -1;
  double dialogPaperWidthIn_ = -1;
  double dialogPaperHeightIn_ = -1;
  // The print system refuses every job from the one of this index (0-based)
  // on; -1 takes them all.
  int refuseFromJob_ = -1;

  // Observed.
  std::vector<Job> jobs_;
  int printDialogs_ = 0;
  int setupDialogs_ = 0;
  int metricRefreshes_ = 0;
  int printerRefreshes_ = 0;
  int lockDepth_ = 0;
  int maxLockDepth_ = 0;
  std::vector<std::pair<double, double>> customPaperSizes_;

 private:
  const Printer* Current() const;
  double Scaled(double inches, SizeUnit unit) const {
    return unit == SizeUnit::Inches ? inches : inches * 25.4;
  }
};

}  // namespace korval::test
