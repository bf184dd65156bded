#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace korval {

// Text routines used everywhere. Texts are UTF-8; counts, cuts and padding are
// in characters, not bytes.

// True when nothing but characters with codes up to 32 remains after trimming.
bool IsBlank(std::string_view text);

// Removes all leading and trailing characters with codes up to 32.
std::string TrimControl(std::string_view text);

// Number of characters.
std::size_t CharCount(std::string_view text);

// The first n characters (all of them when there are fewer).
std::string LeftChars(std::string_view text, std::size_t n);

// The text followed by blanks up to the given number of characters.
std::string PadRight(std::string_view text, std::size_t chars);

// The zero-pad routine of the format index: trims, cuts to 30 characters,
// then cuts to width, or pads a number (empty, or starting with a digit or a
// full stop) with leading "0", or anything else with trailing blanks.
std::string ZeroPad(std::string_view text, int width);

// Replaces every occurrence of pattern, left to right, case-sensitive, without
// rescanning inserted text; an empty pattern changes nothing.
std::string ReplaceAll(std::string_view text, std::string_view pattern,
                       std::string_view replacement);

// Upper case as the user's language writes it: ASCII, Latin-1 and the Latin
// Extended-A letters (Czech, Slovak, Polish, Hungarian ...).
std::string UpperCase(std::string_view text);

// Equality without regard to case, Czech letters included.
bool SameText(std::string_view a, std::string_view b);

// Position of the first occurrence of needle (0-based byte offset), npos when absent.
std::size_t FindText(std::string_view haystack, std::string_view needle);

// printf-style formatting into a std::string, with the C99 conversions
// ("%zu", "%lld") on every system: MinGW's C++ runtime formats with its own
// C99 printf, not with the Microsoft one that lacks them.
std::string FormatText(const char* pattern, ...)
#if defined(__MINGW32__)
    __attribute__((format(gnu_printf, 1, 2)))
#elif defined(__GNUC__)
    __attribute__((format(printf, 1, 2)))
#endif
    ;

}  // namespace korval
