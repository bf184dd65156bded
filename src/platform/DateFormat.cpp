#include "platform/DateFormat.h"

#include "platform/Text.h"

namespace korval {

std::string FormatDate(const Date& date, const std::string& pattern) {
  std::string out;
  std::size_t i = 0;
  while (i < pattern.size()) {
    const char c = pattern[i];
    std::size_t run = 1;
    while (i + run < pattern.size() && pattern[i + run] == c) ++run;
    switch (c) {
      case 'd':
        out += FormatText(run >= 2 ? "%02d" : "%d", date.Day);
        break;
      case 'M':
        out += FormatText(run >= 2 ? "%02d" : "%d", date.Month);
        break;
      case 'y':
        out += run >= 3 ? FormatText("%04d", date.Year) : FormatText("%02d", date.Year % 100);
        break;
      default:
        out.append(run, c);
    }
    i += run;
  }
  return out;
}

std::string DatePatternFromStrftime(const std::string& format) {
  std::string out;
  for (std::size_t i = 0; i < format.size(); ++i) {
    if (format[i] != '%' || i + 1 == format.size()) {
      out += format[i];
      continue;
    }
    bool noPad = false;
    char c = format[++i];
    if ((c == '-' || c == '_' || c == '0') && i + 1 < format.size()) {
      noPad = c != '0';
      c = format[++i];
    }
    switch (c) {
      case 'd':
        out += noPad ? "d" : "dd";
        break;
      case 'e':
        out += "d";
        break;
      case 'm':
        out += noPad ? "M" : "MM";
        break;
      case 'Y':
        out += "yyyy";
        break;
      case 'y':
        out += "yy";
        break;
      case 'D':
        out += "MM/dd/yy";
        break;
      case 'F':
        out += "yyyy-MM-dd";
        break;
      case '%':
        out += '%';
        break;
      default:
        break;
    }
  }
  return out;
}

}  // namespace korval
