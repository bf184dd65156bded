#pragma once

#include <string>
#include <vector>

#include "platform/Clock.h"
#include "platform/LocaleInfo.h"

namespace korval::test {

// The Czech conventions the texts of this program are written for.
class FixedLocale final : public LocaleInfo {
 public:
  char DecimalSeparator() const override { return separator_; }
  std::string DecimalSeparatorText() const override {
    return separatorText_.empty() ? std::string(1, separator_) : separatorText_;
  }
  std::string CurrencyString() const override { return currency_; }
  std::string ShortDateFormat() const override { return dateFormat_; }

  char separator_ = ',';
  std::string separatorText_;  // when the locale's separator is not one ASCII byte
  std::string currency_ = "Kč";
  std::string dateFormat_ = "d.M.yyyy";
};

class FixedClock final : public Clock {
 public:
  Date Today() const override { return today_; }
  void Sleep(int milliseconds) const override { sleeps_.push_back(milliseconds); }

  Date today_{2026, 12, 8};
  mutable std::vector<int> sleeps_;
};

}  // namespace korval::test
