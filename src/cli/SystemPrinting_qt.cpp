#include <QImage>
#include <QPainter>
#include <algorithm>
#include <cmath>

#include "cli/CountingUi.h"
#include "cli/SystemPrinting.h"
#include "qt/QtApplication.h"
#include "qt/QtCanvas.h"
#include "qt/QtPrintSurface.h"
#include "qt/QtUi.h"

namespace korval::cli {
namespace {

constexpr double kInchesPerMetre = 1000.0 / 25.4;

class QtSheetImage final : public SheetImage {
 public:
  QtSheetImage(int width, int height, int dpi)
      : image_(width, height, QImage::Format_RGB32), painter_(), canvas_(nullptr) {
    image_.fill(Qt::white);
    const int dotsPerMetre = static_cast<int>(std::lround(dpi * kInchesPerMetre));
    image_.setDotsPerMeterX(dotsPerMetre);
    image_.setDotsPerMeterY(dotsPerMetre);
    painter_.begin(&image_);
    canvas_ = std::make_unique<qt::QtCanvas>(painter_, dpi, dpi);
  }
  Canvas& GetCanvas() override { return *canvas_; }
  bool SavePng(const std::string& path) override {
    if (painter_.isActive()) painter_.end();
    return image_.save(QString::fromStdString(path), "PNG");
  }

 private:
  QImage image_;
  QPainter painter_;
  std::unique_ptr<qt::QtCanvas> canvas_;
};

class QtPrinting final : public SystemPrinting {
 public:
  QtPrinting(HostContext& host, std::ostream& err)
      : ui_(host, err), counted_(ui_), surface_(counted_) {}
  Ui& GetUi() override { return counted_; }
  int MessagesShown() const override { return counted_.MessagesShown(); }
  PrintSurface& Surface() override { return surface_; }
  std::optional<int> PdfPrinterWriting(const std::string& path) override {
    surface_.SetPdfOutputFile(path);
    const auto list = surface_.Printers();
    const auto it = std::find(list.begin(), list.end(), qt::QtPrintSurface::kPdfPrinterName);
    if (it == list.end()) return std::nullopt;
    return static_cast<int>(it - list.begin());
  }
  std::string PdfOutputFile() const override { return surface_.PdfOutputFile(); }
  std::unique_ptr<SheetImage> NewSheetImage(int width, int height, int dpi) override {
    return std::make_unique<QtSheetImage>(width, height, dpi);
  }

 private:
  qt::QtUi ui_;
  CountingUi counted_;
  qt::QtPrintSurface surface_;
};

}  // namespace

std::unique_ptr<SystemPrinting> OpenSystemPrinting(HostContext& host, std::ostream& err) {
  qt::EnsureApplication();
  return std::make_unique<QtPrinting>(host, err);
}

}  // namespace korval::cli
