#pragma once

#ifndef _WIN32
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <random>
#include <string>
#include <string_view>
#include <system_error>

namespace korval::test {

// Environment variables the tests change; Windows has no setenv.
inline void SetEnvironment(const char* name, const std::string& value) {
#ifdef _WIN32
  ::_putenv_s(name, value.c_str());
#else
  ::setenv(name, value.c_str(), 1);
#endif
}
inline void UnsetEnvironment(const char* name) {
#ifdef _WIN32
  ::_putenv_s(name, "");
#else
  ::unsetenv(name);
#endif
}

// A fresh folder under the system temporary folder for one test, removed
// with everything in it when the test ends.
class TempFolder {
 public:
  TempFolder() {
    std::random_device device;
    const auto ticks = std::chrono::steady_clock::now().time_since_epoch().count();
    for (int attempt = 0;; ++attempt) {
      path_ = std::filesystem::temp_directory_path() /
              ("korval-profile-" + std::to_string(device()) + "-" + std::to_string(ticks) + "-" +
               std::to_string(attempt));
      if (std::filesystem::create_directory(path_)) break;
    }
  }
  ~TempFolder() {
    std::error_code error;
    std::filesystem::remove_all(path_, error);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::filesystem::path& Path() const { return path_; }
  // Joined with "/", as the tests write the form path a host configures:
  // the program keeps such a name as it was given, on Windows too.
  std::string File(const std::string& name) const { return path_.string() + "/" + name; }

 private:
  std::filesystem::path path_;
};

// Makes a folder the current folder (where printer settings live) and, on
// Linux, the configuration folder (where the Windows folder's files live) for
// as long as it is held; the current folder is put back after. On Windows
// those files are in the Windows folder itself.
class FolderInUse {
 public:
  explicit FolderInUse(const std::filesystem::path& folder)
      : previous_(std::filesystem::current_path()) {
    std::filesystem::current_path(folder);
#ifndef _WIN32
    SetEnvironment("XDG_CONFIG_HOME", (folder / "config").string());
#endif
  }
  ~FolderInUse() {
    std::error_code error;
    std::filesystem::current_path(previous_, error);
  }
  FolderInUse(const FolderInUse&) = delete;
  FolderInUse& operator=(const FolderInUse&) = delete;

 private:
  std::filesystem::path previous_;
};

// ASCII lower case, for comparing Windows paths, whose case means nothing.
inline std::string Lower(std::string text) {
  for (char& c : text)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return text;
}

inline std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void WriteBytes(const std::string& path, std::string_view bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

#ifndef _WIN32
// Runs check in a child process that holds no privileges, so that file
// permissions stop it even where the tests run as root (CI). The child's
// answer is the result; a child that dies answers false.
inline bool RunUnprivileged(const std::function<bool()>& check) {
  const pid_t child = ::fork();
  if (child < 0) return false;
  if (child == 0) {
    if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) ::_exit(2);
    ::_exit(check() ? 0 : 1);
  }
  int status = 0;
  if (::waitpid(child, &status, 0) != child) return false;
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}
#endif

}  // namespace korval::test
