#include "host_api/RecordText.h"

#include <korval/korval.h>

#include <cstddef>
#include <cstring>
#include <string_view>

#include "platform/CodePage.h"

namespace korval {
namespace {

// A length byte counts to 255: no string[N] field is larger than 256 bytes,
// and a larger size is a mistake (the size of the whole record, say).
constexpr std::int32_t kLargestField = 256;

bool KnownEncoding(std::int32_t encoding) {
  return encoding == KORVAL_TEXT_UTF8 || encoding == KORVAL_TEXT_CP1250;
}

bool FieldSizeFits(std::int32_t fieldSize) {
  return fieldSize >= 1 && fieldSize <= kLargestField;
}

std::int32_t Clamped(std::size_t count) {
  constexpr auto kMost = static_cast<std::size_t>(INT32_MAX);
  return static_cast<std::int32_t>(count < kMost ? count : kMost);
}

// The UTF-8 bytes of a character of Windows-1250 (all of them below U+10000).
std::size_t EncodeUtf8(char32_t cp, char (&out)[3]) {
  if (cp < 0x80) {
    out[0] = static_cast<char>(cp);
    return 1;
  }
  if (cp < 0x800) {
    out[0] = static_cast<char>(0xC0 | (cp >> 6));
    out[1] = static_cast<char>(0x80 | (cp & 0x3F));
    return 2;
  }
  out[0] = static_cast<char>(0xE0 | (cp >> 12));
  out[1] = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
  out[2] = static_cast<char>(0x80 | (cp & 0x3F));
  return 3;
}

}  // namespace

std::int32_t SetRecordText(std::uint8_t* field, std::int32_t fieldSize, const char* text,
                           std::int32_t encoding, std::int32_t* replaced) noexcept {
  if (replaced != nullptr) *replaced = 0;
  if (field == nullptr || text == nullptr || !FieldSizeFits(fieldSize) || !KnownEncoding(encoding))
    return KORVAL_TEXT_INVALID_ARGUMENT;

  const std::string_view source(text);
  const auto room = static_cast<std::size_t>(fieldSize - 1);
  // Every character is one byte in Windows-1250: the whole text is measured,
  // and what lies past the room is counted but not written.
  std::size_t length = 0;
  std::size_t missing = 0;
  const auto put = [&](char byte) {
    if (length < room) field[1 + length] = static_cast<std::uint8_t>(byte);
    ++length;
  };
  if (encoding == KORVAL_TEXT_CP1250) {
    for (const char byte : source) put(byte);
  } else {
    std::size_t pos = 0;
    while (pos < source.size()) {
      const std::size_t start = pos;
      const char32_t cp = NextCodePoint(source, pos);
      // A byte that starts no UTF-8 character is a Windows-1250 byte already,
      // as everywhere the library takes text from UTF-8.
      if (cp >= 0x80 && pos == start + 1) {
        put(source[start]);
        continue;
      }
      const int byte = Cp1250Byte(cp);
      if (byte < 0) {
        ++missing;
        put('?');
      } else {
        put(static_cast<char>(byte));
      }
    }
  }
  const std::size_t stored = length < room ? length : room;
  field[0] = static_cast<std::uint8_t>(stored);
  // Bytes past the length are never read; zeroed, two records with the same
  // texts are the same bytes.
  std::memset(field + 1 + stored, 0, room - stored);
  if (replaced != nullptr) *replaced = Clamped(missing);
  return Clamped(length);
}

std::int32_t GetRecordText(const std::uint8_t* field, std::int32_t fieldSize, char* buffer,
                           std::int32_t bufferSize, std::int32_t encoding) noexcept {
  if (field == nullptr || !FieldSizeFits(fieldSize) || bufferSize < 0 ||
      (buffer == nullptr && bufferSize > 0) || !KnownEncoding(encoding))
    return KORVAL_TEXT_INVALID_ARGUMENT;

  // A length byte larger than the room reads the room, as the library reads
  // records; a NUL byte ends the text, as it would for a C reader.
  const auto room = static_cast<std::size_t>(fieldSize - 1);
  std::size_t length = field[0] < room ? field[0] : room;
  const std::uint8_t* text = field + 1;
  if (const void* nul = std::memchr(text, 0, length); nul != nullptr)
    length = static_cast<std::size_t>(static_cast<const std::uint8_t*>(nul) - text);

  const std::size_t capacity = bufferSize > 0 ? static_cast<std::size_t>(bufferSize - 1) : 0;
  std::size_t needed = 0;
  std::size_t written = 0;
  bool full = false;
  for (std::size_t i = 0; i < length; ++i) {
    char bytes[3];
    std::size_t count = 1;
    if (encoding == KORVAL_TEXT_CP1250) {
      bytes[0] = static_cast<char>(text[i]);
    } else {
      count = EncodeUtf8(Cp1250CodePoint(text[i]), bytes);
    }
    // Whole characters only: once one does not fit, none after it is written.
    if (!full && written + count <= capacity) {
      std::memcpy(buffer + written, bytes, count);
      written += count;
    } else {
      full = true;
    }
    needed += count;
  }
  if (bufferSize > 0) buffer[written] = '\0';
  return Clamped(needed);
}

}  // namespace korval
