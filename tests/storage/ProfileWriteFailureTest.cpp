#include <sys/resource.h>
#include <sys/stat.h>

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
  for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename());
  std::sort(names.begin(), names.end());
  return names;
}

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

}  // namespace
}  // namespace korval
