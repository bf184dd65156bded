#pragma once

#include <string>
#include <vector>

namespace korval::cli {

// The program's arguments as UTF-8, whatever code page the system hands
// them over in (Windows passes char arguments in the ANSI code page, which
// cannot hold every name).
std::vector<std::string> ProgramArguments(int argc, char** argv);

// Makes the terminal show the program's UTF-8 output (a Windows console
// reads output in a code page of its own).
void PrepareTerminal();

// True when err goes to a terminal, where progress overwrites its own line.
bool ErrorsGoToTerminal();

}  // namespace korval::cli
