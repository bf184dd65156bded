// The user's conventions as the Windows locale functions give them. The
// locale is asked by name (GetLocaleInfoEx) and in UTF-16, so every text
// comes whole whatever the ANSI code page of the system is.
#include <windows.h>

#include <memory>
#include <string>
#include <utility>

#include "platform/LocaleInfo.h"
#include "platform/WideText.h"

namespace korval {
namespace {

// LOCALE_NAME_USER_DEFAULT, typed: the macro is a bare NULL.
constexpr const wchar_t* kUserLocale = nullptr;

// One value of the locale; empty when the locale has none.
std::string Info(const wchar_t* locale, LCTYPE type) {
  const int size = ::GetLocaleInfoEx(locale, type, nullptr, 0);
  if (size <= 1) return {};
  std::wstring buffer(static_cast<std::size_t>(size), L'\0');
  const int length = ::GetLocaleInfoEx(locale, type, buffer.data(), size);
  if (length <= 1) return {};
  // The length counts the terminating zero.
  buffer.resize(static_cast<std::size_t>(length - 1));
  return Utf8FromWide(buffer);
}

// Everything is read once. The date pattern of Windows is already in the
// platform's pattern letters ("d.M.yyyy").
class WindowsLocale final : public LocaleTable {
 public:
  // A null name is the user's locale with the changes the user made to it in
  // the control panel, as the Windows program sees them; a named locale is
  // taken as Windows defines it.
  explicit WindowsLocale(const wchar_t* name) {
    const LCTYPE flags = name == kUserLocale ? 0 : LOCALE_NOUSEROVERRIDE;
    SetDecimalSeparator(Info(name, flags | LOCALE_SDECIMAL));
    currency_ = Info(name, flags | LOCALE_SCURRENCY);
    if (std::string date = Info(name, flags | LOCALE_SSHORTDATE); !date.empty())
      dateFormat_ = std::move(date);
    for (int i = 0; i < 12; ++i) {
      // The full name as a date writes it: Czech "8. prosince", not the
      // "prosinec" of a calendar's heading.
      months_[i] = Info(
          name, flags | LOCALE_RETURN_GENITIVE_NAMES | static_cast<LCTYPE>(LOCALE_SMONTHNAME1 + i));
      shortMonths_[i] = Info(name, flags | static_cast<LCTYPE>(LOCALE_SABBREVMONTHNAME1 + i));
    }
    // Windows counts the days from Monday (LOCALE_SDAYNAME1), the weekday
    // here from Sunday (0).
    for (int weekday = 0; weekday < 7; ++weekday) {
      const int fromMonday = (weekday + 6) % 7;
      days_[weekday] = Info(name, flags | static_cast<LCTYPE>(LOCALE_SDAYNAME1 + fromMonday));
      shortDays_[weekday] =
          Info(name, flags | static_cast<LCTYPE>(LOCALE_SABBREVDAYNAME1 + fromMonday));
    }
  }
};

}  // namespace

const LocaleInfo& SystemLocale() {
  static const WindowsLocale locale(kUserLocale);
  return locale;
}

// Takes the Windows name ("cs-CZ") and the POSIX one that settings written
// on Linux carry ("cs_CZ.ISO-8859-2", "cs_CZ.UTF-8"): Windows texts are
// UTF-16, so the encoding part says nothing here. "C" and "POSIX" are the
// invariant locale, an empty name the user's.
std::unique_ptr<LocaleInfo> LocaleNamed(const std::string& name) {
  if (name.empty()) return std::make_unique<WindowsLocale>(kUserLocale);
  if (name == "C" || name == "POSIX") return std::make_unique<WindowsLocale>(LOCALE_NAME_INVARIANT);
  std::string windowsName = name.substr(0, name.find_first_of(".@"));
  for (char& c : windowsName) {
    if (c == '_') c = '-';
  }
  const std::wstring wide = WideFromUtf8(windowsName);
  if (wide.empty() || !::IsValidLocaleName(wide.c_str())) return nullptr;
  return std::make_unique<WindowsLocale>(wide.c_str());
}

}  // namespace korval
