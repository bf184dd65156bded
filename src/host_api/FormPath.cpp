#include "host_api/FormPath.h"

#include <filesystem>
#include <system_error>

#include "dialog/Texts.h"
#include "host_api/HostContext.h"
#include "platform/Ui.h"
#include "platform/Utf8Path.h"
#include "storage/FileSystem.h"
#include "storage/LabelFormatFiles.h"
#include "storage/ProfileFile.h"

namespace korval {
namespace {

constexpr const char* kUnresolved =
    "Cesta k etiketám (FormPath) \"%s\" není složka a nezačíná jí žádný soubor etiket "
    "(%sTiketFrm.ini).\r\nUložené etikety nejsou k dispozici. Opravte FormPath v konfiguraci "
    "programu.";

#ifdef _WIN32
constexpr char kSystemSeparator = '\\';
#else
constexpr char kSystemSeparator = '/';
#endif

bool EndsInSeparator(const std::string& path) {
  const char last = path.back();
  return last == '\\' || last == '/' || last == ':';
}

// Found as the format files are found: backslashes are separators, and a
// folder copied from Windows may differ in letter case. Errors (an
// unreadable medium) count as no folder.
bool IsFolder(const std::string& path) {
  std::error_code error;
  return std::filesystem::is_directory(Utf8Path(files::Locate(files::NativePath(path))), error);
}

}  // namespace

FormPathChoice ResolveFormPath(const std::string& configured) {
  if (configured.empty() || EndsInSeparator(configured)) return {configured, false};
  // The list file is where every reader starts: without it no format and no
  // last-used state is found under the prefix.
  if (ProfileFile(LabelFormatFiles(configured).ListFile()).Exists()) return {configured, false};
  if (IsFolder(configured)) {
    const std::size_t last = configured.find_last_of("\\/");
    return {configured + (last == std::string::npos ? kSystemSeparator : configured[last]), false};
  }
  return {configured, true};
}

void ReportUnresolvedFormPath(HostContext& host, Ui& ui) {
  if (!host.TakeUnresolvedFormPath()) return;
  const std::string& path = host.FormPath();
  ui.ShowMessage({"Varování",
                  FillPattern(MessagePattern("FormPathUnresolved", kUnresolved), {path, path}),
                  MessageIcon::Warning, MessageButtons::Ok, MessageModality::TaskModal});
}

}  // namespace korval
