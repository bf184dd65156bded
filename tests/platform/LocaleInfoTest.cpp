#include "platform/LocaleInfo.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>

#include "platform/DateFormat.h"

namespace korval {
namespace {

// The user's conventions come from the environment, whatever C locale the
// host process put in force for itself.
TEST(SystemLocaleTest, CzechUserLocaleFromTheEnvironment) {
  if (std::setlocale(LC_ALL, "cs_CZ.UTF-8") == nullptr) GTEST_SKIP() << "no cs_CZ locale here";
  std::setlocale(LC_ALL, "C");
  ::setenv("LC_ALL", "cs_CZ.UTF-8", 1);
  const LocaleInfo& locale = SystemLocale();
  EXPECT_EQ(locale.DecimalSeparator(), ',');
  EXPECT_EQ(locale.CurrencyString(), "Kč");
  EXPECT_EQ(FormatDate(Date{2026, 12, 8}, locale.ShortDateFormat()), "8.12.2026");
}

TEST(DateFormatTest, PatternLetters) {
  EXPECT_EQ(FormatDate(Date{2026, 3, 5}, "d.M.yyyy"), "5.3.2026");
  EXPECT_EQ(FormatDate(Date{2026, 3, 5}, "dd.MM.yy"), "05.03.26");
  EXPECT_EQ(FormatDate(Date{2026, 11, 25}, "yyyy-MM-dd"), "2026-11-25");
}

TEST(DateFormatTest, FromTheCLibraryFormat) {
  EXPECT_EQ(DatePatternFromStrftime("%-d.%-m.%Y"), "d.M.yyyy");
  EXPECT_EQ(DatePatternFromStrftime("%d.%m.%Y"), "dd.MM.yyyy");
  EXPECT_EQ(DatePatternFromStrftime("%m/%d/%y"), "MM/dd/yy");
  EXPECT_EQ(DatePatternFromStrftime("%e. %m. %Y"), "d. MM. yyyy");
}

}  // namespace
}  // namespace korval
