#include <iconv.h>
#include <langinfo.h>
#include <locale.h>

#include <cerrno>
#include <cstring>

#include "platform/CodePage.h"
#include "platform/DateFormat.h"
#include "platform/LocaleInfo.h"

namespace korval {
namespace {

// Converts a text of the locale's own encoding to UTF-8. Bytes that do not
// convert become U+FFFD rather than cutting the text.
std::string ToUtf8(const char* text, const std::string& codeset) {
  if (text == nullptr) return std::string();
  const std::string bytes = text;
  if (codeset.empty() || codeset == "UTF-8" || codeset == "ANSI_X3.4-1968") return bytes;
  if (codeset == "CP1250" || codeset == "WINDOWS-1250") return Cp1250ToUtf8(bytes);
  iconv_t cd = ::iconv_open("UTF-8", codeset.c_str());
  if (cd == reinterpret_cast<iconv_t>(-1)) return bytes;
  std::string out;
  char buffer[256];
  char* in = const_cast<char*>(bytes.data());
  std::size_t inLeft = bytes.size();
  while (inLeft > 0) {
    char* outPtr = buffer;
    std::size_t outLeft = sizeof buffer;
    const std::size_t done = ::iconv(cd, &in, &inLeft, &outPtr, &outLeft);
    out.append(buffer, static_cast<std::size_t>(outPtr - buffer));
    if (done == static_cast<std::size_t>(-1) && errno != E2BIG) {
      out += "\xEF\xBF\xBD";
      ++in;
      --inLeft;
    }
  }
  ::iconv_close(cd);
  return out;
}

// Reads the conventions through a locale object, independent of the C
// locale that the host process may have set for itself. Everything is read
// once, converted from the locale's encoding.
class PosixLocale final : public LocaleTable {
 public:
  explicit PosixLocale(locale_t locale) {
    const char* codeset = ::nl_langinfo_l(CODESET, locale);
    const std::string cs = codeset != nullptr ? codeset : "";
    SetDecimalSeparator(ToUtf8(::nl_langinfo_l(RADIXCHAR, locale), cs));
    const char* currency = ::nl_langinfo_l(CRNCYSTR, locale);
    // The first character tells where the symbol stands ("-", "+" or ".").
    if (currency != nullptr && currency[0] != '\0') currency_ = ToUtf8(currency + 1, cs);
    const char* dateFormat = ::nl_langinfo_l(D_FMT, locale);
    if (dateFormat != nullptr && dateFormat[0] != '\0') {
      const std::string pattern = DatePatternFromStrftime(ToUtf8(dateFormat, cs));
      if (!pattern.empty()) dateFormat_ = pattern;
    }
    for (int i = 0; i < 12; ++i) {
      months_[i] = ToUtf8(::nl_langinfo_l(static_cast<nl_item>(MON_1 + i), locale), cs);
      shortMonths_[i] = ToUtf8(::nl_langinfo_l(static_cast<nl_item>(ABMON_1 + i), locale), cs);
    }
    for (int i = 0; i < 7; ++i) {
      days_[i] = ToUtf8(::nl_langinfo_l(static_cast<nl_item>(DAY_1 + i), locale), cs);
      shortDays_[i] = ToUtf8(::nl_langinfo_l(static_cast<nl_item>(ABDAY_1 + i), locale), cs);
    }
  }
};

std::unique_ptr<LocaleInfo> MakeLocale(const char* name) {
  locale_t locale = ::newlocale(LC_ALL_MASK, name, static_cast<locale_t>(0));
  if (locale == static_cast<locale_t>(0)) return nullptr;
  auto info = std::make_unique<PosixLocale>(locale);
  ::freelocale(locale);
  return info;
}

}  // namespace

const LocaleInfo& SystemLocale() {
  // The environment (LC_ALL, LC_NUMERIC, LANG, ...) names the user's locale.
  static const std::unique_ptr<LocaleInfo> locale = [] {
    std::unique_ptr<LocaleInfo> named = MakeLocale("");
    return named != nullptr ? std::move(named) : MakeLocale("C");
  }();
  return *locale;
}

std::unique_ptr<LocaleInfo> LocaleNamed(const std::string& name) {
  return MakeLocale(name.c_str());
}

}  // namespace korval
