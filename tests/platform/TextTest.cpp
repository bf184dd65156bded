#include "platform/Text.h"

#include <gtest/gtest.h>

#include <string>

namespace korval {
namespace {

using namespace std::string_literals;

TEST(TextBlank, OnlyCodesUpToTheBlankCount) {
  EXPECT_TRUE(IsBlank(""));
  EXPECT_TRUE(IsBlank("   "));
  EXPECT_TRUE(IsBlank(" \t\r\n\x01\x1f"));
  EXPECT_TRUE(IsBlank("\0\0 "s));
  EXPECT_FALSE(IsBlank(" a "));
  EXPECT_FALSE(IsBlank("\x21"));
  // A no-break space is a character of its own, not padding.
  EXPECT_FALSE(IsBlank("\xC2\xA0"));
  EXPECT_FALSE(IsBlank(" ž "));
}

TEST(TextTrim, RemovesControlsAndBlanksAtBothEndsOnly) {
  EXPECT_EQ(TrimControl(""), "");
  EXPECT_EQ(TrimControl(" \t "), "");
  EXPECT_EQ(TrimControl(" \tabc \x1f"), "abc");
  EXPECT_EQ(TrimControl("a b\tc"), "a b\tc");
  EXPECT_EQ(TrimControl("\0x\0"s), "x");
  EXPECT_EQ(TrimControl("\r\n a||b \r\n"), "a||b");
  EXPECT_EQ(TrimControl("  žluťoučký  "), "žluťoučký");
  // Bytes above 0x7F belong to characters and are never trimmed.
  EXPECT_EQ(TrimControl(" \xC5\xBE"), "\xC5\xBE");
  EXPECT_EQ(TrimControl("\xE9 "), "\xE9");
}

TEST(TextCount, CountsCharactersNotBytes) {
  EXPECT_EQ(CharCount(""), 0u);
  EXPECT_EQ(CharCount("abc"), 3u);
  EXPECT_EQ(CharCount("žluťoučký"), 9u);
  EXPECT_EQ(CharCount("€"), 1u);
  EXPECT_EQ(CharCount("\xF0\x9F\x98\x80"), 1u);
  EXPECT_EQ(CharCount("a\0b"s), 3u);
}

TEST(TextCount, MalformedBytesCountOneEach) {
  EXPECT_EQ(CharCount("\xE9"
                      "abc"),
            4u);
  EXPECT_EQ(CharCount("a\xC5"), 2u);         // cut in the middle of a character
  EXPECT_EQ(CharCount("\xE2\x82"), 2u);      // truncated euro sign
  EXPECT_EQ(CharCount("\x80\x80\x80"), 3u);  // continuation bytes alone
  EXPECT_EQ(CharCount("\xC0\xAF"), 2u);      // overlong slash
}

TEST(TextLeft, CutsWholeCharacters) {
  EXPECT_EQ(LeftChars("žluťoučký", 4), "žluť");
  EXPECT_EQ(LeftChars("žluťoučký", 0), "");
  EXPECT_EQ(LeftChars("žluťoučký", 9), "žluťoučký");
  EXPECT_EQ(LeftChars("žluťoučký", 100), "žluťoučký");
  EXPECT_EQ(LeftChars("", 3), "");
  EXPECT_EQ(LeftChars("a€b", 2), "a€");
  EXPECT_EQ(LeftChars("\xF0\x9F\x98\x80x", 1), "\xF0\x9F\x98\x80");
}

TEST(TextLeft, MalformedInputIsCutBytewise) {
  EXPECT_EQ(LeftChars("\xE9\xE9x", 2), "\xE9\xE9");
  EXPECT_EQ(LeftChars("a\xE2\x82", 2), "a\xE2");
  EXPECT_EQ(LeftChars("a\xE2\x82", 5), "a\xE2\x82");
}

TEST(TextZeroPad, FormatIndexExamples) {
  EXPECT_EQ(ZeroPad("0", 3), "000");
  EXPECT_EQ(ZeroPad("7", 3), "007");
  EXPECT_EQ(ZeroPad("12", 3), "012");
  EXPECT_EQ(ZeroPad("999", 3), "999");
  EXPECT_EQ(ZeroPad("1000", 3), "100");
  EXPECT_EQ(ZeroPad(" 5 ", 3), "005");
  EXPECT_EQ(ZeroPad("A", 3), "A  ");
}

TEST(TextZeroPad, NumbersAreTextsStartingWithDigitOrFullStop) {
  EXPECT_EQ(ZeroPad("", 3), "000");
  EXPECT_EQ(ZeroPad(" \t ", 3), "000");
  EXPECT_EQ(ZeroPad(".5", 4), "00.5");
  EXPECT_EQ(ZeroPad("5a", 4), "005a");
  EXPECT_EQ(ZeroPad("\t7\r\n", 3), "007");
  // A sign is not a digit: the text is padded like any other word.
  EXPECT_EQ(ZeroPad("-5", 4), "-5  ");
  EXPECT_EQ(ZeroPad("a5", 4), "a5  ");
  EXPECT_EQ(ZeroPad("x y", 5), "x y  ");
}

TEST(TextZeroPad, WidthBounds) {
  EXPECT_EQ(ZeroPad("7", 1), "7");
  EXPECT_EQ(ZeroPad("12", 1), "1");
  EXPECT_EQ(ZeroPad("7", 30), std::string(29, '0') + "7");
  const std::string forty(40, '9');
  EXPECT_EQ(ZeroPad(forty, 30), std::string(30, '9'));
  // The text is cut to 30 characters before it is measured against the width.
  EXPECT_EQ(ZeroPad(forty, 31), "0" + std::string(30, '9'));
  EXPECT_EQ(ZeroPad(std::string(40, 'x'), 32), std::string(30, 'x') + "  ");
}

TEST(TextZeroPad, CountsCharactersOfMultibyteTexts) {
  EXPECT_EQ(ZeroPad("žába", 3), "žáb");
  EXPECT_EQ(ZeroPad("Ž", 3), "Ž  ");
  EXPECT_EQ(ZeroPad("čí", 5), "čí   ");
  EXPECT_EQ(ZeroPad("1€", 4), "001€");
  std::string longCzech;
  for (int i = 0; i < 35; ++i) longCzech += "ř";
  std::string thirty;
  for (int i = 0; i < 30; ++i) thirty += "ř";
  EXPECT_EQ(ZeroPad(longCzech, 30), thirty);
  EXPECT_EQ(ZeroPad(longCzech, 31), thirty + " ");
}

TEST(TextZeroPad, MalformedTextDoesNotBreakPadding) {
  EXPECT_EQ(ZeroPad("\xE9", 3), "\xE9  ");
  EXPECT_EQ(ZeroPad("1\xC5", 3), "01\xC5");
}

TEST(TextReplaceAll, ReplacesEveryOccurrenceLeftToRight) {
  EXPECT_EQ(ReplaceAll("a||b||c", "||", "\r\n"), "a\r\nb\r\nc");
  EXPECT_EQ(ReplaceAll("c|d", "|", " "), "c d");
  EXPECT_EQ(ReplaceAll("||x||", "||", "-"), "-x-");
  EXPECT_EQ(ReplaceAll("abc", "abc", ""), "");
  EXPECT_EQ(ReplaceAll("a-b-c", "-", ""), "abc");
  EXPECT_EQ(ReplaceAll("", "x", "y"), "");
  EXPECT_EQ(ReplaceAll("nothing here", "x", "y"), "nothing here");
}

TEST(TextReplaceAll, OverlapsAndInsertedTextAreNotRescanned) {
  EXPECT_EQ(ReplaceAll("aaa", "aa", "b"), "ba");
  EXPECT_EQ(ReplaceAll("aaa", "a", "aa"), "aaaaaa");
  EXPECT_EQ(ReplaceAll("%TEXT1%", "%TEXT1%", "%TEXT1%%TEXT1%"), "%TEXT1%%TEXT1%");
  EXPECT_EQ(ReplaceAll("||", "|", "||"), "||||");
}

TEST(TextReplaceAll, CaseSensitiveAndEmptyPattern) {
  EXPECT_EQ(ReplaceAll("Text TEXT text", "TEXT", "x"), "Text x text");
  EXPECT_EQ(ReplaceAll("abc", "", "x"), "abc");
  EXPECT_EQ(ReplaceAll("", "", "x"), "");
}

TEST(TextReplaceAll, UnitPriceTemplate) {
  std::string text = "%TEXT1% Kč / %TEXT2% (%TEXT3%)";
  text = ReplaceAll(text, "%TEXT1%", "129,90");
  text = ReplaceAll(text, "%TEXT2%", "kg");
  text = ReplaceAll(text, "%TEXT3%", "čerstvé");
  EXPECT_EQ(text, "129,90 Kč / kg (čerstvé)");
}

TEST(TextUpperCase, AsciiAndCzech) {
  EXPECT_EQ(UpperCase(""), "");
  EXPECT_EQ(UpperCase("abcXYZ 123 -_.{}"), "ABCXYZ 123 -_.{}");
  EXPECT_EQ(UpperCase("žluťoučký kůň úpěl ďábelské ódy"), "ŽLUŤOUČKÝ KŮŇ ÚPĚL ĎÁBELSKÉ ÓDY");
  EXPECT_EQ(UpperCase("ŽLUŤOUČKÝ"), "ŽLUŤOUČKÝ");
}

TEST(TextUpperCase, OtherCentralEuropeanLetters) {
  EXPECT_EQ(UpperCase("ĺľŕôä"), "ĹĽŔÔÄ");          // Slovak
  EXPECT_EQ(UpperCase("ąćęłńóśźż"), "ĄĆĘŁŃÓŚŹŻ");  // Polish
  EXPECT_EQ(UpperCase("őűöü"), "ŐŰÖÜ");            // Hungarian
  EXPECT_EQ(UpperCase("ăâîșţ"), "ĂÂÎșŢ");          // Romanian (ș lies outside)
  EXPECT_EQ(UpperCase("àçèñøþ"), "ÀÇÈÑØÞ");        // Latin-1
}

TEST(TextUpperCase, LatinExtendedAPairingAtItsBreaks) {
  struct Pair {
    const char* lower;
    const char* upper;
  };
  // Where the upper/lower pairing of the block flips, and the letters that
  // have no pair of their own.
  const Pair pairs[] = {
      {"ā", "Ā"}, {"ķ", "Ķ"}, {"ĸ", "ĸ"}, {"ĺ", "Ĺ"}, {"ň", "Ň"}, {"ŉ", "ŉ"}, {"ŋ", "Ŋ"},
      {"ŷ", "Ŷ"}, {"ÿ", "Ÿ"}, {"ź", "Ź"}, {"ž", "Ž"}, {"ı", "I"}, {"ſ", "S"}, {"İ", "İ"},
  };
  for (const auto& pair : pairs) {
    EXPECT_EQ(UpperCase(pair.lower), pair.upper) << pair.lower;
    EXPECT_EQ(UpperCase(pair.upper), pair.upper) << pair.upper;
  }
}

TEST(TextUpperCase, LeavesSymbolsAndUncasedLetters) {
  EXPECT_EQ(UpperCase("÷×ßµ€°"), "÷×ßµ€°");
  EXPECT_EQ(UpperCase("\xF0\x9F\x98\x80"), "\xF0\x9F\x98\x80");
  EXPECT_EQ(UpperCase("яß"), "яß");
}

TEST(TextUpperCase, MalformedBytesStayAsTheyAre) {
  EXPECT_EQ(UpperCase("a\xE9"
                      "b"),
            "A\xE9"
            "B");
  EXPECT_EQ(UpperCase("\xC5"), "\xC5");
  EXPECT_EQ(UpperCase("x\xE2\x82"), "X\xE2\x82");
}

TEST(TextSameText, IgnoresCaseOfCzechLetters) {
  EXPECT_TRUE(SameText("žluťoučký", "ŽLUŤOUČKÝ"));
  EXPECT_TRUE(SameText("Etiketa Ř", "eTIKETA ř"));
  EXPECT_TRUE(SameText("ÿ", "Ÿ"));
  EXPECT_TRUE(SameText("", ""));
  EXPECT_FALSE(SameText("abc", "abd"));
  EXPECT_FALSE(SameText("abc", "abcd"));
  EXPECT_FALSE(SameText("", " "));
  // Diacritics are part of the letter.
  EXPECT_FALSE(SameText("ř", "r"));
  EXPECT_FALSE(SameText("Cena", "Čena"));
}

TEST(TextFind, PlainByteOffsets) {
  EXPECT_EQ(FindText("abcabc", "ca"), 2u);
  EXPECT_EQ(FindText("abcabc", "abc"), 0u);
  EXPECT_EQ(FindText("abc", "d"), std::string_view::npos);
  EXPECT_EQ(FindText("abc", "B"), std::string_view::npos);
  EXPECT_EQ(FindText("", "a"), std::string_view::npos);
  EXPECT_EQ(FindText("abc", ""), 0u);
  EXPECT_EQ(FindText("žába", "ba"), 4u);
}

TEST(TextFormat, PrintfPatterns) {
  EXPECT_EQ(FormatText("%s.%s", "lNazev", "FontName"), "lNazev.FontName");
  EXPECT_EQ(FormatText("%d,%d,%d,%d", 10, -20, 300, 0), "10,-20,300,0");
  EXPECT_EQ(FormatText("%s%s/€", "25,4551", "Kč"), "25,4551Kč/€");
  EXPECT_EQ(FormatText("%s", ""), "");
  EXPECT_EQ(FormatText("row %zu, %lld bytes", std::size_t{3}, -5000000000LL),
            "row 3, -5000000000 bytes");
  EXPECT_EQ(FormatText("Unable to write to %s", "TiketFrm.ini"), "Unable to write to TiketFrm.ini");
}

TEST(TextFormat, LongResultsAreWrittenWhole) {
  for (const std::size_t length : {255u, 256u, 257u, 5000u}) {
    const std::string body(length, 'x');
    const std::string result = FormatText("[%s]", body.c_str());
    ASSERT_EQ(result.size(), length + 2);
    EXPECT_EQ(result, "[" + body + "]");
  }
}

}  // namespace
}  // namespace korval

namespace korval {
namespace {

TEST(PadRightTest, PadsByCharacters) {
  EXPECT_EQ(PadRight("Kůň", 5), "Kůň  ");
  EXPECT_EQ(PadRight("Sýrový", 3), "Sýrový");
  EXPECT_EQ(PadRight("", 2), "  ");
}

}  // namespace
}  // namespace korval

namespace korval {
namespace {

TEST(SameTextTest, PlainAndAccentedNamesMixed) {
  EXPECT_TRUE(SameText("lNazev", "LNAZEV"));
  EXPECT_TRUE(SameText("cbBitMAp", "cbbitmap"));
  EXPECT_FALSE(SameText("lNazev", "lNazevX"));
  EXPECT_FALSE(SameText("lNazevX", "lNazev"));
  EXPECT_TRUE(SameText("Malé etikety", "MALÉ ETIKETY"));
  EXPECT_TRUE(SameText("kůň", "KŮŇ"));
  EXPECT_FALSE(SameText("kůň", "KUN"));
  EXPECT_FALSE(SameText("a", "b"));
  EXPECT_TRUE(SameText("", ""));
  EXPECT_FALSE(SameText("", "á"));
  EXPECT_FALSE(SameText("[", "{"));  // only letters have a case
}

}  // namespace
}  // namespace korval
