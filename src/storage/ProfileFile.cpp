#include "storage/ProfileFile.h"

#include <optional>
#include <string_view>
#include <utility>

#include "platform/CodePage.h"
#include "platform/Text.h"
#include "storage/FileSystem.h"

namespace korval {

namespace {

constexpr std::string_view kBlanks = " \t\v\f";
constexpr std::string_view kLineBreaks = "\r\n";
constexpr std::size_t kNone = static_cast<std::size_t>(-1);
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
// the process runs under.
bool SameName(std::string_view a, std::string_view b, ProfileEncoding encoding) {
  if (encoding != ProfileEncoding::kAnsi) return SameText(a, b);
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (Cp1250Upper(static_cast<unsigned char>(a[i])) !=
        Cp1250Upper(static_cast<unsigned char>(b[i])))
      return false;
  }
  return true;
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

std::vector<Line> Parse(std::string_view text) {
  std::vector<Line> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find_first_of(kLineBreaks, start);
    if (end == std::string_view::npos) end = text.size();
    lines.push_back(Classify(text.substr(start, end - start)));
    start = end + 1;
    if (end < text.size() && text[end] == '\r' && start < text.size() && text[start] == '\n')
      ++start;
  }
  return lines;
}

// The lines of the first occurrence of a section: the first line of its
// body, the index of the next header (or the end of the file), and its
// header, which the keys before the first header have not.
struct Span {
  std::size_t body = 0;
  std::size_t end = 0;
  bool hasHeader = true;
};

std::size_t NextSection(const std::vector<Line>& lines, std::size_t from) {
  while (from < lines.size() && lines[from].kind != LineKind::kSection) ++from;
  return from;
}

std::optional<Span> FindSection(const std::vector<Line>& lines, std::string_view name,
                                ProfileEncoding encoding) {
  if (name.empty()) {
    const std::size_t end = NextSection(lines, 0);
    for (std::size_t i = 0; i < end; ++i) {
      if (lines[i].kind == LineKind::kKey) return Span{0, end, false};
    }
  }
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (lines[i].kind == LineKind::kSection && SameName(lines[i].name, name, encoding))
      return Span{i + 1, NextSection(lines, i + 1), true};
  }
  return std::nullopt;
}

std::size_t FindKey(const std::vector<Line>& lines, const Span& span, std::string_view key,
                    ProfileEncoding encoding) {
  for (std::size_t i = span.body; i < span.end; ++i) {
    if (lines[i].kind == LineKind::kKey && SameName(lines[i].name, key, encoding)) return i;
  }
  return kNone;
}

// A new key goes right after the last key line, so that blank lines and
// comments in front of the next section stay where they were.
std::size_t InsertionPoint(const std::vector<Line>& lines, const Span& span) {
  std::size_t at = span.body;
  for (std::size_t i = span.body; i < span.end; ++i) {
    if (lines[i].kind == LineKind::kKey) at = i + 1;
  }
  return at;
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

std::string Join(const std::vector<std::string_view>& texts) {
  std::size_t total = 0;
  for (const std::string_view text : texts) total += text.size() + 2;
  std::string bytes;
  bytes.reserve(total);
  for (const std::string_view text : texts) {
    bytes += text;
    bytes += "\r\n";
  }
  return bytes;
}

std::vector<std::string_view> TextsOf(const std::vector<Line>& lines) {
  std::vector<std::string_view> texts;
  texts.reserve(lines.size() + 2);
  for (const Line& line : lines) texts.push_back(line.text);
  return texts;
}

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

struct Loaded {
  FileText file;
  bool exists = false;
};

// Empty when there is nothing to read: reading never fails visibly.
FileText LoadForRead(const ProfileFile& file) {
  if (const auto* pending = file.Pending()) return {pending->Text, pending->Encoding};
  std::string raw;
  if (files::ReadAll(files::Locate(file.Path()), raw) != files::ReadResult::kRead) raw.clear();
  return Decode(raw);
}

// A file that is there but cannot be read must not be replaced by one made
// from nothing: that would lose every other setting in it.
Loaded LoadForWrite(const ProfileFile& file) {
  if (const auto* pending = file.Pending())
    return {{pending->Text, pending->Encoding}, pending->Exists};
  std::string raw;
  switch (files::ReadAll(files::Locate(file.Path()), raw)) {
    case files::ReadResult::kFailed:
      throw ProfileWriteError(file.FileName());
    case files::ReadResult::kMissing:
      return {};
    case files::ReadResult::kRead:
      break;
  }
  return {Decode(raw), true};
}

void Store(const ProfileFile& file, const FileText& text) {
  if (auto* pending = file.Pending()) {
    pending->Text = text.text;
    pending->Encoding = text.encoding;
    pending->Exists = true;
    pending->Changed = true;
    return;
  }
  const std::string located = files::Locate(file.Path());
  if (IsBareName(file.FileName())) files::CreateFolders(UserConfigFolder());
  if (!files::Replace(files::FollowLinks(located), Encode(text.text, text.encoding)))
    throw ProfileWriteError(file.FileName());
}

// Writes unless the file would come out byte for byte as it is: an unchanged
// file keeps its time stamp, and a value written again costs no rewrite.
void StoreIfChanged(const ProfileFile& file, const Loaded& old, std::string text) {
  if (old.exists && text == old.file.text) return;
  Store(file, {std::move(text), old.file.encoding});
}

}  // namespace

ProfileWriteError::ProfileWriteError(const std::string& fileName)
    : std::runtime_error("Unable to write to " + fileName), fileName_(fileName) {}

ProfileFile::ProfileFile(std::string fileName)
    : fileName_(std::move(fileName)), path_(ResolvePath(fileName_)) {}

bool ProfileFile::Exists() const {
  return files::Exists(files::Locate(path_));
}

std::string ProfileFile::ReadString(const std::string& section, const std::string& key,
                                    const std::string& def) const {
  const FileText file = LoadForRead(*this);
  const std::vector<Line> lines = Parse(file.text);
  const auto fallback = [&] { return std::string(Unquoted(def, ProfileEncoding::kUtf8)); };
  const std::optional<Span> span =
      FindSection(lines, NameOf(section, file.encoding), file.encoding);
  if (!span) return fallback();
  const std::size_t index = FindKey(lines, *span, NameOf(key, file.encoding), file.encoding);
  if (index == kNone) return fallback();
  return FromFile(Unquoted(lines[index].value, file.encoding), file.encoding);
}

std::vector<std::string> ProfileFile::ReadKeys(const std::string& section,
                                               std::size_t bufferSize) const {
  const FileText file = LoadForRead(*this);
  const std::vector<Line> lines = Parse(file.text);
  const std::optional<Span> span =
      FindSection(lines, NameOf(section, file.encoding), file.encoding);
  if (!span) return {};
  std::vector<std::string_view> names;
  for (std::size_t i = span->body; i < span->end; ++i) {
    if (lines[i].kind == LineKind::kKey) names.push_back(lines[i].name);
  }
  return FitNames(names, file.encoding, bufferSize);
}

std::vector<std::string> ProfileFile::ReadSections(std::size_t bufferSize) const {
  const FileText file = LoadForRead(*this);
  std::vector<std::string_view> names;
  for (const Line& line : Parse(file.text)) {
    if (line.kind == LineKind::kSection) names.push_back(line.name);
  }
  return FitNames(names, file.encoding, bufferSize);
}

void ProfileFile::WriteString(const std::string& section, const std::string& key,
                              const std::string& value) {
  const Loaded old = LoadForWrite(*this);
  const ProfileEncoding encoding = old.file.encoding;
  const std::string sectionName = NameOf(section, encoding);
  const std::string keyName = NameOf(key, encoding);
  const std::string valueText = ToFile(value, encoding);
  const std::vector<Line> lines = Parse(old.file.text);
  std::vector<std::string_view> texts = TextsOf(lines);

  std::string header;
  std::string keyLine;
  const std::optional<Span> span = FindSection(lines, sectionName, encoding);
  if (!span && sectionName.empty()) {
    // Keys without a section stand before the first header.
    keyLine = keyName + "=" + valueText;
    texts.insert(texts.begin(), keyLine);
  } else if (!span) {
    header = "[" + sectionName + "]";
    keyLine = keyName + "=" + valueText;
    texts.push_back(header);
    texts.push_back(keyLine);
  } else if (const std::size_t index = FindKey(lines, *span, keyName, encoding); index != kNone) {
    // The key keeps the spelling it has in the file.
    keyLine = std::string(lines[index].name) + "=" + valueText;
    texts[index] = keyLine;
  } else {
    keyLine = keyName + "=" + valueText;
    const std::size_t at = InsertionPoint(lines, *span);
    texts.insert(texts.begin() + static_cast<std::ptrdiff_t>(at), keyLine);
  }
  StoreIfChanged(*this, old, Join(texts));
}

void ProfileFile::DeleteKey(const std::string& section, const std::string& key) {
  const Loaded old = LoadForWrite(*this);
  if (!old.exists) return;
  const ProfileEncoding encoding = old.file.encoding;
  const std::string keyName = NameOf(key, encoding);
  const std::vector<Line> lines = Parse(old.file.text);
  const std::optional<Span> span = FindSection(lines, NameOf(section, encoding), encoding);
  if (!span) return;
  std::vector<std::string_view> texts;
  texts.reserve(lines.size());
  bool removed = false;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (i >= span->body && i < span->end && lines[i].kind == LineKind::kKey &&
        SameName(lines[i].name, keyName, encoding)) {
      removed = true;
      continue;
    }
    texts.push_back(lines[i].text);
  }
  if (removed) Store(*this, {Join(texts), encoding});
}

void ProfileFile::EraseSection(const std::string& section) {
  const Loaded old = LoadForWrite(*this);
  if (!old.exists) return;
  const ProfileEncoding encoding = old.file.encoding;
  const std::string sectionName = NameOf(section, encoding);
  const std::vector<Line> lines = Parse(old.file.text);
  std::vector<std::string_view> texts;
  texts.reserve(lines.size());
  // The keys before the first header are the section without a name.
  const std::optional<Span> unnamed =
      sectionName.empty() ? FindSection(lines, sectionName, encoding) : std::nullopt;
  bool erasing = unnamed && !unnamed->hasHeader;
  bool removed = false;
  for (const Line& line : lines) {
    if (line.kind == LineKind::kSection) erasing = SameName(line.name, sectionName, encoding);
    if (erasing) {
      removed = true;
      continue;
    }
    texts.push_back(line.text);
  }
  if (removed) Store(*this, {Join(texts), encoding});
}

void ProfileFile::BeginBatch() {
  if (pending_) return;
  const Loaded loaded = LoadForWrite(*this);
  pending_ = PendingBytes{loaded.file.text, loaded.file.encoding, loaded.exists, false};
}

void ProfileFile::BeginBatchOver(const std::string& fileBytes) {
  FileText text = Decode(fileBytes);
  pending_ = PendingBytes{std::move(text.text), text.encoding, !fileBytes.empty(), false};
}

void ProfileFile::CommitBatch() {
  if (!pending_) return;
  const PendingBytes batch = std::move(*pending_);
  pending_.reset();
  if (batch.Changed) Store(*this, {batch.Text, batch.Encoding});
}

std::string ProfileFile::TakeBatch() {
  if (!pending_) return {};
  const PendingBytes batch = std::move(*pending_);
  pending_.reset();
  return Encode(batch.Text, batch.Encoding);
}

}  // namespace korval
