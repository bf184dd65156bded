#pragma once

#include <cstdint>
#include <ostream>
#include <string>

namespace korval {
class HostContext;
}

namespace korval::qt {

// ShowTiketFormular on Qt: the label dialog is created for the host's
// context, shown modally (over the host's window when hostWindow names a
// native window) and destroyed when the person leaves it. Without a display
// nothing is shown and nothing written: one line on log says why, and false
// is returned. A start sheet (a template's code) is applied once the format
// is loaded.
bool RunLabelDialog(HostContext& host, std::intptr_t hostWindow, std::ostream& log,
                    const std::string& startSheet = {});

}  // namespace korval::qt
