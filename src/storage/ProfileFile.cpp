#include "storage/ProfileFile.h"

#include <algorithm>
#include <memory>
#include <string_view>
#include <unordered_map>
#include <utility>

#include "platform/CodePage.h"
#include "platform/Text.h"
#include "storage/FileSystem.h"

namespace korval {

namespace {

constexpr std::string_view kBlanks = " \t\v\f";
constexpr std::string_view kLineBreaks = "\r\n";
constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LEMark = "\xFF\xFE";
constexpr std::string_view kUtf16BEMark = "\xFE\xFF";

std::string_view TrimBlanks(std::string_view text) {
  const std::size_t first = text.find_first_not_of(kBlanks);
  if (first == std::string_view::npos) return {};
  const std::size_t last = text.find_last_not_of(kBlanks);
  return text.substr(first, last - first + 1);
}

// ---- the text of a file ----------------------------------------------------

struct FileText {
  std::string text;  // Windows-1250 bytes for kAnsi, UTF-8 for the others
  ProfileEncoding encoding = ProfileEncoding::kAnsi;
};

FileText Decode(std::string_view raw) {
  if (raw.starts_with(kUtf8Mark))
    return {std::string(raw.substr(kUtf8Mark.size())), ProfileEncoding::kUtf8};
  if (raw.starts_with(kUtf16LEMark))
    return {Utf16ToUtf8(raw.substr(2), false), ProfileEncoding::kUtf16LE};
  if (raw.starts_with(kUtf16BEMark))
    return {Utf16ToUtf8(raw.substr(2), true), ProfileEncoding::kUtf16BE};
  return {std::string(raw), ProfileEncoding::kAnsi};
}

std::string Encode(std::string_view text, ProfileEncoding encoding) {
  switch (encoding) {
    case ProfileEncoding::kUtf8:
      return std::string(kUtf8Mark) + std::string(text);
    case ProfileEncoding::kUtf16LE:
      return std::string(kUtf16LEMark) + Utf8ToUtf16(text, false);
    case ProfileEncoding::kUtf16BE:
      return std::string(kUtf16BEMark) + Utf8ToUtf16(text, true);
    case ProfileEncoding::kAnsi:
      break;
  }
  return std::string(text);
}

// Names and values as the file holds them, and back.
std::string ToFile(const std::string& utf8, ProfileEncoding encoding) {
  return encoding == ProfileEncoding::kAnsi ? Utf8ToCp1250(utf8) : utf8;
}

std::string FromFile(std::string_view text, ProfileEncoding encoding) {
  return encoding == ProfileEncoding::kAnsi ? Cp1250ToUtf8(text) : std::string(text);
}

std::string NameOf(const std::string& utf8, ProfileEncoding encoding) {
  return std::string(TrimBlanks(ToFile(utf8, encoding)));
}

// Names are compared on the text of the file, so that the case rule of a
// Windows-1250 file is the one of that code page and not of whatever locale
// the process runs under. Two names are the same when their folds are equal.
std::string Fold(std::string_view name, ProfileEncoding encoding) {
  if (encoding != ProfileEncoding::kAnsi) return UpperCase(name);
  std::string folded(name);
  for (char& c : folded) c = static_cast<char>(Cp1250Upper(static_cast<unsigned char>(c)));
  return folded;
}

// ---- lines -----------------------------------------------------------------

enum class LineKind { kOther, kBlank, kSection, kKey };

// One line of the file, without its line end. The views point into the
// text that was read, which outlives every parse.
struct Line {
  std::string_view text;
  LineKind kind = LineKind::kOther;
  std::string_view name;   // section or key name, blanks around it removed
  std::string_view value;  // everything after the first "=" of a key line
};

Line Classify(std::string_view text) {
  Line line;
  line.text = text;
  const std::string_view body = TrimBlanks(text);
  if (body.empty()) {
    line.kind = LineKind::kBlank;
    return line;
  }
  if (body.front() == '[') {
    const std::size_t close = body.rfind(']');
    if (close != std::string_view::npos) {
      line.kind = LineKind::kSection;
      line.name = TrimBlanks(body.substr(1, close - 1));
      return line;
    }
  }
  const std::size_t equals = body.find('=');
  if (equals == std::string_view::npos) return line;
  line.kind = LineKind::kKey;
  line.name = TrimBlanks(body.substr(0, equals));
  line.value = body.substr(equals + 1);
  return line;
}

// The first count characters of a text of the given encoding.
std::string_view CutChars(std::string_view text, std::size_t count, ProfileEncoding encoding) {
  if (encoding == ProfileEncoding::kAnsi) return text.substr(0, count);
  std::size_t pos = 0;
  for (std::size_t n = 0; pos < text.size() && n < count; ++n) NextCodePoint(text, pos);
  return text.substr(0, pos);
}

// What a reader gets of a stored value or of its default alike: blanks
// around it removed, one pair of matching quotes removed, cut.
std::string_view Unquoted(std::string_view value, ProfileEncoding encoding) {
  value = TrimBlanks(value);
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
      value.back() == value.front())
    value = value.substr(1, value.size() - 2);
  return CutChars(value, ProfileFile::kMaxValueLength, encoding);
}

// Lays the names into a buffer of bufferSize bytes the way the Windows
// function does: each name and its terminator, two bytes kept for the final
// pair of terminators, the first name that does not fit cut and last. An
// empty name is a terminator itself and ends the list.
std::vector<std::string> FitNames(const std::vector<std::string_view>& names,
                                  ProfileEncoding encoding, std::size_t bufferSize) {
  std::vector<std::string> fitted;
  std::size_t used = 0;
  for (const std::string_view name : names) {
    if (name.empty()) break;
    // The buffer of the byte-oriented function holds Windows-1250 bytes.
    const std::string bytes =
        encoding == ProfileEncoding::kAnsi ? std::string(name) : Utf8ToCp1250(name);
    if (bufferSize == ProfileFile::kWholeList || used + bytes.size() + 2 <= bufferSize) {
      fitted.push_back(FromFile(name, encoding));
      used += bytes.size() + 1;
      continue;
    }
    if (bufferSize > used + 2)
      fitted.push_back(Cp1250ToUtf8(std::string_view(bytes).substr(0, bufferSize - used - 2)));
    break;
  }
  return fitted;
}

}  // namespace

// ---- the parsed file ----------------------------------------------------------

// The lines before the first header (a section without a header, the keys
// of the unnamed section), then every section as its header line and its
// body. Each section knows where the first occurrence of each key is, so a
// lookup does not walk the file and a format of six hundred keys is read or
// written with one parse rather than one per key.
struct ProfileFile::Document {
  struct Section {
    std::string header;  // empty for the lines before the first header
    std::vector<std::string> lines;
    std::unordered_map<std::string, std::size_t> keys;  // folded name -> its first line
    std::size_t keyEnd = 0;                             // after the last key line
  };

  ProfileEncoding encoding = ProfileEncoding::kAnsi;
  bool exists = false;
  // The text is as a rewrite would give it (CR LF after every line): writing
  // an unchanged value then changes nothing on the disk.
  bool canonical = true;
  bool changed = false;
  std::vector<Section> sections;  // [0]: the lines before the first header
  std::unordered_map<std::string, std::size_t> firstSection;  // folded name -> index

  Document(std::string_view text, ProfileEncoding encodingOfText, bool fileExists);

  void Index(Section& section) const;
  void IndexSections();
  Section* Find(std::string_view name);
  std::string Text() const;
  // Marks a write: a change, or the first write into a file that is not yet
  // as a rewrite gives it, must reach the disk.
  void Written(bool modified) {
    if (modified || !canonical || !exists) changed = true;
    canonical = true;
    exists = true;
  }
};

namespace {

std::string_view HeaderName(const std::string& header) {
  return Classify(header).name;
}

}  // namespace

ProfileFile::Document::Document(std::string_view text, ProfileEncoding encodingOfText,
                                bool fileExists)
    : encoding(encodingOfText), exists(fileExists) {
  sections.emplace_back();
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find_first_of(kLineBreaks, start);
    if (end == std::string_view::npos) end = text.size();
    const std::string_view lineText = text.substr(start, end - start);
    if (Classify(lineText).kind == LineKind::kSection) {
      sections.emplace_back().header = lineText;
    } else {
      sections.back().lines.emplace_back(lineText);
    }
    const bool crlf = end + 1 < text.size() && text[end] == '\r' && text[end + 1] == '\n';
    canonical = canonical && crlf;
    start = crlf ? end + 2 : end + 1;
  }
  IndexSections();
}

void ProfileFile::Document::Index(Section& section) const {
  section.keys.clear();
  section.keyEnd = 0;
  for (std::size_t i = 0; i < section.lines.size(); ++i) {
    const Line line = Classify(section.lines[i]);
    if (line.kind != LineKind::kKey) continue;
    section.keys.try_emplace(Fold(line.name, encoding), i);
    section.keyEnd = i + 1;
  }
}

void ProfileFile::Document::IndexSections() {
  firstSection.clear();
  for (std::size_t i = 0; i < sections.size(); ++i) {
    Index(sections[i]);
    if (i > 0) firstSection.try_emplace(Fold(HeaderName(sections[i].header), encoding), i);
  }
}

// The first occurrence of a section. The unnamed section is the keys before
// the first header when there are any, else a header without a name.
ProfileFile::Document::Section* ProfileFile::Document::Find(std::string_view name) {
  if (name.empty() && !sections.front().keys.empty()) return &sections.front();
  const auto found = firstSection.find(Fold(name, encoding));
  return found == firstSection.end() ? nullptr : &sections[found->second];
}

std::string ProfileFile::Document::Text() const {
  std::size_t total = 0;
  for (const Section& section : sections) {
    if (!section.header.empty()) total += section.header.size() + 2;
    for (const std::string& line : section.lines) total += line.size() + 2;
  }
  std::string bytes;
  bytes.reserve(total);
  for (const Section& section : sections) {
    // Only the lines before the first header have no header line.
    if (&section != &sections.front()) bytes.append(section.header).append("\r\n");
    for (const std::string& line : section.lines) bytes.append(line).append("\r\n");
  }
  return bytes;
}

namespace {

// ---- files -------------------------------------------------------------------

bool IsBareName(std::string_view fileName) {
  return fileName.find_first_of("/\\") == std::string_view::npos;
}

bool HasDriveLetter(std::string_view name) {
  return name.size() >= 2 && name[1] == ':' &&
         ((name[0] >= 'A' && name[0] <= 'Z') || (name[0] >= 'a' && name[0] <= 'z'));
}

// "C:x.ini" is no bare name: it is in the current folder of drive C.
std::string ResolvePath(const std::string& fileName) {
  if (IsBareName(fileName) && !HasDriveLetter(fileName)) return UserConfigFolder() + fileName;
  return files::NativePath(fileName);
}

using Document = ProfileFile::Document;
using Section = Document::Section;

// Empty when there is nothing to read: reading never fails visibly.
Document LoadForRead(const ProfileFile& file) {
  std::string raw;
  if (files::ReadAll(files::Locate(file.Path()), raw) != files::ReadResult::kRead) raw.clear();
  const FileText text = Decode(raw);
  return Document(text.text, text.encoding, !raw.empty());
}

// A file that is there but cannot be read must not be replaced by one made
// from nothing: that would lose every other setting in it.
Document LoadForWrite(const ProfileFile& file) {
  std::string raw;
  switch (files::ReadAll(files::Locate(file.Path()), raw)) {
    case files::ReadResult::kFailed:
      throw ProfileWriteError(file.FileName());
    case files::ReadResult::kMissing:
      return Document({}, ProfileEncoding::kAnsi, false);
    case files::ReadResult::kRead:
      break;
  }
  const FileText text = Decode(raw);
  return Document(text.text, text.encoding, true);
}

void Store(const ProfileFile& file, const Document& document) {
  const std::string located = files::Locate(file.Path());
  if (IsBareName(file.FileName())) files::CreateFolders(UserConfigFolder());
  if (!files::Replace(files::FollowLinks(located), Encode(document.Text(), document.encoding)))
    throw ProfileWriteError(file.FileName());
}

}  // namespace

ProfileWriteError::ProfileWriteError(const std::string& fileName)
    : std::runtime_error("Unable to write to " + fileName), fileName_(fileName) {}

ProfileFile::ProfileFile(std::string fileName)
    : fileName_(std::move(fileName)), path_(ResolvePath(fileName_)) {}

ProfileFile::~ProfileFile() = default;
ProfileFile::ProfileFile(ProfileFile&&) noexcept = default;
ProfileFile& ProfileFile::operator=(ProfileFile&&) noexcept = default;

bool ProfileFile::Exists() const {
  return files::Exists(files::Locate(path_));
}

// Outside a batch every call reads the file; a write replaces it unless it
// would come out byte for byte as it is, so that an unchanged file keeps its
// time stamp and a value written again costs no rewrite.
template <typename Read>
auto ProfileFile::Reading(Read&& read) const {
  if (pending_) return read(*pending_);
  Document document = LoadForRead(*this);
  return read(document);
}

template <typename Write>
void ProfileFile::Writing(Write&& write) {
  if (pending_) {
    write(*pending_);
    return;
  }
  Document document = LoadForWrite(*this);
  write(document);
  if (document.changed) Store(*this, document);
}

std::string ProfileFile::ReadString(const std::string& section, const std::string& key,
                                    const std::string& def) const {
  return Reading([&](Document& file) {
    const Section* found = file.Find(NameOf(section, file.encoding));
    if (found) {
      const auto line = found->keys.find(Fold(NameOf(key, file.encoding), file.encoding));
      if (line != found->keys.end()) {
        const std::string_view value = Classify(found->lines[line->second]).value;
        return FromFile(Unquoted(value, file.encoding), file.encoding);
      }
    }
    return std::string(Unquoted(def, ProfileEncoding::kUtf8));
  });
}

std::vector<std::string> ProfileFile::ReadKeys(const std::string& section,
                                               std::size_t bufferSize) const {
  return Reading([&](Document& file) {
    const Section* found = file.Find(NameOf(section, file.encoding));
    if (!found) return std::vector<std::string>();
    std::vector<std::string_view> names;
    for (const std::string& text : found->lines) {
      const Line line = Classify(text);
      if (line.kind == LineKind::kKey) names.push_back(line.name);
    }
    return FitNames(names, file.encoding, bufferSize);
  });
}

std::vector<std::string> ProfileFile::ReadSections(std::size_t bufferSize) const {
  return Reading([&](Document& file) {
    std::vector<std::string_view> names;
    for (std::size_t i = 1; i < file.sections.size(); ++i)
      names.push_back(HeaderName(file.sections[i].header));
    return FitNames(names, file.encoding, bufferSize);
  });
}

void ProfileFile::WriteString(const std::string& section, const std::string& key,
                              const std::string& value) {
  Writing([&](Document& file) {
    const ProfileEncoding encoding = file.encoding;
    const std::string sectionName = NameOf(section, encoding);
    const std::string keyName = NameOf(key, encoding);
    const std::string valueText = ToFile(value, encoding);
    Section* found = file.Find(sectionName);
    if (!found && sectionName.empty()) {
      // Keys without a section stand before the first header.
      Section& unnamed = file.sections.front();
      unnamed.lines.insert(unnamed.lines.begin(), keyName + "=" + valueText);
      file.Index(unnamed);
      file.Written(true);
    } else if (!found) {
      Section& added = file.sections.emplace_back();
      added.header = "[" + sectionName + "]";
      added.lines.push_back(keyName + "=" + valueText);
      file.Index(added);
      file.firstSection.try_emplace(Fold(sectionName, encoding), file.sections.size() - 1);
      file.Written(true);
    } else if (const auto line = found->keys.find(Fold(keyName, encoding));
               line != found->keys.end()) {
      // The key keeps the spelling it has in the file.
      std::string& text = found->lines[line->second];
      std::string replaced = std::string(Classify(text).name) + "=" + valueText;
      const bool modified = replaced != text;
      text = std::move(replaced);
      file.Written(modified);
    } else {
      // A new key goes right after the last key line, so that blank lines and
      // comments in front of the next section stay where they were. No key
      // line moves, so the index stays right.
      const std::size_t at = found->keyEnd;
      found->lines.insert(found->lines.begin() + static_cast<std::ptrdiff_t>(at),
                          keyName + "=" + valueText);
      found->keys.emplace(Fold(keyName, encoding), at);
      found->keyEnd = at + 1;
      file.Written(true);
    }
  });
}

void ProfileFile::DeleteKey(const std::string& section, const std::string& key) {
  Writing([&](Document& file) {
    if (!file.exists) return;
    Section* found = file.Find(NameOf(section, file.encoding));
    if (!found) return;
    const std::string folded = Fold(NameOf(key, file.encoding), file.encoding);
    const std::size_t before = found->lines.size();
    std::erase_if(found->lines, [&](const std::string& text) {
      const Line line = Classify(text);
      return line.kind == LineKind::kKey && Fold(line.name, file.encoding) == folded;
    });
    if (found->lines.size() == before) return;
    file.Index(*found);
    file.Written(true);
  });
}

void ProfileFile::EraseSection(const std::string& section) {
  Writing([&](Document& file) {
    if (!file.exists) return;
    const std::string sectionName = NameOf(section, file.encoding);
    bool removed = false;
    // The keys before the first header are the section without a name, and
    // go with every line around them.
    Section& unnamed = file.sections.front();
    if (sectionName.empty() && !unnamed.keys.empty()) {
      unnamed.lines.clear();
      file.Index(unnamed);
      removed = true;
    }
    // Every occurrence goes, so that no later duplicate shows up in its place.
    const std::string folded = Fold(sectionName, file.encoding);
    const auto named = file.sections.begin() + 1;
    const auto kept = std::remove_if(named, file.sections.end(), [&](const Section& each) {
      return Fold(HeaderName(each.header), file.encoding) == folded;
    });
    if (kept != file.sections.end()) {
      file.sections.erase(kept, file.sections.end());
      removed = true;
    }
    if (!removed) return;
    file.IndexSections();
    file.Written(true);
  });
}

void ProfileFile::BeginBatch() {
  if (pending_) return;
  pending_ = std::make_unique<Document>(LoadForWrite(*this));
}

void ProfileFile::BeginBatchOver(const std::string& fileBytes) {
  const FileText text = Decode(fileBytes);
  pending_ = std::make_unique<Document>(text.text, text.encoding, !fileBytes.empty());
}

void ProfileFile::BeginReading() const {
  if (pending_) return;
  pending_ = std::make_unique<Document>(LoadForRead(*this));
}

void ProfileFile::EndReading() const {
  pending_.reset();
}

void ProfileFile::CommitBatch() {
  if (!pending_) return;
  const std::unique_ptr<Document> batch = std::move(pending_);
  if (batch->changed) Store(*this, *batch);
}

std::string ProfileFile::TakeBatch() {
  if (!pending_) return {};
  const std::unique_ptr<Document> batch = std::move(pending_);
  return Encode(batch->Text(), batch->encoding);
}

}  // namespace korval
