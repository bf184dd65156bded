#include "dialog/Texts.h"

#include <optional>

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

}  // namespace korval
