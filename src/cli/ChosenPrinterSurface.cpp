#include "cli/ChosenPrinterSurface.h"

namespace korval::cli {

ChosenPrinterSurface::ChosenPrinterSurface(PrintSurface& inner, int innerIndex)
    : inner_(inner), index_(innerIndex) {
  inner_.SelectPrinter(index_);
}

std::vector<std::string> ChosenPrinterSurface::Printers() const {
  return {inner_.Printers().at(static_cast<std::size_t>(index_))};
}

bool ChosenPrinterSurface::BeginJob(const std::string& title) {
  if (!inner_.BeginJob(title)) return false;
  pagesInJob_ = 1;
  if (OnSheet) OnSheet(++sheet_);
  return true;
}

void ChosenPrinterSurface::NewPage() {
  inner_.NewPage();
  ++pagesInJob_;
  if (OnSheet) OnSheet(++sheet_);
}

bool ChosenPrinterSurface::EndRun() {
  if (inner_.EndRun()) return true;
  sheetsSent_ = 0;
  jobsSent_ = 0;
  ++jobsRefused_;
  return false;
}

bool ChosenPrinterSurface::EndJob() {
  const bool taken = inner_.EndJob();
  if (taken) {
    sheetsSent_ += pagesInJob_;
    ++jobsSent_;
  } else {
    ++jobsRefused_;
  }
  pagesInJob_ = 0;
  return taken;
}

}  // namespace korval::cli
