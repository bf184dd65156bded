#pragma once

#include <cstdint>
#include <exception>
#include <functional>
#include <string>

#include "host_api/HostContext.h"

namespace korval {

// The one host context of the loaded library.
HostContext& Host();

// The show and print paths of the exported functions. Which dialog runs them
// is the backend's business: it registers its runners when the library loads.
using ShowRunner = std::function<void(HostContext&, std::intptr_t hostWindow)>;
using PrintRunner = std::function<void(HostContext&)>;
// Shows the person an error that ended an exported function ("Chyba").
using ErrorShower = std::function<void(HostContext&, const std::string& text)>;
void SetDialogRunners(ShowRunner show, PrintRunner print, ErrorShower showError = nullptr);

// An error on its way out of the exported function named: a C host cannot
// catch it, so it ends here, logged on standard error and shown through the
// backend. Never throws.
void ReportToHost(const char* function, const char* message) noexcept;

// Runs work for an exported function: whatever it throws is reported and
// failure returned instead.
template <typename Result, typename Work>
Result AtHostBoundary(const char* function, Result failure, Work&& work) noexcept {
  try {
    return work();
  } catch (const std::exception& e) {
    ReportToHost(function, e.what());
  } catch (...) {
    ReportToHost(function, "unknown error");
  }
  return failure;
}

template <typename Work>
void AtHostBoundary(const char* function, Work&& work) noexcept {
  AtHostBoundary(function, 0, [&work] {
    work();
    return 0;
  });
}

void ShowLabelDialog(std::intptr_t hostWindow);
void PrintLabels();

}  // namespace korval
