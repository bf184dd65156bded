#pragma once

#include <functional>

namespace korval::qt {

// Makes the Qt backend ready: the picture decoder of the Linux platform is in
// place, and a Qt application object exists. A host that runs no Qt gets one
// made here; without a display the offscreen platform is used, so printing
// works on a machine with no screen at all.
void EnsureApplication();

// Runs work where Qt's widgets may be used: on the thread of the Qt
// application, whichever thread asks. A host's Qt application is used on its
// own thread (whose event loop must be running); where the host runs no Qt,
// the library's Qt application lives on a thread of its own, made at the
// first call, so that every call works from any thread, one at a time. The
// calling thread waits for work to finish; what work throws is thrown here.
void RunInApplicationThread(const std::function<void()>& work);

}  // namespace korval::qt
