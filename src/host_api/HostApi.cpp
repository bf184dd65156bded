#include "host_api/HostApi.h"

#include <utility>

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

}  // namespace

HostContext& Host() {
  static HostContext context;
  return context;
}

void SetDialogRunners(ShowRunner show, PrintRunner print) {
  Shower() = std::move(show);
  Printer() = std::move(print);
}

void ShowLabelDialog(std::intptr_t hostWindow) {
  Host().SetHostWindow(hostWindow);
  if (Shower()) Shower()(Host(), hostWindow);
}

void PrintLabels() {
  if (Printer()) Printer()(Host());
}

}  // namespace korval
