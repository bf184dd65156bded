#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/PrintSurface.h"

struct HDC__;

namespace korval {
class Ui;
}

namespace korval::win32 {

class GdiCanvas;

// The print surface on the Windows spooler: the local and connected printers
// as the spooler lists them, each with its own device mode (paper, and what
// the print dialogs chose), page metrics from the printer's device context,
// and jobs drawn through GDI on the calling thread.
//
// The page canvas counts in printer dots from the corner of the printable
// area, which is where a printer's device context has its origin.
class SpoolerPrintSurface final : public PrintSurface {
 public:
  // Messages go to ui; the print dialogs belong to ownerWindow while it is a
  // window.
  explicit SpoolerPrintSurface(Ui& ui, std::intptr_t ownerWindow = 0);
  ~SpoolerPrintSurface() override;
  SpoolerPrintSurface(const SpoolerPrintSurface&) = delete;
  SpoolerPrintSurface& operator=(const SpoolerPrintSurface&) = delete;

  std::vector<std::string> Printers() const override { return printers_; }
  int PrinterIndex() const override { return selected_; }
  void SelectPrinter(int index) override;
  std::string DefaultPrinterName() const override;
  void RefreshPrinters() override;
  void RefreshMetrics() override;

  int DpiX() const override { return metrics_.DpiX; }
  int DpiY() const override { return metrics_.DpiY; }
  double PaperWidth(SizeUnit unit) const override { return InUnit(metrics_.PaperWidth, unit); }
  double PaperHeight(SizeUnit unit) const override { return InUnit(metrics_.PaperHeight, unit); }
  double WasteLeft(SizeUnit unit) const override { return InUnit(metrics_.Left, unit); }
  double WasteRight(SizeUnit unit) const override { return InUnit(metrics_.Right, unit); }
  double WasteTop(SizeUnit unit) const override { return InUnit(metrics_.Top, unit); }
  double WasteBottom(SizeUnit unit) const override { return InUnit(metrics_.Bottom, unit); }
  void SetCustomPaperSize(double widthInches, double heightInches) override;

  bool ShowPrintDialog() override;
  bool ShowPrinterSetupDialog() override;
  // The window that owns the print dialogs from now on.
  void SetOwnerWindow(std::intptr_t window) { ownerWindow_ = window; }

  bool BeginJob(const std::string& title) override;
  Canvas& PageCanvas() override;
  void NewPage() override;
  bool EndJob() override;
  // The spooler takes the pages as they are drawn on the calling thread; the
  // lock keeps a second thread (a preview) off the page while a sheet is
  // laid out.
  void LockCanvas() override { canvasLock_.lock(); }
  void UnlockCanvas() override { canvasLock_.unlock(); }

 private:
  // Inches, from the paper's top-left corner.
  struct Metrics {
    int DpiX = 300;
    int DpiY = 300;
    double PaperWidth = 8.5;
    double PaperHeight = 11.0;
    double Left = 0, Top = 0, Right = 0, Bottom = 0;  // unprintable strips
  };

  static double InUnit(double inches, SizeUnit unit) {
    return unit == SizeUnit::Inches ? inches : inches * 25.4;
  }
  const std::string& SelectedName() const;
  // The printer's own device mode, as its driver fills it in.
  void LoadDeviceMode();
  bool RunPrintDialog(bool setup);
  // Ends the open job: the last page and the document, or the job thrown
  // away when a page already failed. False, with a message, when the spooler
  // did not take it.
  bool CloseJob();

  Ui& ui_;
  std::intptr_t ownerWindow_;
  std::vector<std::string> printers_;
  int selected_ = -1;
  // The selected printer's DEVMODEW with its driver's private part.
  std::vector<unsigned char> deviceMode_;
  Metrics metrics_;
  HDC__* jobDc_ = nullptr;
  std::unique_ptr<GdiCanvas> canvas_;
  // Why a page of the open job failed, empty while none did.
  std::string jobFailure_;
  std::recursive_mutex canvasLock_;
};

}  // namespace korval::win32
