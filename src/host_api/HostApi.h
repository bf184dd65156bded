#pragma once

#include <cstdint>
#include <functional>

#include "host_api/HostContext.h"

namespace korval {

// The one host context of the loaded library.
HostContext& Host();

// The show and print paths of the exported functions. Which dialog runs them
// is the backend's business: it registers its runners when the library loads.
using ShowRunner = std::function<void(HostContext&, std::intptr_t hostWindow)>;
using PrintRunner = std::function<void(HostContext&)>;
void SetDialogRunners(ShowRunner show, PrintRunner print);

void ShowLabelDialog(std::intptr_t hostWindow);
void PrintLabels();

}  // namespace korval
