#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "cli/SystemPrinting.h"
#include "platform/PrintSurface.h"
#include "print/ScaledCanvas.h"

namespace korval::cli {

// The print surface of `korval print --png`: the chosen printer's paper,
// printable area and resolution, but every sheet goes into a picture of the
// whole paper, edge to edge, at the picture's own resolution, instead of to
// the printer. The labels are laid out in the printer's dots as for a real
// print (a format measured in dots keeps its printed size) and scaled into
// the picture, with the page canvas's origin at the printable area's corner,
// where the printer's origin lies.
//
// Pictures are numbered from 1 over the whole run: OUT.png becomes
// OUT-1.png, OUT-2.png, ...
class PngSheetSurface final : public PrintSurface {
 public:
  // newImage makes one sheet's picture (width, height, dpi).
  using ImageMaker = std::function<std::unique_ptr<SheetImage>(int, int, int)>;
  PngSheetSurface(PrintSurface& printer, std::string outputPath, int dpi, ImageMaker newImage);

  // The file of sheet n (1-based).
  static std::string SheetFileName(const std::string& outputPath, int sheet);
  // The picture's size for the printer's paper at dpi.
  Size SheetPixels() const;

  std::vector<std::string> Printers() const override { return printer_.Printers(); }
  int PrinterIndex() const override { return printer_.PrinterIndex(); }
  void SelectPrinter(int index) override { printer_.SelectPrinter(index); }
  std::string DefaultPrinterName() const override { return printer_.DefaultPrinterName(); }
  void RefreshMetrics() override { printer_.RefreshMetrics(); }
  int DpiX() const override { return printer_.DpiX(); }
  int DpiY() const override { return printer_.DpiY(); }
  double PaperWidth(SizeUnit u) const override { return printer_.PaperWidth(u); }
  double PaperHeight(SizeUnit u) const override { return printer_.PaperHeight(u); }
  double WasteLeft(SizeUnit u) const override { return printer_.WasteLeft(u); }
  double WasteRight(SizeUnit u) const override { return printer_.WasteRight(u); }
  double WasteTop(SizeUnit u) const override { return printer_.WasteTop(u); }
  double WasteBottom(SizeUnit u) const override { return printer_.WasteBottom(u); }
  void SetCustomPaperSize(double w, double h) override { printer_.SetCustomPaperSize(w, h); }
  bool ShowPrintDialog() override { return true; }
  bool ShowPrinterSetupDialog() override { return false; }
  bool BeginJob(const std::string& title) override;
  Canvas& PageCanvas() override;
  void NewPage() override;
  bool EndJob() override;
  void LockCanvas() override {}
  void UnlockCanvas() override {}
  void BeginRun() override {}
  bool EndRun() override { return failed_.empty(); }

  int SheetsWritten() const { return written_; }
  // The files that could not be written.
  const std::vector<std::string>& Failed() const { return failed_; }

 private:
  void StartSheet();
  void FinishSheet();

  PrintSurface& printer_;
  std::string outputPath_;
  int dpi_;
  ImageMaker newImage_;
  std::unique_ptr<SheetImage> image_;
  std::unique_ptr<ScaledCanvas> canvas_;
  int sheet_ = 0;
  int written_ = 0;
  std::vector<std::string> failed_;
};

}  // namespace korval::cli
