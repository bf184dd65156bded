#pragma once

#include <stdlib.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace korval::fuzz {

// A folder of its own for the life of the fuzzing process: the parsers read
// files, so every input is written to one first. The process runs from it
// too, so the printer settings file (".\etikety.ini") lands there.
class FuzzFolder {
 public:
  FuzzFolder() {
    char pattern[] = "/tmp/korval-fuzz.XXXXXX";
    if (::mkdtemp(pattern) != nullptr) path_ = pattern;
    if (!path_.empty() && ::chdir(path_.c_str()) != 0) path_.clear();
    // libFuzzer leaves through exit(), past every destructor of a static.
    Made() = path_;
    std::atexit([] {
      std::error_code ignored;
      if (!Made().empty()) std::filesystem::remove_all(Made(), ignored);
    });
  }
  const std::string& Path() const { return path_; }
  std::string File(const std::string& name) const { return path_ + "/" + name; }
  std::string Write(const std::string& name, const std::uint8_t* data, std::size_t size) const {
    const std::string file = File(name);
    std::ofstream(file, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    return file;
  }
  std::string Write(const std::string& name, const std::string& bytes) const {
    return Write(name, reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
  }

 private:
  static std::string& Made() {
    static std::string made;
    return made;
  }
  std::string path_;
};

inline const FuzzFolder& Folder() {
  static const FuzzFolder folder;
  return folder;
}

}  // namespace korval::fuzz
