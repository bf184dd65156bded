#pragma once

#include <string>

#include "host_api/LanguageCatalogue.h"

namespace korval {

// The user-interface texts: the built-in Czech ones, or the translation of
// the language catalogue chosen at start-up.
void UseLanguageCatalogue(LanguageCatalogue catalogue);
void UseBuiltInTexts();

// The text of a control's property ("TfrmMain", "bbtnOk", "Caption").
std::string ControlText(const std::string& form, const std::string& control,
                        const std::string& property, const std::string& builtIn);

// A message by its name.
std::string MessageText(const std::string& name, const std::string& builtIn);

}  // namespace korval
