#pragma once

namespace korval::qt {

// Makes the Qt backend ready: the picture decoder of the Linux platform is in
// place, and a Qt application object exists. A host that runs no Qt gets one
// made here; without a display the offscreen platform is used, so printing
// works on a machine with no screen at all.
void EnsureApplication();

}  // namespace korval::qt
