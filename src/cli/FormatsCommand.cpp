#include "cli/FormatsCommand.h"

#include <filesystem>

#include "cli/Options.h"
#include "platform/Text.h"
#include "storage/LabelFormatFiles.h"
#include "storage/ProfileFile.h"

namespace korval::cli {

std::string FormsPrefix(const std::string& folder) {
  if (folder.empty()) return "./";
  return folder.back() == '/' ? folder : folder + "/";
}

void RequireStoredFormat(const std::string& prefix, const std::string& format) {
  const auto names = ProfileFile(prefix + "TiketFrm.ini").ReadKeys("Saves");
  for (const auto& name : names) {
    if (SameText(name, format)) return;
  }
  std::string known;
  for (const auto& n : names) known += (known.empty() ? "" : ", ") + n;
  throw UsageError("no label format \"" + format + "\" in " + prefix +
                   (known.empty() ? " (none stored)" : " (stored: " + known + ")"));
}

int RunFormatsCommand(const std::vector<std::string>& args, std::ostream& out) {
  const Options options(args, {"--forms"}, {});
  const std::string prefix = FormsPrefix(options.Require("--forms"));
  if (!std::filesystem::is_directory(prefix)) throw UsageError("no folder " + prefix);
  const LabelFormatFiles files(prefix);
  const std::vector<std::string> names = files.ReadNames();
  const std::string defaultName = ProfileFile(files.ListFile()).ReadString("Setup", "Default", "");
  if (names.empty()) {
    out << "no stored label formats in " << prefix << "\n";
    return 0;
  }
  out << "  #  format                          file            default\n";
  for (std::size_t i = 0; i < names.size(); ++i) {
    // Past the thousandth a name has no file.
    const bool numbered = i < static_cast<std::size_t>(LabelFormatFiles::kMaxFormats);
    const std::string path = numbered ? files.StateFile(static_cast<int>(i)) : std::string();
    const std::string file = numbered ? path.substr(prefix.size()) : "-";
    const bool present = numbered && ProfileFile(path).Exists();
    // Padded by characters, not bytes, so Czech names line up.
    const std::string name = PadRight(names[i], 30);
    out << FormatText("%3zu  %s  %-14s  %s\n", i, name.c_str(),
                      (present ? file : file + " (missing)").c_str(),
                      !defaultName.empty() && names[i] == defaultName ? "*" : "");
  }
  return 0;
}

}  // namespace korval::cli
