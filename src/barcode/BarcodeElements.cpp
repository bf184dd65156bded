#include "barcode/BarcodeElements.h"

namespace korval {

namespace {

void Append(BarcodeElementList& list, BarcodeElementKind kind, int modules) {
  if (!list.empty() && list.back().Kind == kind) {
    list.back().Modules += modules;
    return;
  }
  list.push_back(BarcodeElement{kind, modules});
}

BarcodeElementKind KindOf(bool dark, bool guard) {
  if (dark) return guard ? BarcodeElementKind::GuardBar : BarcodeElementKind::Bar;
  return guard ? BarcodeElementKind::GuardSpace : BarcodeElementKind::Space;
}

}  // namespace

void AppendModules(BarcodeElementList& list, std::string_view modules, bool guard) {
  for (char module : modules) Append(list, KindOf(module == '1', guard), 1);
}

void AppendNarrowWide(BarcodeElementList& list, std::string_view widths, bool startWithBar,
                      int wideModules, bool guard) {
  bool dark = startWithBar;
  for (char width : widths) {
    Append(list, KindOf(dark, guard), width == 'w' ? wideModules : 1);
    dark = !dark;
  }
}

ModuleTotals CountModules(const BarcodeElementList& list) {
  ModuleTotals totals;
  for (const BarcodeElement& element : list) {
    if (IsBar(element.Kind))
      totals.BarModules += element.Modules;
    else
      totals.SpaceModules += element.Modules;
  }
  return totals;
}

}  // namespace korval
