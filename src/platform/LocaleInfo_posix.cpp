#include <langinfo.h>
#include <locale.h>

#include "platform/CodePage.h"
#include "platform/DateFormat.h"
#include "platform/LocaleInfo.h"

namespace korval {
namespace {

// Reads the user's conventions through a locale object made from the
// environment (LC_ALL, LC_NUMERIC, LANG, ...), independent of the C locale
// that the host process may have set for itself.
class PosixLocale final : public LocaleInfo {
 public:
  PosixLocale() {
    locale_t locale = ::newlocale(LC_ALL_MASK, "", static_cast<locale_t>(0));
    if (locale == static_cast<locale_t>(0))
      locale = ::newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0));
    if (locale == static_cast<locale_t>(0)) return;
    const char* radix = ::nl_langinfo_l(RADIXCHAR, locale);
    if (radix != nullptr && radix[0] != '\0' && radix[1] == '\0') separator_ = radix[0];
    const char* currency = ::nl_langinfo_l(CRNCYSTR, locale);
    // The first character tells where the symbol stands ("-", "+" or ".").
    if (currency != nullptr && currency[0] != '\0') currency_ = ToUtf8(currency + 1, locale);
    const char* dateFormat = ::nl_langinfo_l(D_FMT, locale);
    if (dateFormat != nullptr && dateFormat[0] != '\0') {
      const std::string pattern = DatePatternFromStrftime(dateFormat);
      if (!pattern.empty()) dateFormat_ = pattern;
    }
    ::freelocale(locale);
  }

  char DecimalSeparator() const override { return separator_; }
  std::string CurrencyString() const override { return currency_; }
  std::string ShortDateFormat() const override { return dateFormat_; }

 private:
  static std::string ToUtf8(const char* text, locale_t locale) {
    const char* codeset = ::nl_langinfo_l(CODESET, locale);
    const std::string cs = codeset != nullptr ? codeset : "";
    if (cs == "CP1250" || cs == "WINDOWS-1250") return Cp1250ToUtf8(text);
    return text;
  }

  char separator_ = '.';
  std::string currency_;
  std::string dateFormat_ = "d.M.yyyy";
};

}  // namespace

const LocaleInfo& SystemLocale() {
  static const PosixLocale locale;
  return locale;
}

}  // namespace korval
