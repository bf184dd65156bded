#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace korval::cli {

// Exit statuses of the korval program.
inline constexpr int kExitDone = 0;
inline constexpr int kExitFailed = 1;
inline constexpr int kExitUsage = 2;

// The korval program on its arguments (without the program's name): the
// command they name run with its options, or the usage asked for.
//
// "--help", "-h" and "help" print the usage of every command, "help COMMAND"
// and "COMMAND --help" that command's, to out with status 0; "--version" the
// version. A mistake in the arguments is one line on err naming it, with the
// hint "korval COMMAND --help", status 2; a job that failed says why on err,
// status 1.
int RunProgram(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace korval::cli
