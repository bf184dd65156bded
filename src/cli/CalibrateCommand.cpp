#include "cli/CalibrateCommand.h"

#include <cmath>
#include <filesystem>
#include <memory>
#include <optional>

#include "cli/ChosenPrinterSurface.h"
#include "cli/FormatsCommand.h"
#include "cli/Options.h"
#include "cli/PrintCommand.h"
#include "cli/SystemPrinting.h"
#include "dialog/TfrmMain.h"
#include "host_api/HostApi.h"
#include "platform/CodePage.h"
#include "platform/NumberFormat.h"
#include "storage/PrintOffsetFile.h"

namespace korval::cli {
namespace {

PrintOffset ParseOffset(const std::string& text) {
  // Either separator may be a decimal comma ("-1,5;2" is awkward to type),
  // so the two numbers are split at the comma that leaves two numbers.
  for (std::size_t at = text.find_first_of(",;"); at != std::string::npos;
       at = text.find_first_of(",;", at + 1)) {
    const auto x = ParseFloat(text.substr(0, at));
    const auto y = ParseFloat(text.substr(at + 1));
    if (x && y && std::abs(*x) <= 100 && std::abs(*y) <= 100) return {*x, *y};
  }
  throw UsageError(
      "--offset wants X,Y in millimetres (right and down; negative left and up), "
      "at most 100 each, as -1.5,2");
}

}  // namespace

int RunCalibrateCommand(const std::vector<std::string>& args, std::ostream& out,
                        std::ostream& err) {
  const Options options(args, {"--forms", "--format", "--printer", "--pdf", "--offset"}, {});
  if (!options.Has("--printer") && !options.Has("--pdf"))
    throw UsageError("name the printer to calibrate with --printer NAME");
  if (options.Has("--pdf") && options.Has("--printer"))
    throw UsageError("--pdf and --printer exclude each other");
  const std::string prefix = FormsPrefix(options.Require("--forms"));
  const std::string format = options.Require("--format");
  if (!std::filesystem::is_directory(prefix)) throw UsageError("no folder " + prefix);
  RequireStoredFormat(prefix, format);
  std::optional<PrintOffset> offset;
  if (const auto text = options.Get("--offset")) offset = ParseOffset(*text);

  HostContext& host = Host();
  const std::unique_ptr<SystemPrinting> printing = OpenSystemPrinting(host, err);
  const int index = ChoosePrinter(options, *printing);
  ChosenPrinterSurface printer(printing->Surface(), index);
  const std::string name = printer.Printers().front();
  if (offset) PrintOffsetFile().SetOffset(name, *offset);

  host.SetFormPath(prefix);
  const std::string hostName = Utf8ToCp1250(format);
  host.SetParamsCopy(nullptr, 0, hostName.c_str(), 0);
  TfrmMain dialog(SystemDialogServices(host, printing->GetUi(), printer));
  dialog.RunCreationSteps();
  dialog.LoadPrinterSettings(host.FormatName());
  dialog.ShowStep();
  const int toldBefore = printing->MessagesShown();
  if (!dialog.PrintCalibrationSheet() || printer.JobsSent() == 0) {
    // A refusal the library has told of, with its reason, is not told twice.
    if (printing->MessagesShown() == toldBefore)
      err << "korval calibrate: the calibration sheet was not printed\n";
    return 1;
  }
  const PrintOffset stored = PrintOffsetFile().Offset(name);
  out << "calibration sheet sent to " << name << " (offset " << FormatGeneral(stored.XMm, '.')
      << ", " << FormatGeneral(stored.YMm, '.') << " mm)\n";
  return 0;
}

}  // namespace korval::cli
