#pragma once

#include <cstddef>
#include <memory>
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

// How a profile file's text is stored. A file without a byte-order mark is
// Windows-1250, as the Windows program writes it; one edited in Notepad may
// start with the mark of UTF-8 or UTF-16 and is read as text in that
// encoding, and written back in it.
enum class ProfileEncoding { kAnsi, kUtf8, kUtf16LE, kUtf16BE };

// One INI file, read and written key by key with the behaviour of the
// Windows profile functions, so that files move between this program and the
// Windows one unchanged. Names and values are UTF-8 here; lines end in CR LF.
// Outside a batch nothing is cached: every call reads the file, and every
// write replaces it whole through a temporary file beside it, so a reader
// sees the old file or the new one, never a torn one.
//
// Section and key names are matched without regard to case (Czech letters
// included) and keep the spelling they were first written with.
//
// How a file is read, as Windows reads it:
// - A line ends at CR LF, LF or a lone CR; a rewritten file has CR LF only.
//   Blanks are spaces, tabs, vertical tabs and form feeds.
// - A line starting with "[" that holds a "]" starts a section; its name is
//   the text up to the last "]" of the line, blanks around it removed
//   ("[[F]]" is section "[F]").
// - Any other line that holds "=" is a key: the name is the text before the
//   first "=" and the value the text after it, blanks around both removed.
//   ";" has no meaning of its own: ";c=3" is the key ";c", and a line without
//   "=" (a comment, a stray word) is no key at all, but stays in the file.
// - Keys before the first section header belong to the section whose name
//   is empty.
// - When a section or key occurs twice, the first occurrence is the one read
//   and written; the later ones stay in the file and in the name lists.
class ProfileFile {
 public:
  static constexpr std::size_t kMaxValueLength = 2047;
  static constexpr std::size_t kKeyListBufferSize = 16384;
  // A key list read whole, whatever its size.
  static constexpr std::size_t kWholeList = static_cast<std::size_t>(-1);

  // A name without any folder stands for a file in the user's configuration
  // folder (on Windows the Windows folder); that folder is created on the
  // first write into it, as the Windows folder always exists. A backslash is
  // a folder separator, as in the Windows names that hosts and formats carry
  // (".\etikety.ini", "forms\"); a drive letter is kept on Windows and
  // dropped elsewhere, where it means nothing (files::NativePath). Any other
  // name is used as given, relative to the current folder at each access.
  // When no file has exactly the name, one whose name differs only in case is
  // read and written instead.
  explicit ProfileFile(std::string fileName);
  ~ProfileFile();
  ProfileFile(ProfileFile&&) noexcept;
  ProfileFile& operator=(ProfileFile&&) noexcept;

  const std::string& FileName() const { return fileName_; }
  const std::string& Path() const { return path_; }
  bool Exists() const;

  // The value, or def when the file, section or key is missing. Leading and
  // trailing blanks are removed; a value enclosed in one pair of matching
  // double or single quotes loses them; at most 2047 characters. def is
  // trimmed, unquoted and cut the same way.
  std::string ReadString(const std::string& section, const std::string& key,
                         const std::string& def) const;

  // The key names of a section in file order, as the byte buffer of the
  // Windows function would hold them: each name with a terminating byte,
  // cut to bufferSize (a name that does not fit whole is cut or missing).
  // Sizes count Windows-1250 bytes. The buffer keeps two bytes for the final
  // pair of terminators, so a name fits whole when used + length + 2 <=
  // bufferSize; the first one that does not is cut to bufferSize - used - 2
  // bytes (left out when nothing fits) and ends the list. A key with an
  // empty name ends the list too: in the buffer it reads as its end.
  std::vector<std::string> ReadKeys(const std::string& section,
                                    std::size_t bufferSize = kKeyListBufferSize) const;
  // The section names in file order, in a buffer of bufferSize as above.
  std::vector<std::string> ReadSections(std::size_t bufferSize = kKeyListBufferSize) const;

  // Replaces the key where it stands; a new key goes to the end of its
  // section, a new section to the end of the file. The line is written as
  // "key=value" with the value as given. A new key follows the last key line
  // of its section, so blank lines and comments that lead to the next
  // section stay in front of it. A missing file is created, a missing folder
  // is an error, and so is a read-only file (left as it is). Names and values
  // holding line breaks, or key names holding "=", cannot be read back as
  // they were written.
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
  // A batch over the given file bytes instead of the file's own: the content
  // that a larger change (several files renamed at once) will give it.
  void BeginBatchOver(const std::string& fileBytes);
  void CommitBatch();
  // Ends the batch without writing and hands over the file's bytes as they
  // would be written, for a change that writes several files at once.
  std::string TakeBatch();

  // The reads that follow see the file as it is now, read and parsed once:
  // a format of six hundred keys loads with one read of its file instead of
  // six hundred. Until EndReading; writes meanwhile are not stored.
  void BeginReading() const;
  void EndReading() const;

  // The file parsed, while a batch or a reading runs.
  struct Document;

 private:
  std::string fileName_;
  std::string path_;
  template <typename Read>
  auto Reading(Read&& read) const;
  template <typename Write>
  void Writing(Write&& write);

  mutable std::unique_ptr<Document> pending_;
};

// The folder of the files named without a folder, always with a trailing
// "/": on Windows the Windows folder, elsewhere the one that stands in for
// it, $XDG_CONFIG_HOME/korval/, else ~/.config/korval/.
std::string UserConfigFolder();

}  // namespace korval
