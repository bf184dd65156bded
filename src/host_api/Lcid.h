#pragma once

#include <cstdint>
#include <string>

namespace korval {

// The abbreviated language name Windows gives for a locale identifier (three
// letters, "CSY" for 1029); empty for an identifier the table does not know.
std::string LanguageAbbreviation(std::int32_t lcid);

}  // namespace korval
