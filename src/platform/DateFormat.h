#pragma once

#include <string>

#include "platform/Clock.h"

namespace korval {

// A date in the platform's pattern letters: d, dd, M, MM, yy, yyyy; anything
// else is copied.
std::string FormatDate(const Date& date, const std::string& pattern);

// The pattern of a C library date format ("%d.%m.%Y", "%-d.%-m.%Y").
std::string DatePatternFromStrftime(const std::string& format);

}  // namespace korval
