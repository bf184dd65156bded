#pragma once

namespace korval {

// The platform backend registers the show and print paths of the exported
// functions (SetDialogRunners) when the library loads. The Linux backend is
// Qt's; a Windows build brings its own.
void InstallBackend();

}  // namespace korval
