#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace korval {

// Windows-1250 is the code page of goods records, INI files and language
// catalogues; inside the program text is UTF-8. These convert at those edges.

// Every byte maps to a character; bytes that Windows-1250 leaves undefined
// (0x81, 0x83, 0x88, 0x90, 0x98) pass through as the C1 control of that code.
std::string Cp1250ToUtf8(std::string_view bytes);

// Characters outside Windows-1250 become '?'. Malformed UTF-8 sequences are
// taken byte by byte as Windows-1250, so text that was never converted
// survives a round trip.
std::string Utf8ToCp1250(std::string_view utf8);

// One character at a time, for callers that write into a buffer of their
// own and must not allocate: the character of a Windows-1250 byte, and the
// byte of a character (-1 when Windows-1250 has none). Both agree with the
// two conversions above.
char32_t Cp1250CodePoint(unsigned char byte);
int Cp1250Byte(char32_t cp);

// Upper case of a Windows-1250 byte (Czech and the other Central European
// letters included).
unsigned char Cp1250Upper(unsigned char c);

// Decodes one UTF-8 character at pos and advances pos. Malformed input yields
// the byte's value and advances by one.
char32_t NextCodePoint(std::string_view utf8, std::size_t& pos);
void AppendUtf8(std::string& out, char32_t cp);

// UTF-16 as Windows writes it into files saved as "Unicode", without the
// byte-order mark. Surrogate pairs join; a lone surrogate or an odd last byte
// becomes U+FFFD, so that nothing stops the reading of a damaged file.
std::string Utf16ToUtf8(std::string_view bytes, bool bigEndian);
std::string Utf8ToUtf16(std::string_view utf8, bool bigEndian);

}  // namespace korval
