#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "ProfileTestFolder.h"
#include "platform/CodePage.h"
#include "storage/ProfileFile.h"

namespace korval {
namespace {

using test::ReadBytes;
using test::WriteBytes;

const std::string kNone = "<none>";

// Files made of pieces that matter to the reader (brackets, "=", ";", quotes,
// every kind of line end, NUL, bytes that Windows-1250 leaves undefined) and
// of random bytes, now and then with a line of a megabyte.
std::string RandomFile(std::mt19937& rng) {
  static const std::vector<std::string> pieces = {
      "[",   "]",         "=",      ";",    "\r",      "\n",    "\r\n",       std::string(1, '\0'),
      " ",   "\t",        "\"",     "'",    "[A]\r\n", "[a]\n", "[\x8E]\r\n", "key=",
      "Key", "k\xF9\xF2", "=\"v\"", "\x81", "\x98",    "\xFF",  "\r\n[B]"};
  std::string bytes;
  const int count = std::uniform_int_distribution<int>(0, 300)(rng);
  for (int i = 0; i < count; ++i) {
    if (rng() % 2 == 0) {
      bytes += pieces[rng() % pieces.size()];
    } else {
      bytes += static_cast<char>(rng() % 256);
    }
  }
  if (rng() % 40 == 0) bytes.insert(rng() % (bytes.size() + 1), std::string(1 << 20, 'L'));
  return bytes;
}

// A name or value that the profile format can hold and give back as it is:
// no line break, no blank or quote at either end, no "=" or "]" in a name.
std::string RandomText(std::mt19937& rng, bool isName) {
  static const std::vector<std::string> inner = {"a", "Z", "7", " ", "\"", "'", ";", "[",
                                                 "]", "=", "č", "Ř", "ů",  "€", "ß", "\t"};
  static const std::vector<std::string> ends = {"a", "Z", "7", "č", "Ř", "ů", "€"};
  std::string text = ends[rng() % ends.size()];
  const int count = static_cast<int>(rng() % 12);
  for (int i = 0; i < count; ++i) {
    const std::string& piece = inner[rng() % inner.size()];
    if (isName && (piece == "=" || piece == "]")) continue;
    text += piece;
  }
  if (count > 0) text += ends[rng() % ends.size()];
  return text;
}

// The names as the file matches them: Windows-1250 bytes in upper case.
std::string MatchForm(const std::string& utf8) {
  std::string bytes = Utf8ToCp1250(utf8);
  for (char& c : bytes) c = static_cast<char>(Cp1250Upper(static_cast<unsigned char>(c)));
  return bytes;
}

using Entry = std::pair<std::string, std::string>;  // section, key
using Snapshot = std::map<std::pair<std::string, std::string>, std::pair<Entry, std::string>>;

// Every value that the lists lead to, keyed by the names as the file matches
// them, so that duplicates in other case are one entry.
Snapshot Take(const ProfileFile& file) {
  Snapshot values;
  for (const std::string& section : file.ReadSections()) {
    for (const std::string& key : file.ReadKeys(section)) {
      values.emplace(std::pair{MatchForm(section), MatchForm(key)},
                     std::pair{Entry{section, key}, file.ReadString(section, key, kNone)});
    }
  }
  return values;
}

// Every value outside the changed section and key (the whole section when
// there is no key) reads as before.
void ExpectOthersUnchanged(const ProfileFile& file, const Snapshot& before,
                           const std::string& section, const std::optional<std::string>& key) {
  for (const auto& [match, entry] : before) {
    if (match.first == MatchForm(section) && (!key || match.second == MatchForm(*key))) continue;
    EXPECT_EQ(file.ReadString(entry.first.first, entry.first.second, kNone), entry.second)
        << "[" << entry.first.first << "] " << entry.first.second;
  }
}

bool OnlyCrLfLineEnds(const std::string& bytes) {
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    if (bytes[i] == '\r' && (i + 1 == bytes.size() || bytes[i + 1] != '\n')) return false;
    if (bytes[i] == '\n' && (i == 0 || bytes[i - 1] != '\r')) return false;
  }
  return true;
}

template <typename T>
const T& Pick(std::mt19937& rng, const std::vector<T>& from) {
  return from[rng() % from.size()];
}

TEST(ProfileRobustnessTest, RandomBytesAreReadAndRewrittenWithoutLosingValues) {
  test::TempFolder folder;
  const std::string path = folder.File("random.ini");
  std::mt19937 rng(20240611);
  for (int round = 0; round < 200; ++round) {
    SCOPED_TRACE("round " + std::to_string(round));
    WriteBytes(path, RandomFile(rng));
    ProfileFile file(path);
    const Snapshot before = Take(file);
    const std::vector<std::string> sections = file.ReadSections();

    // A value into an existing section (maybe over an existing key) or a new one.
    std::string section = RandomText(rng, true);
    std::string key = RandomText(rng, true);
    if (!sections.empty() && rng() % 3 != 0) {
      section = Pick(rng, sections);
      const std::vector<std::string> keys = file.ReadKeys(section);
      // A key line starting with "[" turns into a header once its value
      // brings a "]", for any reader of the file; such keys are left out.
      if (!keys.empty() && rng() % 2 == 0) {
        const std::string& existing = Pick(rng, keys);
        if (existing.front() != '[') key = existing;
      }
    }
    const std::string value = RandomText(rng, false);
    file.WriteString(section, key, value);
    EXPECT_EQ(file.ReadString(section, key, kNone), value);
    ExpectOthersUnchanged(file, before, section, key);
    EXPECT_TRUE(OnlyCrLfLineEnds(ReadBytes(path)));

    const Snapshot written = Take(file);
    file.DeleteKey(section, key);
    EXPECT_EQ(file.ReadString(section, key, kNone), kNone);
    ExpectOthersUnchanged(file, written, section, key);

    if (!sections.empty()) {
      const Snapshot deleted = Take(file);
      const std::string erased = Pick(rng, sections);
      file.EraseSection(erased);
      EXPECT_TRUE(file.ReadKeys(erased).empty());
      ExpectOthersUnchanged(file, deleted, erased, std::nullopt);
    }
  }
}

}  // namespace
}  // namespace korval
