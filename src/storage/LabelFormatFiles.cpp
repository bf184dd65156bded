#include "storage/LabelFormatFiles.h"

#include <stdexcept>

#include "platform/CodePage.h"
#include "platform/Text.h"
#include "storage/FileTransaction.h"
#include "storage/ProfileFile.h"

namespace korval {

std::string LabelFormatFiles::StateFile(int index) const {
  if (index < 0 || index >= kMaxFormats)
    throw std::out_of_range("no state file for format index " + std::to_string(index));
  return prefix_ + "TiketSav." + ZeroPad(std::to_string(index), 3);
}

void LabelFormatFiles::Recover() const {
  FileTransaction::Recover(JournalFile());
}

std::vector<std::string> LabelFormatFiles::ReadNames() const {
  Recover();
  return ProfileFile(ListFile()).ReadKeys("Saves", ProfileFile::kWholeList);
}

int IndexOfFormatName(const std::vector<std::string>& names, std::string_view name) {
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (SameText(names[i], name)) return static_cast<int>(i);
  }
  return -1;
}

std::string FormatNameProblem(std::string_view name) {
  // The name is also the value of "Default", which reads back this long.
  constexpr std::size_t kLongest = ProfileFile::kMaxValueLength;
  std::size_t pos = 0;
  while (pos < name.size()) {
    const std::size_t start = pos;
    const char32_t c = NextCodePoint(name, pos);
    if (c < 32 || c == 127)
      return "Název etikety nesmí obsahovat řídicí znaky (tabulátor, konec řádku).";
    if (c == '=') return "Název etikety nesmí obsahovat znak \"=\".";
    const std::string one(name.substr(start, pos - start));
    // The files are Windows-1250: a character it lacks would come back as
    // "?" and the name would no longer find its own file.
    if (Cp1250ToUtf8(Utf8ToCp1250(one)) != one)
      return "Název etikety nesmí obsahovat znak \"" + one + "\", soubory etiket jej neuloží.";
  }
  // Read back, such a line is a comment, a section header or a quoted value.
  if (name.starts_with(';')) return "Název etikety nesmí začínat znakem \";\".";
  if (name.starts_with('[')) return "Název etikety nesmí začínat znakem \"[\".";
  if (name.size() >= 2 && (name.front() == '"' || name.front() == '\'') &&
      name.back() == name.front())
    return "Název etikety nesmí být celý v uvozovkách.";
  if (CharCount(name) > kLongest)
    return "Název etikety smí mít nejvýše " + std::to_string(kLongest) + " znaků.";
  return {};
}

}  // namespace korval
