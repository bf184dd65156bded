#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Text.h"
#include "storage/FileSystem.h"
#include "storage/TemporaryFiles.h"

namespace korval::files {
namespace {

std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

std::string BaseName(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool Present(const std::string& path) {
  struct stat info {};
  return ::lstat(path.c_str(), &info) == 0;
}

// The entry of folder whose name equals name without regard to case, or
// empty. Czech letters fold as the user's language folds them.
std::string EntryLike(const std::string& folder, const std::string& name) {
  DIR* dir = ::opendir(folder.empty() ? "/" : folder.c_str());
  if (dir == nullptr) return {};
  std::string found;
  while (const dirent* entry = ::readdir(dir)) {
    const std::string_view candidate = entry->d_name;
    if (candidate == "." || candidate == "..") continue;
    if (SameText(candidate, name)) {
      found = candidate;
      break;
    }
  }
  ::closedir(dir);
  return found;
}

bool WriteWhole(int fd, const std::string& bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    done += static_cast<std::size_t>(n);
  }
  return true;
}

bool PermissionError(int error) {
  return error == EACCES || error == EPERM || error == EROFS;
}

bool HasDriveLetter(std::string_view name) {
  return name.size() >= 2 && name[1] == ':' &&
         ((name[0] >= 'A' && name[0] <= 'Z') || (name[0] >= 'a' && name[0] <= 'z'));
}

}  // namespace

std::string NativePath(const std::string& windowsName) {
  std::string path = windowsName;
  for (char& c : path) {
    if (c == '\\') c = '/';
  }
  if (HasDriveLetter(path)) {
    static std::atomic<bool> told{false};
    path.erase(0, 2);
    if (path.empty()) path = ".";
    if (!told.exchange(true))
      std::fprintf(stderr, "korval: drive letters mean nothing here: \"%s\" is read as \"%s\"\n",
                   windowsName.c_str(), path.c_str());
  }
  return path;
}

std::string Locate(const std::string& path) {
  if (path.empty() || Present(path)) return path;
  std::string located = path.front() == '/' ? "" : ".";
  std::size_t start = path.front() == '/' ? 1 : 0;
  bool matching = true;
  std::string result = path.front() == '/' ? "/" : "";
  while (start <= path.size()) {
    std::size_t end = path.find('/', start);
    if (end == std::string::npos) end = path.size();
    std::string part = path.substr(start, end - start);
    if (matching && !part.empty() && part != "." && part != "..") {
      const std::string here = located + "/" + part;
      if (!Present(here)) {
        const std::string like = EntryLike(located, part);
        if (like.empty()) {
          matching = false;
        } else {
          part = like;
        }
      }
    }
    located += "/" + part;
    result += part;
    if (end < path.size()) result += "/";
    start = end + 1;
  }
  return result;
}

ReadResult ReadAll(const std::string& path, std::string& bytes) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0)
    return errno == ENOENT || errno == ENOTDIR ? ReadResult::kMissing : ReadResult::kFailed;
  if (!S_ISREG(info.st_mode)) return ReadResult::kFailed;
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return ReadResult::kFailed;
  bytes.clear();
  bytes.reserve(static_cast<std::size_t>(info.st_size));
  char chunk[65536];
  for (;;) {
    const ssize_t n = ::read(fd, chunk, sizeof chunk);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      ::close(fd);
      return ReadResult::kFailed;
    }
    if (n == 0) break;
    bytes.append(chunk, static_cast<std::size_t>(n));
  }
  ::close(fd);
  return ReadResult::kRead;
}

bool Exists(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

void CreateFolders(const std::string& folder) {
  for (std::size_t slash = folder.find('/', 1); slash != std::string::npos;
       slash = folder.find('/', slash + 1))
    ::mkdir(folder.substr(0, slash).c_str(), 0777);
  ::mkdir(folder.c_str(), 0777);
}

bool IsReadOnly(const std::string& path) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) return false;
  if ((info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) return true;
  return ::access(path.c_str(), W_OK) != 0;
}

std::string FollowLinks(const std::string& path) {
  std::string current = path;
  for (int hop = 0; hop < 40; ++hop) {
    struct stat info {};
    if (::lstat(current.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) break;
    std::vector<char> target(static_cast<std::size_t>(info.st_size > 0 ? info.st_size : 4096) + 1);
    const ssize_t n = ::readlink(current.c_str(), target.data(), target.size());
    if (n <= 0) break;
    const std::string link(target.data(), static_cast<std::size_t>(n));
    current = link.front() == '/' ? link : FolderOf(current) + "/" + link;
  }
  return current;
}

Temporary WriteTemporary(const std::string& target, const std::string& bytes) {
  const std::string temp = TemporaryNameFor(target, static_cast<std::uint32_t>(::getpid()));
  struct stat old {};
  const mode_t mode =
      ::stat(target.c_str(), &old) == 0 && S_ISREG(old.st_mode) ? (old.st_mode & 07777) : 0666;
  const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
  if (fd < 0) return {{}, PermissionError(errno)};
  // The mode given to open passes through the umask; the old file's own
  // permissions are what the replacement keeps.
  if (old.st_mode != 0) ::fchmod(fd, mode);
  const bool written = WriteWhole(fd, bytes) && ::fsync(fd) == 0;
  if (::close(fd) != 0 || !written) {
    ::unlink(temp.c_str());
    return {};
  }
  return {temp, false};
}

bool RenameOver(const std::string& from, const std::string& to, bool* refusedByFolder) {
  if (::rename(from.c_str(), to.c_str()) == 0) return true;
  if (refusedByFolder != nullptr) *refusedByFolder = PermissionError(errno);
  return false;
}

bool WriteInPlace(const std::string& path, const std::string& bytes) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
  if (fd < 0) return false;
  const bool written = WriteWhole(fd, bytes) && ::fsync(fd) == 0;
  return ::close(fd) == 0 && written;
}

bool Remove(const std::string& path) {
  return ::unlink(path.c_str()) == 0 || errno == ENOENT;
}

void SyncFolderOf(const std::string& path) {
  const int fd = ::open(FolderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

void RemoveStaleTemporaries(const std::string& target) {
  const std::string folder = FolderOf(target);
  const std::string base = BaseName(target);
  DIR* dir = ::opendir(folder.c_str());
  if (dir == nullptr) return;
  std::vector<std::string> stale;
  while (const dirent* entry = ::readdir(dir)) {
    const std::optional<std::uint32_t> id = TemporaryWriter(entry->d_name, base, false);
    if (!id || *id > 0x7FFFFFFFu) continue;
    const pid_t writer = static_cast<pid_t>(*id);
    if (writer == ::getpid()) continue;
    // A living writer may be about to rename its file; only a dead one's
    // file is left over for good.
    if (::kill(writer, 0) == 0 || errno != ESRCH) continue;
    stale.push_back(folder + "/" + entry->d_name);
  }
  ::closedir(dir);
  for (const std::string& file : stale) ::unlink(file.c_str());
}

}  // namespace korval::files
