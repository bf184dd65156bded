#include <windows.h>

#include <string>
#include <vector>

#include "host_api/ModulePaths.h"
#include "platform/WideText.h"

namespace korval {
namespace {

// The file a loaded module came from, as Windows names it ("C:\Sklad\sklad.exe").
std::string ModuleFileName(HMODULE module) {
  // Paths may be longer than MAX_PATH; a name that fills the buffer may have
  // been cut, so the buffer grows up to the longest path Windows has.
  for (DWORD size = MAX_PATH + 1; size <= 65536; size *= 2) {
    std::vector<wchar_t> buffer(size);
    const DWORD length = ::GetModuleFileNameW(module, buffer.data(), size);
    if (length == 0) return {};
    if (length < size) return Utf8FromWide(std::wstring_view(buffer.data(), length));
  }
  return {};
}

// Any address inside the library names the module it was loaded from.
const char kInsideTheLibrary = 0;

}  // namespace

std::string HostExecutablePath() {
  return ModuleFileName(nullptr);
}

std::string LibraryFilePath() {
  HMODULE module = nullptr;
  // The reference count stays as it is: the module is only asked its name.
  if (!::GetModuleHandleExW(
          GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
          reinterpret_cast<LPCWSTR>(&kInsideTheLibrary), &module))
    return {};
  return ModuleFileName(module);
}

}  // namespace korval
