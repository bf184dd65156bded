#pragma once

#include <gtest/gtest.h>
#include <sys/types.h>
#include <unistd.h>

#include <optional>
#include <string>
#include <vector>

namespace korval::test {

// A CUPS scheduler of the test's own: configuration, spool and queues in a
// temporary folder, listening on a Unix socket in that folder and nowhere
// else. While it runs, this process's CUPS clients (libcups, Qt's printer
// list, lpadmin) talk to it through CUPS_SERVER, so the system's printers
// are never touched. Every queue is file-backed: the documents of its jobs
// land in one file in the folder, passed through unchanged.
//
// The scheduler is stopped when the object goes, and dies with the test
// process if that ends first. Start-up and stop are bounded in time.
class PrivateCupsd {
 public:
  struct Queue {
    std::string Name;
    bool Accepting = true;
    bool Stopped = false;
    std::string StateMessage;
    // The queue's PPD (page sizes, printable areas, resolution); empty for
    // a file printer of one A4 page printable to its edges. It must keep the
    // filter line "*cupsFilter: "application/pdf 0 capture"" that hands
    // the job to the queue's file.
    std::string Ppd = {};
  };

  // A label printer's PPD for Queue::Ppd: 203 dpi, sheets A6 (default) and
  // A5, each with unprintable strips of 12 points left, right and top and
  // 24 points at the bottom.
  static std::string LabelPrinterPpd();
  // The PPD of the default file printer with the printable area of its A4
  // page set: points from the bottom-left corner, "llx lly urx ury".
  static std::string A4Ppd(const std::string& imageableArea);

  explicit PrivateCupsd(const std::vector<Queue>& queues);
  ~PrivateCupsd();
  PrivateCupsd(const PrivateCupsd&) = delete;
  PrivateCupsd& operator=(const PrivateCupsd&) = delete;

  // Empty while the scheduler runs; otherwise why it could not be started.
  const std::string& Failure() const { return failure_; }
  // True when the failure is that cupsd is not installed at all.
  bool Missing() const { return missing_; }

  // The file a queue's jobs are written to.
  std::string OutputOf(const std::string& queue) const;
  // Waits (a few seconds at most) until the queue's file holds a document
  // and gives its bytes; empty when none came.
  std::string WaitForOutput(const std::string& queue) const;
  // Runs a CUPS command (lpadmin, cupsreject, ...) against this scheduler;
  // its exit status.
  int Run(const std::string& command) const;

 private:
  void Start(const std::vector<Queue>& queues);
  void Stop();
  std::string LogTail() const;

  std::string folder_;
  std::string socket_;
  pid_t pid_ = -1;
  std::string failure_;
  bool missing_ = false;
  std::optional<std::string> previousServer_;
};

}  // namespace korval::test

// In a test or its SetUp, with a PrivateCupsd that did not start: CI runs as
// root and must run the test, so there it fails; elsewhere a missing or
// refused scheduler is a reason to skip.
#define KORVAL_NEED_PRIVATE_CUPSD(cups)                                              \
  do {                                                                               \
    if (!(cups).Failure().empty()) {                                                 \
      if (::geteuid() == 0 && !(cups).Missing()) FAIL() << (cups).Failure();         \
      GTEST_SKIP() << "no private CUPS scheduler: " << (cups).Failure();             \
    }                                                                                \
  } while (false)
