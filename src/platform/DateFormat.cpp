#include "platform/DateFormat.h"

#include "platform/LocaleInfo.h"
#include "platform/Text.h"

namespace korval {
namespace {

bool IsAsciiLetter(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

// Appends text that is not a pattern letter, quoting letters.
void AppendLiteral(std::string& out, const std::string& text) {
  bool quoted = false;
  for (const char c : text) {
    const bool letter = IsAsciiLetter(c);
    if (letter != quoted) {
      out += '\'';
      quoted = letter;
    }
    if (c == '\'') {
      out += "''";
    } else {
      out += c;
    }
  }
  if (quoted) out += '\'';
}

}  // namespace

int DayOfWeek(const Date& date) {
  static const int kOffsets[12] = {0, 3, 2, 5, 0, 3, 5, 1, 4, 6, 2, 4};
  if (date.Month < 1 || date.Month > 12) return 0;
  const int year = date.Month < 3 ? date.Year - 1 : date.Year;
  const int day =
      (year + year / 4 - year / 100 + year / 400 + kOffsets[date.Month - 1] + date.Day) % 7;
  return day < 0 ? day + 7 : day;
}

std::string FormatDate(const Date& date, const std::string& pattern, const LocaleInfo* names) {
  static const class : public LocaleInfo {
   public:
    char DecimalSeparator() const override { return '.'; }
    std::string CurrencyString() const override { return std::string(); }
    std::string ShortDateFormat() const override { return std::string(); }
  } kEnglish;
  const LocaleInfo& locale = names != nullptr ? *names : kEnglish;
  std::string out;
  std::size_t i = 0;
  while (i < pattern.size()) {
    const char c = pattern[i];
    if (c == '\'') {
      // Quoted text up to the closing quote; a doubled quote is one quote,
      // inside quoted text and outside.
      if (i + 1 < pattern.size() && pattern[i + 1] == '\'') {
        out += '\'';
        i += 2;
        continue;
      }
      ++i;
      while (i < pattern.size()) {
        if (pattern[i] == '\'') {
          if (i + 1 < pattern.size() && pattern[i + 1] == '\'') {
            out += '\'';
            i += 2;
            continue;
          }
          ++i;
          break;
        }
        out += pattern[i++];
      }
      continue;
    }
    std::size_t run = 1;
    while (i + run < pattern.size() && pattern[i + run] == c) ++run;
    switch (c) {
      case 'd':
        if (run >= 3) {
          out += locale.DayName(DayOfWeek(date), run == 3);
        } else {
          out += FormatText(run >= 2 ? "%02d" : "%d", date.Day);
        }
        break;
      case 'M':
        if (run >= 3) {
          out += locale.MonthName(date.Month, run == 3);
        } else {
          out += FormatText(run >= 2 ? "%02d" : "%d", date.Month);
        }
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
  std::string literal;
  const auto add = [&](const char* pattern) {
    AppendLiteral(out, literal);
    literal.clear();
    out += pattern;
  };
  for (std::size_t i = 0; i < format.size(); ++i) {
    if (format[i] != '%' || i + 1 == format.size()) {
      literal += format[i];
      continue;
    }
    bool noPad = false;
    char c = format[++i];
    if ((c == '-' || c == '_' || c == '0') && i + 1 < format.size()) {
      noPad = c != '0';
      c = format[++i];
    }
    // The alternative era (E) and alternative digits (O) have no pattern
    // letters of their own: the plain conversion stands for them.
    if ((c == 'E' || c == 'O') && i + 1 < format.size()) c = format[++i];
    switch (c) {
      case 'd':
        add(noPad ? "d" : "dd");
        break;
      case 'e':
        add("d");
        break;
      case 'm':
        add(noPad ? "M" : "MM");
        break;
      case 'b':
      case 'h':
        add("MMM");
        break;
      case 'B':
        add("MMMM");
        break;
      case 'a':
        add("ddd");
        break;
      case 'A':
        add("dddd");
        break;
      case 'Y':
      case 'G':
        add("yyyy");
        break;
      case 'y':
      case 'g':
        add("yy");
        break;
      case 'D':
        add("MM/dd/yy");
        break;
      case 'F':
        add("yyyy-MM-dd");
        break;
      case 'n':
        literal += '\n';
        break;
      case 't':
        literal += '\t';
        break;
      case '%':
        literal += '%';
        break;
      default:
        break;
    }
  }
  AppendLiteral(out, literal);
  return out;
}

}  // namespace korval
