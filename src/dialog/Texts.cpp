#include "dialog/Texts.h"

#include <optional>
#include <string_view>

namespace korval {
namespace {

std::optional<LanguageCatalogue>& Catalogue() {
  static std::optional<LanguageCatalogue> catalogue;
  return catalogue;
}

std::string Lookup(const std::string& section, const std::string& key, const std::string& builtIn) {
  if (!Catalogue()) return builtIn;
  return Catalogue()->Find(section, key).value_or(builtIn);
}

}  // namespace

void UseLanguageCatalogue(LanguageCatalogue catalogue) {
  Catalogue() = std::move(catalogue);
}

void UseBuiltInTexts() {
  Catalogue().reset();
}

std::string ControlText(const std::string& form, const std::string& control,
                        const std::string& property, const std::string& builtIn) {
  return Lookup(form, control + "." + property, builtIn);
}

std::string MessageText(const std::string& name, const std::string& builtIn) {
  return Lookup(LanguageCatalogue::kMessagesSection, name, builtIn);
}

std::string PatternConversions(const std::string& pattern) {
  std::string conversions;
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    if (pattern[i] != '%') continue;
    std::size_t j = i + 1;
    while (j < pattern.size() &&
           std::string_view("-+ #0123456789.*lhz").find(pattern[j]) != std::string_view::npos)
      ++j;
    if (j == pattern.size()) {
      conversions += "%?";
      break;
    }
    if (pattern[j] != '%') conversions += pattern.substr(i, j - i + 1);
    i = j;
  }
  return conversions;
}

std::string FillPattern(const std::string& pattern, const std::vector<std::string>& texts) {
  std::string out;
  std::size_t next = 0;
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    if (pattern[i] != '%' || i + 1 == pattern.size()) {
      out += pattern[i];
      continue;
    }
    if (pattern[i + 1] == '%') {
      out += '%';
      ++i;
      continue;
    }
    std::size_t j = i + 1;
    while (j < pattern.size() &&
           std::string_view("-+ #0123456789.lhz").find(pattern[j]) != std::string_view::npos)
      ++j;
    if (next < texts.size()) out += texts[next++];
    i = j;
  }
  return out;
}

std::string MessagePattern(const std::string& name, const std::string& builtIn) {
  const std::string translated = MessageText(name, builtIn);
  if (translated == builtIn) return builtIn;
  // Flags and widths may differ between languages; the kinds may not.
  const auto kinds = [](const std::string& conversions) {
    std::string out;
    for (std::size_t i = 0; i < conversions.size(); ++i) {
      if (conversions[i] == '%') continue;
      if (std::string_view("-+ #0123456789.").find(conversions[i]) != std::string_view::npos)
        continue;
      out += conversions[i];
    }
    return out;
  };
  const std::string want = PatternConversions(builtIn);
  const std::string got = PatternConversions(translated);
  if (kinds(want) != kinds(got) || got.find('*') != std::string::npos) return builtIn;
  return translated;
}

}  // namespace korval
