#include "host_api/LanguageCatalogue.h"

#include "platform/Text.h"
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

}  // namespace

std::string LanguageCatalogue::ProductVersionOf(const std::string& fileName) {
  const ProfileFile file(fileName);
  return TrimControl(file.ReadString(kVersionSection, kVersionKey, ""));
}

std::optional<LanguageCatalogue> LanguageCatalogue::Load(const std::string& fileName) {
  const ProfileFile file(fileName);
  if (!file.Exists()) return std::nullopt;
  LanguageCatalogue catalogue;
  catalogue.fileName_ = fileName;
  for (const auto& section : file.ReadSections(1u << 20)) {
    if (SameText(section, kVersionSection)) continue;
    for (const auto& key : file.ReadKeys(section, 1u << 20)) {
      catalogue.texts_[{UpperCase(section), UpperCase(key)}] =
          Unescape(file.ReadString(section, key, ""));
    }
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
