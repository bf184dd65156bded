#include "doubles/FakePrintSurface.h"

#include <stdexcept>

namespace korval::test {

std::vector<std::string> FakePrintSurface::Printers() const {
  std::vector<std::string> names;
  for (const auto& p : printers_) names.push_back(p.Name);
  return names;
}

void FakePrintSurface::SelectPrinter(int index) {
  if (printers_.empty()) {
    selected_ = -1;
    return;
  }
  if (index >= 0 && index < static_cast<int>(printers_.size())) {
    selected_ = index;
    return;
  }
  // The system default, else the last listed printer.
  selected_ = static_cast<int>(printers_.size()) - 1;
  for (std::size_t i = 0; i < printers_.size(); ++i) {
    if (printers_[i].Name == defaultName_) selected_ = static_cast<int>(i);
  }
}

const FakePrintSurface::Printer* FakePrintSurface::Current() const {
  if (selected_ < 0 || selected_ >= static_cast<int>(printers_.size())) return nullptr;
  return &printers_[static_cast<std::size_t>(selected_)];
}

int FakePrintSurface::DpiX() const {
  return Current() ? Current()->DpiX : 300;
}
int FakePrintSurface::DpiY() const {
  return Current() ? Current()->DpiY : 300;
}
double FakePrintSurface::PaperWidth(SizeUnit unit) const {
  return Scaled(Current() ? Current()->PaperWidthIn : 8.5, unit);
}
double FakePrintSurface::PaperHeight(SizeUnit unit) const {
  return Scaled(Current() ? Current()->PaperHeightIn : 11.0, unit);
}
double FakePrintSurface::WasteLeft(SizeUnit unit) const {
  return Scaled(Current() ? Current()->WasteLeftIn : 0.0, unit);
}
double FakePrintSurface::WasteRight(SizeUnit unit) const {
  return Scaled(Current() ? Current()->WasteRightIn : 0.0, unit);
}
double FakePrintSurface::WasteTop(SizeUnit unit) const {
  return Scaled(Current() ? Current()->WasteTopIn : 0.0, unit);
}
double FakePrintSurface::WasteBottom(SizeUnit unit) const {
  return Scaled(Current() ? Current()->WasteBottomIn : 0.0, unit);
}

void FakePrintSurface::SetCustomPaperSize(double widthInches, double heightInches) {
  customPaperSizes_.emplace_back(widthInches, heightInches);
  if (selected_ >= 0 && selected_ < static_cast<int>(printers_.size())) {
    printers_[static_cast<std::size_t>(selected_)].PaperWidthIn = widthInches;
    printers_[static_cast<std::size_t>(selected_)].PaperHeightIn = heightInches;
  }
}

bool FakePrintSurface::ShowPrintDialog() {
  ++printDialogs_;
  if (printDialogAnswer_ && dialogPrinter_ >= 0) SelectPrinter(dialogPrinter_);
  return printDialogAnswer_;
}

bool FakePrintSurface::ShowPrinterSetupDialog() {
  ++setupDialogs_;
  if (!setupDialogAnswer_) return false;
  if (dialogPrinter_ >= 0) SelectPrinter(dialogPrinter_);
  if (dialogPaperWidthIn_ > 0 && dialogPaperHeightIn_ > 0 && selected_ >= 0) {
    printers_[static_cast<std::size_t>(selected_)].PaperWidthIn = dialogPaperWidthIn_;
    printers_[static_cast<std::size_t>(selected_)].PaperHeightIn = dialogPaperHeightIn_;
  }
  return true;
}

bool FakePrintSurface::BeginJob(const std::string& title) {
  if (printers_.empty()) return false;
  if (!jobs_.empty() && !jobs_.back().Ended) throw std::logic_error("BeginJob while a job is open");
  Job job;
  job.Title = title;
  job.Pages.push_back(std::make_unique<RecordingCanvas>(DpiX(), DpiY()));
  jobs_.push_back(std::move(job));
  return true;
}

Canvas& FakePrintSurface::PageCanvas() {
  if (jobs_.empty() || jobs_.back().Ended) throw std::logic_error("PageCanvas outside a job");
  return *jobs_.back().Pages.back();
}

void FakePrintSurface::NewPage() {
  if (jobs_.empty() || jobs_.back().Ended) throw std::logic_error("NewPage outside a job");
  jobs_.back().Pages.push_back(std::make_unique<RecordingCanvas>(DpiX(), DpiY()));
}

bool FakePrintSurface::EndJob() {
  if (jobs_.empty() || jobs_.back().Ended) throw std::logic_error("EndJob outside a job");
  jobs_.back().Ended = true;
  jobs_.back().Refused = refuseFromJob_ >= 0 && static_cast<int>(jobs_.size()) > refuseFromJob_;
  return !jobs_.back().Refused;
}

void FakePrintSurface::LockCanvas() {
  ++lockDepth_;
  if (lockDepth_ > maxLockDepth_) maxLockDepth_ = lockDepth_;
}

void FakePrintSurface::UnlockCanvas() {
  if (lockDepth_ == 0) throw std::logic_error("UnlockCanvas without LockCanvas");
  --lockDepth_;
}

}  // namespace korval::test
