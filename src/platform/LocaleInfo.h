#pragma once

#include <string>

namespace korval {

// The user's number and date conventions.
class LocaleInfo {
 public:
  virtual ~LocaleInfo() = default;
  virtual char DecimalSeparator() const = 0;
  // The currency symbol, UTF-8, any length ("Kč").
  virtual std::string CurrencyString() const = 0;
  // In the platform's pattern letters: "d.M.yyyy".
  virtual std::string ShortDateFormat() const = 0;
};

// The user's locale as the environment names it, not whatever C locale the
// host process put in force.
const LocaleInfo& SystemLocale();

}  // namespace korval
