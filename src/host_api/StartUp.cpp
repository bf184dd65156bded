#include "host_api/StartUp.h"

#include <korval/Version.h>
#include <filesystem>
#include <utility>

#include "dialog/Texts.h"
#include "host_api/FormPath.h"
#include "host_api/LanguageCatalogue.h"
#include "host_api/Lcid.h"
#include "platform/NumberFormat.h"
#include "platform/Text.h"
#include "platform/Utf8Path.h"
#include "storage/ProfileFile.h"

namespace korval {
namespace {

constexpr std::int32_t kCzech = 1029;

bool IsSeparator(char c) {
  return c == '\\' || c == '/' || c == ':';
}

// A directory entry of exactly this name exists. Errors (an unreadable
// medium) count as missing and are never shown.
bool FileExists(const std::string& name) {
  std::error_code error;
  return std::filesystem::exists(Utf8Path(name), error);
}

// The profile reader takes a name without a folder to mean the configuration
// folder; here such a name means the current folder.
std::string InCurrentFolderIfBare(const std::string& name) {
  return FolderPart(name).empty() ? "./" + name : name;
}

}  // namespace

std::string FolderPart(const std::string& path) {
  for (std::size_t i = path.size(); i > 0; --i) {
    if (IsSeparator(path[i - 1])) return path.substr(0, i);
  }
  return {};
}

std::string HostConfigFileName(const std::string& hostExecutable) {
  const std::size_t nameStart = FolderPart(hostExecutable).size();
  const std::size_t dot = hostExecutable.rfind('.');
  if (dot == std::string::npos || dot < nameStart) return hostExecutable + ".ini";
  return hostExecutable.substr(0, dot) + ".ini";
}

std::string ReadFormPath(const std::string& hostExecutable) {
  std::string folder = FolderPart(hostExecutable);
  // The folder part ends in its separator; the default keeps one at the end.
  if (!folder.empty() && !IsSeparator(folder.back())) folder += '/';
  const std::string config = HostConfigFileName(hostExecutable);
  if (!FileExists(config)) return folder;
  return ProfileFile(config).ReadString("Params", "FormPath", folder);
}

std::optional<std::string> ChooseLanguageFile(const std::string& hostExecutable,
                                              const std::string& libraryFile,
                                              const std::string& libraryVersion) {
  const std::string config = HostConfigFileName(hostExecutable);
  if (!FileExists(config)) return std::nullopt;
  const ProfileFile file(config);
  const std::int32_t lcid =
      ParseInt(file.ReadString("KAVEN Params", "LanguageCID", "")).value_or(kCzech);
  const std::string languageFile = file.ReadString("KAVEN Params", "LanguageFile", "");

  std::string abbreviation = LanguageAbbreviation(lcid);
  if (abbreviation.empty()) return std::nullopt;

  const std::string folder = FolderPart(languageFile);
  const std::string libraryName = libraryFile.substr(FolderPart(libraryFile).size());
  const std::string baseName = libraryName.substr(0, libraryName.find('.'));
  const auto candidateFor = [&](const std::string& language) {
    return FormatText("%s%s%s.%s", folder.c_str(), baseName.c_str(), language.c_str(), "lng");
  };

  std::string candidate = candidateFor(abbreviation);
  if (!FileExists(candidate)) {
    candidate = candidateFor(abbreviation.substr(0, 2));
    if (!FileExists(candidate)) return std::nullopt;
  }
  candidate = InCurrentFolderIfBare(candidate);
  if (LanguageCatalogue::ProductVersionOf(candidate) != TrimControl(libraryVersion))
    return std::nullopt;
  return candidate;
}

void StartUpLibrary(HostContext& host, const ModuleFiles& files) {
  // Nothing can be shown while the library loads: an unresolved path waits
  // for the first dialog or print.
  FormPathChoice formPath = ResolveFormPath(ReadFormPath(files.HostExecutable));
  host.SetFormPath(std::move(formPath.Prefix), formPath.Unresolved);
  if (const auto language =
          ChooseLanguageFile(files.HostExecutable, files.LibraryFile, KORVAL_PRODUCT_VERSION)) {
    if (auto catalogue = LanguageCatalogue::Load(*language))
      UseLanguageCatalogue(std::move(*catalogue));
  }
}

void ShutDownLibrary(HostContext& host) {
  host.Release();
  UseBuiltInTexts();
}

}  // namespace korval
