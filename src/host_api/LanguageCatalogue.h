#pragma once

#include <map>
#include <optional>
#include <string>

namespace korval {

// Translated user-interface texts. A catalogue is an INI file in
// Windows-1250: section "Version" holds "ProductVersion", which must equal
// the library's for the catalogue to be used; every other section is a form
// ("TfrmMain", "TfrmSaves") whose keys are control name and property
// ("bbtnOk.Caption", "cboxSaves.Hint"), or "Messages", keyed by message name.
class LanguageCatalogue {
 public:
  static constexpr const char* kVersionSection = "Version";
  static constexpr const char* kVersionKey = "ProductVersion";
  static constexpr const char* kMessagesSection = "Messages";

  // The catalogue's "ProductVersion", trimmed; empty when it has none.
  static std::string ProductVersionOf(const std::string& fileName);

  // Reads every text of the file; nothing when the file cannot be read.
  static std::optional<LanguageCatalogue> Load(const std::string& fileName);

  // The translated text, or nothing when the catalogue has none for it.
  std::optional<std::string> Find(const std::string& section, const std::string& key) const;

  const std::string& FileName() const { return fileName_; }

 private:
  std::string fileName_;
  // Keyed by upper-case section and key: lookups ignore case as the file does.
  std::map<std::pair<std::string, std::string>, std::string> texts_;
};

}  // namespace korval
