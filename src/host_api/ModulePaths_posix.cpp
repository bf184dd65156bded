#include "host_api/ModulePaths.h"

#include <dlfcn.h>
#include <limits.h>
#include <unistd.h>

#include <vector>

namespace korval {

std::string HostExecutablePath() {
  std::vector<char> buffer(PATH_MAX + 1, '\0');
  const ssize_t n = ::readlink("/proc/self/exe", buffer.data(), buffer.size() - 1);
  if (n <= 0) return {};
  return std::string(buffer.data(), static_cast<std::size_t>(n));
}

std::string LibraryFilePath() {
  Dl_info info{};
  // Any address inside the library names the file it was loaded from.
  if (::dladdr(reinterpret_cast<void*>(&LibraryFilePath), &info) == 0 || info.dli_fname == nullptr)
    return {};
  return info.dli_fname;
}

}  // namespace korval
