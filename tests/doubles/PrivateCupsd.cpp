#include "doubles/PrivateCupsd.h"

#include <cups/cups.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

namespace korval::test {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr auto kStartLimit = std::chrono::seconds(15);
constexpr auto kStopLimit = std::chrono::seconds(5);
constexpr auto kOutputLimit = std::chrono::seconds(10);

// A label printer of one A4 page size that takes PDF, passed through by the
// filter below to the queue's file.
constexpr const char* kPpd = R"ppd(*PPD-Adobe: "4.3"
*FormatVersion: "4.3"
*FileVersion: "1.0"
*LanguageVersion: English
*LanguageEncoding: ISOLatin1
*PCFileName: "KORVALT.PPD"
*Manufacturer: "KORVAL"
*Product: "(Label file)"
*ModelName: "KORVAL label file"
*ShortNickName: "KORVAL label file"
*NickName: "KORVAL label file"
*PSVersion: "(3010.000) 0"
*LanguageLevel: "3"
*ColorDevice: False
*DefaultColorSpace: Gray
*DefaultResolution: 600dpi
*FileSystem: False
*Throughput: "1"
*cupsFilter: "application/pdf 0 capture"
*OpenUI *PageSize: PickOne
*DefaultPageSize: A4
*PageSize A4/A4: "<</PageSize[595 842]>>setpagedevice"
*CloseUI: *PageSize
*DefaultImageableArea: A4
*ImageableArea A4/A4: "0 0 595 842"
*DefaultPaperDimension: A4
*PaperDimension A4/A4: "595 842"
)ppd";

constexpr const char* kLabelPpd = R"ppd(*PPD-Adobe: "4.3"
*FormatVersion: "4.3"
*FileVersion: "1.0"
*LanguageVersion: English
*LanguageEncoding: ISOLatin1
*PCFileName: "KORVALL.PPD"
*Manufacturer: "KORVAL"
*Product: "(Label printer)"
*ModelName: "KORVAL label printer"
*ShortNickName: "KORVAL label printer"
*NickName: "KORVAL label printer"
*PSVersion: "(3010.000) 0"
*LanguageLevel: "3"
*ColorDevice: False
*DefaultColorSpace: Gray
*FileSystem: False
*Throughput: "1"
*cupsFilter: "application/pdf 0 capture"
*OpenUI *Resolution: PickOne
*DefaultResolution: 203dpi
*Resolution 203dpi/203 dpi: "<</HWResolution[203 203]>>setpagedevice"
*CloseUI: *Resolution
*OpenUI *PageSize: PickOne
*DefaultPageSize: A6
*PageSize A6/A6: "<</PageSize[297 420]>>setpagedevice"
*PageSize A5/A5: "<</PageSize[420 595]>>setpagedevice"
*CloseUI: *PageSize
*OpenUI *PageRegion: PickOne
*DefaultPageRegion: A6
*PageRegion A6/A6: "<</PageSize[297 420]>>setpagedevice"
*PageRegion A5/A5: "<</PageSize[420 595]>>setpagedevice"
*CloseUI: *PageRegion
*DefaultImageableArea: A6
*ImageableArea A6/A6: "12 24 285 408"
*ImageableArea A5/A5: "12 24 408 583"
*DefaultPaperDimension: A6
*PaperDimension A6/A6: "297 420"
*PaperDimension A5/A5: "420 595"
)ppd";

void WriteFile(const fs::path& path, const std::string& text, fs::perms perms) {
  std::ofstream(path, std::ios::binary) << text;
  fs::permissions(path, perms);
}

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

std::string FindCupsd() {
  for (const char* dir : {"/usr/sbin", "/usr/local/sbin", "/sbin"}) {
    const fs::path candidate = fs::path(dir) / "cupsd";
    if (::access(candidate.c_str(), X_OK) == 0) return candidate.string();
  }
  return {};
}

bool Accepts(const std::string& socketPath) {
  const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
  if (fd < 0) return false;
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  std::strncpy(address.sun_path, socketPath.c_str(), sizeof address.sun_path - 1);
  const bool ok = ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
  ::close(fd);
  return ok;
}

}  // namespace

std::string PrivateCupsd::A4Ppd(const std::string& imageableArea) {
  std::string ppd = kPpd;
  const std::string whole = "*ImageableArea A4/A4: \"0 0 595 842\"";
  ppd.replace(ppd.find(whole), whole.size(), "*ImageableArea A4/A4: \"" + imageableArea + "\"");
  return ppd;
}

std::string PrivateCupsd::LabelPrinterPpd() {
  return kLabelPpd;
}

PrivateCupsd::PrivateCupsd(const std::vector<Queue>& queues) {
  if (const char* server = std::getenv("CUPS_SERVER")) previousServer_ = server;
  Start(queues);
}

PrivateCupsd::~PrivateCupsd() {
  Stop();
  if (previousServer_) {
    ::setenv("CUPS_SERVER", previousServer_->c_str(), 1);
  } else {
    ::unsetenv("CUPS_SERVER");
  }
  cupsSetServer(nullptr);
  std::error_code error;
  if (!folder_.empty()) fs::remove_all(folder_, error);
}

void PrivateCupsd::Start(const std::vector<Queue>& queues) {
  const std::string cupsd = FindCupsd();
  if (cupsd.empty()) {
    missing_ = true;
    failure_ = "cupsd is not installed";
    return;
  }
  char pattern[] = "/tmp/korval-cupsd-XXXXXX";
  if (::mkdtemp(pattern) == nullptr) {
    failure_ = "no temporary folder";
    return;
  }
  folder_ = pattern;
  // Filters run as the scheduler's own user (lp under root): the folder
  // must be open to it, and the filter not writable by anyone else.
  const fs::path root(folder_);
  fs::permissions(root, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                            fs::perms::others_read | fs::perms::others_exec);
  for (const char* dir : {"spool", "cache", "state", "tmp", "log", "ppd", "bin", "bin/filter"})
    fs::create_directories(root / dir);
  fs::create_directory_symlink("/usr/lib/cups/daemon", root / "bin" / "daemon");
  const fs::perms executable = fs::perms::owner_all | fs::perms::group_read |
                               fs::perms::group_exec | fs::perms::others_read |
                               fs::perms::others_exec;
  const fs::perms readable = fs::perms::owner_read | fs::perms::owner_write |
                             fs::perms::group_read | fs::perms::others_read;
  WriteFile(root / "bin" / "filter" / "capture", "#!/bin/sh\nexec cat \"${6:--}\"\n", executable);

  socket_ = (root / "cups.sock").string();
  WriteFile(root / "cupsd.conf",
            "Listen " + socket_ +
                "\nBrowsing No\nWebInterface No\nDefaultAuthType None\nLogLevel info\n"
                "<Location />\n  Order allow,deny\n  Allow all\n</Location>\n"
                "<Policy default>\n  <Limit All>\n    Order deny,allow\n  </Limit>\n</Policy>\n",
            readable);
  WriteFile(root / "cups-files.conf",
            "ServerRoot " + folder_ + "\nServerBin " + folder_ + "/bin\nRequestRoot " + folder_ +
                "/spool\nCacheDir " + folder_ + "/cache\nStateDir " + folder_ + "/state\nTempDir " +
                folder_ + "/tmp\nErrorLog " + folder_ + "/log/error_log\nAccessLog " + folder_ +
                "/log/access_log\nPageLog " + folder_ + "/log/page_log\nPrintcap " + folder_ +
                "/printcap\nFileDevice Yes\n",
            readable);
  std::string printers;
  for (const Queue& queue : queues) {
    printers += "<Printer " + queue.Name + ">\nDeviceURI file://" + OutputOf(queue.Name) +
                "\nState " + (queue.Stopped ? "Stopped" : "Idle") + "\nAccepting " +
                (queue.Accepting ? "Yes" : "No") + "\n";
    if (!queue.StateMessage.empty()) printers += "StateMessage " + queue.StateMessage + "\n";
    printers += "Shared No\n</Printer>\n";
    WriteFile(root / "ppd" / (queue.Name + ".ppd"), queue.Ppd.empty() ? kPpd : queue.Ppd, readable);
  }
  WriteFile(root / "printers.conf", printers, readable);

  const std::string config = (root / "cupsd.conf").string();
  const std::string files = (root / "cups-files.conf").string();
  const std::string console = (root / "cupsd.out").string();
  pid_ = ::fork();
  if (pid_ == 0) {
    ::prctl(PR_SET_PDEATHSIG, SIGTERM);
    std::freopen(console.c_str(), "w", stdout);
    std::freopen(console.c_str(), "a", stderr);
    ::execl(cupsd.c_str(), "cupsd", "-f", "-c", config.c_str(), "-s", files.c_str(),
            static_cast<char*>(nullptr));
    ::_exit(127);
  }
  if (pid_ < 0) {
    failure_ = "cannot start cupsd";
    return;
  }
  const auto until = Clock::now() + kStartLimit;
  while (!Accepts(socket_)) {
    int status = 0;
    if (::waitpid(pid_, &status, WNOHANG) == pid_) {
      pid_ = -1;
      failure_ = "cupsd ended at start: " + LogTail();
      return;
    }
    if (Clock::now() > until) {
      failure_ = "cupsd did not open its socket in time: " + LogTail();
      Stop();
      return;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  ::setenv("CUPS_SERVER", socket_.c_str(), 1);
  cupsSetServer(nullptr);  // libcups keeps the server it found first
}

void PrivateCupsd::Stop() {
  if (pid_ <= 0) return;
  ::kill(pid_, SIGTERM);
  const auto until = Clock::now() + kStopLimit;
  int status = 0;
  while (::waitpid(pid_, &status, WNOHANG) == 0) {
    if (Clock::now() > until) {
      ::kill(pid_, SIGKILL);
      ::waitpid(pid_, &status, 0);
      break;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  pid_ = -1;
}

std::string PrivateCupsd::LogTail() const {
  std::string text =
      ReadFile(fs::path(folder_) / "cupsd.out") + ReadFile(fs::path(folder_) / "log" / "error_log");
  if (text.size() > 600) text = text.substr(text.size() - 600);
  return text;
}

std::string PrivateCupsd::OutputOf(const std::string& queue) const {
  return folder_ + "/" + queue + ".out";
}

std::string PrivateCupsd::WaitForOutput(const std::string& queue) const {
  const auto until = Clock::now() + kOutputLimit;
  std::error_code error;
  std::uintmax_t last = 0;
  // The file is complete when it ends the PDF and stops growing.
  while (Clock::now() < until) {
    const std::uintmax_t size = fs::file_size(OutputOf(queue), error);
    if (!error && size > 0 && size == last) {
      const std::string bytes = ReadFile(OutputOf(queue));
      if (bytes.find("%%EOF") != std::string::npos) return bytes;
    }
    last = error ? 0 : size;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  return {};
}

int PrivateCupsd::Run(const std::string& command) const {
  const int status = std::system(("timeout 20 " + command + " >/dev/null 2>&1").c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace korval::test
