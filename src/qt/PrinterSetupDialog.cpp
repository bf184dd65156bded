#include "qt/PrinterSetupDialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLocale>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QVBoxLayout>
#include <cmath>
#include <utility>

#include "qt/QtPrintSurface.h"

namespace korval::qt {
namespace {

// The boxes take what a calibration sheet can show: a few centimetres either
// way, to the hundredth of a millimetre.
constexpr double kOffsetLimitMm = 50.0;
constexpr int kOffsetDecimals = 2;

QString Mm(double mm) {
  return QLocale().toString(mm, 'f', 1);
}

QString SizeText(const QSizeF& mm) {
  return Mm(mm.width()) + QStringLiteral(" × ") + Mm(mm.height()) + QStringLiteral(" mm");
}

// Sheets a PDF file is commonly printed on later.
std::vector<QPageSize> StandardSizes() {
  std::vector<QPageSize> sizes;
  for (const QPageSize::PageSizeId id :
       {QPageSize::A3, QPageSize::A4, QPageSize::A5, QPageSize::A6, QPageSize::B5,
        QPageSize::Letter, QPageSize::Legal, QPageSize::Executive})
    sizes.emplace_back(id);
  return sizes;
}

double Rounded(double value) {
  const double scale = std::pow(10.0, kOffsetDecimals);
  return std::round(value * scale) / scale;
}

}  // namespace

PrinterSetupDialog::PrinterSetupDialog(std::vector<Printer> printers, int selected,
                                       const QPageLayout& current, PrintOffsetStore* offsets,
                                       int pdfDpi, QWidget* parent)
    : QDialog(parent),
      printers_(std::move(printers)),
      initial_(selected),
      current_(current),
      offsets_(offsets),
      pdfDpi_(pdfDpi) {
  setObjectName(QStringLiteral("PrinterSetupDialog"));
  setWindowTitle(QStringLiteral("Nastavení tiskárny"));
  BuildWidgets();
  // The surface's printer, with the page it prints on now.
  const int first = initial_ >= 0 && initial_ < static_cast<int>(printers_.size()) ? initial_ : 0;
  filling_ = true;
  printerBox_->setCurrentIndex(first);
  orientationBox_->setCurrentIndex(
      first == initial_ && current_.orientation() == QPageLayout::Landscape ? 1 : 0);
  filling_ = false;
  if (!printers_.empty()) ShowPrinter(first);
}

PrinterSetupDialog::~PrinterSetupDialog() = default;

void PrinterSetupDialog::BuildWidgets() {
  auto* layout = new QVBoxLayout(this);

  auto* choice = new QFormLayout;
  printerBox_ = new QComboBox(this);
  printerBox_->setObjectName(QStringLiteral("printer"));
  for (const Printer& printer : printers_) {
    QString caption = QString::fromStdString(printer.Name);
    if (printer.Default) caption += QStringLiteral(" (výchozí)");
    printerBox_->addItem(caption);
  }
  choice->addRow(QStringLiteral("&Tiskárna:"), printerBox_);
  paperBox_ = new QComboBox(this);
  paperBox_->setObjectName(QStringLiteral("paper"));
  choice->addRow(QStringLiteral("&Papír:"), paperBox_);
  orientationBox_ = new QComboBox(this);
  orientationBox_->setObjectName(QStringLiteral("orientation"));
  orientationBox_->addItem(QStringLiteral("Na výšku"));
  orientationBox_->addItem(QStringLiteral("Na šířku"));
  choice->addRow(QStringLiteral("&Orientace:"), orientationBox_);
  layout->addLayout(choice);

  auto* properties = new QGroupBox(QStringLiteral("Vlastnosti tiskárny"), this);
  auto* facts = new QFormLayout(properties);
  const auto fact = [&](const char* name, const QString& caption) {
    auto* label = new QLabel(properties);
    label->setObjectName(QString::fromUtf8(name));
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    facts->addRow(caption, label);
    return label;
  };
  resolution_ = fact("resolution", QStringLiteral("Rozlišení:"));
  margins_ = fact("margins", QStringLiteral("Okraje (vlevo, nahoře, vpravo, dole):"));
  printable_ = fact("printableArea", QStringLiteral("Tisknutelná plocha:"));
  model_ = fact("model", QStringLiteral("Typ:"));
  location_ = fact("location", QStringLiteral("Umístění:"));
  layout->addWidget(properties);

  auto* calibration = new QGroupBox(QStringLiteral("Posun tisku (kalibrace)"), this);
  auto* shifts = new QFormLayout(calibration);
  const auto shift = [&](const char* name, const QString& caption) {
    auto* box = new QDoubleSpinBox(calibration);
    box->setObjectName(QString::fromUtf8(name));
    box->setRange(-kOffsetLimitMm, kOffsetLimitMm);
    box->setDecimals(kOffsetDecimals);
    box->setSingleStep(0.1);
    box->setSuffix(QStringLiteral(" mm"));
    box->setEnabled(offsets_ != nullptr);
    shifts->addRow(caption, box);
    return box;
  };
  offsetX_ = shift("offsetX", QStringLiteral("Posun &X:"));
  offsetY_ = shift("offsetY", QStringLiteral("Posun &Y:"));
  layout->addWidget(calibration);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("&Ok"));
  buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("&Zrušit"));
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  layout->addWidget(buttons);

  connect(printerBox_, &QComboBox::currentIndexChanged, this, [this](int index) {
    if (!filling_ && index >= 0) ShowPrinter(index);
  });
  connect(paperBox_, &QComboBox::currentIndexChanged, this, [this] {
    if (!filling_) ShowProperties();
  });
  connect(orientationBox_, &QComboBox::currentIndexChanged, this, [this] {
    if (!filling_) ShowProperties();
  });
  connect(offsetX_, &QDoubleSpinBox::valueChanged, this, [this] { KeepOffset(); });
  connect(offsetY_, &QDoubleSpinBox::valueChanged, this, [this] { KeepOffset(); });
}

void PrinterSetupDialog::ShowPrinter(int index) {
  // Another printer keeps the paper when it has it: the labels stay the same.
  const QPageSize wanted =
      shown_ < 0 ? current_.pageSize() : (sizes_.empty() ? QPageSize() : ChosenPageSize());
  shown_ = index;
  const Printer& printer = printers_[static_cast<std::size_t>(index)];
  probe_.reset();
  nativeDpi_.clear();
  QString model;
  QString location;
  if (!printer.Pdf) {
    const QPrinterInfo info = QPrinterInfo::printerInfo(QString::fromStdString(printer.Name));
    probe_ = QtPrintSurface::QueuePrinter(printer.Name);
    nativeDpi_ = info.supportedResolutions();
    model = info.makeAndModel();
    location = info.location();
  } else {
    model = QStringLiteral("zápis do souboru PDF");
  }
  model_->setText(model.isEmpty() ? QStringLiteral("–") : model);
  location_->setText(location.isEmpty() ? QStringLiteral("–") : location);
  FillPapers(index, wanted);
  ShowOffset(printer.Name);
  ShowProperties();
}

void PrinterSetupDialog::FillPapers(int index, const QPageSize& wanted) {
  const Printer& printer = printers_[static_cast<std::size_t>(index)];
  sizes_.clear();
  QPageSize fallback(QPageSize::A4);
  if (!printer.Pdf) {
    const QPrinterInfo info = QPrinterInfo::printerInfo(QString::fromStdString(printer.Name));
    for (const QPageSize& size : info.supportedPageSizes()) sizes_.push_back(size);
    if (info.defaultPageSize().isValid()) fallback = info.defaultPageSize();
  }
  if (sizes_.empty()) sizes_ = StandardSizes();
  std::vector<QString> names;
  for (const QPageSize& size : sizes_) names.push_back(size.name());

  const auto find = [this](const QPageSize& size) {
    for (std::size_t i = 0; i < sizes_.size() && size.isValid(); ++i) {
      if (sizes_[i].isEquivalentTo(size)) return static_cast<int>(i);
    }
    return -1;
  };
  int chosen = find(wanted);
  const QPageSize now = current_.pageSize();
  if (index == initial_ && now.isValid()) {
    // The printer's page as it is now, exactly, so that confirming without a
    // change leaves the page as it was; a label size of the format's own is
    // offered beside the printer's sizes.
    int at = find(now);
    if (at >= 0) {
      sizes_[static_cast<std::size_t>(at)] = now;
    } else {
      sizes_.push_back(now);
      names.push_back(now.id() == QPageSize::Custom ? QStringLiteral("Vlastní") : now.name());
      at = static_cast<int>(sizes_.size()) - 1;
    }
    if (wanted.isValid() && wanted.isEquivalentTo(now)) chosen = at;
  }
  if (chosen < 0) chosen = find(fallback);
  if (chosen < 0) chosen = 0;

  filling_ = true;
  paperBox_->clear();
  for (std::size_t i = 0; i < sizes_.size(); ++i) {
    paperBox_->addItem(names[i] + QStringLiteral(" (") +
                       SizeText(sizes_[i].size(QPageSize::Millimeter)) + QStringLiteral(")"));
  }
  paperBox_->setCurrentIndex(chosen);
  filling_ = false;
}

void PrinterSetupDialog::ShowProperties() {
  if (shown_ < 0 || sizes_.empty()) return;
  QPageLayout layout(ChosenPageSize(), ChosenOrientation(), QMarginsF());
  int dpi = pdfDpi_;
  if (probe_) {
    probe_->setPageSize(ChosenPageSize());
    probe_->setPageOrientation(ChosenOrientation());
    dpi = probe_->resolution();
    layout = probe_->pageLayout();
    layout.setMargins(layout.minimumMargins());
  }
  layout.setUnits(QPageLayout::Millimeter);
  const QMarginsF m = layout.margins();
  const QRectF paper = layout.fullRect(QPageLayout::Millimeter);
  // The page is drawn at the surface's resolution; the print system brings
  // it to the printer's own.
  QString resolution = QString::number(dpi) + QStringLiteral(" dpi");
  QStringList native;
  for (const int value : nativeDpi_) native << QString::number(value);
  if (!native.isEmpty() && native != QStringList{QString::number(dpi)})
    resolution += QStringLiteral(" (tiskárna: ") + native.join(QStringLiteral(", ")) +
                  QStringLiteral(" dpi)");
  resolution_->setText(resolution);
  margins_->setText(Mm(m.left()) + QStringLiteral(", ") + Mm(m.top()) + QStringLiteral(", ") +
                    Mm(m.right()) + QStringLiteral(", ") + Mm(m.bottom()) + QStringLiteral(" mm"));
  printable_->setText(SizeText(
      QSizeF(paper.width() - m.left() - m.right(), paper.height() - m.top() - m.bottom())));
}

void PrinterSetupDialog::ShowOffset(const std::string& printer) {
  if (offsets_ != nullptr && offsetsShown_.find(printer) == offsetsShown_.end()) {
    const PrintOffset stored = offsets_->Offset(printer);
    const PrintOffset shown{Rounded(stored.XMm), Rounded(stored.YMm)};
    offsetsShown_[printer] = shown;
    offsetsEdited_[printer] = shown;
  }
  const auto edited = offsetsEdited_.find(printer);
  const PrintOffset offset = edited == offsetsEdited_.end() ? PrintOffset{} : edited->second;
  filling_ = true;
  offsetX_->setValue(offset.XMm);
  offsetY_->setValue(offset.YMm);
  filling_ = false;
}

void PrinterSetupDialog::KeepOffset() {
  if (filling_ || shown_ < 0 || offsets_ == nullptr) return;
  offsetsEdited_[printers_[static_cast<std::size_t>(shown_)].Name] = {offsetX_->value(),
                                                                      offsetY_->value()};
}

int PrinterSetupDialog::ChosenPrinter() const {
  return shown_;
}

QPageSize PrinterSetupDialog::ChosenPageSize() const {
  const int index = paperBox_->currentIndex();
  if (index < 0 || index >= static_cast<int>(sizes_.size())) return current_.pageSize();
  return sizes_[static_cast<std::size_t>(index)];
}

QPageLayout::Orientation PrinterSetupDialog::ChosenOrientation() const {
  return orientationBox_->currentIndex() == 1 ? QPageLayout::Landscape : QPageLayout::Portrait;
}

void PrinterSetupDialog::accept() {
  if (offsets_ != nullptr) {
    // Only what the user changed: a printer merely looked at keeps its keys
    // as they are, down to the digits the boxes do not show.
    for (const auto& [printer, offset] : offsetsEdited_) {
      if (!(offset == offsetsShown_[printer])) offsets_->SetOffset(printer, offset);
    }
  }
  QDialog::accept();
}

}  // namespace korval::qt
