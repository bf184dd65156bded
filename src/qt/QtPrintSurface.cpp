#include "qt/QtPrintSurface.h"

#include <QApplication>
#include <QPageLayout>
#include <QPageSetupDialog>
#include <QPageSize>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <stdexcept>
#include <utility>

#include "platform/Text.h"
#include "platform/Ui.h"
#include "qt/QtApplication.h"
#include "qt/QtCanvas.h"

namespace korval::qt {
namespace {

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
  canvas_.reset();
  if (painter_ && painter_->isActive()) painter_->end();
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
  for (std::size_t i = 0; i < printers_.size(); ++i) {
    if (!selectedName.empty() && printers_[i] == selectedName) {
      selected_ = static_cast<int>(i);
      return;
    }
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
  const int count = static_cast<int>(printers_.size());
  int target = index;
  if (index < 0 || index >= count) {
    target = count - 1;
    const std::string defaultName = DefaultPrinterName();
    for (int i = 0; i < count; ++i) {
      if (printers_[static_cast<std::size_t>(i)] == defaultName) {
        target = i;
        break;
      }
    }
  }
  // Choosing the printer that is already selected keeps the paper chosen for
  // it; the format store selects the same printer several times in a row.
  if (target != selected_ || !printer_) {
    MakePrinter(target);
    selected_ = target;
  }
  RefreshMetrics();
}

void QtPrintSurface::MakePrinter(int index) {
  if (index == pdfIndex_) {
    printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer_->setOutputFormat(QPrinter::PdfFormat);
    printer_->setResolution(kPdfDpi);
  } else {
    const QPrinterInfo info = QPrinterInfo::printerInfo(
        QString::fromStdString(printers_[static_cast<std::size_t>(index)]));
    printer_ = std::make_unique<QPrinter>(info, QPrinter::HighResolution);
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
  if (!printer_ || painter_ || !CanShowDialogs()) return false;
  QPageSetupDialog dialog(printer_.get());
  if (dialog.exec() != QDialog::Accepted) return false;
  AdoptDialogPrinter();
  return true;
}

bool QtPrintSurface::BeginJob(const std::string& title) {
  if (painter_) throw std::logic_error("a print job is already open");
  if (printers_.empty()) {
    ui_.ShowMessage({"", "No printers are defined, aborting print job.", MessageIcon::Error,
                     MessageButtons::Ok, MessageModality::Application});
    return false;
  }
  if (!printer_) SelectPrinter(-1);
  printer_->setDocName(QString::fromStdString(title));
  if (selected_ == pdfIndex_) {
    printer_->setOutputFormat(QPrinter::PdfFormat);
    printer_->setOutputFileName(QString::fromStdString(pdfOutputFile_));
  }
  auto painter = std::make_unique<QPainter>();
  if (!painter->begin(printer_.get())) {
    ui_.ShowMessage(
        {"Chyba",
         "Tisk na tiskárnu " + printers_[static_cast<std::size_t>(selected_)] + " nelze zahájit.",
         MessageIcon::Error, MessageButtons::Ok, MessageModality::Application});
    return false;
  }
  painter_ = std::move(painter);
  canvas_ = std::make_unique<QtCanvas>(*painter_, DpiX(), DpiY());
  return true;
}

Canvas& QtPrintSurface::PageCanvas() {
  if (!canvas_) throw std::logic_error("no print job is open");
  return *canvas_;
}

void QtPrintSurface::NewPage() {
  if (!painter_) throw std::logic_error("no print job is open");
  printer_->newPage();
}

void QtPrintSurface::EndJob() {
  if (!painter_) throw std::logic_error("no print job is open");
  canvas_.reset();
  painter_->end();
  painter_.reset();
}

}  // namespace korval::qt
