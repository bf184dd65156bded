#include <unistd.h>

#include "cli/Terminal.h"

namespace korval::cli {

std::vector<std::string> ProgramArguments(int argc, char** argv) {
  return std::vector<std::string>(argv + 1, argv + argc);
}

void PrepareTerminal() {}

bool ErrorsGoToTerminal() {
  return ::isatty(STDERR_FILENO) != 0;
}

}  // namespace korval::cli
