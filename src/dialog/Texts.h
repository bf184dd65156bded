#pragma once

#include <string>
#include <vector>

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

// A message that is a printf pattern ("Položka: %d/%d (%dx)"): the
// translation only when its conversions are the built-in's, in the same
// order, so a careless catalogue can never mismatch the arguments.
std::string MessagePattern(const std::string& name, const std::string& builtIn);

// A message pattern filled: each conversion ("%d", "%s", with any flags and
// width) takes the next of the texts the caller formatted, "%%" is "%". A
// translated pattern is never handed to printf.
std::string FillPattern(const std::string& pattern, const std::vector<std::string>& texts);

// The conversions of a printf pattern in order ("%d%d%s"); "%%" is none.
std::string PatternConversions(const std::string& pattern);

}  // namespace korval
