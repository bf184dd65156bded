#pragma once

namespace korval::qt {

// Makes sure a Qt application object exists. A host that runs no Qt gets one
// made here; without a display the offscreen platform is used, so printing
// works on a machine with no screen at all.
void EnsureApplication();

}  // namespace korval::qt
