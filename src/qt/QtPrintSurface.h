#pragma once

#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/PrintSurface.h"

class QPainter;
class QPrinter;
class QTemporaryFile;

namespace korval {
class Ui;
}

namespace korval::qt {

class QtCanvas;
class PrinterSetupDialog;

// The print surface on Qt Print Support: the printers the print system
// (CUPS) lists, and after them a printer named "PDF" that writes the job into
// a PDF file, so that labels can be printed on a machine without printers.
//
// Page metrics are the selected printer's page layout: the paper edge to edge
// and, inside it, the printable area, whose top-left corner is the origin of
// the page canvas. The canvas counts in printer dots.
class QtPrintSurface final : public PrintSurface {
 public:
  static constexpr const char* kPdfPrinterName = "PDF";
  // The resolution of the PDF printer, that of a common label printer.
  static constexpr int kPdfDpi = 600;

  // Messages go to ui. Without the PDF printer the surface lists only the
  // print system's printers, and may list none.
  explicit QtPrintSurface(Ui& ui, bool withPdfPrinter = true);
  ~QtPrintSurface() override;
  QtPrintSurface(const QtPrintSurface&) = delete;
  QtPrintSurface& operator=(const QtPrintSurface&) = delete;

  // The file the PDF printer writes; "labels.pdf" in the current folder
  // unless set. Read when a job begins.
  void SetPdfOutputFile(std::string path) { pdfOutputFile_ = std::move(path); }
  const std::string& PdfOutputFile() const { return pdfOutputFile_; }

  // A print system queue's printer as the surface starts it: the queue's
  // default paper and resolution.
  static std::unique_ptr<QPrinter> QueuePrinter(const std::string& name);

  std::vector<std::string> Printers() const override { return printers_; }
  int PrinterIndex() const override { return selected_; }
  void SelectPrinter(int index) override;
  std::string DefaultPrinterName() const override;
  void RefreshPrinters() override;
  void RefreshMetrics() override;

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
  // Our own dialog: Qt's page setup offers no printer to choose.
  bool ShowPrinterSetupDialog() override;
  void SetOffsetStore(PrintOffsetStore* store) override { offsetStore_ = store; }
  // For tests: the setup dialog is handed to run instead of being run
  // modally, on any platform (offscreen too); what run leaves it with (its
  // result and choices) counts as the user's answer. An empty run restores
  // the modal dialog.
  void RunSetupDialogWith(std::function<void(PrinterSetupDialog&)> run) {
    setupDialogRun_ = std::move(run);
  }

  bool BeginJob(const std::string& title) override;
  Canvas& PageCanvas() override;
  void NewPage() override;
  bool EndJob() override;
  void LockCanvas() override { canvasLock_.lock(); }
  void UnlockCanvas() override { canvasLock_.unlock(); }
  // The PDF printer writes every job of a run into one file: a job that ends
  // within a run leaves the file open, and the next job goes on with a new
  // page. The file is finished when the run ends.
  void BeginRun() override { inRun_ = true; }
  bool EndRun() override;

 private:
  // Edges of the paper and of the printable area, inches from the paper's
  // top-left corner.
  struct Metrics {
    int Dpi = 300;
    double PaperWidth = 8.5;
    double PaperHeight = 11.0;
    double Left = 0, Top = 0, Right = 0, Bottom = 0;  // unprintable strips
  };

  void ListPrinters();
  void MakePrinter(int index);
  void UsePrintableArea();
  void OpenCanvas();
  bool CanShowDialogs() const;
  // After a dialog: the printer the user chose becomes the selected one.
  void AdoptDialogPrinter();
  // Finishes the open job: the PDF file is written, or the job handed to
  // the print system. False, with a message, when it did not get there.
  bool ClosePainter();
  static double InUnit(double inches, SizeUnit unit) {
    return unit == SizeUnit::Inches ? inches : inches * 25.4;
  }

  Ui& ui_;
  std::vector<std::string> printers_;
  bool withPdfPrinter_;
  int pdfIndex_ = -1;  // the built-in PDF printer's place in the list
  int selected_ = -1;
  std::unique_ptr<QPrinter> printer_;
  Metrics metrics_;
  std::string pdfOutputFile_ = "labels.pdf";
  std::unique_ptr<QPainter> painter_;
  // A job for a print system queue: drawn into this file, then submitted.
  std::unique_ptr<QPrinter> jobPrinter_;
  std::unique_ptr<QTemporaryFile> jobFile_;
  std::string jobTitle_;
  std::unique_ptr<QtCanvas> canvas_;
  std::recursive_mutex canvasLock_;
  bool inRun_ = false;
  PrintOffsetStore* offsetStore_ = nullptr;
  std::function<void(PrinterSetupDialog&)> setupDialogRun_;
  // The PDF file of a run, open between two of its jobs.
  bool pdfHeld_ = false;
};

}  // namespace korval::qt
