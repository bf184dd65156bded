#include <algorithm>

#include "cli/SystemPrinting.h"
#include "qt/QtApplication.h"
#include "qt/QtPrintSurface.h"
#include "qt/QtUi.h"

namespace korval::cli {
namespace {

class QtPrinting final : public SystemPrinting {
 public:
  QtPrinting(HostContext& host, std::ostream& err) : ui_(host, err), surface_(ui_) {}
  Ui& GetUi() override { return ui_; }
  PrintSurface& Surface() override { return surface_; }
  std::optional<int> PdfPrinterWriting(const std::string& path) override {
    surface_.SetPdfOutputFile(path);
    const auto list = surface_.Printers();
    const auto it = std::find(list.begin(), list.end(), qt::QtPrintSurface::kPdfPrinterName);
    if (it == list.end()) return std::nullopt;
    return static_cast<int>(it - list.begin());
  }
  std::string PdfOutputFile() const override { return surface_.PdfOutputFile(); }

 private:
  qt::QtUi ui_;
  qt::QtPrintSurface surface_;
};

}  // namespace

std::unique_ptr<SystemPrinting> OpenSystemPrinting(HostContext& host, std::ostream& err) {
  qt::EnsureApplication();
  return std::make_unique<QtPrinting>(host, err);
}

}  // namespace korval::cli
