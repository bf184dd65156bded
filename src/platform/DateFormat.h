#pragma once

#include <string>

#include "platform/Clock.h"

namespace korval {

class LocaleInfo;

// A date in the platform's pattern letters: d, dd, ddd (day name, short),
// dddd (day name), M, MM, MMM (month name, short), MMMM (month name), yy,
// yyyy; text between single quotes is copied as it stands ('' is a quote),
// and so is anything else. The names come from names, English without one.
std::string FormatDate(const Date& date, const std::string& pattern,
                       const LocaleInfo* names = nullptr);

// The pattern of a C library date format ("%d.%m.%Y", "%-d.%-m.%Y",
// "%Oy/%Om/%Od", "د %Y د %B %e"). Letters of the format's own text are
// quoted, so they never read as pattern letters.
std::string DatePatternFromStrftime(const std::string& format);

// 0 (Sunday) .. 6 of a date of the Gregorian calendar.
int DayOfWeek(const Date& date);

}  // namespace korval
