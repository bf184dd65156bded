#pragma once

#include <string>
#include <string_view>

// Windows only: the bridge between the UTF-8 texts of the program and the
// UTF-16 texts of the Win32 "W" functions, for the *_win32.cpp files. The
// "A" functions would pass names through the ANSI code page, which cannot
// hold a Czech folder name on a Western system.
namespace korval {

// Bytes that are not UTF-8 become U+FFFD.
std::wstring WideFromUtf8(std::string_view utf8);
// A lone surrogate becomes U+FFFD.
std::string Utf8FromWide(std::wstring_view wide);

}  // namespace korval
