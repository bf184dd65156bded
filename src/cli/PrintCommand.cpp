#include "cli/PrintCommand.h"

#include <algorithm>
#include <filesystem>
#include <utility>
#if defined(__GLIBC__)
#include <malloc.h>
#endif

#include "cli/ChosenPrinterSurface.h"
#include "cli/FormatsCommand.h"
#include "cli/GoodsCommand.h"
#include "cli/GoodsFile.h"
#include "cli/Options.h"
#include "cli/PngSheetSurface.h"
#include "cli/SheetsCommand.h"
#include "cli/SystemPrinting.h"
#include "cli/Terminal.h"
#include "dialog/TfrmMain.h"
#include "host_api/HostApi.h"
#include "platform/CodePage.h"
#include "platform/NumberFormat.h"
#include "platform/Text.h"
#include "platform/Utf8Path.h"
#include "print/LabelOrder.h"
#include "print/LayoutGrid.h"

namespace korval::cli {
namespace {

namespace fs = std::filesystem;

// Every page of a job fills and compresses a buffer of some hundred
// kilobytes and frees it. glibc hands such blocks back to the system at once
// and faults them in again for the next page, a fifth of a long job's time;
// kept, they are reused.
void KeepFreedMemoryForTheNextPage() {
#if defined(__GLIBC__)
  static const bool kept = [] {
    ::mallopt(M_MMAP_THRESHOLD, 32 << 20);
    ::mallopt(M_TRIM_THRESHOLD, 64 << 20);
    return true;
  }();
  static_cast<void>(kept);
#endif
}

constexpr int kDefaultPngDpi = 150;
// A sheet of A4 at this resolution is already some 550 MB of pixels.
constexpr int kMaxPngDpi = 1200;

std::pair<int, int> ParseStart(const std::string& text) {
  const std::size_t comma = text.find(',');
  const auto col = ParseInt(text.substr(0, comma));
  const auto row = comma == std::string::npos ? std::nullopt : ParseInt(text.substr(comma + 1));
  if (!col || !row || *col < 0 || *row < 0)
    throw UsageError("--start wants COL,ROW counted from 0, as 1,0");
  return {*col, *row};
}

int CountPositions(const GridInput& input) {
  int n = 0;
  const LayoutGrid grid(input);
  for (auto it = grid.begin(); it != grid.end() && n < 1000000; ++it) ++n;
  return n;
}

// Sheets the job will take: the first from the start position, then full ones.
int SheetsNeeded(const TfrmMain& d, long long labels) {
  GridInput input = d.SheetOnPaper();
  const int first = CountPositions(input);
  input.StartCol = input.StartRow = 0;
  const int full = CountPositions(input);
  if (full == 0) return 1;
  const long long rest = std::max<long long>(0, labels - first);
  return 1 + static_cast<int>((rest + full - 1) / full);
}

}  // namespace

int ChoosePrinter(const Options& options, SystemPrinting& printing) {
  PrintSurface& system = printing.Surface();
  int index = system.PrinterIndex();
  if (const auto pdf = options.Get("--pdf")) {
    const fs::path folder = fs::absolute(*pdf).parent_path();
    if (!fs::is_directory(folder))
      throw std::runtime_error("no folder " + folder.string() + " to write " + *pdf + " into");
    const std::optional<int> pdfPrinter = printing.PdfPrinterWriting(*pdf);
    if (!pdfPrinter) throw UsageError("this system has no PDF printer: name one with --printer");
    index = *pdfPrinter;
  } else if (const auto png = options.Get("--png")) {
    const fs::path folder = fs::absolute(Utf8Path(*png)).parent_path();
    if (!fs::is_directory(folder))
      throw std::runtime_error("no folder " + folder.string() + " to write " + *png + " into");
  }
  if (const auto name = options.Get("--printer")) {
    const auto list = system.Printers();
    const auto it =
        std::find_if(list.begin(), list.end(), [&](const auto& p) { return SameText(p, *name); });
    if (it == list.end()) {
      std::string known;
      for (const auto& p : list) known += (known.empty() ? "" : ", ") + p;
      throw UsageError("no printer \"" + *name + "\" (printers: " + known + ")");
    }
    index = static_cast<int>(it - list.begin());
  }
  // Pictures of the sheets take the paper of the default printer, or of the
  // PDF writer when there is none; it writes nothing, as no job is sent.
  if (index < 0 && options.Has("--png")) {
    index = printing.PdfPrinterWriting((fs::temp_directory_path() / "korval-unused.pdf").string())
                .value_or(-1);
  }
  if (index < 0) throw UsageError("no printer to print on");
  return index;
}

int RunPrintCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  const Options options(args,
                        {"--forms", "--format", "--goods", "--pdf", "--printer", "--start",
                         "--test", "--encoding", "--sheet", "--png", "--dpi"},
                        {});
  const std::string prefix = FormsPrefix(options.Require("--forms"));
  const std::string format = options.Require("--format");
  if (options.Has("--pdf") && options.Has("--printer"))
    throw UsageError("--pdf and --printer exclude each other");
  if (options.Has("--pdf") && options.Has("--png"))
    throw UsageError("--pdf and --png exclude each other");
  int dpi = kDefaultPngDpi;
  if (const auto text = options.Get("--dpi")) {
    if (!options.Has("--png")) throw UsageError("--dpi goes with --png");
    const auto value = ParseInt(*text);
    if (!value || *value < 1 || *value > kMaxPngDpi)
      throw UsageError("--dpi wants dots per inch from 1 to " + std::to_string(kMaxPngDpi));
    dpi = *value;
  }
  if (!std::filesystem::is_directory(prefix)) throw UsageError("no folder " + prefix);
  RequireStoredFormat(prefix, format);
  std::optional<int> testCount;
  if (const auto test = options.Get("--test")) {
    testCount = ParseInt(*test);
    if (!testCount || *testCount < 0) throw UsageError("--test wants a number of labels");
  }
  const std::string startSheet = SheetOption(options.Get("--sheet"));
  GoodsFile goods = LoadGoods(options, "print", err, true);

  KeepFreedMemoryForTheNextPage();
  HostContext& host = Host();
  const std::unique_ptr<SystemPrinting> printing = OpenSystemPrinting(host, err);
  Ui& ui = printing->GetUi();
  PrintSurface& system = printing->Surface();
  const int index = ChoosePrinter(options, *printing);
  ChosenPrinterSurface printer(system, index);
  std::unique_ptr<PngSheetSurface> pictures;
  if (const auto png = options.Get("--png")) {
    pictures = std::make_unique<PngSheetSurface>(
        printer, *png, dpi, [&printing](int width, int height, int dots) {
          return printing->NewSheetImage(width, height, dots);
        });
    if (!printing->NewSheetImage(1, 1, dpi))
      throw UsageError("--png is not available on this system");
  }

  host.SetFormPath(prefix);
  host.SetExtensions(goods.ExtensionTable.data(),
                     static_cast<std::int32_t>(goods.ExtensionTable.size()));
  const std::string hostName = Utf8ToCp1250(format);
  // The records are handed over, not copied: a long job holds its goods once.
  if (const std::int32_t refused = host.TakeParams(std::move(goods.Records), hostName.c_str(), 0)) {
    err << "korval print: the goods could not be handed over (error " << refused << ")\n";
    return 1;
  }

  const long long labels = LabelsOfJob(host);

  TfrmMain dialog(
      SystemDialogServices(host, ui, pictures ? static_cast<PrintSurface&>(*pictures) : printer));
  dialog.StartSheet = startSheet;
  dialog.RunCreationSteps();
  if (const auto start = options.Get("--start"))
    std::tie(dialog.StartCol, dialog.StartRow) = ParseStart(*start);

  // What the library tells of during the job it says itself, in its own
  // words; the program's lines below add only what it alone knows.
  const int toldBefore = printing->MessagesShown();
  const bool terminal = ErrorsGoToTerminal();
  int total = 0;
  printer.OnSheet = [&](int sheet) {
    if (total == 0) total = testCount ? 1 : SheetsNeeded(dialog, labels);
    if (total < 2) return;
    if (terminal) {
      err << "\rsheet " << sheet << " of " << total << std::flush;
    } else if (sheet == 1 || sheet == total || sheet % std::max(1, total / 10) == 0) {
      err << "sheet " << sheet << " of " << total << "\n";
    }
  };

  if (testCount) {
    dialog.Ctl<Edit>("ePocetEtiket").SetText(std::to_string(*testCount));
    dialog.LoadPrinterSettings(host.FormatName());
    dialog.ShowStep();
    dialog.GetAction("actTestPrint").Execute();
  } else {
    dialog.RunPrintPath();
  }
  if (terminal && total >= 2) err << "\n";
  const bool libraryTold = printing->MessagesShown() > toldBefore;

  if (pictures) {
    for (const std::string& file : pictures->Failed())
      err << "korval print: could not write " << file << "\n";
    const int sheets = pictures->SheetsWritten();
    if (sheets == 0 || !pictures->Failed().empty()) {
      if (sheets == 0 && pictures->Failed().empty() && !libraryTold)
        err << "korval print: no sheet was written\n";
      return 1;
    }
    out << sheets << (sheets == 1 ? " sheet" : " sheets") << " written to "
        << PngSheetSurface::SheetFileName(*options.Get("--png"), 1);
    if (sheets > 1) out << " .. " << PngSheetSurface::SheetFileName(*options.Get("--png"), sheets);
    out << " at " << dpi << " dpi\n";
    return 0;
  }

  // A job the print system did not take, a sheet without a place for a
  // label, a PDF that could not be written: the library has said so, with
  // the reason, and that is the one line about it.
  if (printer.JobsSent() == 0) {
    if (!libraryTold) err << "korval print: nothing was sent to the printer\n";
    return 1;
  }
  // What the library cannot know is that the sheets before a refused job
  // went out.
  if (printer.JobsRefused() > 0) {
    err << "korval print: only " << printer.SheetsSent() << " of the sheets reached "
        << printer.Printers().front() << "\n";
    return 1;
  }
  const int sheets = printer.SheetsSent();
  out << sheets << (sheets == 1 ? " sheet" : " sheets");
  // The PDF printer writes every job of the run into the one file. Without
  // --pdf it is chosen where the system has no default printer, and then
  // the file it wrote, in the current folder, is what the user needs to
  // hear of, not the writer's name.
  if (options.Has("--pdf"))
    out << " written to " << printing->PdfOutputFile() << "\n";
  else if (!options.Has("--printer") &&
           printing->PdfPrinterWriting(printing->PdfOutputFile()) == std::optional<int>(index))
    out << " written to " << fs::absolute(printing->PdfOutputFile()).string()
        << " (the system has no default printer)\n";
  else
    out << " sent to " << printer.Printers().front() << "\n";
  return 0;
}

}  // namespace korval::cli
