// An INI file as anyone may have edited it: every section, every key, every
// value read back, and one write that must keep the rest readable.
#include <cstddef>
#include <cstdint>

#include "FuzzFolder.h"
#include "storage/ProfileFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using korval::ProfileFile;
  const std::string path = korval::fuzz::Folder().Write("profil.ini", data, size);
  ProfileFile file(path);
  for (const std::string& section : file.ReadSections()) {
    for (const std::string& key : file.ReadKeys(section)) (void)file.ReadString(section, key, "");
  }
  try {
    file.WriteString("Saves", "Nový", "1");
  } catch (const korval::ProfileWriteError&) {
    return 0;
  }
  (void)file.ReadString("Saves", "Nový", "");
  return 0;
}
