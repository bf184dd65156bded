// The real print and the test print: sheets of labels laid out by the grid
// rule and sent to the print surface, the printer setup button, the reset of
// the start position and the key filter of the test print's count.
#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "dialog/TfrmMain.h"
#include "host_api/HostContext.h"
#include "platform/Clock.h"
#include "platform/NumberFormat.h"
#include "platform/PrintSurface.h"
#include "platform/Text.h"
#include "platform/Ui.h"
#include "print/LabelOrder.h"
#include "print/LayoutGrid.h"
#include "print/PrintRun.h"
#include "storage/PrintOffsetFile.h"

namespace korval {
namespace {

constexpr const char* kPrintTitle = "Tisk etiket (Etikety)";
constexpr const char* kTestPrintTitle = "Zkušební tisk (Etikety)";
constexpr char32_t kBackspace = 8;
constexpr const char* kNothingFits = "Na stránku se nevejde žádná etiketa, tisk byl ukončen.";
constexpr const char* kNoTestLabels = "Počet etiket zkušebního tisku je 0, netiskne se nic.";
constexpr const char* kOutsidePrintableArea =
    "Etikety přesahují oblast tisku tiskárny...\r\nTisknout přesto?";

bool HasPosition(const GridInput& sheet) {
  const LayoutGrid grid(sheet);
  return grid.begin() != grid.end();
}

}  // namespace

void TfrmMain::DrawPage(Canvas& canvas, PageMode mode) {
  if (mode == PageMode::Preview) {
    DrawPreviewPage(canvas);
    return;
  }
  const LayoutGrid grid(SheetOnPaper());
  for (const GridPosition& position : grid) {
    const int x = position.Bounds.Left + JobOffset.X;
    const int y = position.Bounds.Top + JobOffset.Y;
    if (TestMode) {
      ++TestCounter;
      // An emptied count prints nothing rather than guessing a number.
      const int wanted = ParseInt(Ctl<Edit>("ePocetEtiket").Text()).value_or(0);
      if (wanted >= TestCounter) PaintTiket(canvas, x, y);
      continue;
    }
    if (ItemPrintedCount == 0 || ItemPrintedCount >= LabelCount) {
      CurrentItemIndex = NextItemIndex;
      if (!BindGoodsItem(CurrentItemIndex)) {
        PrintFinished = true;
        return;
      }
      ItemPrintedCount = 0;
      ++NextItemIndex;
    }
    ++ItemPrintedCount;
    DrawTiket();
    PaintTiket(canvas, x, y);
    // The start position is for the first sheet only.
    StartCol = 0;
    StartRow = 0;
    PrintFinished =
        NextItemIndex > services_.Host.GoodsCount() - 1 && ItemPrintedCount >= LabelCount;
  }
}

// The whole sheet in printer dots from the current start position. The
// surface is the paper edge to edge although positions count from the
// printable area: labels may reach into the strips on the right and bottom.
GridInput TfrmMain::SheetOnPaper() const {
  GridInput input =
      SheetGridInput(CurrentSheetEdits(), Unit, LabelWidthMm(), LabelHeightMm(), Resolution);
  const PrintSurface& printer = services_.Printer;
  input.SurfaceWidth = printer.PaperWidth(SizeUnit::Inches) * 25.4 * Resolution.DotsPerMmX;
  input.SurfaceHeight = printer.PaperHeight(SizeUnit::Inches) * 25.4 * Resolution.DotsPerMmY;
  input.OvershootX = Resolution.DotsPerMmX;
  input.OvershootY = Resolution.DotsPerMmY;
  input.StartCol = StartCol;
  input.StartRow = StartRow;
  return input;
}

std::string TfrmMain::SelectedPrinterName() const {
  const PrintSurface& printer = services_.Printer;
  const std::vector<std::string> names = printer.Printers();
  const int index = printer.PrinterIndex();
  if (index < 0 || index >= static_cast<int>(names.size())) return {};
  return names[static_cast<std::size_t>(index)];
}

PrintOffset TfrmMain::PrintOffsetMm() const {
  const std::string name = SelectedPrinterName();
  return name.empty() ? PrintOffset{} : offsetFile_->Offset(name);
}

Point TfrmMain::PrintOffsetDots() const {
  const PrintOffset mm = PrintOffsetMm();
  return {static_cast<int>(RoundHalfEven(mm.XMm * Resolution.DotsPerMmX)),
          static_cast<int>(RoundHalfEven(mm.YMm * Resolution.DotsPerMmY))};
}

bool TfrmMain::ReachesOutside(const GridPosition& position, Point offset) const {
  const PrintSurface& printer = services_.Printer;
  const double width = (printer.PaperWidth(SizeUnit::Inches) - printer.WasteLeft(SizeUnit::Inches) -
                        printer.WasteRight(SizeUnit::Inches)) *
                       25.4 * Resolution.DotsPerMmX;
  const double height = (printer.PaperHeight(SizeUnit::Inches) -
                         printer.WasteTop(SizeUnit::Inches) - printer.WasteBottom(SizeUnit::Inches)) *
                        25.4 * Resolution.DotsPerMmY;
  const Rect& r = position.Bounds;
  const double mmX = Resolution.DotsPerMmX;
  const double mmY = Resolution.DotsPerMmY;
  return r.Left + offset.X <= -mmX || r.Top + offset.Y <= -mmY ||
         r.Right + offset.X >= width + mmX || r.Bottom + offset.Y >= height + mmY;
}

bool TfrmMain::ConfirmPrintableArea(long long labels) {
  const Point offset = PrintOffsetDots();
  GridInput sheet = SheetOnPaper();
  bool outside = false;
  // The first sheet from the start position; the later ones are full, and
  // one full sheet stands for all of them.
  for (int pass = 0; pass < 2 && labels > 0 && !outside; ++pass) {
    const LayoutGrid grid(sheet);
    for (auto it = grid.begin(); it != grid.end() && labels > 0 && !outside; ++it, --labels)
      outside = ReachesOutside(*it, offset);
    sheet.StartCol = 0;
    sheet.StartRow = 0;
  }
  if (!outside) return true;
  MessageBoxRequest question{"Dotaz", kOutsidePrintableArea, MessageIcon::Question,
                             MessageButtons::YesNo, MessageModality::TaskModal};
  // From the command line the labels are printed and the warning stays in
  // the log: what reaches out of the area is most often only a label's edge.
  question.Unattended = MessageAnswer::Yes;
  return services_.UserInterface.ShowMessage(question) == MessageAnswer::Yes;
}

void TfrmMain::PrintTikets() {
  PrintSurface& printer = services_.Printer;
  const HostContext& host = services_.Host;
  if (!host.ParamsGiven() || host.LabelPrinterIndex() == -1) {
    if (!printer.ShowPrintDialog()) return;
  }
  ApplyPrinterSelection(printer.PrinterIndex(), -1, -1);
  JobOffset = PrintOffsetDots();
  if (HasPosition(SheetOnPaper()) && !ConfirmPrintableArea(LabelsOfJob(host))) return;

  TestMode = false;
  ItemPrintedCount = 0;
  NextItemIndex = 0;
  PrintFinished = false;
  // A label wider or taller than the paper, a size of 0 or a start position
  // past the grid leaves the first sheet without a position: no job is
  // opened, so no blank sheet comes out of the printer. Later sheets start
  // at the first position and have one whenever the first sheet has.
  if (!HasPosition(SheetOnPaper())) {
    services_.UserInterface.ShowMessage({"Chyba", kNothingFits, MessageIcon::Error,
                                         MessageButtons::Ok, MessageModality::TaskModal});
  } else {
    PrintRun job(printer, kPrintTitle);
    struct JobFlag {
      bool& flag;
      explicit JobFlag(bool& f) : flag(f) { flag = true; }
      ~JobFlag() { flag = false; }
    } printing(PrintingJob);
    while (job.IsOpen() && !PrintFinished) {
      CanvasLock lock(printer);
      DrawPage(printer.PageCanvas(), PageMode::Print);
      if (PrintFinished) break;
      if (Ctl<CheckBox>("cbVlastniFronta").Checked()) {
        job.Restart(services_.Today);
      } else {
        printer.NewPage();
      }
    }
    if (job.IsOpen()) job.End();
  }

  RedrawPreview();
  StartCol = 0;
  StartRow = 0;
  ClickPoint = Point{-1, -1};
  RedrawPreview();
  // The job left the navigation past its last item; the surface shows the
  // first one again, and the arrows step on from there.
  CurrentItemIndex = 0;
  // Bound afresh, hidden items too, which the job left as they were.
  BoundItemIndex = -1;
  BindGoodsItem(0);
  UpdateSheetInfo(-1, -1);
}

void TfrmMain::actTestPrintExecute() {
  TestCounter = 0;
  TestMode = true;
  NextItemIndex = 0;
  PrintFinished = false;
  // A test print of no labels, or from a start position past the grid,
  // would only feed a blank sheet through the printer.
  const int wanted = ParseInt(Ctl<Edit>("ePocetEtiket").Text()).value_or(0);
  if (wanted < 1 || !HasPosition(SheetOnPaper())) {
    services_.UserInterface.ShowMessage(
        wanted < 1 ? MessageBoxRequest{"Informace", kNoTestLabels, MessageIcon::Information,
                                       MessageButtons::Ok, MessageModality::TaskModal}
                   : MessageBoxRequest{"Chyba", kNothingFits, MessageIcon::Error,
                                       MessageButtons::Ok, MessageModality::TaskModal});
    return;
  }
  JobOffset = PrintOffsetDots();
  if (!ConfirmPrintableArea(wanted)) return;
  PrintSurface& printer = services_.Printer;
  {
    PrintRun job(printer, kTestPrintTitle);
    if (!job.IsOpen()) return;
    {
      CanvasLock lock(printer);
      DrawPage(printer.PageCanvas(), PageMode::Print);
    }
    job.End();
  }
  if (BindGoodsItem(CurrentItemIndex)) DrawTiket();
}

void TfrmMain::actPrinterSetupExecute() {
  PrintSurface& printer = services_.Printer;
  if (!printer.ShowPrinterSetupDialog()) return;
  ApplyPrinterSelection(printer.PrinterIndex(), printer.PaperWidth(SizeUnit::Inches),
                        printer.PaperHeight(SizeUnit::Inches));
}

void TfrmMain::sbResetClick() {
  StartCol = 0;
  StartRow = 0;
  ClickPoint = Point{0, 0};
  Preview();
  Ctl<Control>("sbReset").SetEnabled(false);
}

void TfrmMain::NrEditPress(Control& edit, char32_t& key) {
  if (key >= U'0' && key <= U'9') return;
  // Backspace may not empty the field: a test print needs a count.
  if (key == kBackspace && CharCount(edit.Caption()) != 1) return;
  key = 0;
}

}  // namespace korval
