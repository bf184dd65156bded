#include "cli/FormatsCommand.h"

#include <gtest/gtest.h>

#include <sstream>

#include "cli/Options.h"
#include "platform/CodePage.h"
#include "storage/ProfileTestFolder.h"

namespace korval::cli {
namespace {

TEST(FormatsCommandTest, ListsNamesIndexesFilesAndTheDefault) {
  test::TempFolder folder;
  test::WriteBytes(folder.File("TiketFrm.ini"),
                   Utf8ToCp1250("[Setup]\r\nDefault=Malé\r\n[Saves]\r\nVelké=\r\nMalé=\r\n"));
  test::WriteBytes(folder.File("TiketSav.001"), "[SetUp]\r\n");
  std::ostringstream out;
  EXPECT_EQ(RunFormatsCommand({"--forms", folder.Path().string()}, out), 0);
  const std::string text = out.str();
  const auto first = text.find("  0  Velké");
  const auto second = text.find("  1  Malé");
  ASSERT_NE(first, std::string::npos) << text;
  ASSERT_NE(second, std::string::npos) << text;
  EXPECT_NE(text.find("TiketSav.000 (missing)"), std::string::npos);
  const std::string secondLine = text.substr(second, text.find('\n', second) - second);
  EXPECT_NE(secondLine.find("TiketSav.001"), std::string::npos);
  EXPECT_EQ(secondLine.back(), '*');
}

TEST(FormatsCommandTest, EmptyFolderAndBadArguments) {
  test::TempFolder folder;
  std::ostringstream out;
  EXPECT_EQ(RunFormatsCommand({"--forms", folder.Path().string()}, out), 0);
  EXPECT_NE(out.str().find("no stored label formats"), std::string::npos);
  EXPECT_THROW(RunFormatsCommand({}, out), UsageError);
  EXPECT_THROW(RunFormatsCommand({"--forms", folder.File("nothing")}, out), UsageError);
  EXPECT_THROW(RunFormatsCommand({"--forms"}, out), UsageError);
}

}  // namespace
}  // namespace korval::cli
