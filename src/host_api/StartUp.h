#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "host_api/HostContext.h"

namespace korval {

// Where start-up looks: the program that loaded the library and the
// library's own file.
struct ModuleFiles {
  std::string HostExecutable;
  std::string LibraryFile;
};

// The host's configuration file: the executable's path with the extension of
// its file name replaced by ".ini" (appended when it has none).
std::string HostConfigFileName(const std::string& hostExecutable);

// Everything up to and including the last folder separator ("\", "/" or
// ":"); empty when there is none.
std::string FolderPart(const std::string& path);

// "Params"/"FormPath" of the host configuration as it stands; by default
// the executable's folder with a separator appended. Start-up resolves it
// (ResolveFormPath).
std::string ReadFormPath(const std::string& hostExecutable);

// The language catalogue to load, if any: named from the folder of
// "LanguageFile", the library's name up to its first ".", the three-letter
// abbreviation of "LanguageCID" (the two-letter one only when the
// three-letter file is missing) and ".lng", and accepted only when its
// "ProductVersion" equals libraryVersion.
std::optional<std::string> ChooseLanguageFile(const std::string& hostExecutable,
                                              const std::string& libraryFile,
                                              const std::string& libraryVersion);

// Load and unload of the library. Nothing is reported: whatever is missing
// leaves the defaults in force.
void StartUpLibrary(HostContext& host, const ModuleFiles& files);
void ShutDownLibrary(HostContext& host);

}  // namespace korval
