// How long a language catalogue takes to load: it is read while the host
// loads the library, so its cost is the host's start-up. Catalogues of 500
// to 8,000 texts. Prints figures only; it never fails on speed.
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "host_api/LanguageCatalogue.h"

int main() {
  namespace fs = std::filesystem;
  const fs::path file = fs::temp_directory_path() / "korval-bench-catalogue.lng";
  std::printf("%8s %12s\n", "texts", "load (ms)");
  for (const int count : {500, 2000, 4000, 8000}) {
    {
      std::ofstream out(file, std::ios::binary);
      out << "[Version]\r\nProductVersion=3.1.0\r\n[TfrmMain]\r\n";
      for (int i = 0; i < count; ++i)
        out << "Control" << i << ".Caption=Caption number " << i << "\r\n";
    }
    const auto start = std::chrono::steady_clock::now();
    const auto catalogue = korval::LanguageCatalogue::Load(file.string());
    const double ms =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    if (!catalogue || !catalogue->Find("TfrmMain", "Control0.Caption")) return 1;
    std::printf("%8d %12.1f\n", count, ms);
  }
  fs::remove(file);
  return 0;
}
