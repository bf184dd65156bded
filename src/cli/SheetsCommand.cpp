#include "cli/SheetsCommand.h"

#include <stdexcept>

#include "cli/Options.h"
#include "host_api/ModulePaths.h"
#include "platform/Text.h"

namespace korval::cli {
namespace {

// Lengths on the command line are written with a point, whatever the locale:
// the output is read by scripts as much as by people.
std::string Mm(double mm) {
  return FormatSheetMm(mm, '.');
}

std::string CodeText(const SheetTemplate::Code& code) {
  return code.Maker + " " + code.Name;
}

}  // namespace

SheetTemplates LoadShippedSheets() {
  const std::string file = LocateSheetCatalogue({LibraryFilePath(), HostExecutablePath()});
  if (file.empty())
    throw std::runtime_error(std::string("no sheet catalogue ") + SheetTemplates::kFileName +
                             " beside the program or in its share/korval folder");
  return SheetTemplates::Load(file);
}

const SheetTemplate& RequireSheet(const SheetTemplates& catalogue, const std::string& code) {
  const SheetLookup lookup = catalogue.Find(code);
  if (lookup.Found) return *lookup.Found;
  if (lookup.Candidates.empty())
    throw UsageError("no label sheet \"" + code + "\" (korval sheets --find TEXT lists them)");
  std::string which;
  for (const SheetTemplate* sheet : lookup.Candidates) {
    for (const SheetTemplate::Code& each : sheet->Codes) {
      if (SameText(each.Name, TrimControl(code)))
        which += (which.empty() ? "" : ", ") + each.Maker + ":" + each.Name;
    }
  }
  throw UsageError("label sheet \"" + code + "\" is ambiguous: " + which + "; name the maker");
}

std::string SheetOption(const std::optional<std::string>& code) {
  if (!code) return {};
  const SheetTemplates catalogue = LoadShippedSheets();
  const SheetTemplate& sheet = RequireSheet(catalogue, *code);
  // The code as given may be a bare one that only this layout has; the
  // dialog is handed the one that cannot be mistaken.
  const SheetLookup lookup = catalogue.Find(*code);
  const SheetTemplate::Code& named = lookup.FoundCode ? *lookup.FoundCode : sheet.Codes.front();
  return named.Maker + ":" + named.Name;
}

int RunSheetsCommand(const std::vector<std::string>& args, std::ostream& out) {
  const Options options(args, {"--paper", "--find"}, {});
  std::string paper = options.Get("--paper").value_or("");
  if (!paper.empty()) {
    if (SameText(paper, "A4"))
      paper = "A4";
    else if (SameText(paper, "Letter"))
      paper = "Letter";
    else
      throw UsageError("--paper is A4 or Letter");
  }
  const SheetTemplates catalogue = LoadShippedSheets();
  const std::vector<const SheetTemplate*> found =
      catalogue.Search(options.Get("--find").value_or(""), paper);
  for (const SheetTemplate* sheet : found) {
    std::string line = FormatText(
        "%-22s %-6s %s x %s mm  %d x %d = %d  margins left %s top %s  pitch %s x %s  %s",
        CodeText(sheet->Codes.front()).c_str(), sheet->Paper.c_str(),
        Mm(sheet->LabelWidthMm).c_str(), Mm(sheet->LabelHeightMm).c_str(), sheet->Cols, sheet->Rows,
        sheet->Count(), Mm(sheet->LeftMm).c_str(), Mm(sheet->TopMm).c_str(),
        Mm(sheet->PitchXMm).c_str(), Mm(sheet->PitchYMm).c_str(), sheet->Description.c_str());
    for (std::size_t i = 1; i < sheet->Codes.size(); ++i)
      line += (i == 1 ? "  (also " : ", ") + CodeText(sheet->Codes[i]);
    if (sheet->Codes.size() > 1) line += ")";
    out << line << "\n";
  }
  if (found.empty())
    out << "no label sheet matches\n";
  else
    out << found.size() << (found.size() == 1 ? " sheet layout\n" : " sheet layouts\n");
  return 0;
}

}  // namespace korval::cli
