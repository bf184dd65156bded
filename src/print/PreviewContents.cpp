#include "print/PreviewContents.h"

#include <string>
#include <vector>

#include "dialog/TfrmMain.h"
#include "host_api/HostContext.h"
#include "platform/PrintSurface.h"
#include "print/LabelOrder.h"
#include "print/NullCanvas.h"
#include "print/ScaledCanvas.h"

namespace korval {
namespace {

// What painting the labels of other goods items changes in the dialog, put
// back when the preview is done: the item bound to the label (and with it the
// navigation buttons, the item counter and the count of labels wanted), text
// 3 where an item's unit price replaced it, and the test print's mode, which
// would add the print areas to every label.
class BoundItemKeeper {
 public:
  explicit BoundItemKeeper(TfrmMain& dialog)
      : dialog_(dialog),
        bound_(dialog.BoundItemIndex),
        labelCount_(dialog.LabelCount),
        text3_(dialog.Ctl<Edit>("eText3").Text()),
        testMode_(dialog.TestMode) {
    dialog_.TestMode = false;
  }
  ~BoundItemKeeper() {
    dialog_.TestMode = testMode_;
    if (dialog_.BoundItemIndex != bound_) {
      // With nothing bound before, the item the surface stands on is the one
      // to show; it stays marked unbound, so the next bind reads it afresh.
      dialog_.BindGoodsItem(bound_ >= 0 ? bound_ : dialog_.CurrentItemIndex);
      if (bound_ < 0) dialog_.BoundItemIndex = -1;
    }
    auto& text3 = dialog_.Ctl<Edit>("eText3");
    if (text3.Text() != text3_) text3.SetText(text3_);
    dialog_.LabelCount = labelCount_;
  }
  BoundItemKeeper(const BoundItemKeeper&) = delete;
  BoundItemKeeper& operator=(const BoundItemKeeper&) = delete;

 private:
  TfrmMain& dialog_;
  int bound_;
  int labelCount_;
  std::string text3_;
  bool testMode_;
};

}  // namespace

Rect PreviewCell(const GridPosition& position, const GridMetrics& scaledCells, Point offset) {
  const auto left =
      position.Col * (scaledCells.Width + scaledCells.GapX) + scaledCells.Left + offset.X;
  const auto top =
      position.Row * (scaledCells.Height + scaledCells.GapY) + scaledCells.Top + offset.Y;
  return Rect{static_cast<int>(left), static_cast<int>(top),
              static_cast<int>(left + scaledCells.Width),
              static_cast<int>(top + scaledCells.Height)};
}

void PaintPreviewContents(TfrmMain& dialog, Canvas& canvas, const LayoutGrid& grid,
                          const GridMetrics& scaledCells, Point offset, double scaleX,
                          double scaleY) {
  if (dynamic_cast<NullCanvas*>(&canvas) != nullptr) return;

  // The cells exactly where the preview draws the outlines; each label is
  // scaled from its own corner, so the contents sit in their outlines however
  // the outlines round.
  std::vector<Point> cells;
  for (const GridPosition& position : grid) {
    const Rect cell = PreviewCell(position, scaledCells, offset);
    cells.push_back(Point{cell.Left, cell.Top});
  }

  const HostContext& host = dialog.Services().Host;
  const std::vector<int> items =
      FirstSheetItems(static_cast<int>(cells.size()), [&host](int index) -> std::optional<int> {
        const std::optional<GoodsRecord> record = host.Goods(index);
        if (!record) return std::nullopt;
        return static_cast<int>(record->Pocet());
      });
  if (items.empty()) return;

  const PrintSurface& printer = dialog.Services().Printer;
  CanvasStateGuard keepCanvas(canvas);
  canvas.SetBrushStyle(BrushStyle::Solid);
  canvas.SetBrushColor(kWhite);
  ScaledCanvas label(canvas, scaleX, scaleY, printer.DpiX(), printer.DpiY());
  label.SetBrushColor(kWhite);

  BoundItemKeeper keepDialog(dialog);
  for (std::size_t i = 0; i < items.size(); ++i) {
    // Binding is what costs; runs of one item bind once (the bind does nothing
    // for the item already bound).
    if (!dialog.BindGoodsItem(items[i])) break;
    label.SetOrigin(cells[i]);
    dialog.PaintTiket(label, 0, 0);
  }
}

}  // namespace korval
