#pragma once

#include <string>
#include <string_view>

namespace korval::win32 {

// Texts are UTF-8 inside the program and UTF-16 at the Windows API. Bytes
// that are no UTF-8 become U+FFFD rather than ending the text.
std::wstring Utf8ToWide(std::string_view text);
std::string WideToUtf8(std::wstring_view text);

}  // namespace korval::win32
