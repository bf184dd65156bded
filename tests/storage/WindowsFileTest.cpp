// What the Windows file functions must do beyond the tests both systems
// share: names outside the ANSI code page, and the leftovers of saves told
// apart by whether their process still runs.
#ifdef _WIN32
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ProfileTestFolder.h"
#include "platform/Utf8Path.h"
#include "platform/WideText.h"
#include "storage/FileSystem.h"
#include "storage/ProfileFile.h"

namespace korval {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> Utf8EntriesOf(const fs::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) {
    const std::u8string name = entry.path().filename().u8string();
    names.emplace_back(name.begin(), name.end());
  }
  return names;
}

// A process that exists until it is ended: started suspended, it never runs.
class ChildProcess {
 public:
  ChildProcess() {
    wchar_t self[MAX_PATH];
    ::GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring command = L"\"" + std::wstring(self) + L"\" --gtest_list_tests";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    started_ = ::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, CREATE_SUSPENDED,
                                nullptr, nullptr, &startup, &info_) != 0;
  }
  ~ChildProcess() {
    End();
    if (started_) ::CloseHandle(info_.hProcess);
  }
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  bool Started() const { return started_; }
  DWORD Id() const { return info_.dwProcessId; }
  void End() {
    if (!started_ || ended_) return;
    ::TerminateProcess(info_.hProcess, 0);
    ::WaitForSingleObject(info_.hProcess, INFINITE);
    ::CloseHandle(info_.hThread);
    ended_ = true;
  }

 private:
  PROCESS_INFORMATION info_{};
  bool started_ = false;
  bool ended_ = false;
};

class WindowsFileTest : public ::testing::Test {
 protected:
  test::TempFolder folder_;
};

TEST_F(WindowsFileTest, CzechFolderAndFileNamesAreWrittenAndRead) {
  const std::string folder = folder_.Path().string() + "\\Účtenky ěščř";
  files::CreateFolders(folder);
  ASSERT_TRUE(fs::is_directory(Utf8Path(folder)));
  const std::string name = folder + "\\Tiket Žluťoučký.ini";
  ProfileFile(name).WriteString("Sklad", "Název", "Kůň");
  ProfileFile(name).WriteString("Sklad", "Cena", "12,50 Kč");
  EXPECT_EQ(ProfileFile(name).ReadString("SKLAD", "název", ""), "Kůň");
  EXPECT_EQ(ProfileFile(name).ReadString("Sklad", "Cena", ""), "12,50 Kč");
  // The replacement left nothing beside the file.
  EXPECT_EQ(Utf8EntriesOf(Utf8Path(folder)), std::vector<std::string>{"Tiket Žluťoučký.ini"});
}

TEST_F(WindowsFileTest, LeftoversOfEndedProcessesGoThoseOfRunningOnesStay) {
  ChildProcess running;
  ChildProcess ended;
  ASSERT_TRUE(running.Started() && ended.Started());
  ended.End();
  const std::string name = folder_.File("x.ini");
  const std::string leftover = name + ".~" + std::to_string(ended.Id()) + "-77.tmp";
  const std::string held = name + ".~" + std::to_string(running.Id()) + "-78.tmp";
  const std::string own = name + ".~" + std::to_string(::GetCurrentProcessId()) + "-79.tmp";
  // Windows names differ in case only: the leftover of "X.INI" is one of x.ini.
  const std::string otherCase = folder_.File("X.INI.~" + std::to_string(ended.Id()) + "-80.tmp");
  const std::string otherFile = folder_.File("y.ini.~" + std::to_string(ended.Id()) + "-81.tmp");
  for (const std::string& file : {leftover, held, own, otherCase, otherFile})
    test::WriteBytes(file, "half");
  ProfileFile(name).WriteString("A", "k", "v");
  EXPECT_FALSE(fs::exists(leftover));
  EXPECT_FALSE(fs::exists(otherCase));
  EXPECT_TRUE(fs::exists(held));
  EXPECT_TRUE(fs::exists(own));
  EXPECT_TRUE(fs::exists(otherFile));
  // Once that process ends, its file is a leftover too.
  running.End();
  ProfileFile(name).WriteString("A", "k", "w");
  EXPECT_FALSE(fs::exists(held));
}

TEST_F(WindowsFileTest, HiddenFileStaysHiddenWhenReplaced) {
  const std::string name = folder_.File("skryty.ini");
  test::WriteBytes(name, "[A]\r\nk=1\r\n");
  const std::wstring wide = WideFromUtf8(name);
  ::SetFileAttributesW(wide.c_str(), FILE_ATTRIBUTE_HIDDEN);
  ProfileFile(name).WriteString("A", "k", "2");
  EXPECT_EQ(test::ReadBytes(name), "[A]\r\nk=2\r\n");
  EXPECT_NE(::GetFileAttributesW(wide.c_str()) & FILE_ATTRIBUTE_HIDDEN, 0u);
}

}  // namespace
}  // namespace korval
#endif
