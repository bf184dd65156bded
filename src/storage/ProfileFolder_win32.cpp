#include <windows.h>

#include <string>
#include <vector>

#include "platform/WideText.h"
#include "storage/ProfileFile.h"

namespace korval {

// The folder where the Windows profile functions put a file named without a
// folder. For a user of a terminal server, Windows gives a Windows folder of
// the user's own, the one the profile functions use. Writing into it may be
// refused to a standard user; Windows then redirects the writes of an old
// 32-bit host to the user's VirtualStore, as it does for the Windows program.
std::string UserConfigFolder() {
  std::vector<wchar_t> buffer(MAX_PATH + 1);
  UINT length = ::GetWindowsDirectoryW(buffer.data(), static_cast<UINT>(buffer.size()));
  if (length >= buffer.size()) {
    buffer.resize(length + 1);
    length = ::GetWindowsDirectoryW(buffer.data(), static_cast<UINT>(buffer.size()));
  }
  if (length == 0 || length >= buffer.size()) return "./";
  // The core's paths use "/"; Windows takes it as well as "\".
  std::string folder = Utf8FromWide(std::wstring_view(buffer.data(), length));
  for (char& c : folder) {
    if (c == '\\') c = '/';
  }
  if (folder.back() != '/') folder += '/';
  return folder;
}

}  // namespace korval
