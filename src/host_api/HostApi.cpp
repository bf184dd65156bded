#include "host_api/HostApi.h"

#include <cstdio>
#include <exception>
#include <utility>

#include "platform/Text.h"

namespace korval {
namespace {

ShowRunner& Shower() {
  static ShowRunner runner;
  return runner;
}

PrintRunner& Printer() {
  static PrintRunner runner;
  return runner;
}

ErrorShower& ErrorBox() {
  static ErrorShower shower;
  return shower;
}

constexpr const char* kCallFailed = "Chyba :\r\n  volání %s skončilo chybou.\r\n\r\nERR : %s";

}  // namespace

HostContext& Host() {
  static HostContext context;
  return context;
}

void SetDialogRunners(ShowRunner show, PrintRunner print, ErrorShower showError) {
  Shower() = std::move(show);
  Printer() = std::move(print);
  ErrorBox() = std::move(showError);
}

void ReportToHost(const char* function, const char* message) noexcept {
  // The log line first: it needs no memory of its own, so even a host that
  // ran out of it learns why.
  std::fprintf(stderr, "korval: %s: %s\n", function, message);
  std::fflush(stderr);
  if (!ErrorBox()) return;
  try {
    ErrorBox()(Host(), FormatText(kCallFailed, function, message));
  } catch (...) {
    // The box could not be shown either; the log line stands.
  }
}

void ShowLabelDialog(std::intptr_t hostWindow) {
  Host().SetHostWindow(hostWindow);
  if (Shower()) Shower()(Host(), hostWindow);
}

void PrintLabels() {
  if (Printer()) Printer()(Host());
}

}  // namespace korval
