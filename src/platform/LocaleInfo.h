#pragma once

#include <memory>
#include <string>

namespace korval {

// The user's number and date conventions. Texts are UTF-8, whatever the
// encoding of the locale they come from.
class LocaleInfo {
 public:
  virtual ~LocaleInfo() = default;
  // The separator as one byte, for the edits and the numbers stored in INI
  // files: always ASCII. A locale whose separator is not ASCII (the Arabic
  // decimal separator of ps_AF) gives ',', as Windows' best fit does.
  virtual char DecimalSeparator() const = 0;
  // The separator as the numbers on a label show it ("," or "٫").
  virtual std::string DecimalSeparatorText() const { return std::string(1, DecimalSeparator()); }
  // The currency symbol, any length ("Kč").
  virtual std::string CurrencyString() const = 0;
  // In the platform's pattern letters: "d.M.yyyy" (see FormatDate).
  virtual std::string ShortDateFormat() const = 0;
  // The names that "MMM", "MMMM", "ddd" and "dddd" of a date pattern stand
  // for. month is 1..12, weekday 0 (Sunday) .. 6. English unless overridden.
  virtual std::string MonthName(int month, bool abbreviated) const;
  virtual std::string DayName(int weekday, bool abbreviated) const;
};

// Conventions read once from the system into plain fields: what both
// systems' locales are. A name the system left empty is the English one.
class LocaleTable : public LocaleInfo {
 public:
  char DecimalSeparator() const override { return separator_; }
  std::string DecimalSeparatorText() const override { return separatorText_; }
  std::string CurrencyString() const override { return currency_; }
  std::string ShortDateFormat() const override { return dateFormat_; }
  std::string MonthName(int month, bool abbreviated) const override;
  std::string DayName(int weekday, bool abbreviated) const override;

 protected:
  // The separator as the locale writes it; the one-byte separator is that
  // when it is ASCII, else ','.
  void SetDecimalSeparator(const std::string& text);

  std::string currency_;
  std::string dateFormat_ = "d.M.yyyy";
  std::string months_[12];
  std::string shortMonths_[12];
  std::string days_[7];  // from Sunday
  std::string shortDays_[7];

 private:
  char separator_ = '.';
  std::string separatorText_ = ".";
};

// The user's locale as the environment names it, not whatever C locale the
// host process put in force.
const LocaleInfo& SystemLocale();

// The conventions of a locale by its system name ("cs_CZ.ISO-8859-2");
// nothing when that locale is not installed.
std::unique_ptr<LocaleInfo> LocaleNamed(const std::string& name);

}  // namespace korval
