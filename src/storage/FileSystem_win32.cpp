// The file operations with the wide-character Win32 functions: every UTF-8
// path is handed to Windows as UTF-16, so that folder names outside the ANSI
// code page ("Účtenky" on a Western system) work. Windows takes "/" and "\"
// alike, so the paths of the core need no conversion of their separators.
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Text.h"
#include "platform/WideText.h"
#include "storage/FileSystem.h"
#include "storage/TemporaryFiles.h"

namespace korval::files {
namespace {

class Handle {
 public:
  explicit Handle(HANDLE handle) : handle_(handle) {}
  ~Handle() { Close(); }
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;

  bool Valid() const { return handle_ != INVALID_HANDLE_VALUE && handle_ != nullptr; }
  HANDLE Get() const { return handle_; }
  // False when closing fails: for a written file, the data may not be on the disk.
  bool Close() {
    if (!Valid()) return true;
    const bool closed = ::CloseHandle(handle_) != 0;
    handle_ = INVALID_HANDLE_VALUE;
    return closed;
  }

 private:
  HANDLE handle_;
};

// Sharing everything: a reader never stands in the way of a save that
// renames over the file or writes it in place.
constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

std::wstring Wide(const std::string& path) {
  return WideFromUtf8(path);
}

bool IsSeparator(char c) {
  return c == '/' || c == '\\';
}

// What goes before an entry's name to name it in the path's folder:
// everything up to the last separator ("C:/Etikety/"), the drive of a name
// relative to that drive's current folder ("C:"), or nothing.
std::string FolderPrefix(const std::string& path) {
  for (std::size_t i = path.size(); i > 0; --i) {
    if (IsSeparator(path[i - 1])) return path.substr(0, i);
  }
  if (path.size() >= 2 && path[1] == ':') return path.substr(0, 2);
  return {};
}

DWORD AttributesOf(const std::wstring& path) {
  return ::GetFileAttributesW(path.c_str());
}

bool IsFolder(DWORD attributes) {
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// The errors that say no file of that name is there. A name Windows cannot
// hold ("a?b") names no file either.
bool IsMissing(DWORD error) {
  return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ||
         error == ERROR_INVALID_NAME || error == ERROR_INVALID_DRIVE;
}

bool PermissionError(DWORD error) {
  return error == ERROR_ACCESS_DENIED || error == ERROR_WRITE_PROTECT ||
         error == ERROR_NETWORK_ACCESS_DENIED;
}

bool WriteWhole(HANDLE file, const std::string& bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1u << 30));
    DWORD written = 0;
    if (!::WriteFile(file, bytes.data() + done, chunk, &written, nullptr) || written == 0)
      return false;
    done += written;
  }
  return true;
}

// Whether a process of that id still runs. An id no process has is refused
// with ERROR_INVALID_PARAMETER; a process of another user may refuse to be
// opened, and counts as running. A handle kept open somewhere keeps an ended
// process's object alive, so the object itself is asked whether it ended.
bool Running(DWORD pid) {
  const HANDLE process = ::OpenProcess(SYNCHRONIZE, FALSE, pid);
  if (process == nullptr) return ::GetLastError() != ERROR_INVALID_PARAMETER;
  const bool running = ::WaitForSingleObject(process, 0) == WAIT_TIMEOUT;
  ::CloseHandle(process);
  return running;
}

}  // namespace

std::string NativePath(const std::string& windowsName) {
  // The long form "\\?\C:\..." takes no "/"; it is used as it stands.
  if (windowsName.starts_with("\\\\?\\")) return windowsName;
  std::string path = windowsName;
  for (char& c : path) {
    if (c == '\\') c = '/';
  }
  return path;
}

// Windows finds names without regard to case by itself.
std::string Locate(const std::string& path) {
  return path;
}

ReadResult ReadAll(const std::string& path, std::string& bytes) {
  const std::wstring wide = Wide(path);
  const DWORD attributes = AttributesOf(wide);
  if (attributes == INVALID_FILE_ATTRIBUTES)
    return IsMissing(::GetLastError()) ? ReadResult::kMissing : ReadResult::kFailed;
  if (IsFolder(attributes)) return ReadResult::kFailed;
  Handle file(::CreateFileW(wide.c_str(), GENERIC_READ, kShareAll, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.Valid()) return ReadResult::kFailed;
  // A device ("CON", "COM1") or a pipe would block or make no sense.
  if (::GetFileType(file.Get()) != FILE_TYPE_DISK) return ReadResult::kFailed;
  bytes.clear();
  LARGE_INTEGER size{};
  if (::GetFileSizeEx(file.Get(), &size) && size.QuadPart > 0 && size.QuadPart < (1LL << 30))
    bytes.reserve(static_cast<std::size_t>(size.QuadPart));
  char chunk[65536];
  for (;;) {
    DWORD n = 0;
    if (!::ReadFile(file.Get(), chunk, sizeof chunk, &n, nullptr)) return ReadResult::kFailed;
    if (n == 0) break;
    bytes.append(chunk, n);
  }
  return ReadResult::kRead;
}

bool Exists(const std::string& path) {
  const DWORD attributes = AttributesOf(Wide(path));
  return attributes != INVALID_FILE_ATTRIBUTES && !IsFolder(attributes);
}

void CreateFolders(const std::string& folder) {
  // Top down; the drive ("C:"), a server's name and the folders that exist
  // already are refused, which is harmless.
  for (std::size_t i = 1; i < folder.size(); ++i) {
    if (IsSeparator(folder[i])) ::CreateDirectoryW(Wide(folder.substr(0, i)).c_str(), nullptr);
  }
  ::CreateDirectoryW(Wide(folder).c_str(), nullptr);
}

bool IsReadOnly(const std::string& path) {
  const std::wstring wide = Wide(path);
  const DWORD attributes = AttributesOf(wide);
  if (attributes == INVALID_FILE_ATTRIBUTES || IsFolder(attributes)) return false;
  if ((attributes & FILE_ATTRIBUTE_READONLY) != 0) return true;
  // The file's access list may deny this user writing. Opening it for
  // writing, without writing, asks; a file another program holds open
  // without sharing is busy, not read-only.
  Handle file(::CreateFileW(wide.c_str(), GENERIC_WRITE, kShareAll, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr));
  return !file.Valid() && ::GetLastError() == ERROR_ACCESS_DENIED;
}

std::string FollowLinks(const std::string& path) {
  const std::wstring wide = Wide(path);
  const DWORD attributes = AttributesOf(wide);
  // Only a link itself needs following: a rename over it would replace the
  // link. Any other path stays as given, so that a mapped drive is not
  // turned into the server share behind it.
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0)
    return path;
  // Opening follows the link to its end; the handle then names that file.
  // A link to nothing cannot be opened and stays as given.
  Handle file(::CreateFileW(wide.c_str(), 0, kShareAll, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.Valid()) return path;
  std::vector<wchar_t> buffer(MAX_PATH + 1);
  DWORD length = 0;
  for (;;) {
    length = ::GetFinalPathNameByHandleW(file.Get(), buffer.data(),
                                         static_cast<DWORD>(buffer.size()), VOLUME_NAME_DOS);
    if (length == 0) return path;
    if (length < buffer.size()) break;
    buffer.resize(length + 1);
  }
  std::wstring final(buffer.data(), length);
  // The name comes in its long form, "\\?\C:\..." or "\\?\UNC\server\...".
  if (final.starts_with(L"\\\\?\\UNC\\"))
    final = L"\\\\" + final.substr(8);
  else if (final.starts_with(L"\\\\?\\"))
    final = final.substr(4);
  return Utf8FromWide(final);
}

Temporary WriteTemporary(const std::string& target, const std::string& bytes) {
  const std::string temp = TemporaryNameFor(target, ::GetCurrentProcessId());
  // The replacement keeps what the old file's attributes say of it; the
  // read-only one is never there, a read-only file is not replaced.
  DWORD attributes = FILE_ATTRIBUTE_NORMAL;
  if (const DWORD old = AttributesOf(Wide(target));
      old != INVALID_FILE_ATTRIBUTES && !IsFolder(old)) {
    const DWORD kept =
        old & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED);
    if (kept != 0) attributes = kept;
  }
  const std::wstring wide = Wide(temp);
  Handle file(
      ::CreateFileW(wide.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, attributes, nullptr));
  if (!file.Valid()) return {{}, PermissionError(::GetLastError())};
  const bool written = WriteWhole(file.Get(), bytes) && ::FlushFileBuffers(file.Get());
  if (!file.Close() || !written) {
    ::DeleteFileW(wide.c_str());
    return {};
  }
  return {temp, false};
}

bool RenameOver(const std::string& from, const std::string& to, bool* refusedByFolder) {
  const std::wstring source = Wide(from);
  const std::wstring target = Wide(to);
  // One rename within the folder: the target holds the old bytes or the new
  // ones. A virus scanner or the indexer that opened the new file a moment
  // ago holds it for some milliseconds, so a sharing violation is tried
  // again a few times.
  constexpr int kAttempts = 10;
  for (int attempt = 1;; ++attempt) {
    if (::MoveFileExW(source.c_str(), target.c_str(),
                      MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
      return true;
    const DWORD error = ::GetLastError();
    if (error != ERROR_SHARING_VIOLATION || attempt == kAttempts) {
      if (refusedByFolder != nullptr) *refusedByFolder = PermissionError(error);
      return false;
    }
    ::Sleep(50);
  }
}

bool WriteInPlace(const std::string& path, const std::string& bytes) {
  Handle file(::CreateFileW(Wide(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.Valid()) return false;
  // Cut after writing rather than before: the file is short of its end for
  // less time.
  const bool written =
      WriteWhole(file.Get(), bytes) && ::SetEndOfFile(file.Get()) && ::FlushFileBuffers(file.Get());
  return file.Close() && written;
}

bool Remove(const std::string& path) {
  return ::DeleteFileW(Wide(path).c_str()) || IsMissing(::GetLastError());
}

// MoveFileExW with MOVEFILE_WRITE_THROUGH returns only once the rename is
// on the disk, and Windows has no handle of a folder to flush.
void SyncFolderOf(const std::string&) {}

void RemoveStaleTemporaries(const std::string& target) {
  const std::string folder = FolderPrefix(target);
  const std::string base = target.substr(folder.size());
  const std::wstring pattern =
      Wide(target + std::string(kTemporaryMark) + "*" + std::string(kTemporaryEnd));
  WIN32_FIND_DATAW entry{};
  const HANDLE search = ::FindFirstFileW(pattern.c_str(), &entry);
  if (search == INVALID_HANDLE_VALUE) return;
  std::vector<std::wstring> stale;
  do {
    if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) continue;
    // The pattern matches the short 8.3 names too; the long name decides.
    const std::optional<std::uint32_t> writer =
        TemporaryWriter(Utf8FromWide(entry.cFileName), base, true);
    if (!writer || *writer == ::GetCurrentProcessId()) continue;
    // A living writer may be about to rename its file; only a dead one's
    // file is left over for good.
    if (Running(*writer)) continue;
    stale.push_back(Wide(folder) + entry.cFileName);
  } while (::FindNextFileW(search, &entry));
  ::FindClose(search);
  for (const std::wstring& file : stale) ::DeleteFileW(file.c_str());
}

}  // namespace korval::files
