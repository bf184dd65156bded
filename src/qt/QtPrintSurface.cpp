#include "qt/QtPrintSurface.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QTemporaryFile>
#include <algorithm>
#include <filesystem>
#include <stdexcept>
#include <utility>

#include "platform/Text.h"
#include "platform/Ui.h"
#include "print/PrintSurfaceMessages.h"
#include "qt/PrinterSetupDialog.h"
#include "qt/QtApplication.h"
#include "qt/QtCanvas.h"
#include "qt/QtPrintSurfaceCups.h"

namespace korval::qt {
namespace {

// A PDF ends in its "%%EOF" marker, perhaps followed by a line end.
bool EndsLikeAPdf(const std::string& path) {
  QFile file(QString::fromStdString(path));
  if (!file.open(QIODevice::ReadOnly) || file.size() < 8) return false;
  file.seek(std::max<qint64>(0, file.size() - 32));
  return file.readAll().trimmed().endsWith("%%EOF");
}

// Points per unit of Qt's page units, so that a size keeps the precision it
// was defined with (A4 is 210 x 297 mm, not a rounded number of inches).
double PointsPer(QPageSize::Unit unit) {
  switch (unit) {
    case QPageSize::Millimeter:
      return 72.0 / 25.4;
    case QPageSize::Point:
      return 1.0;
    case QPageSize::Inch:
      return 72.0;
    case QPageSize::Pica:
      return 12.0;
    case QPageSize::Didot:
      return 1.07;
    case QPageSize::Cicero:
      return 12.84;
  }
  return 1.0;
}

double PointsPer(QPageLayout::Unit unit) {
  switch (unit) {
    case QPageLayout::Millimeter:
      return 72.0 / 25.4;
    case QPageLayout::Point:
      return 1.0;
    case QPageLayout::Inch:
      return 72.0;
    case QPageLayout::Pica:
      return 12.0;
    case QPageLayout::Didot:
      return 1.07;
    case QPageLayout::Cicero:
      return 12.84;
  }
  return 1.0;
}

std::vector<std::string> PrintSystemPrinters() {
  std::vector<std::string> names;
  for (const QString& name : QPrinterInfo::availablePrinterNames())
    names.push_back(name.toStdString());
  return names;
}

}  // namespace

QtPrintSurface::QtPrintSurface(Ui& ui, bool withPdfPrinter)
    : ui_(ui), withPdfPrinter_(withPdfPrinter) {
  EnsureApplication();
  ListPrinters();
  SelectPrinter(-1);
}

QtPrintSurface::~QtPrintSurface() {
  // A job left open still reaches its printer (or file) with what it has.
  if (painter_) ClosePainter();
}

bool QtPrintSurface::EndRun() {
  inRun_ = false;
  return pdfHeld_ ? ClosePainter() : true;
}

void QtPrintSurface::ListPrinters() {
  printers_ = PrintSystemPrinters();
  pdfIndex_ = -1;
  if (!withPdfPrinter_) return;
  // A print system queue of the same name (cups-pdf calls its queue "PDF")
  // writes PDF files as well; it is listed once.
  for (const std::string& name : printers_) {
    if (SameText(name, kPdfPrinterName)) return;
  }
  printers_.push_back(kPdfPrinterName);
  pdfIndex_ = static_cast<int>(printers_.size()) - 1;
}

void QtPrintSurface::RefreshPrinters() {
  // The printer of a job in progress stays as it is until the job ends.
  if (painter_) return;
  const std::vector<std::string> before = printers_;
  const std::string selectedName =
      selected_ >= 0 ? before[static_cast<std::size_t>(selected_)] : std::string();
  ListPrinters();
  if (printers_ == before) return;
  if (const int kept = IndexAfterRefresh(printers_, selectedName); kept >= 0) {
    selected_ = kept;
    return;
  }
  selected_ = -1;
  SelectPrinter(-1);
}

std::string QtPrintSurface::DefaultPrinterName() const {
  const QString name = QPrinterInfo::defaultPrinterName();
  if (!name.isEmpty()) return name.toStdString();
  if (pdfIndex_ >= 0 && printers_.size() == 1) return kPdfPrinterName;
  return {};
}

void QtPrintSurface::SelectPrinter(int index) {
  if (painter_) throw std::logic_error("the printer cannot change during a print job");
  if (printers_.empty()) {
    selected_ = -1;
    printer_.reset();
    RefreshMetrics();
    return;
  }
  const int target = PrinterToSelect(printers_, index, [this] { return DefaultPrinterName(); });
  // Choosing the printer that is already selected keeps the paper chosen for
  // it; the format store selects the same printer several times in a row.
  if (target != selected_ || !printer_) {
    MakePrinter(target);
    selected_ = target;
  }
  RefreshMetrics();
}

std::unique_ptr<QPrinter> QtPrintSurface::QueuePrinter(const std::string& name) {
  const QPrinterInfo info = QPrinterInfo::printerInfo(QString::fromStdString(name));
  auto printer = std::make_unique<QPrinter>(info, QPrinter::HighResolution);
  // Qt starts every printer on its own default page (A4 or Letter by the
  // locale), even a label printer that has no such sheet; the queue's
  // default is the paper it is loaded with.
  if (info.defaultPageSize().isValid()) printer->setPageSize(info.defaultPageSize());
  // Formats measured in printer dots mean the printer's own dots: a label
  // printer's 203 dpi, not the 1200 that Qt draws every queue's page in.
  if (const int native = CupsDefaultResolution(name); native > 0) printer->setResolution(native);
  return printer;
}

void QtPrintSurface::MakePrinter(int index) {
  if (index == pdfIndex_) {
    printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer_->setOutputFormat(QPrinter::PdfFormat);
    printer_->setResolution(kPdfDpi);
  } else {
    printer_ = QueuePrinter(printers_[static_cast<std::size_t>(index)]);
  }
  printer_->setFullPage(false);
  UsePrintableArea();
}

void QtPrintSurface::UsePrintableArea() {
  // The labels are placed from the printable area's corner by the sheet's own
  // margins; page margins on top of that would move every label. A PDF page
  // has no unprintable strips at all.
  const QPageLayout layout = printer_->pageLayout();
  const QMarginsF margins = printer_->outputFormat() == QPrinter::PdfFormat
                                ? QMarginsF(0, 0, 0, 0)
                                : layout.minimumMargins();
  printer_->setPageMargins(margins, layout.units());
}

void QtPrintSurface::RefreshMetrics() {
  metrics_ = Metrics{};
  if (!printer_) return;
  const QPageLayout layout = printer_->pageLayout();
  const QPageSize pageSize = layout.pageSize();
  const double sizePoints = PointsPer(pageSize.definitionUnits());
  QSizeF paper = pageSize.definitionSize() * (sizePoints / 72.0);
  if (layout.orientation() == QPageLayout::Landscape) paper.transpose();
  const QMarginsF margins = layout.margins() * (PointsPer(layout.units()) / 72.0);
  metrics_.Dpi = printer_->resolution();
  metrics_.PaperWidth = paper.width();
  metrics_.PaperHeight = paper.height();
  metrics_.Left = margins.left();
  metrics_.Top = margins.top();
  metrics_.Right = margins.right();
  metrics_.Bottom = margins.bottom();
}

int QtPrintSurface::DpiX() const {
  return metrics_.Dpi;
}
int QtPrintSurface::DpiY() const {
  return metrics_.Dpi;
}
double QtPrintSurface::PaperWidth(SizeUnit unit) const {
  return InUnit(metrics_.PaperWidth, unit);
}
double QtPrintSurface::PaperHeight(SizeUnit unit) const {
  return InUnit(metrics_.PaperHeight, unit);
}
double QtPrintSurface::WasteLeft(SizeUnit unit) const {
  return InUnit(metrics_.Left, unit);
}
double QtPrintSurface::WasteRight(SizeUnit unit) const {
  return InUnit(metrics_.Right, unit);
}
double QtPrintSurface::WasteTop(SizeUnit unit) const {
  return InUnit(metrics_.Top, unit);
}
double QtPrintSurface::WasteBottom(SizeUnit unit) const {
  return InUnit(metrics_.Bottom, unit);
}

void QtPrintSurface::SetCustomPaperSize(double widthInches, double heightInches) {
  if (!printer_ || !(widthInches > 0) || !(heightInches > 0)) return;
  // The size as given, width across: a label roll wider than long stays so.
  printer_->setPageOrientation(QPageLayout::Portrait);
  printer_->setPageSize(QPageSize(QSizeF(widthInches, heightInches), QPageSize::Inch, QString(),
                                  QPageSize::ExactMatch));
  UsePrintableArea();
  RefreshMetrics();
}

bool QtPrintSurface::CanShowDialogs() const {
  if (qobject_cast<QApplication*>(QCoreApplication::instance()) == nullptr) return false;
  const QString platform = QGuiApplication::platformName();
  return platform != QLatin1String("offscreen") && platform != QLatin1String("minimal");
}

void QtPrintSurface::AdoptDialogPrinter() {
  std::string chosen;
  if (printer_->outputFormat() == QPrinter::PdfFormat) {
    chosen = kPdfPrinterName;
    if (!printer_->outputFileName().isEmpty())
      pdfOutputFile_ = printer_->outputFileName().toStdString();
  } else {
    chosen = printer_->printerName().toStdString();
  }
  // The dialog may offer a printer installed since the list was made.
  ListPrinters();
  for (std::size_t i = 0; i < printers_.size(); ++i) {
    if (SameText(printers_[i], chosen)) selected_ = static_cast<int>(i);
  }
  UsePrintableArea();
  RefreshMetrics();
}

bool QtPrintSurface::ShowPrintDialog() {
  if (!printer_ || painter_ || !CanShowDialogs()) return false;
  QPrintDialog dialog(printer_.get());
  if (dialog.exec() != QDialog::Accepted) return false;
  AdoptDialogPrinter();
  return true;
}

bool QtPrintSurface::ShowPrinterSetupDialog() {
  if (painter_ || (!setupDialogRun_ && !CanShowDialogs())) return false;
  // A queue installed since the list was made is offered too.
  RefreshPrinters();
  if (!printer_) return false;
  const std::string defaultName = DefaultPrinterName();
  std::vector<PrinterSetupDialog::Printer> entries;
  for (std::size_t i = 0; i < printers_.size(); ++i) {
    entries.push_back({printers_[i], static_cast<int>(i) == pdfIndex_,
                       !defaultName.empty() && SameText(printers_[i], defaultName)});
  }
  PrinterSetupDialog dialog(std::move(entries), selected_, printer_->pageLayout(), offsetStore_,
                            kPdfDpi);
  if (setupDialogRun_) {
    setupDialogRun_(dialog);
  } else {
    dialog.exec();
  }
  if (dialog.result() != QDialog::Accepted || dialog.ChosenPrinter() < 0) return false;
  SelectPrinter(dialog.ChosenPrinter());
  // The page is set only when it changed: a format's own label size, kept
  // exactly as it was, is what the printer settings compare with.
  const QPageSize size = dialog.ChosenPageSize();
  if (!(printer_->pageLayout().pageSize() == size)) printer_->setPageSize(size);
  if (printer_->pageLayout().orientation() != dialog.ChosenOrientation())
    printer_->setPageOrientation(dialog.ChosenOrientation());
  UsePrintableArea();
  RefreshMetrics();
  return true;
}

bool QtPrintSurface::BeginJob(const std::string& title) {
  if (pdfHeld_) {
    pdfHeld_ = false;
    printer_->newPage();
    OpenCanvas();
    return true;
  }
  if (painter_) throw std::logic_error("a print job is already open");
  if (printers_.empty()) {
    ui_.ShowMessage({"", kNoPrintersMessage, MessageIcon::Error, MessageButtons::Ok,
                     MessageModality::Application});
    return false;
  }
  if (!printer_) SelectPrinter(-1);
  const std::string& name = printers_[static_cast<std::size_t>(selected_)];
  jobTitle_ = title;
  QPrinter* target = printer_.get();
  if (selected_ == pdfIndex_) {
    const std::filesystem::path folder = std::filesystem::absolute(pdfOutputFile_).parent_path();
    if (!std::filesystem::is_directory(folder)) {
      ui_.ShowMessage({"Chyba", "Složka " + folder.string() + " neexistuje, PDF nelze zapsat.",
                       MessageIcon::Error, MessageButtons::Ok, MessageModality::Application});
      return false;
    }
    printer_->setOutputFormat(QPrinter::PdfFormat);
    printer_->setOutputFileName(QString::fromStdString(pdfOutputFile_));
  } else {
    // The job is drawn into a PDF file with the printer's page and
    // resolution, as Qt's own CUPS engine would draw it, and handed to the
    // print system here, so that its answer is heard (Qt drops it).
    jobFile_ = std::make_unique<QTemporaryFile>(QDir::tempPath() + "/korval-job-XXXXXX.pdf");
    if (!jobFile_->open()) {
      ui_.ShowMessage({kPrintErrorCaption, JobNotStartedMessage(name), MessageIcon::Error,
                       MessageButtons::Ok, MessageModality::Application});
      jobFile_.reset();
      return false;
    }
    jobFile_->close();
    jobPrinter_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
    jobPrinter_->setOutputFormat(QPrinter::PdfFormat);
    jobPrinter_->setOutputFileName(jobFile_->fileName());
    jobPrinter_->setResolution(printer_->resolution());
    jobPrinter_->setFullPage(false);
    jobPrinter_->setPageLayout(printer_->pageLayout());
    target = jobPrinter_.get();
  }
  target->setDocName(QString::fromStdString(title));
  auto painter = std::make_unique<QPainter>();
  if (!painter->begin(target)) {
    ui_.ShowMessage({kPrintErrorCaption, JobNotStartedMessage(name), MessageIcon::Error,
                     MessageButtons::Ok, MessageModality::Application});
    jobPrinter_.reset();
    jobFile_.reset();
    return false;
  }
  painter_ = std::move(painter);
  OpenCanvas();
  return true;
}

// A job's pages are paper of their own that starts blank: the canvas leaves
// out what cannot show on it.
void QtPrintSurface::OpenCanvas() {
  canvas_ = std::make_unique<QtCanvas>(*painter_, DpiX(), DpiY());
  canvas_->DrawOnBlankPaper();
}

Canvas& QtPrintSurface::PageCanvas() {
  if (!canvas_ || pdfHeld_) throw std::logic_error("no print job is open");
  return *canvas_;
}

void QtPrintSurface::NewPage() {
  if (!painter_ || pdfHeld_) throw std::logic_error("no print job is open");
  (jobPrinter_ ? *jobPrinter_ : *printer_).newPage();
  if (canvas_) canvas_->PageBegins();
}

bool QtPrintSurface::EndJob() {
  if (!painter_ || pdfHeld_) throw std::logic_error("no print job is open");
  if (inRun_ && selected_ == pdfIndex_) {
    canvas_.reset();
    pdfHeld_ = true;
    return true;
  }
  return ClosePainter();
}

bool QtPrintSurface::ClosePainter() {
  canvas_.reset();
  pdfHeld_ = false;
  const bool written = painter_->end();
  painter_.reset();
  const std::string& name = printers_[static_cast<std::size_t>(selected_)];
  if (!jobPrinter_) {
    // Qt's PDF writer does not hear of a write that failed (a full disk, a
    // size limit): only a file that ends in the PDF trailer was written whole.
    if (!written || !EndsLikeAPdf(pdfOutputFile_)) {
      ui_.ShowMessage({"Chyba", "Soubor " + pdfOutputFile_ + " nelze zapsat.", MessageIcon::Error,
                       MessageButtons::Ok, MessageModality::Application});
      return false;
    }
    return true;
  }
  std::vector<std::pair<std::string, std::string>> options;
  const QString media = printer_->pageLayout().pageSize().key();
  if (!media.isEmpty()) options.emplace_back("media", media.toStdString());
  if (printer_->copyCount() > 1)
    options.emplace_back("copies", std::to_string(printer_->copyCount()));
  CupsSubmission submission;
  if (written) {
    submission = SubmitToCups(name, jobFile_->fileName().toStdString(), jobTitle_, options);
  } else {
    submission.Reason = "the job could not be written to " + jobFile_->fileName().toStdString();
  }
  jobPrinter_.reset();
  jobFile_.reset();
  if (submission.Taken) return true;
  ui_.ShowMessage({kPrintErrorCaption, JobRejectedMessage(name, submission.Reason),
                   MessageIcon::Error, MessageButtons::Ok, MessageModality::Application});
  return false;
}

}  // namespace korval::qt
