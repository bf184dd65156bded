#include "storage/ProfileFile.h"

#include <atomic>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <optional>
#include <random>
#include <string_view>
#include <system_error>
#include <utility>

#include "platform/CodePage.h"

namespace korval {
namespace fs = std::filesystem;

namespace {

constexpr std::string_view kBlanks = " \t";
constexpr std::string_view kLineBreaks = "\r\n";
constexpr std::size_t kNone = static_cast<std::size_t>(-1);

std::string_view TrimBlanks(std::string_view text) {
  const std::size_t first = text.find_first_not_of(kBlanks);
  if (first == std::string_view::npos) return {};
  const std::size_t last = text.find_last_not_of(kBlanks);
  return text.substr(first, last - first + 1);
}

// Names are compared on the bytes of the file, so that the case rule is the
// one of Windows-1250 and not of whatever locale the process runs under.
bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (Cp1250Upper(static_cast<unsigned char>(a[i])) !=
        Cp1250Upper(static_cast<unsigned char>(b[i])))
      return false;
  }
  return true;
}

enum class LineKind { kOther, kBlank, kComment, kSection, kKey };

// One line of the file, without its line end. The views point into the
// bytes that were read, which outlive every parse.
struct Line {
  std::string_view text;
  LineKind kind = LineKind::kOther;
  std::string_view name;   // section or key name, blanks around it removed
  std::string_view value;  // everything after the first "=" of a key line
};

Line Classify(std::string_view text, bool inSection) {
  Line line;
  line.text = text;
  const std::string_view body = TrimBlanks(text);
  if (body.empty()) {
    line.kind = LineKind::kBlank;
    return line;
  }
  if (body.front() == ';') {
    line.kind = LineKind::kComment;
    return line;
  }
  if (body.front() == '[') {
    const std::size_t close = body.find(']');
    if (close != std::string_view::npos) {
      line.kind = LineKind::kSection;
      line.name = TrimBlanks(body.substr(1, close - 1));
      return line;
    }
  }
  if (!inSection) return line;
  line.kind = LineKind::kKey;
  const std::size_t equals = body.find('=');
  line.name = TrimBlanks(body.substr(0, equals));
  if (equals != std::string_view::npos) line.value = body.substr(equals + 1);
  return line;
}

std::vector<Line> Parse(std::string_view bytes) {
  std::vector<Line> lines;
  bool inSection = false;
  std::size_t start = 0;
  while (start < bytes.size()) {
    std::size_t end = bytes.find_first_of(kLineBreaks, start);
    if (end == std::string_view::npos) end = bytes.size();
    lines.push_back(Classify(bytes.substr(start, end - start), inSection));
    if (lines.back().kind == LineKind::kSection) inSection = true;
    start = end + 1;
    if (end < bytes.size() && bytes[end] == '\r' && start < bytes.size() && bytes[start] == '\n')
      ++start;
  }
  return lines;
}

// The lines of the first occurrence of a section: its header and the index
// of the next header (or the end of the file).
struct Span {
  std::size_t header = 0;
  std::size_t end = 0;
};

std::size_t NextSection(const std::vector<Line>& lines, std::size_t from) {
  while (from < lines.size() && lines[from].kind != LineKind::kSection) ++from;
  return from;
}

std::optional<Span> FindSection(const std::vector<Line>& lines, std::string_view name) {
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (lines[i].kind == LineKind::kSection && SameName(lines[i].name, name))
      return Span{i, NextSection(lines, i + 1)};
  }
  return std::nullopt;
}

bool IsKey(const Line& line, std::string_view key) {
  return line.kind == LineKind::kKey && SameName(line.name, key);
}

std::size_t FindKey(const std::vector<Line>& lines, const Span& span, std::string_view key) {
  for (std::size_t i = span.header + 1; i < span.end; ++i) {
    if (IsKey(lines[i], key)) return i;
  }
  return kNone;
}

// A new key goes right after the last key line, so that blank lines and
// comments in front of the next section stay where they were.
std::size_t InsertionPoint(const std::vector<Line>& lines, const Span& span) {
  std::size_t at = span.header + 1;
  for (std::size_t i = span.header + 1; i < span.end; ++i) {
    if (lines[i].kind == LineKind::kKey) at = i + 1;
  }
  return at;
}

std::string_view ValueOf(const Line& line) {
  std::string_view value = TrimBlanks(line.value);
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
      value.back() == value.front())
    value = value.substr(1, value.size() - 2);
  return value.substr(0, ProfileFile::kMaxValueLength);
}

// The Windows function strips trailing blanks from the default it returns
// and cuts it to the buffer like any value.
std::string DefaultValue(std::string_view def) {
  const std::size_t last = def.find_last_not_of(kBlanks);
  def = last == std::string_view::npos ? std::string_view{} : def.substr(0, last + 1);
  std::size_t pos = 0;
  for (std::size_t count = 0; pos < def.size() && count < ProfileFile::kMaxValueLength; ++count)
    NextCodePoint(def, pos);
  return std::string(def.substr(0, pos));
}

// Lays the names into a buffer of bufferSize bytes the way the Windows
// function does: each name and its terminator, two bytes kept for the final
// pair of terminators, the first name that does not fit cut and last.
std::vector<std::string> FitNames(const std::vector<std::string_view>& names,
                                  std::size_t bufferSize) {
  std::vector<std::string> fitted;
  std::size_t used = 0;
  for (const std::string_view name : names) {
    if (name.empty()) continue;
    if (used + name.size() + 2 <= bufferSize) {
      fitted.push_back(Cp1250ToUtf8(name));
      used += name.size() + 1;
      continue;
    }
    if (bufferSize > used + 2)
      fitted.push_back(Cp1250ToUtf8(name.substr(0, bufferSize - used - 2)));
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

std::string NameBytes(const std::string& utf8) {
  return std::string(TrimBlanks(Utf8ToCp1250(utf8)));
}

// ---- files ---------------------------------------------------------------

fs::path ToFsPath(const std::string& utf8) {
  return fs::path(std::u8string(utf8.begin(), utf8.end()));
}

bool IsBareName(std::string_view fileName) {
  return fileName.find_first_of("/\\") == std::string_view::npos;
}

std::string ResolvePath(const std::string& fileName) {
  if (IsBareName(fileName)) return UserConfigFolder() + fileName;
  if (fileName.starts_with(".\\")) return "./" + fileName.substr(2);
  return fileName;
}

enum class LoadResult { kMissing, kRead, kFailed };

// Only regular files are read: a folder, a device or a pipe in the file's
// place would block or make no sense as settings.
LoadResult LoadBytes(const std::string& path, std::string& bytes) {
  std::error_code error;
  const fs::path fsPath = ToFsPath(path);
  const fs::file_status status = fs::status(fsPath, error);
  if (status.type() == fs::file_type::not_found) return LoadResult::kMissing;
  if (!fs::is_regular_file(status)) return LoadResult::kFailed;
  std::ifstream in(fsPath, std::ios::binary);
  if (!in) return LoadResult::kFailed;
  bytes.clear();
  char chunk[65536];
  while (in.read(chunk, sizeof chunk) || in.gcount() > 0)
    bytes.append(chunk, static_cast<std::size_t>(in.gcount()));
  if (in.bad()) return LoadResult::kFailed;
  return LoadResult::kRead;
}

// Empty when there is nothing to read: reading never fails visibly.
std::string LoadForRead(const ProfileFile& file) {
  if (const auto* pending = file.Pending()) return pending->Bytes;
  std::string bytes;
  if (LoadBytes(file.Path(), bytes) != LoadResult::kRead) bytes.clear();
  return bytes;
}

struct Loaded {
  std::string bytes;
  bool exists = false;
};

// A file that is there but cannot be read must not be replaced by one made
// from nothing: that would lose every other setting in it.
Loaded LoadForWrite(const ProfileFile& file) {
  Loaded loaded;
  if (const auto* pending = file.Pending()) {
    loaded.bytes = pending->Bytes;
    loaded.exists = pending->Exists;
    return loaded;
  }
  switch (LoadBytes(file.Path(), loaded.bytes)) {
    case LoadResult::kFailed:
      throw ProfileWriteError(file.FileName());
    case LoadResult::kMissing:
      loaded.bytes.clear();
      return loaded;
    case LoadResult::kRead:
      break;
  }
  loaded.exists = true;
  return loaded;
}

// Writing through a link would replace the link by a plain file; the file it
// points to is the one the user keeps.
fs::path FollowLinks(fs::path path) {
  for (int hop = 0; hop < 40; ++hop) {
    std::error_code error;
    if (!fs::is_symlink(fs::symlink_status(path, error))) break;
    const fs::path link = fs::read_symlink(path, error);
    if (error) break;
    path = link.is_absolute() ? link : path.parent_path() / link;
  }
  return path;
}

std::string UniqueSuffix() {
  static std::atomic<std::uint64_t> counter{0};
  std::random_device device;
  const auto ticks =
      static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
  const std::uint64_t mixed = (static_cast<std::uint64_t>(device()) << 32) ^ ticks ^
                              (counter.fetch_add(1) * 0x9E3779B97F4A7C15ULL);
  return std::to_string(mixed);
}

// The whole new file goes to a temporary file in the same folder (so that the
// rename stays on one file system), and only a complete one is renamed over
// the old file. Any failure removes the temporary file again.
bool ReplaceFile(const fs::path& target, const std::string& bytes) {
  fs::path temp = target;
  temp += ".~" + UniqueSuffix() + ".tmp";
  std::error_code error;
  {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    if (!out) {
      fs::remove(temp, error);
      return false;
    }
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.flush();
    const bool written = static_cast<bool>(out);
    out.close();
    if (!written || out.fail()) {
      fs::remove(temp, error);
      return false;
    }
  }
  const fs::file_status old = fs::status(target, error);
  if (fs::is_regular_file(old)) fs::permissions(temp, old.permissions(), error);
  error.clear();
  fs::rename(temp, target, error);
  if (error) {
    fs::remove(temp, error);
    return false;
  }
  return true;
}

void Store(const ProfileFile& file, const std::string& bytes) {
  if (auto* pending = file.Pending()) {
    pending->Bytes = bytes;
    pending->Exists = true;
    pending->Changed = true;
    return;
  }
  const fs::path target = FollowLinks(ToFsPath(file.Path()));
  if (IsBareName(file.FileName())) {
    std::error_code error;
    fs::create_directories(target.parent_path(), error);
  }
  if (!ReplaceFile(target, bytes)) throw ProfileWriteError(file.FileName());
}

// Writes unless the file would come out byte for byte as it is: an unchanged
// file keeps its time stamp, and a value written again costs no rewrite.
void StoreIfChanged(const ProfileFile& file, const Loaded& old, const std::string& bytes) {
  if (old.exists && bytes == old.bytes) return;
  Store(file, bytes);
}

}  // namespace

ProfileWriteError::ProfileWriteError(const std::string& fileName)
    : std::runtime_error("Unable to write to " + fileName), fileName_(fileName) {}

ProfileFile::ProfileFile(std::string fileName)
    : fileName_(std::move(fileName)), path_(ResolvePath(fileName_)) {}

bool ProfileFile::Exists() const {
  std::error_code error;
  return fs::is_regular_file(ToFsPath(path_), error);
}

std::string ProfileFile::ReadString(const std::string& section, const std::string& key,
                                    const std::string& def) const {
  const std::string bytes = LoadForRead(*this);
  const std::vector<Line> lines = Parse(bytes);
  const std::optional<Span> span = FindSection(lines, NameBytes(section));
  if (!span) return DefaultValue(def);
  const std::size_t index = FindKey(lines, *span, NameBytes(key));
  if (index == kNone) return DefaultValue(def);
  return Cp1250ToUtf8(ValueOf(lines[index]));
}

std::vector<std::string> ProfileFile::ReadKeys(const std::string& section,
                                               std::size_t bufferSize) const {
  const std::string bytes = LoadForRead(*this);
  const std::vector<Line> lines = Parse(bytes);
  const std::optional<Span> span = FindSection(lines, NameBytes(section));
  if (!span) return {};
  std::vector<std::string_view> names;
  for (std::size_t i = span->header + 1; i < span->end; ++i) {
    if (lines[i].kind == LineKind::kKey) names.push_back(lines[i].name);
  }
  return FitNames(names, bufferSize);
}

std::vector<std::string> ProfileFile::ReadSections(std::size_t bufferSize) const {
  const std::string bytes = LoadForRead(*this);
  std::vector<std::string_view> names;
  for (const Line& line : Parse(bytes)) {
    if (line.kind == LineKind::kSection) names.push_back(line.name);
  }
  return FitNames(names, bufferSize);
}

void ProfileFile::WriteString(const std::string& section, const std::string& key,
                              const std::string& value) {
  const std::string sectionName = NameBytes(section);
  const std::string keyName = NameBytes(key);
  const std::string valueBytes = Utf8ToCp1250(value);
  const Loaded old = LoadForWrite(*this);
  const std::vector<Line> lines = Parse(old.bytes);
  std::vector<std::string_view> texts = TextsOf(lines);

  std::string header;
  std::string keyLine;
  const std::optional<Span> span = FindSection(lines, sectionName);
  if (!span) {
    header = "[" + sectionName + "]";
    keyLine = keyName + "=" + valueBytes;
    texts.push_back(header);
    texts.push_back(keyLine);
  } else if (const std::size_t index = FindKey(lines, *span, keyName); index != kNone) {
    // The key keeps the spelling it has in the file.
    keyLine = std::string(lines[index].name) + "=" + valueBytes;
    texts[index] = keyLine;
  } else {
    keyLine = keyName + "=" + valueBytes;
    const std::size_t at = InsertionPoint(lines, *span);
    texts.insert(texts.begin() + static_cast<std::ptrdiff_t>(at), keyLine);
  }
  StoreIfChanged(*this, old, Join(texts));
}

void ProfileFile::DeleteKey(const std::string& section, const std::string& key) {
  const std::string keyName = NameBytes(key);
  const Loaded old = LoadForWrite(*this);
  if (!old.exists) return;
  const std::vector<Line> lines = Parse(old.bytes);
  const std::optional<Span> span = FindSection(lines, NameBytes(section));
  if (!span) return;
  std::vector<std::string_view> texts;
  texts.reserve(lines.size());
  bool removed = false;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (i > span->header && i < span->end && IsKey(lines[i], keyName)) {
      removed = true;
      continue;
    }
    texts.push_back(lines[i].text);
  }
  if (removed) Store(*this, Join(texts));
}

void ProfileFile::EraseSection(const std::string& section) {
  const std::string sectionName = NameBytes(section);
  const Loaded old = LoadForWrite(*this);
  if (!old.exists) return;
  const std::vector<Line> lines = Parse(old.bytes);
  std::vector<std::string_view> texts;
  texts.reserve(lines.size());
  bool erasing = false;
  bool removed = false;
  for (const Line& line : lines) {
    if (line.kind == LineKind::kSection) erasing = SameName(line.name, sectionName);
    if (erasing) {
      removed = true;
      continue;
    }
    texts.push_back(line.text);
  }
  if (removed) Store(*this, Join(texts));
}

void ProfileFile::BeginBatch() {
  if (pending_) return;
  const Loaded loaded = LoadForWrite(*this);
  pending_ = PendingBytes{loaded.bytes, loaded.exists, false};
}

void ProfileFile::CommitBatch() {
  if (!pending_) return;
  const PendingBytes batch = std::move(*pending_);
  pending_.reset();
  if (batch.Changed) Store(*this, batch.Bytes);
}

}  // namespace korval
