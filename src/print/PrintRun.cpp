#include "print/PrintRun.h"

#include <utility>

namespace korval {
namespace {

constexpr int kPauseBetweenJobsMs = 500;

}  // namespace

PrintRun::PrintRun(PrintSurface& printer, std::string title)
    : printer_(printer), title_(std::move(title)) {
  printer_.BeginRun();
  open_ = printer_.BeginJob(title_);
}

PrintRun::~PrintRun() {
  try {
    if (open_) printer_.EndJob();
    printer_.EndRun();
  } catch (...) {
    // The error on its way to the host is the one worth reporting.
  }
}

bool PrintRun::End() {
  open_ = false;
  if (!printer_.EndJob()) refused_ = true;
  return !refused_;
}

void PrintRun::Restart(const Clock& clock) {
  if (!End()) return;
  clock.Sleep(kPauseBetweenJobsMs);
  open_ = printer_.BeginJob(title_);
}

}  // namespace korval
