#pragma once

#include <string>

namespace korval {

// Full path of the program that loaded the library (the host executable).
std::string HostExecutablePath();

// Full path of the library's own file; empty when it cannot be told.
std::string LibraryFilePath();

}  // namespace korval
