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
      test::SetEnvironment(name_, *value_);
    else
      test::UnsetEnvironment(name_);
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

#ifndef _WIN32
// Linux has no Windows folder: the files that Windows keeps there are in the
// user's configuration folder.
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
#else
// Windows keeps a file named without a folder in the Windows folder.
TEST_F(ProfilePathTest, BareNameLivesInTheWindowsFolder) {
  const std::string windows = std::getenv("WINDIR") != nullptr ? std::getenv("WINDIR") : "";
  ASSERT_FALSE(windows.empty());
  std::string expected = windows + "/TiketFrm.ini";
  for (char& c : expected)
    if (c == '\\') c = '/';
  std::string path = ProfileFile("TiketFrm.ini").Path();
  for (char& c : path)
    if (c == '\\') c = '/';
  EXPECT_EQ(test::Lower(path), test::Lower(expected));
}
#endif

// Backslashes separate folders on both systems; a drive letter means
// nothing on Linux and is dropped there, while Windows keeps it.
TEST_F(ProfilePathTest, WindowsNamesUseBackslashesAsSeparatorsAndLoseTheirDriveOnLinux) {
  struct Case {
    const char* given;
    const char* path;
  };
#ifdef _WIN32
  const bool windows = true;
#else
  const bool windows = false;
#endif
  for (const Case& c : std::vector<Case>{
           {"sub/x.ini", "sub/x.ini"},
           {"/abs/x.ini", "/abs/x.ini"},
           {"./x.ini", "./x.ini"},
           {"a\\b.ini", "a/b.ini"},
           {".\\forms\\TiketFrm.ini", "./forms/TiketFrm.ini"},
           {"C:\\Etikety\\TiketFrm.ini", windows ? "C:/Etikety/TiketFrm.ini" : "/Etikety/TiketFrm.ini"},
           {"d:forms\\x.ini", windows ? "d:forms/x.ini" : "forms/x.ini"},
           {"C:x.ini", windows ? "C:x.ini" : "x.ini"}}) {
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
    names.push_back(entry.path().filename().string());
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
