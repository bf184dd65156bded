#pragma once

#include <string_view>
#include <vector>

namespace korval {

// Guard elements belong to the start, centre and end patterns; with tall
// guard bars they are drawn longer than the data bars.
enum class BarcodeElementKind : unsigned char { Space, Bar, GuardSpace, GuardBar };

constexpr bool IsBar(BarcodeElementKind kind) {
  return kind == BarcodeElementKind::Bar || kind == BarcodeElementKind::GuardBar;
}
constexpr bool IsGuard(BarcodeElementKind kind) {
  return kind == BarcodeElementKind::GuardSpace || kind == BarcodeElementKind::GuardBar;
}

// One bar or space, its width in modules.
struct BarcodeElement {
  BarcodeElementKind Kind = BarcodeElementKind::Space;
  int Modules = 1;

  friend bool operator==(const BarcodeElement&, const BarcodeElement&) = default;
};

// A symbol from left to right, without quiet zones.
using BarcodeElementList = std::vector<BarcodeElement>;

// Appends a pattern written module by module, '1' for a dark module and '0'
// for a light one ("0001101"). Each run of equal modules becomes one element;
// a run continues the last element when that has the same kind.
void AppendModules(BarcodeElementList& list, std::string_view modules, bool guard);

// Appends alternating elements given as 'n' (narrow, one module) and 'w'
// (wide, wideModules modules), the first a bar when startWithBar.
void AppendNarrowWide(BarcodeElementList& list, std::string_view widths, bool startWithBar,
                      int wideModules, bool guard);

struct ModuleTotals {
  int BarModules = 0;
  int SpaceModules = 0;
};

// Modules in bars and in spaces, guard elements included.
ModuleTotals CountModules(const BarcodeElementList& list);

}  // namespace korval
