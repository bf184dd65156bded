#include "platform/CodePage.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <set>
#include <string>

#include "platform/Text.h"

namespace korval {
namespace {

using namespace std::string_literals;

std::string AllBytes() {
  std::string bytes;
  for (int b = 0; b < 256; ++b) bytes += static_cast<char>(b);
  return bytes;
}

TEST(CodePageToUtf8, CzechTextAndSymbols) {
  EXPECT_EQ(Cp1250ToUtf8(""), "");
  EXPECT_EQ(Cp1250ToUtf8("Etiketa 12,50"), "Etiketa 12,50");
  EXPECT_EQ(Cp1250ToUtf8("\x9Elu\x9Dou\xE8k\xFD k\xF9\xF2"), "žluťoučký kůň");
  EXPECT_EQ(Cp1250ToUtf8("\x8ELU\x8DOU\xC8K\xDD K\xD9\xD2"), "ŽLUŤOUČKÝ KŮŇ");
  EXPECT_EQ(Cp1250ToUtf8("Nastaven\xED etikety"), "Nastavení etikety");
  EXPECT_EQ(Cp1250ToUtf8("\x80"), "€");
  EXPECT_EQ(Cp1250ToUtf8("K\xE8/\x80"), "Kč/€");
  EXPECT_EQ(Cp1250ToUtf8("\x84\x93\x96\x97\x99"), "„“–—™");
  EXPECT_EQ(Cp1250ToUtf8("\xA0"), "\u00A0");
  EXPECT_EQ(Cp1250ToUtf8("\xA3\xB3\xA5\xB9\xBC\xBE"), "ŁłĄąĽľ");
  EXPECT_EQ(Cp1250ToUtf8("\xD5\xF5\xDB\xFB"), "ŐőŰű");
  EXPECT_EQ(Cp1250ToUtf8("\xFF"), "˙");
  EXPECT_EQ(Cp1250ToUtf8("a\0b"s), "a\0b"s);
}

TEST(CodePageToUtf8, UndefinedBytesBecomeTheirC1Controls) {
  for (const unsigned char b : {0x81, 0x83, 0x88, 0x90, 0x98}) {
    std::string expected;
    AppendUtf8(expected, b);
    EXPECT_EQ(Cp1250ToUtf8(std::string(1, static_cast<char>(b))), expected) << int{b};
  }
}

TEST(CodePageToUtf8, EveryByteIsOneDistinctCharacter) {
  std::set<std::string> seen;
  for (int b = 0; b < 256; ++b) {
    const std::string utf8 = Cp1250ToUtf8(std::string(1, static_cast<char>(b)));
    EXPECT_EQ(CharCount(utf8), 1u) << b;
    EXPECT_TRUE(seen.insert(utf8).second) << "byte " << b << " shares its character";
  }
}

TEST(CodePageFromUtf8, CzechTextAndSymbols) {
  EXPECT_EQ(Utf8ToCp1250(""), "");
  EXPECT_EQ(Utf8ToCp1250("žluťoučký kůň"), "\x9Elu\x9Dou\xE8k\xFD k\xF9\xF2");
  EXPECT_EQ(Utf8ToCp1250("Kč/€"), "K\xE8/\x80");
  EXPECT_EQ(Utf8ToCp1250("ŘŠŽ"), "\xD8\x8A\x8E");
  EXPECT_EQ(Utf8ToCp1250("a\0b"s), "a\0b"s);
}

TEST(CodePageFromUtf8, CharactersOutsideTheCodePageBecomeQuestionMarks) {
  EXPECT_EQ(Utf8ToCp1250("я"), "?");
  EXPECT_EQ(Utf8ToCp1250("a\xF0\x9F\x98\x80z"), "a?z");
  EXPECT_EQ(Utf8ToCp1250("ÿ"), "?");  // Latin-1 has it, Windows-1250 does not
  EXPECT_EQ(Utf8ToCp1250("\u0080"), "?");
}

TEST(CodePageFromUtf8, MalformedSequencesPassByteByByte) {
  // Text that was never converted keeps its Windows-1250 bytes.
  EXPECT_EQ(Utf8ToCp1250("Nastaven\xED etikety"), "Nastaven\xED etikety");
  EXPECT_EQ(Utf8ToCp1250("\x9Elu\x9D"), "\x9Elu\x9D");
  EXPECT_EQ(Utf8ToCp1250("\xE2\x82"), "\xE2\x82");                  // truncated euro sign
  EXPECT_EQ(Utf8ToCp1250("\xC0\xAF"), "\xC0\xAF");                  // overlong
  EXPECT_EQ(Utf8ToCp1250("\xED\xA0\x80"), "\xED\xA0\x80");          // surrogate
  EXPECT_EQ(Utf8ToCp1250("\xF4\x90\x80\x80"), "\xF4\x90\x80\x80");  // beyond U+10FFFF
  EXPECT_EQ(Utf8ToCp1250("\xFF\xFE"), "\xFF\xFE");
  EXPECT_EQ(Utf8ToCp1250("\xC5"), "\xC5");
}

TEST(CodePageRoundTrip, EveryByteSurvives) {
  const std::string bytes = AllBytes();
  EXPECT_EQ(Utf8ToCp1250(Cp1250ToUtf8(bytes)), bytes);
}

// The one-character functions are the string conversions, character by
// character: every byte there and back, and characters the code page lacks.
TEST(CodePageOneCharacter, AgreesWithTheStringConversions) {
  for (int b = 0; b < 256; ++b) {
    const auto byte = static_cast<unsigned char>(b);
    std::string utf8;
    AppendUtf8(utf8, Cp1250CodePoint(byte));
    EXPECT_EQ(utf8, Cp1250ToUtf8(std::string(1, static_cast<char>(b)))) << b;
    EXPECT_EQ(Cp1250Byte(Cp1250CodePoint(byte)), b) << b;
  }
  for (const char32_t missing : {U'\u00FF', U'\u0080', U'\u044F', U'\U0001F600', U'\uFFFD'}) {
    std::string utf8;
    AppendUtf8(utf8, missing);
    EXPECT_EQ(Cp1250Byte(missing), -1) << static_cast<std::uint32_t>(missing);
    EXPECT_EQ(Utf8ToCp1250(utf8), "?") << static_cast<std::uint32_t>(missing);
  }
}

TEST(CodePageUpper, CentralEuropeanLetters) {
  struct Pair {
    unsigned char lower;
    unsigned char upper;
  };
  const Pair pairs[] = {
      {'a', 'A'},   {'z', 'Z'},   {0xE8, 0xC8}, {0xF8, 0xD8}, {0xF9, 0xD9},  // č ř ů
      {0xEC, 0xCC}, {0xF2, 0xD2}, {0xEF, 0xCF}, {0xE1, 0xC1}, {0xFD, 0xDD},  // ě ň ď á ý
      {0x9A, 0x8A}, {0x9D, 0x8D}, {0x9E, 0x8E}, {0x9C, 0x8C}, {0x9F, 0x8F},  // š ť ž ś ź
      {0xB3, 0xA3}, {0xB9, 0xA5}, {0xBA, 0xAA}, {0xBE, 0xBC}, {0xBF, 0xAF},  // ł ą ş ľ ż
      {0xE0, 0xC0}, {0xE5, 0xC5}, {0xF5, 0xD5}, {0xFB, 0xDB}, {0xFE, 0xDE},  // ŕ ĺ ő ű ţ
  };
  for (const auto& pair : pairs) {
    EXPECT_EQ(Cp1250Upper(pair.lower), pair.upper) << int{pair.lower};
    EXPECT_EQ(Cp1250Upper(pair.upper), pair.upper) << int{pair.upper};
  }
}

TEST(CodePageUpper, UncasedBytesStay) {
  const unsigned char uncased[] = {'0',  '9',  ' ',  '@',  '[',  '{',  0x00, 0x7F,
                                   0x80, 0xA0, 0xB5, 0xD7, 0xDF, 0xF7, 0xFF};
  for (const unsigned char b : uncased) {
    EXPECT_EQ(Cp1250Upper(b), b) << int{b};
  }
}

// The byte mapping and the UTF-8 upper case are written separately; for every
// byte they must agree, and upper case of upper case changes nothing.
TEST(CodePageUpper, AgreesWithUpperCaseOfTheSameCharacter) {
  for (int b = 0; b < 256; ++b) {
    const auto byte = static_cast<unsigned char>(b);
    const std::string single(1, static_cast<char>(byte));
    const std::string viaUtf8 = Utf8ToCp1250(UpperCase(Cp1250ToUtf8(single)));
    EXPECT_EQ(std::string(1, static_cast<char>(Cp1250Upper(byte))), viaUtf8) << b;
    EXPECT_EQ(Cp1250Upper(Cp1250Upper(byte)), Cp1250Upper(byte)) << b;
  }
}

TEST(CodePageUtf8, EncodesAndDecodesAtEveryLengthBoundary) {
  const struct {
    char32_t cp;
    std::size_t bytes;
  } cases[] = {{0x00, 1},   {0x7F, 1},   {0x80, 2},    {0x7FF, 2},   {0x800, 3},
               {0x20AC, 3}, {0xFFFF, 3}, {0x10000, 4}, {0x1F600, 4}, {0x10FFFF, 4}};
  for (const auto& c : cases) {
    std::string encoded;
    AppendUtf8(encoded, c.cp);
    EXPECT_EQ(encoded.size(), c.bytes) << std::hex << static_cast<std::uint32_t>(c.cp);
    std::size_t pos = 0;
    EXPECT_EQ(NextCodePoint(encoded, pos), c.cp);
    EXPECT_EQ(pos, c.bytes);
  }
}

TEST(CodePageUtf8, DecodesInSequence) {
  const std::string text = "a€ž\xF0\x9F\x98\x80";
  std::size_t pos = 0;
  EXPECT_EQ(NextCodePoint(text, pos), U'a');
  EXPECT_EQ(NextCodePoint(text, pos), U'€');
  EXPECT_EQ(NextCodePoint(text, pos), U'ž');
  EXPECT_EQ(NextCodePoint(text, pos), char32_t{0x1F600});
  EXPECT_EQ(pos, text.size());
}

TEST(CodePageUtf8, MalformedInputYieldsTheLeadByte) {
  const std::string cases[] = {
      "\x80",              // continuation byte alone
      "\xBF",              //
      "\xC5",              // lead byte at the end
      "\xE2\x82",          // truncated three-byte form
      "\xC5x",             // lead byte followed by a non-continuation
      "\xE2\x82x",         //
      "\xC0\xAF",          // overlong
      "\xE0\x80\xAF",      // overlong
      "\xED\xA0\x80",      // surrogate
      "\xF4\x90\x80\x80",  // beyond U+10FFFF
      "\xF8\x88\x80\x80",  // five-byte lead
      "\xFF",              //
  };
  for (const std::string& text : cases) {
    std::size_t pos = 0;
    EXPECT_EQ(NextCodePoint(text, pos), static_cast<char32_t>(static_cast<unsigned char>(text[0])));
    EXPECT_EQ(pos, 1u);
  }
}

}  // namespace
}  // namespace korval
