#pragma once

#include <cstddef>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace korval {

// A write that cannot be done: "Unable to write to %s" with the file name.
class ProfileWriteError : public std::runtime_error {
 public:
  explicit ProfileWriteError(const std::string& fileName);
  const std::string& FileName() const { return fileName_; }

 private:
  std::string fileName_;
};

// One INI file, read and written key by key with the behaviour of the
// Windows profile functions, so that files move between this program and the
// Windows one unchanged. Names and values are UTF-8 here and Windows-1250 on
// disk; lines end in CR LF. Nothing is cached: every call reads the file, and
// every write replaces it whole through a temporary file beside it, so a
// reader sees the old file or the new one, never a torn one.
//
// Section and key names are matched without regard to case (Czech letters
// included) and keep the spelling they were first written with. Comments
// (";") and lines that are neither sections nor keys are kept as they are.
//
// How a file is read:
// - A line ends at CR LF, LF or a lone CR; a rewritten file has CR LF only.
// - "[Name]" (blanks around it allowed, text after "]" ignored) starts a
//   section; a "[" line without "]" is not a header.
// - Blank lines and lines starting with ";" are neither keys nor sections.
// - Inside a section every other line is a key: the name is the text before
//   the first "=" with blanks (spaces, tabs) around it removed. A line without
//   "=" is a key with an empty value, so that it is listed, replaced and
//   deleted like any other key.
//   Lines before the first section belong to no section and are only kept.
// - When a section or key occurs twice, the first occurrence is the one read
//   and written; the later ones stay in the file and in the name lists.
class ProfileFile {
 public:
  static constexpr std::size_t kMaxValueLength = 2047;
  static constexpr std::size_t kKeyListBufferSize = 16384;

  // A name without any folder ("/" or "\") stands for a file in the user's
  // configuration folder (where the Windows program would use the Windows
  // folder); that folder is created on the first write into it, as the
  // Windows folder always exists. A leading ".\" means "./". Any other name
  // is used as given, relative to the current folder at each access.
  explicit ProfileFile(std::string fileName);

  const std::string& FileName() const { return fileName_; }
  const std::string& Path() const { return path_; }
  bool Exists() const;

  // The value, or def when the file, section or key is missing. Leading and
  // trailing blanks are removed; a value enclosed in one pair of matching
  // double or single quotes loses them; at most 2047 characters. Like the
  // Windows function, def loses its trailing blanks and is cut the same way.
  std::string ReadString(const std::string& section, const std::string& key,
                         const std::string& def) const;

  // The key names of a section in file order, as the byte buffer of the
  // Windows function would hold them: each name with a terminating byte,
  // cut to bufferSize (a name that does not fit whole is cut or missing).
  // Sizes count Windows-1250 bytes. The buffer keeps two bytes for the final
  // pair of terminators, so a name fits whole when used + length + 2 <=
  // bufferSize; the first one that does not is cut to bufferSize - used - 2
  // bytes (left out when nothing fits) and ends the list. Empty names are
  // left out: in the buffer they would read as the end of the list.
  std::vector<std::string> ReadKeys(const std::string& section,
                                    std::size_t bufferSize = kKeyListBufferSize) const;
  // The section names in file order, in a buffer of bufferSize as above.
  std::vector<std::string> ReadSections(std::size_t bufferSize = kKeyListBufferSize) const;

  // Replaces the key where it stands; a new key goes to the end of its
  // section, a new section to the end of the file. The line is written as
  // "key=value" with the value as given. A new key follows the last key line
  // of its section, so blank lines and comments that lead to the next
  // section stay in front of it. A missing file is created, a missing folder
  // is an error. Names and values holding line breaks, or key names holding
  // "=", cannot be read back as they were written.
  void WriteString(const std::string& section, const std::string& key, const std::string& value);
  // Removes every line of the key in the section. Nothing to remove leaves
  // the file untouched.
  void DeleteKey(const std::string& section, const std::string& key);
  // Removes the section header and all lines up to the next section, for
  // every occurrence of the section, so that no later duplicate shows up in
  // its place.
  void EraseSection(const std::string& section);

  // The writes that follow are made in memory and reach the disk together at
  // CommitBatch, in one crash-safe replacement: a label format of some six
  // hundred keys is saved with one write instead of six hundred, and a
  // failure leaves the file as it was, not half written. Reads through this
  // object see the pending writes. Without a commit nothing is written.
  void BeginBatch();
  void CommitBatch();

  // The file's bytes while a batch runs; for the reading and writing code.
  struct PendingBytes {
    std::string Bytes;
    bool Exists = false;
    bool Changed = false;
  };
  PendingBytes* Pending() const { return pending_ ? &*pending_ : nullptr; }

 private:
  std::string fileName_;
  std::string path_;
  mutable std::optional<PendingBytes> pending_;
};

// The folder that stands in for the Windows folder: $XDG_CONFIG_HOME/korval/,
// else ~/.config/korval/, always with a trailing "/".
std::string UserConfigFolder();

}  // namespace korval
