#ifndef _WIN32
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <string>
#include <vector>

#include "ProfileTestFolder.h"
#include "storage/ProfileFile.h"

namespace korval {
namespace {

namespace fs = std::filesystem;
using test::ReadBytes;
using test::WriteBytes;

std::vector<std::string> EntriesOf(const fs::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

#ifndef _WIN32
// Lets the process write files of at most maxBytes while it lives, so that
// writing a temporary file fails half way, as on a full disk.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t maxBytes) {
    EXPECT_EQ(::getrlimit(RLIMIT_FSIZE, &saved_), 0);
    rlimit limit = saved_;
    limit.rlim_cur = maxBytes;
    savedSignal_ = std::signal(SIGXFSZ, SIG_IGN);
    EXPECT_EQ(::setrlimit(RLIMIT_FSIZE, &limit), 0);
  }
  ~FileSizeLimit() {
    ::setrlimit(RLIMIT_FSIZE, &saved_);
    std::signal(SIGXFSZ, savedSignal_);
  }
  FileSizeLimit(const FileSizeLimit&) = delete;
  FileSizeLimit& operator=(const FileSizeLimit&) = delete;

 private:
  rlimit saved_{};
  void (*savedSignal_)(int) = SIG_DFL;
};
#endif

// Tests run as root on CI, where permissions stop nothing; a file size limit
// and files that are not files make writes fail for root too.
class ProfileWriteFailureTest : public ::testing::Test {
 protected:
  // Runs write and expects the error that names the file as it was given.
  template <typename Write>
  void ExpectWriteError(const std::string& fileName, Write write) {
    ProfileFile file(fileName);
    try {
      write(file);
      ADD_FAILURE() << "no error writing " << fileName;
    } catch (const ProfileWriteError& error) {
      EXPECT_STREQ(error.what(), ("Unable to write to " + fileName).c_str());
      EXPECT_EQ(error.FileName(), fileName);
    }
  }

  test::TempFolder folder_;
};

TEST_F(ProfileWriteFailureTest, MissingFolderIsAnErrorAndIsNotCreated) {
  const std::string name = folder_.File("no/such/x.ini");
  ExpectWriteError(name, [](ProfileFile& file) { file.WriteString("A", "k", "v"); });
  EXPECT_FALSE(fs::exists(folder_.Path() / "no"));
}

TEST_F(ProfileWriteFailureTest, FolderThatIsAFileIsAnError) {
  WriteBytes(folder_.File("plain"), "data");
  ExpectWriteError(folder_.File("plain/x.ini"),
                   [](ProfileFile& file) { file.WriteString("A", "k", "v"); });
  EXPECT_EQ(ReadBytes(folder_.File("plain")), "data");
}

TEST_F(ProfileWriteFailureTest, FolderInPlaceOfTheFileIsKeptAndNoTemporaryFileStays) {
  fs::create_directory(folder_.Path() / "x.ini");
  WriteBytes(folder_.File("x.ini/inside"), "kept");
  ExpectWriteError(folder_.File("x.ini"),
                   [](ProfileFile& file) { file.WriteString("A", "k", "v"); });
  EXPECT_EQ(EntriesOf(folder_.Path()), std::vector<std::string>{"x.ini"});
  EXPECT_EQ(ReadBytes(folder_.File("x.ini/inside")), "kept");
}

// Pipes, file size limits, folder permissions and killed processes are made
// with POSIX calls; the Windows file system has tests of its own.
#ifndef _WIN32
TEST_F(ProfileWriteFailureTest, FileThatCannotBeReadIsNotReplaced) {
  // A pipe cannot be read as settings without blocking; writing over it
  // would lose whatever it stands for.
  const std::string name = folder_.File("pipe.ini");
  ASSERT_EQ(::mkfifo(name.c_str(), 0600), 0);
  EXPECT_EQ(ProfileFile(name).ReadString("A", "k", "-"), "-");
  ExpectWriteError(name, [](ProfileFile& file) { file.WriteString("A", "k", "v"); });
  ExpectWriteError(name, [](ProfileFile& file) { file.DeleteKey("A", "k"); });
  EXPECT_TRUE(fs::is_fifo(name));
  EXPECT_EQ(EntriesOf(folder_.Path()), std::vector<std::string>{"pipe.ini"});
}

TEST_F(ProfileWriteFailureTest, WriteCutShortLeavesTheOldFileWhole) {
  const std::string name = folder_.File("x.ini");
  const std::string old = "[A]\r\nk=old\r\n; kept\r\n";
  WriteBytes(name, old);
  {
    const FileSizeLimit limit(4096);
    ExpectWriteError(
        name, [](ProfileFile& file) { file.WriteString("A", "k", std::string(100000, 'n')); });
  }
  EXPECT_EQ(ReadBytes(name), old);
  EXPECT_EQ(EntriesOf(folder_.Path()), std::vector<std::string>{"x.ini"});
  EXPECT_EQ(ProfileFile(name).ReadString("A", "k", "-"), "old");
}

TEST_F(ProfileWriteFailureTest, DeleteKeyAndEraseSectionFailTheSameWay) {
  const std::string name = folder_.File("x.ini");
  const std::string old = "[A]\r\nk=1\r\n[B]\r\nbig=" + std::string(10000, 'b') + "\r\n";
  WriteBytes(name, old);
  {
    const FileSizeLimit limit(4096);
    ExpectWriteError(name, [](ProfileFile& file) { file.DeleteKey("A", "k"); });
    ExpectWriteError(name, [](ProfileFile& file) { file.EraseSection("A"); });
  }
  EXPECT_EQ(ReadBytes(name), old);
  EXPECT_EQ(EntriesOf(folder_.Path()), std::vector<std::string>{"x.ini"});
}
#endif

// Windows refuses to write a read-only file, for an administrator too.
TEST_F(ProfileWriteFailureTest, ReadOnlyFileIsRefusedAndLeftAsItIs) {
  const std::string name = folder_.File("TiketSav.000");
  const std::string old = "[SetUp]\r\nlNazev.Left=5\r\n";
  WriteBytes(name, old);
  fs::permissions(name, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  ExpectWriteError(name, [](ProfileFile& file) { file.WriteString("SetUp", "lNazev.Left", "6"); });
  ExpectWriteError(name, [](ProfileFile& file) { file.EraseSection("SetUp"); });
  EXPECT_EQ(ReadBytes(name), old);
  const fs::perms write = fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
  EXPECT_EQ(fs::status(name).permissions() & write, fs::perms::none);
  EXPECT_EQ(EntriesOf(folder_.Path()), std::vector<std::string>{"TiketSav.000"});
  // Windows deletes no read-only file, so the folder could not be cleared.
  fs::permissions(name, fs::perms::owner_all);
}

#ifndef _WIN32
// A folder that takes no new file, holding files that may be written: the
// file is rewritten where it stands, as Windows writes it.
TEST_F(ProfileWriteFailureTest, WritableFileInAReadOnlyFolderIsWrittenInPlace) {
  const std::string name = folder_.File("TiketFrm.ini");
  WriteBytes(name, "[Saves]\r\nA=\r\n");
  fs::permissions(name, fs::perms::all);
  fs::permissions(folder_.Path(), fs::perms::owner_read | fs::perms::owner_exec |
                                      fs::perms::group_read | fs::perms::group_exec |
                                      fs::perms::others_read | fs::perms::others_exec);
  const bool written = test::RunUnprivileged([&] {
    try {
      ProfileFile file(name);
      file.WriteString("Saves", "B", "");
      return file.ReadKeys("Saves") == std::vector<std::string>{"A", "B"};
    } catch (const ProfileWriteError&) {
      return false;
    }
  });
  // Nor can a new file be made there.
  const bool refused = test::RunUnprivileged([&] {
    try {
      ProfileFile(folder_.File("TiketSav.000")).WriteString("SetUp", "k", "v");
      return false;
    } catch (const ProfileWriteError&) {
      return true;
    }
  });
  fs::permissions(folder_.Path(), fs::perms::owner_all);
  EXPECT_TRUE(written);
  EXPECT_TRUE(refused);
  EXPECT_EQ(ReadBytes(name), "[Saves]\r\nA=\r\nB=\r\n");
  EXPECT_EQ(EntriesOf(folder_.Path()), std::vector<std::string>{"TiketFrm.ini"});
}

// A save killed between writing its temporary file and renaming it leaves
// the file behind; the next save of that file takes it away, but not the
// file of a save that is still running.
TEST_F(ProfileWriteFailureTest, TemporaryFilesOfKilledSavesAreRemovedByTheNextSave) {
  const pid_t dead = ::fork();
  if (dead == 0) ::_exit(0);
  ASSERT_GT(dead, 0);
  ::waitpid(dead, nullptr, 0);
  const std::string name = folder_.File("x.ini");
  const std::string leftover = name + ".~" + std::to_string(dead) + "-77.tmp";
  const std::string running = name + ".~" + std::to_string(::getppid()) + "-78.tmp";
  const std::string otherFile = folder_.File("y.ini.~" + std::to_string(dead) + "-79.tmp");
  for (const std::string& file : {leftover, running, otherFile}) WriteBytes(file, "half");
  ProfileFile(name).WriteString("A", "k", "v");
  EXPECT_FALSE(fs::exists(leftover));
  EXPECT_TRUE(fs::exists(running));
  EXPECT_TRUE(fs::exists(otherFile));
}
#endif

}  // namespace
}  // namespace korval
