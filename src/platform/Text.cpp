#include "platform/Text.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <vector>

#include "platform/CodePage.h"

namespace korval {
namespace {

// The profile functions and the record fields pad with blanks and zero bytes
// alike; everything up to the blank counts as padding. UTF-8 continuation and
// lead bytes are all above 0x7F, so trimming bytes never cuts a character.
bool IsPadding(char c) {
  return static_cast<unsigned char>(c) <= 0x20;
}

// Byte offset just past the first n characters.
std::size_t OffsetOfChar(std::string_view text, std::size_t n) {
  std::size_t pos = 0;
  for (std::size_t i = 0; i < n && pos < text.size(); ++i) NextCodePoint(text, pos);
  return pos;
}

// Upper case of one character as the Czech Windows locale has it. Only the
// blocks our users write in are mapped; everything else stays as it is.
char32_t UpperOf(char32_t cp) {
  if (cp >= U'a' && cp <= U'z') return cp - 0x20;
  if (cp < 0xE0) return cp;
  if (cp <= 0xFE) return cp == 0xF7 ? cp : cp - 0x20;  // U+00F7 is the division sign
  if (cp == 0xFF) return 0x178;                        // ÿ -> Ÿ, which sits in Extended-A
  if (cp > 0x17F) return cp;
  // Latin Extended-A comes in upper/lower pairs; the lone kra (U+0138), 'n
  // (U+0149) and Ÿ (U+0178) break the run, and after each the pairing flips.
  if (cp == 0x131) return U'I';  // dotless i
  if (cp == 0x138) return cp;    // kra has no capital
  if (cp == 0x149) return cp;    // 'n has no single capital
  if (cp == 0x17F) return U'S';  // long s
  if (cp == 0x178) return cp;
  const bool oddIsLower = cp < 0x139 || (cp > 0x148 && cp < 0x179);
  const bool isOdd = (cp & 1U) != 0;
  if (oddIsLower == isOdd) return cp - 1;
  return cp;
}

}  // namespace

bool IsBlank(std::string_view text) {
  for (const char c : text) {
    if (!IsPadding(c)) return false;
  }
  return true;
}

std::string TrimControl(std::string_view text) {
  std::size_t first = 0;
  std::size_t last = text.size();
  while (first < last && IsPadding(text[first])) ++first;
  while (last > first && IsPadding(text[last - 1])) --last;
  return std::string(text.substr(first, last - first));
}

std::size_t CharCount(std::string_view text) {
  std::size_t count = 0;
  std::size_t pos = 0;
  while (pos < text.size()) {
    NextCodePoint(text, pos);
    ++count;
  }
  return count;
}

std::string LeftChars(std::string_view text, std::size_t n) {
  return std::string(text.substr(0, OffsetOfChar(text, n)));
}

std::string ZeroPad(std::string_view text, int width) {
  if (width <= 0) return {};
  const auto wanted = static_cast<std::size_t>(width);
  const std::string s = LeftChars(TrimControl(text), 30);
  const std::size_t length = CharCount(s);
  if (length >= wanted) return LeftChars(s, wanted);
  const std::size_t missing = wanted - length;
  const bool isNumber = s.empty() || (s[0] >= '0' && s[0] <= '9') || s[0] == '.';
  if (isNumber) return std::string(missing, '0') + s;
  return s + std::string(missing, ' ');
}

std::string ReplaceAll(std::string_view text, std::string_view pattern,
                       std::string_view replacement) {
  if (pattern.empty()) return std::string(text);
  std::string out;
  out.reserve(text.size());
  std::size_t pos = 0;
  while (true) {
    const std::size_t hit = text.find(pattern, pos);
    if (hit == std::string_view::npos) break;
    out.append(text.substr(pos, hit - pos));
    out.append(replacement);
    pos = hit + pattern.size();
  }
  out.append(text.substr(pos));
  return out;
}

std::string UpperCase(std::string_view text) {
  // Names and most texts are plain ASCII: those need no decoding.
  if (std::all_of(text.begin(), text.end(), [](char c) { return (c & 0x80) == 0; })) {
    std::string upper(text);
    for (char& c : upper) {
      if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
    }
    return upper;
  }
  std::string out;
  out.reserve(text.size());
  std::size_t pos = 0;
  while (pos < text.size()) {
    const std::size_t start = pos;
    const char32_t cp = NextCodePoint(text, pos);
    // A byte that is not part of a UTF-8 character is copied untouched rather
    // than re-encoded, so malformed text keeps its bytes.
    if (pos == start + 1 && cp >= 0x80) {
      out += text[start];
      continue;
    }
    AppendUtf8(out, UpperOf(cp));
  }
  return out;
}

bool SameText(std::string_view a, std::string_view b) {
  // Names are mostly plain ASCII and compared often (every control lookup):
  // those need neither decoding nor an allocation.
  const std::size_t n = a.size() < b.size() ? a.size() : b.size();
  for (std::size_t i = 0; i < n; ++i) {
    const auto ca = static_cast<unsigned char>(a[i]);
    const auto cb = static_cast<unsigned char>(b[i]);
    if ((ca | cb) >= 0x80) return UpperCase(a.substr(i)) == UpperCase(b.substr(i));
    if (ca == cb) continue;
    const auto upper = [](unsigned char c) { return c >= 'a' && c <= 'z' ? c - 32 : c; };
    if (upper(ca) != upper(cb)) return false;
  }
  if (a.size() == b.size()) return true;
  // One is a prefix of the other; only non-ASCII rest could still compare equal.
  return UpperCase(a.substr(n)) == UpperCase(b.substr(n));
}

std::size_t FindText(std::string_view haystack, std::string_view needle) {
  return haystack.find(needle);
}

std::string FormatText(const char* pattern, ...) {
  va_list args;
  va_start(args, pattern);
  va_list again;
  va_copy(again, args);
  char small[256];
  const int needed = std::vsnprintf(small, sizeof small, pattern, args);
  va_end(args);
  std::string out;
  if (needed < 0) {
    va_end(again);
    return out;
  }
  if (static_cast<std::size_t>(needed) < sizeof small) {
    va_end(again);
    out.assign(small, static_cast<std::size_t>(needed));
    return out;
  }
  std::vector<char> big(static_cast<std::size_t>(needed) + 1);
  std::vsnprintf(big.data(), big.size(), pattern, again);
  va_end(again);
  out.assign(big.data(), static_cast<std::size_t>(needed));
  return out;
}

std::string PadRight(std::string_view text, std::size_t chars) {
  std::string out(text);
  for (std::size_t n = CharCount(text); n < chars; ++n) out += ' ';
  return out;
}

}  // namespace korval
