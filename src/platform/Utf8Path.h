#pragma once

#include <filesystem>
#include <string_view>

namespace korval {

// The path object of a UTF-8 name. std::filesystem and the file streams
// read a char string in the system's narrow encoding, which on Windows is
// the ANSI code page: a Czech folder name would come out garbled there. A
// char8_t string is UTF-8 on every system.
inline std::filesystem::path Utf8Path(std::string_view utf8) {
  return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

}  // namespace korval
