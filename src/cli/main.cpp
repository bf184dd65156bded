// korval: the label printer from the command line.
#include <iostream>
#include <string>
#include <vector>

#include "cli/Program.h"
#include "cli/Terminal.h"

int main(int argc, char** argv) {
  korval::cli::PrepareTerminal();
  const std::vector<std::string> args = korval::cli::ProgramArguments(argc, argv);
  return korval::cli::RunProgram(args, std::cout, std::cerr);
}
