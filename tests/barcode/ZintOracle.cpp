#include "ZintOracle.h"

#include <zint.h>

#include <memory>

namespace korval::test {

std::optional<ZintSymbol> ZintEncode(int symbology, int option2, const std::string& data) {
  const std::unique_ptr<zint_symbol, void (*)(zint_symbol*)> symbol(ZBarcode_Create(),
                                                                    ZBarcode_Delete);
  symbol->symbology = symbology;
  symbol->option_2 = option2;
  const int rc = ZBarcode_Encode(symbol.get(), reinterpret_cast<const unsigned char*>(data.data()),
                                 static_cast<int>(data.size()));
  if (rc >= ZINT_ERROR || symbol->rows < 1) return std::nullopt;
  ZintSymbol out;
  // Row 0; module c is bit (c & 7) of byte c >> 3.
  for (int c = 0; c < symbol->width; ++c)
    out.Modules += ((symbol->encoded_data[0][c >> 3] >> (c & 7)) & 1) != 0 ? '1' : '0';
  out.Text = reinterpret_cast<const char*>(symbol->text);
  return out;
}

std::string ModulesOf(const BarcodeElementList& elements) {
  std::string modules;
  for (const BarcodeElement& e : elements) modules.append(e.Modules, IsBar(e.Kind) ? '1' : '0');
  return modules;
}

std::string GuardMapOf(const BarcodeElementList& elements) {
  std::string modules;
  for (const BarcodeElement& e : elements) {
    const char c = IsGuard(e.Kind) ? (IsBar(e.Kind) ? 'G' : 'g') : (IsBar(e.Kind) ? '1' : '0');
    modules.append(e.Modules, c);
  }
  return modules;
}

std::string NarrowWideOfModules(const std::string& modules) {
  std::string out;
  for (std::size_t i = 0; i < modules.size();) {
    std::size_t j = i;
    while (j < modules.size() && modules[j] == modules[i]) ++j;
    const bool wide = j - i > 1;
    out += modules[i] == '1' ? (wide ? 'B' : 'b') : (wide ? 'S' : 's');
    i = j;
  }
  return out;
}

std::string NarrowWideOf(const BarcodeElementList& elements) {
  std::string out;
  for (const BarcodeElement& e : elements) {
    const bool wide = e.Modules > 1;
    out += IsBar(e.Kind) ? (wide ? 'B' : 'b') : (wide ? 'S' : 's');
  }
  return out;
}

}  // namespace korval::test
