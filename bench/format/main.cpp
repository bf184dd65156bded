// How long a label format takes to save and to load in the dialog: every
// stored control of the dialog written to its state file (some five hundred
// keys) and read back, 50 of each. Prints the median time of one and the CPU
// time of one: a save waits besides for the disk to hold the file (the file
// and its folder are synced), which the CPU time leaves out.
#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "cli/SystemPrinting.h"
#include "dialog/TfrmMain.h"
#include "host_api/HostApi.h"
#include "host_api/HostContext.h"
#include "storage/ProfileFile.h"

namespace {

namespace fs = std::filesystem;

constexpr int kRuns = 50;

double CpuMs() {
  rusage usage{};
  ::getrusage(RUSAGE_SELF, &usage);
  return (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1e3 +
         (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e3;
}

struct Times {
  double medianMs;
  double cpuMs;
};

template <typename Work>
Times Measure(Work&& work) {
  std::vector<double> ms;
  const double cpuBefore = CpuMs();
  for (int i = 0; i < kRuns; ++i) {
    const auto start = std::chrono::steady_clock::now();
    work();
    ms.push_back(
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
  }
  const double cpu = (CpuMs() - cpuBefore) / kRuns;
  std::sort(ms.begin(), ms.end());
  return {ms[ms.size() / 2], cpu};
}

}  // namespace

int main() {
  using namespace korval;
  const fs::path folder = fs::temp_directory_path() / "korval-bench-format";
  fs::remove_all(folder);
  fs::create_directories(folder);
  {
    std::ofstream list(folder / "TiketFrm.ini", std::ios::binary);
    list << "[Setup]\r\nDefault=\r\n[Saves]\r\nBench=\r\n";
  }
  HostContext& host = Host();
  host.SetFormPath(folder.string() + "/");
  host.SetParamsCopy(nullptr, 0, "Bench", 0);
  const auto printing = cli::OpenSystemPrinting(host, std::cerr);
  TfrmMain dialog(SystemDialogServices(host, printing->GetUi(), printing->Surface()));
  dialog.RunCreationSteps();

  const std::string state = (folder / "TiketSav.000").string();
  dialog.StoreFile = state;
  dialog.StoreSection = "SetUp";
  dialog.WriteSets();
  const std::size_t keys = ProfileFile(state).ReadKeys("SetUp", ProfileFile::kWholeList).size();
  const Times save = Measure([&] {
    // A changed value, so that every save writes the file.
    static int n = 0;
    dialog.Ctl<Edit>("eText1").SetText("Kč " + std::to_string(++n));
    dialog.WriteSets();
  });
  const Times load = Measure([&] { dialog.LoadFormat("Bench"); });
  std::printf("label format of %zu keys: save %.2f ms (CPU %.2f ms), load %.2f ms (CPU %.2f ms)\n",
              keys, save.medianMs, save.cpuMs, load.medianMs, load.cpuMs);
  fs::remove_all(folder);
  return 0;
}
