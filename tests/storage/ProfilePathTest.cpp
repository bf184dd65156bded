#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "ProfileTestFolder.h"
#include "storage/ProfileFile.h"

namespace korval {
namespace {

namespace fs = std::filesystem;
using test::ReadBytes;

// Puts back an environment variable as it was before the test.
class SavedVariable {
 public:
  explicit SavedVariable(const char* name) : name_(name) {
    if (const char* value = std::getenv(name)) value_ = value;
  }
  ~SavedVariable() {
    if (value_)
      ::setenv(name_, value_->c_str(), 1);
    else
      ::unsetenv(name_);
  }
  SavedVariable(const SavedVariable&) = delete;
  SavedVariable& operator=(const SavedVariable&) = delete;

 private:
  const char* name_;
  std::optional<std::string> value_;
};

class ProfilePathTest : public ::testing::Test {
 protected:
  SavedVariable xdg_{"XDG_CONFIG_HOME"};
  SavedVariable home_{"HOME"};
  test::TempFolder folder_;
};

TEST_F(ProfilePathTest, ConfigFolderIsUnderXdgConfigHome) {
  ::setenv("XDG_CONFIG_HOME", "/srv/conf", 1);
  EXPECT_EQ(UserConfigFolder(), "/srv/conf/korval/");
  ::setenv("XDG_CONFIG_HOME", "/srv/conf/", 1);
  EXPECT_EQ(UserConfigFolder(), "/srv/conf/korval/");
}

TEST_F(ProfilePathTest, ConfigFolderFallsBackToHome) {
  ::setenv("HOME", "/home/prodej", 1);
  ::unsetenv("XDG_CONFIG_HOME");
  EXPECT_EQ(UserConfigFolder(), "/home/prodej/.config/korval/");
  ::setenv("XDG_CONFIG_HOME", "", 1);
  EXPECT_EQ(UserConfigFolder(), "/home/prodej/.config/korval/");
  // A relative setting is not a usable folder.
  ::setenv("XDG_CONFIG_HOME", "relative/conf", 1);
  EXPECT_EQ(UserConfigFolder(), "/home/prodej/.config/korval/");
}

TEST_F(ProfilePathTest, BareNameLivesInTheConfigFolderWhichAWriteCreates) {
  ::setenv("XDG_CONFIG_HOME", folder_.Path().c_str(), 1);
  ProfileFile file("TiketFrm.ini");
  const std::string expected = folder_.File("korval/TiketFrm.ini");
  EXPECT_EQ(file.Path(), expected);
  EXPECT_EQ(file.FileName(), "TiketFrm.ini");
  file.WriteString("Setup", "Default", "");
  EXPECT_EQ(ReadBytes(expected), "[Setup]\r\nDefault=\r\n");
}

TEST_F(ProfilePathTest, WindowsNamesUseBackslashesAsSeparatorsAndLoseTheirDrive) {
  struct Case {
    const char* given;
    const char* path;
  };
  for (const Case& c : std::vector<Case>{{"sub/x.ini", "sub/x.ini"},
                                         {"/abs/x.ini", "/abs/x.ini"},
                                         {"./x.ini", "./x.ini"},
                                         {"a\\b.ini", "a/b.ini"},
                                         {".\\forms\\TiketFrm.ini", "./forms/TiketFrm.ini"},
                                         {"C:\\Etikety\\TiketFrm.ini", "/Etikety/TiketFrm.ini"},
                                         {"d:forms\\x.ini", "forms/x.ini"},
                                         {"C:x.ini", "x.ini"}}) {
    const ProfileFile file(c.given);
    EXPECT_EQ(file.Path(), c.path) << c.given;
    EXPECT_EQ(file.FileName(), c.given);
  }
}

// Folders copied from Windows keep the letter case of their files, which
// Windows never looks at.
TEST_F(ProfilePathTest, AFileWhoseNameDiffersOnlyInCaseIsReadAndWrittenInPlace) {
  fs::create_directories(folder_.Path() / "FORMS");
  test::WriteBytes(folder_.File("FORMS/TIKETFRM.INI"), "[SAVES]\r\nMl\xE9ko=\r\n");
  const std::string prefix = folder_.Path().string() + "\\forms\\";
  ProfileFile list(prefix + "TiketFrm.ini");
  EXPECT_TRUE(list.Exists());
  EXPECT_EQ(list.ReadKeys("Saves"), std::vector<std::string>{"Mléko"});
  list.WriteString("Saves", "Sýr", "");
  ProfileFile(prefix + "TiketSav.000").WriteString("SetUp", "k", "1");
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder_.Path() / "FORMS"))
    names.push_back(entry.path().filename());
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"TIKETFRM.INI", "TiketSav.000"}));
  EXPECT_EQ(ReadBytes(folder_.File("FORMS/TIKETFRM.INI")), "[SAVES]\r\nMl\xE9ko=\r\nS\xFDr=\r\n");
}

TEST_F(ProfilePathTest, DotBackslashNameIsInTheCurrentFolder) {
  const fs::path saved = fs::current_path();
  fs::current_path(folder_.Path());
  ProfileFile file(".\\etikety.ini");
  EXPECT_EQ(file.Path(), "./etikety.ini");
  EXPECT_EQ(file.FileName(), ".\\etikety.ini");
  file.WriteString("SETUP", "TISKARNA", "Laser");
  std::string missingFolderMessage;
  try {
    ProfileFile("nosuch\\x.ini/y.ini").WriteString("A", "k", "v");
  } catch (const ProfileWriteError& error) {
    missingFolderMessage = error.what();
  }
  fs::current_path(saved);
  EXPECT_EQ(ReadBytes(folder_.File("etikety.ini")), "[SETUP]\r\nTISKARNA=Laser\r\n");
  EXPECT_EQ(missingFolderMessage, "Unable to write to nosuch\\x.ini/y.ini");
}

}  // namespace
}  // namespace korval
