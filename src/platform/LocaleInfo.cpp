#include "platform/LocaleInfo.h"

namespace korval {

std::string LocaleInfo::MonthName(int month, bool abbreviated) const {
  static const char* const kNames[12] = {"January",   "February", "March",    "April",
                                         "May",       "June",     "July",     "August",
                                         "September", "October",  "November", "December"};
  if (month < 1 || month > 12) return std::string();
  const std::string name = kNames[month - 1];
  return abbreviated ? name.substr(0, 3) : name;
}

std::string LocaleInfo::DayName(int weekday, bool abbreviated) const {
  static const char* const kNames[7] = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                        "Thursday", "Friday", "Saturday"};
  if (weekday < 0 || weekday > 6) return std::string();
  const std::string name = kNames[weekday];
  return abbreviated ? name.substr(0, 3) : name;
}

void LocaleTable::SetDecimalSeparator(const std::string& text) {
  if (text.empty()) return;
  separatorText_ = text;
  separator_ = text.size() == 1 && static_cast<unsigned char>(text[0]) < 0x80 ? text[0] : ',';
}

std::string LocaleTable::MonthName(int month, bool abbreviated) const {
  if (month < 1 || month > 12) return std::string();
  const std::string& name = abbreviated ? shortMonths_[month - 1] : months_[month - 1];
  return name.empty() ? LocaleInfo::MonthName(month, abbreviated) : name;
}

std::string LocaleTable::DayName(int weekday, bool abbreviated) const {
  if (weekday < 0 || weekday > 6) return std::string();
  const std::string& name = abbreviated ? shortDays_[weekday] : days_[weekday];
  return name.empty() ? LocaleInfo::DayName(weekday, abbreviated) : name;
}

}  // namespace korval
