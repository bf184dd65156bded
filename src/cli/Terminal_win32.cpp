#include "win32/WinApi.h"

#include <io.h>
#include <shellapi.h>

#include <cstdio>

#include "cli/Terminal.h"
#include "platform/WideText.h"

namespace korval::cli {

std::vector<std::string> ProgramArguments(int argc, char** argv) {
  int count = 0;
  LPWSTR* wide = ::CommandLineToArgvW(::GetCommandLineW(), &count);
  if (wide == nullptr) return std::vector<std::string>(argv + 1, argv + argc);
  std::vector<std::string> args;
  for (int i = 1; i < count; ++i) args.push_back(Utf8FromWide(wide[i]));
  ::LocalFree(wide);
  return args;
}

void PrepareTerminal() {
  ::SetConsoleOutputCP(CP_UTF8);
}

bool ErrorsGoToTerminal() {
  return ::_isatty(::_fileno(stderr)) != 0;
}

}  // namespace korval::cli
