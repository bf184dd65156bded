#include "host_api/LanguageCatalogue.h"

#include <fstream>
#include <iterator>
#include <set>
#include <string_view>

#include "platform/CodePage.h"
#include "platform/Text.h"
#include "platform/Utf8Path.h"
#include "storage/ProfileFile.h"

namespace korval {
namespace {

// An INI value is one line; texts with line breaks write them as \r and \n.
std::string Unescape(const std::string& value) {
  std::string out;
  out.reserve(value.size());
  for (std::size_t i = 0; i < value.size(); ++i) {
    if (value[i] != '\\' || i + 1 == value.size()) {
      out += value[i];
      continue;
    }
    switch (value[++i]) {
      case 'r':
        out += '\r';
        break;
      case 'n':
        out += '\n';
        break;
      case 't':
        out += '\t';
        break;
      case '\\':
        out += '\\';
        break;
      default:
        out += '\\';
        out += value[i];
    }
  }
  return out;
}

std::string_view TrimBlanks(std::string_view text) {
  const std::size_t first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// A value as the profile functions return it: blanks around it removed, one
// pair of enclosing quotes dropped, cut to the longest value they read.
std::string_view ValueOf(std::string_view raw) {
  std::string_view value = TrimBlanks(raw);
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
      value.back() == value.front())
    value = value.substr(1, value.size() - 2);
  return value.substr(0, ProfileFile::kMaxValueLength);
}

}  // namespace

std::string LanguageCatalogue::ProductVersionOf(const std::string& fileName) {
  const ProfileFile file(fileName);
  return TrimControl(file.ReadString(kVersionSection, kVersionKey, ""));
}

// The file is read and parsed once, with the rules the profile functions read
// it by: only the first of sections of the same name counts, and in it the
// first of keys of the same name; lines before the first section and
// comments (";") are not texts.
std::optional<LanguageCatalogue> LanguageCatalogue::Load(const std::string& fileName) {
  std::ifstream in(Utf8Path(fileName), std::ios::binary);
  if (!in) return std::nullopt;
  const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  LanguageCatalogue catalogue;
  catalogue.fileName_ = fileName;
  std::set<std::string> seenSections;
  std::string section;  // upper case; empty before the first section header
  bool collecting = false;
  std::size_t start = 0;
  while (start < bytes.size()) {
    std::size_t end = bytes.find_first_of("\r\n", start);
    if (end == std::string::npos) end = bytes.size();
    const std::string_view line = TrimBlanks(std::string_view(bytes).substr(start, end - start));
    start = end + 1;
    if (end < bytes.size() && bytes[end] == '\r' && start < bytes.size() && bytes[start] == '\n')
      ++start;
    if (line.empty() || line.front() == ';') continue;
    if (line.front() == '[') {
      const std::size_t close = line.find(']');
      if (close != std::string_view::npos) {
        section = UpperCase(Cp1250ToUtf8(TrimBlanks(line.substr(1, close - 1))));
        collecting = seenSections.insert(section).second && section != UpperCase(kVersionSection);
        continue;
      }
    }
    if (!collecting) continue;
    const std::size_t equals = line.find('=');
    const std::string key = UpperCase(Cp1250ToUtf8(TrimBlanks(line.substr(0, equals))));
    const std::string_view raw =
        equals == std::string_view::npos ? std::string_view() : line.substr(equals + 1);
    // emplace keeps the first of keys of the same name.
    catalogue.texts_.emplace(std::pair{section, key}, Unescape(Cp1250ToUtf8(ValueOf(raw))));
  }
  return catalogue;
}

std::optional<std::string> LanguageCatalogue::Find(const std::string& section,
                                                   const std::string& key) const {
  const auto it = texts_.find({UpperCase(section), UpperCase(key)});
  if (it == texts_.end()) return std::nullopt;
  return it->second;
}

}  // namespace korval
