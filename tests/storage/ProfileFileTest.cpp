#include "storage/ProfileFile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "ProfileTestFolder.h"
#include "platform/CodePage.h"

namespace korval {
namespace {

using Names = std::vector<std::string>;
using test::ReadBytes;
using test::WriteBytes;

class ProfileFileTest : public ::testing::Test {
 protected:
  ProfileFile FileWith(std::string_view bytes) {
    WriteBytes(path_, bytes);
    return ProfileFile(path_);
  }
  std::string Bytes() const { return ReadBytes(path_); }

  test::TempFolder folder_;
  std::string path_ = folder_.File("test.ini");
};

// ---- reading values --------------------------------------------------------

TEST_F(ProfileFileTest, ValueLosesBlanksAroundItButKeepsThemInside) {
  const ProfileFile file = FileWith("[A]\r\nk =  \t a  b \t\r\n");
  EXPECT_EQ(file.ReadString("A", "k", "-"), "a  b");
}

TEST_F(ProfileFileTest, ValueInOnePairOfMatchingQuotesLosesThem) {
  const ProfileFile file = FileWith(
      "[A]\r\n"
      "double=\"quoted\"\r\n"
      "single='quoted'\r\n"
      "padded=\" in quotes \"\r\n"
      "outside=  \"x\"  \r\n"
      "mixed=\"half'\r\n"
      "lone=\"\r\n"
      "empty=\"\"\r\n"
      "nested=\"\"x\"\"\r\n"
      "inner=a\"b\"\r\n");
  EXPECT_EQ(file.ReadString("A", "double", "-"), "quoted");
  EXPECT_EQ(file.ReadString("A", "single", "-"), "quoted");
  EXPECT_EQ(file.ReadString("A", "padded", "-"), " in quotes ");
  EXPECT_EQ(file.ReadString("A", "outside", "-"), "x");
  EXPECT_EQ(file.ReadString("A", "mixed", "-"), "\"half'");
  EXPECT_EQ(file.ReadString("A", "lone", "-"), "\"");
  EXPECT_EQ(file.ReadString("A", "empty", "-"), "");
  EXPECT_EQ(file.ReadString("A", "nested", "-"), "\"x\"");
  EXPECT_EQ(file.ReadString("A", "inner", "-"), "a\"b\"");
}

TEST_F(ProfileFileTest, ValueIsCutTo2047CharactersOfTheFile) {
  const std::string czech(2100, '\xE8');  // "č" in Windows-1250
  const ProfileFile file =
      FileWith("[A]\r\nlong=" + std::string(3000, 'x') + "\r\nexact=" + std::string(2047, 'y') +
               "\r\nczech=" + czech + "\r\n");
  EXPECT_EQ(file.ReadString("A", "long", "-"), std::string(2047, 'x'));
  EXPECT_EQ(file.ReadString("A", "exact", "-"), std::string(2047, 'y'));
  // The cut counts characters of the file, not bytes of the UTF-8 result.
  std::string expected;
  for (int i = 0; i < 2047; ++i) expected += "č";
  EXPECT_EQ(file.ReadString("A", "czech", "-"), expected);
}

TEST_F(ProfileFileTest, MissingFileSectionOrKeyGivesTheDefault) {
  EXPECT_EQ(ProfileFile(folder_.File("none.ini")).ReadString("A", "k", "def"), "def");
  const ProfileFile file = FileWith("[A]\r\nk=\r\n");
  EXPECT_EQ(file.ReadString("B", "k", "def"), "def");
  EXPECT_EQ(file.ReadString("A", "j", "def"), "def");
  // A key that is there with nothing after "=" is empty, not missing.
  EXPECT_EQ(file.ReadString("A", "k", "def"), "");
}

TEST_F(ProfileFileTest, DefaultIsTrimmedUnquotedAndCutLikeAStoredValue) {
  const ProfileFile file(folder_.File("none.ini"));
  EXPECT_EQ(file.ReadString("A", "k", "def \t "), "def");
  EXPECT_EQ(file.ReadString("A", "k", "  lead"), "lead");
  EXPECT_EQ(file.ReadString("A", "k", "\"quoted\""), "quoted");
  EXPECT_EQ(file.ReadString("A", "k", " ' x ' "), " x ");
  EXPECT_EQ(file.ReadString("A", "k", "\v\fff\f"), "ff");
  EXPECT_EQ(file.ReadString("A", "k", std::string(3000, 'd')), std::string(2047, 'd'));
}

// ---- finding sections and keys -----------------------------------------------

TEST_F(ProfileFileTest, CzechNamesMatchWithoutRegardToCase) {
  // "[ŽLUŤ]" and "Kůň=1" in Windows-1250.
  const ProfileFile file = FileWith(
      "[\x8E"
      "LU\x8D]\r\nK\xF9\xF2=1\r\n");
  EXPECT_EQ(file.ReadString("žluť", "KŮŇ", "-"), "1");
  EXPECT_EQ(file.ReadString("ŽLUŤ", "kůň", "-"), "1");
  // Letters without their marks are other letters.
  EXPECT_EQ(file.ReadString("zlut", "kun", "-"), "-");
  EXPECT_EQ(file.ReadSections(), Names{"ŽLUŤ"});
  EXPECT_EQ(file.ReadKeys("žluť"), Names{"Kůň"});
}

TEST_F(ProfileFileTest, NamesAreReadWithoutBlanksAroundThem) {
  const ProfileFile file = FileWith("  [ Alfa ]  text after the bracket\r\n  Key\t =  v\r\n");
  EXPECT_EQ(file.ReadString("Alfa", "Key", "-"), "v");
  EXPECT_EQ(file.ReadString(" alfa ", " key ", "-"), "v");
  EXPECT_EQ(file.ReadSections(), Names{"Alfa"});
  EXPECT_EQ(file.ReadKeys("Alfa"), Names{"Key"});
}

TEST_F(ProfileFileTest, FirstOccurrenceOfSectionAndKeyWins) {
  const ProfileFile file = FileWith("[A]\r\nk=1\r\nK=2\r\n[B]\r\n[a]\r\nk=3\r\nj=4\r\n");
  EXPECT_EQ(file.ReadString("A", "k", "-"), "1");
  EXPECT_EQ(file.ReadString("a", "j", "-"), "-");
  // The lists show every line, duplicates included.
  EXPECT_EQ(file.ReadKeys("a"), (Names{"k", "K"}));
  EXPECT_EQ(file.ReadSections(), (Names{"A", "B", "a"}));
}

// What a line is, as the Windows functions read it: ";" means nothing of its
// own, a line without "=" is no key, keys before the first header belong to
// the section without a name, a section name ends at the last "]", vertical
// tab and form feed are blanks, and a key without a name ends the list.
TEST_F(ProfileFileTest, LinesAreKeysAndSectionsAsWindowsReadsThem) {
  const ProfileFile file = FileWith(
      "k=0\r\nloose text\r\n"
      "[A]\r\n; k=1\r\n\r\n  ;j=2\r\nk=3\r\n  lonely word \r\n;c=3\r\n\v\fv = 5\f\r\n"
      "=x\r\nafter=6\r\n"
      "[[F]] text\r\nf=7\r\n");
  struct Case {
    const char* section;
    const char* key;
    const char* value;
  };
  for (const Case& c : std::vector<Case>{{"", "k", "0"},
                                         {"A", "k", "3"},
                                         {"A", "; k", "1"},
                                         {"A", ";j", "2"},
                                         {"A", ";c", "3"},
                                         {"A", "lonely word", "-"},
                                         {"A", "loose text", "-"},
                                         {"A", "v", "5"},
                                         {"A", "", "x"},
                                         {"A", "after", "6"},
                                         {"[F]", "f", "7"},
                                         {"F", "f", "-"}})
    EXPECT_EQ(file.ReadString(c.section, c.key, "-"), c.value) << c.section << "/" << c.key;
  EXPECT_EQ(file.ReadKeys("A"), (Names{"; k", ";j", "k", ";c", "v"}));
  EXPECT_EQ(file.ReadKeys(""), Names{"k"});
  EXPECT_EQ(file.ReadSections(), (Names{"A", "[F]"}));
}

TEST_F(ProfileFileTest, KeysWithoutASectionAreWrittenAndErasedBeforeTheFirstHeader) {
  ProfileFile file = FileWith("k=0\r\n[A]\r\nk=1\r\n");
  file.WriteString("", "k", "9");
  file.WriteString("A", "k", "2");
  EXPECT_EQ(Bytes(), "k=9\r\n[A]\r\nk=2\r\n");
  file.EraseSection("");
  EXPECT_EQ(Bytes(), "[A]\r\nk=2\r\n");
  file.WriteString("", "n", "1");
  EXPECT_EQ(Bytes(), "n=1\r\n[A]\r\nk=2\r\n");
}

TEST_F(ProfileFileTest, BracketWithoutClosingBracketIsNoHeader) {
  const ProfileFile file = FileWith("[A]\r\n[B\r\nk=1\r\n");
  EXPECT_EQ(file.ReadSections(), Names{"A"});
  EXPECT_EQ(file.ReadString("A", "k", "-"), "1");
  EXPECT_EQ(file.ReadString("B", "k", "-"), "-");
}

TEST_F(ProfileFileTest, LinesEndInCrLfLfOrLoneCr) {
  const ProfileFile file = FileWith("[A]\na=1\rb=2\r\n\nc=3");
  EXPECT_EQ(file.ReadString("A", "a", "-"), "1");
  EXPECT_EQ(file.ReadString("A", "b", "-"), "2");
  EXPECT_EQ(file.ReadString("A", "c", "-"), "3");
  EXPECT_EQ(file.ReadKeys("A"), (Names{"a", "b", "c"}));
}

// ---- name lists in the Windows buffer ----------------------------------------

TEST_F(ProfileFileTest, KeyListIsCutAtTheEndOfTheBuffer) {
  // Alpha takes 6 bytes, Beta 5, Gamma 6, and the list ends in one more.
  const ProfileFile file = FileWith("[A]\r\nAlpha=\r\nBeta=\r\nGamma=\r\n");
  EXPECT_EQ(file.ReadKeys("A"), (Names{"Alpha", "Beta", "Gamma"}));
  EXPECT_EQ(file.ReadKeys("A", 18), (Names{"Alpha", "Beta", "Gamma"}));
  EXPECT_EQ(file.ReadKeys("A", 17), (Names{"Alpha", "Beta", "Gamm"}));
  EXPECT_EQ(file.ReadKeys("A", 16), (Names{"Alpha", "Beta", "Gam"}));
  EXPECT_EQ(file.ReadKeys("A", 13), (Names{"Alpha", "Beta"}));
  EXPECT_EQ(file.ReadKeys("A", 12), (Names{"Alpha", "Beta"}));
  EXPECT_EQ(file.ReadKeys("A", 11), (Names{"Alpha", "Bet"}));
  EXPECT_EQ(file.ReadKeys("A", 3), Names{"A"});
  EXPECT_EQ(file.ReadKeys("A", 2), Names{});
  EXPECT_EQ(file.ReadKeys("A", 0), Names{});
  EXPECT_EQ(file.ReadKeys("missing"), Names{});
}

TEST_F(ProfileFileTest, KeyListCountsBytesOfTheFileNotOfUtf8) {
  // "Kůň" is three bytes in Windows-1250 and five in UTF-8.
  const ProfileFile file = FileWith("[A]\r\nK\xF9\xF2=\r\nX=\r\n");
  EXPECT_EQ(file.ReadKeys("A", 7), (Names{"Kůň", "X"}));
  EXPECT_EQ(file.ReadKeys("A", 6), Names{"Kůň"});
  EXPECT_EQ(file.ReadKeys("A", 4), Names{"Ků"});
}

TEST_F(ProfileFileTest, SectionListIsCutLikeTheKeyList) {
  const ProfileFile file = FileWith("[One]\r\n[Two]\r\n[]\r\n");
  EXPECT_EQ(file.ReadSections(9), (Names{"One", "Two"}));
  EXPECT_EQ(file.ReadSections(8), (Names{"One", "Tw"}));
  EXPECT_EQ(ProfileFile(folder_.File("none.ini")).ReadSections(), Names{});
}

// ---- writing -------------------------------------------------------------

TEST_F(ProfileFileTest, NewFileGetsSectionsInWriteOrderWithCrLf) {
  ProfileFile file(path_);
  file.WriteString("Setup", "Default", "");
  file.WriteString("Saves", "A", "");
  EXPECT_EQ(Bytes(), "[Setup]\r\nDefault=\r\n[Saves]\r\nA=\r\n");
}

TEST_F(ProfileFileTest, ReplacedKeyStaysInPlaceWithItsSpelling) {
  // "Druhý" in Windows-1250, with blanks around it that go on rewriting.
  ProfileFile file = FileWith("[Saves]\r\nFirst=\r\n  Druh\xFD = x \r\nThird=\r\n");
  file.WriteString("saves", "DRUHÝ", "y");
  EXPECT_EQ(Bytes(), "[Saves]\r\nFirst=\r\nDruh\xFD=y\r\nThird=\r\n");
  EXPECT_EQ(file.ReadKeys("Saves"), (Names{"First", "Druhý", "Third"}));
}

TEST_F(ProfileFileTest, NewKeyFollowsTheLastKeyOfItsSection) {
  ProfileFile file = FileWith("[A]\r\nx=1\r\n; about B\r\n\r\n[B]\r\ny=2\r\n");
  file.WriteString("a", "z", "3");
  EXPECT_EQ(Bytes(), "[A]\r\nx=1\r\nz=3\r\n; about B\r\n\r\n[B]\r\ny=2\r\n");
  EXPECT_EQ(file.ReadKeys("A"), (Names{"x", "z"}));
}

TEST_F(ProfileFileTest, NewKeyInASectionWithoutKeysFollowsTheHeader) {
  ProfileFile file = FileWith("[A]\r\n\r\n[B]\r\n");
  file.WriteString("A", "k", "v");
  EXPECT_EQ(Bytes(), "[A]\r\nk=v\r\n\r\n[B]\r\n");
}

TEST_F(ProfileFileTest, NewSectionGoesToTheEndOfTheFile) {
  ProfileFile file = FileWith("[A]\r\nx=1\r\n\r\n");
  file.WriteString("Nová", "k", "v");
  EXPECT_EQ(Bytes(), "[A]\r\nx=1\r\n\r\n[Nov\xE1]\r\nk=v\r\n");
}

TEST_F(ProfileFileTest, OtherLinesSurviveARewriteAndLinesGetCrLf) {
  ProfileFile file = FileWith("loose text\n[A]\n; note \n\tx = 1\rodd line\n\n[B]\ny=2");
  file.WriteString("A", "x", "5");
  EXPECT_EQ(Bytes(), "loose text\r\n[A]\r\n; note \r\nx=5\r\nodd line\r\n\r\n[B]\r\ny=2\r\n");
}

TEST_F(ProfileFileTest, ValueIsWrittenAsGivenAndNamesWithoutBlanks) {
  ProfileFile file(path_);
  file.WriteString(" A ", " k ", "  spaced \"q\"  ");
  EXPECT_EQ(Bytes(), "[A]\r\nk=  spaced \"q\"  \r\n");
  EXPECT_EQ(file.ReadString("A", "k", "-"), "spaced \"q\"");
}

TEST_F(ProfileFileTest, TextIsStoredInWindows1250) {
  ProfileFile file(path_);
  file.WriteString("Sekce", "Klíč", "Žluťoučký kůň za 5 €");
  EXPECT_EQ(Bytes(),
            "[Sekce]\r\nKl\xED\xE8=\x8E"
            "lu\x9Dou\xE8k\xFD k\xF9\xF2 za 5 \x80\r\n");
  EXPECT_EQ(file.ReadString("sekce", "KLÍČ", "-"), "Žluťoučký kůň za 5 €");
}

// Files edited in Notepad may start with a byte-order mark; Windows reads
// them as text in that encoding and writes them back in it.
TEST_F(ProfileFileTest, FilesWithAByteOrderMarkAreReadAndWrittenInTheirEncoding) {
  struct Case {
    const char* name;
    std::string mark;
    std::string (*encode)(std::string_view);
  };
  const std::vector<Case> cases = {
      {"UTF-8", "\xEF\xBB\xBF", [](std::string_view t) { return std::string(t); }},
      {"UTF-16LE", "\xFF\xFE", [](std::string_view t) { return Utf8ToUtf16(t, false); }},
      {"UTF-16BE", "\xFE\xFF", [](std::string_view t) { return Utf8ToUtf16(t, true); }}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ProfileFile file =
        FileWith(c.mark + c.encode("[Saves]\r\nMléko=\r\nΣýr=\r\n[Setup]\r\nDefault=Mléko\r\n"));
    EXPECT_EQ(file.ReadKeys("saves"), (Names{"Mléko", "Σýr"}));
    EXPECT_EQ(file.ReadString("SETUP", "default", "-"), "Mléko");
    EXPECT_EQ(file.ReadString("Saves", "MLÉKO", "-"), "");
    file.WriteString("Saves", "Žluť", "");
    EXPECT_EQ(Bytes(), c.mark + c.encode("[Saves]\r\nMléko=\r\nΣýr=\r\nŽluť=\r\n[Setup]\r\n"
                                         "Default=Mléko\r\n"));
  }
}

TEST_F(ProfileFileTest, LongLinesAreReadCutAndKeptWhole) {
  const std::string big = "[A]\r\nbig=" + std::string(1 << 20, 'b') + "\r\n";
  ProfileFile file = FileWith(big);
  EXPECT_EQ(file.ReadString("A", "big", "-"), std::string(2047, 'b'));
  file.WriteString("A", "small", "1");
  EXPECT_EQ(Bytes(), big + "small=1\r\n");
}

TEST_F(ProfileFileTest, DeleteKeyRemovesEveryLineOfTheKeyInItsSection) {
  ProfileFile file = FileWith("[A]\r\nk=1\r\nj=2\r\nK=3\r\n[B]\r\nk=4\r\n");
  file.DeleteKey("a", "k");
  EXPECT_EQ(Bytes(), "[A]\r\nj=2\r\n[B]\r\nk=4\r\n");
  EXPECT_EQ(file.ReadString("A", "k", "-"), "-");
}

TEST_F(ProfileFileTest, DeletingWhatIsNotThereTouchesNothing) {
  ProfileFile file = FileWith("[A]\nk=1\n");
  file.DeleteKey("A", "missing");
  file.DeleteKey("Missing", "k");
  file.EraseSection("Missing");
  EXPECT_EQ(Bytes(), "[A]\nk=1\n");
  ProfileFile none(folder_.File("none.ini"));
  none.DeleteKey("A", "k");
  none.EraseSection("A");
  EXPECT_FALSE(none.Exists());
}

TEST_F(ProfileFileTest, EraseSectionRemovesItUpToTheNextSectionThenRewriteAppends) {
  ProfileFile file =
      FileWith("; top\r\n[A]\r\nx=1\r\n; inside A\r\n\r\n[B]\r\ny=2\r\n[a]\r\nz=3\r\n");
  file.EraseSection("A");
  EXPECT_EQ(Bytes(), "; top\r\n[B]\r\ny=2\r\n");
  file.WriteString("A", "x", "9");
  EXPECT_EQ(Bytes(), "; top\r\n[B]\r\ny=2\r\n[A]\r\nx=9\r\n");
  EXPECT_EQ(file.ReadString("A", "z", "-"), "-");
}

TEST_F(ProfileFileTest, EveryCallReadsTheFileAfresh) {
  ProfileFile writer(path_);
  const ProfileFile reader(path_);
  EXPECT_FALSE(reader.Exists());
  writer.WriteString("A", "k", "1");
  EXPECT_TRUE(reader.Exists());
  EXPECT_EQ(reader.ReadString("A", "k", "-"), "1");
  WriteBytes(path_, "[A]\r\nk=2\r\n");
  EXPECT_EQ(reader.ReadString("A", "k", "-"), "2");
  writer.WriteString("A", "j", "3");
  EXPECT_EQ(Bytes(), "[A]\r\nk=2\r\nj=3\r\n");
}

// Windows makes symbolic links for administrators only.
#ifndef _WIN32
TEST_F(ProfileFileTest, WritingThroughALinkChangesTheLinkedFile) {
  const std::string real = folder_.File("real.ini");
  WriteBytes(real, "[A]\r\nk=1\r\n");
  std::filesystem::create_symlink("real.ini", path_);
  ProfileFile file(path_);
  file.WriteString("A", "k", "2");
  EXPECT_TRUE(std::filesystem::is_symlink(path_));
  EXPECT_EQ(ReadBytes(real), "[A]\r\nk=2\r\n");
}
#endif

}  // namespace
}  // namespace korval

namespace korval {
namespace {

TEST(ProfileBatchTest, WritesReachTheDiskTogetherAtTheCommit) {
  test::TempFolder folder;
  const std::string path = folder.File("list.ini");
  test::WriteBytes(path, "[Saves]\r\nA=\r\nB=\r\n");
  ProfileFile file(path);
  file.BeginBatch();
  file.EraseSection("Saves");
  file.WriteString("Saves", "B", "");
  file.WriteString("Saves", "C", "");
  // Nothing has reached the disk yet, but this object reads its own writes.
  EXPECT_EQ(test::ReadBytes(path), "[Saves]\r\nA=\r\nB=\r\n");
  EXPECT_EQ(file.ReadKeys("Saves"), (std::vector<std::string>{"B", "C"}));
  EXPECT_EQ(ProfileFile(path).ReadKeys("Saves"), (std::vector<std::string>{"A", "B"}));
  file.CommitBatch();
  EXPECT_EQ(test::ReadBytes(path), "[Saves]\r\nB=\r\nC=\r\n");
}

// A batch keeps the file parsed between its writes; what it stores must be
// byte for byte what the same calls give one by one, each reading the file.
TEST(ProfileBatchTest, GivesTheBytesOfTheSameCallsMadeOneByOne) {
  struct Call {
    char op;  // 'w' write, 'd' delete a key, 'e' erase a section
    std::string section, key, value;
  };
  const struct {
    std::string start;
    std::vector<Call> calls;
  } cases[] = {
      // Keys before the first header, a header without a name, new keys
      // after the last key line and before the comment leading to [B].
      {"k0=1\r\n[A]\r\nx=1\r\n\r\n; about B\r\n[B]\r\ny=2\r\n[]\r\nz=3\r\n",
       {{'w', "A", "new", "n"},
        {'w', "", "k1", "2"},
        {'w', "a", "X", "changed"},
        {'w', "B", "y", "2"},
        {'e', "", "", ""},
        {'w', "", "k2", "3"},
        {'w', "C", "c", "1"},
        {'w', "c", "d", "2"}}},
      // Line ends of every kind, a duplicate section and a duplicate key:
      // the first occurrences are written, the later ones stay.
      {"[A]\nk=1\rk=2\r\n[a]\nk=3\n[B]\r\nq",
       {{'w', "A", "K", "9"}, {'d', "A", "k", ""}, {'w', "A", "k", "4"}, {'e', "a", "", ""},
        {'w', "A", "k", "5"}, {'w', "B", "q", "1"}}},
      // Czech names in the file's own code page, matched without case.
      {"[\xC8\xC1ST]\r\n\x9A\x9Dk=1\r\n",
       {{'w', "část", "ŠŤK", "2"}, {'w', "ČÁST", "nový", "3"}, {'d', "Část", "šťk", ""},
        {'w', "", "", "x"}}},
      // Writes that change nothing, into a file already as a rewrite gives it.
      {"[A]\r\nk=1\r\n", {{'w', "A", "k", "1"}, {'d', "A", "none", ""}, {'e', "Z", "", ""}}},
      {"", {{'e', "A", "", ""}, {'w', "A", "k", "1"}, {'d', "A", "k", ""}}},
  };
  for (const auto& each : cases) {
    test::TempFolder folder;
    const std::string single = folder.File("single.ini");
    const std::string batched = folder.File("batched.ini");
    test::WriteBytes(single, each.start);
    test::WriteBytes(batched, each.start);
    ProfileFile oneByOne(single);
    ProfileFile batch(batched);
    batch.BeginBatch();
    for (const Call& call : each.calls) {
      for (ProfileFile* file : {&oneByOne, &batch}) {
        if (call.op == 'w') file->WriteString(call.section, call.key, call.value);
        if (call.op == 'd') file->DeleteKey(call.section, call.key);
        if (call.op == 'e') file->EraseSection(call.section);
      }
      EXPECT_EQ(batch.ReadKeys(call.section), oneByOne.ReadKeys(call.section)) << each.start;
      EXPECT_EQ(batch.ReadSections(), oneByOne.ReadSections()) << each.start;
      EXPECT_EQ(batch.ReadString(call.section, call.key, "-"),
                oneByOne.ReadString(call.section, call.key, "-"))
          << each.start;
    }
    batch.CommitBatch();
    EXPECT_EQ(test::ReadBytes(batched), test::ReadBytes(single)) << each.start;
  }
}

TEST(ProfileBatchTest, AReadingSeesTheFileAsItWasWhenItBegan) {
  test::TempFolder folder;
  const std::string path = folder.File("format.ini");
  test::WriteBytes(path, "[SetUp]\r\nA=1\r\n");
  const ProfileFile reader(path);
  reader.BeginReading();
  ProfileFile(path).WriteString("SetUp", "A", "2");
  EXPECT_EQ(reader.ReadString("SetUp", "a", "-"), "1");
  reader.EndReading();
  EXPECT_EQ(reader.ReadString("SetUp", "a", "-"), "2");
}

TEST(ProfileBatchTest, AFailedCommitLeavesTheFileAsItWas) {
  test::TempFolder folder;
  const std::string path = folder.File("missing/list.ini");
  ProfileFile file(path);
  file.BeginBatch();
  file.WriteString("S", "k", "v");
  EXPECT_THROW(file.CommitBatch(), ProfileWriteError);
  EXPECT_FALSE(std::filesystem::exists(path));
  // A batch without changes writes nothing at all.
  const std::string other = folder.File("other.ini");
  ProfileFile quiet(other);
  quiet.BeginBatch();
  quiet.CommitBatch();
  EXPECT_FALSE(std::filesystem::exists(other));
}

}  // namespace
}  // namespace korval
