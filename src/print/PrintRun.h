#pragma once

#include <string>

#include "platform/Clock.h"
#include "platform/PrintSurface.h"

namespace korval {

// The jobs of one print, under one title: opened with the run, restarted as
// a job of its own for every sheet when the sheets go to queues of their
// own, and closed even when an error ends the layout on its way to the host
// (a job left open would refuse every later one). The print surface hears
// where the run begins and ends, so that a backend writing files keeps all
// its jobs in one file.
class PrintRun {
 public:
  PrintRun(PrintSurface& printer, std::string title);
  ~PrintRun();
  PrintRun(const PrintRun&) = delete;
  PrintRun& operator=(const PrintRun&) = delete;

  // A job is open and takes sheets.
  bool IsOpen() const { return open_; }
  // The open job goes to the printer; false when the print system did not
  // take it.
  bool End();
  // The sheets so far go to the printer as a job of their own; the next ones
  // follow under the same title after a pause, so that separate jobs reach
  // the printer's queue half a second apart, not in one burst.
  // Nothing is opened after a job the print system did not take: the next
  // one would go the same way.
  void Restart(const Clock& clock);
  // A job of the run was not taken by the print system.
  bool Refused() const { return refused_; }

 private:
  PrintSurface& printer_;
  std::string title_;
  bool open_ = false;
  bool refused_ = false;
};

// The page canvas is held while one sheet is laid out, and released however
// the layout ends.
class CanvasLock {
 public:
  explicit CanvasLock(PrintSurface& printer) : printer_(printer) { printer_.LockCanvas(); }
  ~CanvasLock() { printer_.UnlockCanvas(); }
  CanvasLock(const CanvasLock&) = delete;
  CanvasLock& operator=(const CanvasLock&) = delete;

 private:
  PrintSurface& printer_;
};

}  // namespace korval
