#pragma once

#include <optional>
#include <string>

#include "barcode/BarcodeElements.h"

namespace korval::test {

// What zint makes of a code: the modules of the symbol's single row as '1'
// (dark) and '0' (light), and the text zint says the symbol carries. Nothing
// when zint refuses the code.
struct ZintSymbol {
  std::string Modules;
  std::string Text;
};
std::optional<ZintSymbol> ZintEncode(int symbology, int option2, const std::string& data);

// Our element list module by module, '1' dark and '0' light.
std::string ModulesOf(const BarcodeElementList& elements);

// Our element list with guard modules marked: 'G' dark guard, 'g' light
// guard, '1' and '0' for data modules.
std::string GuardMapOf(const BarcodeElementList& elements);

// A two-width symbol as a sequence of "B" (wide bar), "b" (narrow bar), "S"
// (wide space) and "s" (narrow space): the same for symbols that agree on
// narrow and wide whatever a wide element's width is.
std::string NarrowWideOfModules(const std::string& modules);
std::string NarrowWideOf(const BarcodeElementList& elements);

}  // namespace korval::test
