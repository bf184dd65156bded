#include "cli/PrintersCommand.h"

#include <algorithm>
#include <cmath>

#include "cli/Options.h"
#include "cli/SystemPrinting.h"
#include "host_api/HostApi.h"
#include "platform/NumberFormat.h"
#include "platform/PrintSurface.h"
#include "platform/Text.h"

namespace korval::cli {
namespace {

struct Sheet {
  const char* Name;
  double WidthMm;
  double HeightMm;
};

// The sheets a printer is usually loaded with; label sheets are cut to these.
constexpr Sheet kSheets[] = {
    {"A3", 297, 420},        {"A4", 210, 297},
    {"A5", 148, 210},        {"A6", 105, 148},
    {"B5", 176, 250},        {"Letter", 215.9, 279.4},
    {"Legal", 215.9, 355.6}, {"Executive", 184.15, 266.7},
};

// Half a millimetre: a size stored in inches to two decimals still matches.
constexpr double kToleranceMm = 0.5;

std::string Mm(double mm) {
  return FormatFixed(mm, 1, '.');
}

struct Row {
  std::string Name;
  bool Default = false;
  std::string Paper;
  std::string Size;
  int Dpi = 0;
  std::string Printable;
};

}  // namespace

std::string PaperName(double widthMm, double heightMm) {
  const auto near = [](double a, double b) { return std::abs(a - b) <= kToleranceMm; };
  for (const Sheet& sheet : kSheets) {
    if ((near(widthMm, sheet.WidthMm) && near(heightMm, sheet.HeightMm)) ||
        (near(widthMm, sheet.HeightMm) && near(heightMm, sheet.WidthMm)))
      return sheet.Name;
  }
  return {};
}

void ListPrinters(PrintSurface& surface, std::ostream& out) {
  const std::vector<std::string> printers = surface.Printers();
  if (printers.empty()) {
    out << "no printers\n";
    return;
  }
  const std::string defaultName = surface.DefaultPrinterName();
  std::vector<Row> rows;
  for (std::size_t i = 0; i < printers.size(); ++i) {
    surface.SelectPrinter(static_cast<int>(i));
    const double width = surface.PaperWidth(SizeUnit::Millimetres);
    const double height = surface.PaperHeight(SizeUnit::Millimetres);
    const double left = surface.WasteLeft(SizeUnit::Millimetres);
    const double top = surface.WasteTop(SizeUnit::Millimetres);
    const double printableWidth = width - left - surface.WasteRight(SizeUnit::Millimetres);
    const double printableHeight = height - top - surface.WasteBottom(SizeUnit::Millimetres);
    Row row;
    row.Name = printers[i];
    row.Default = !defaultName.empty() && SameText(printers[i], defaultName);
    row.Paper = PaperName(width, height);
    if (row.Paper.empty()) row.Paper = "-";
    row.Size = Mm(width) + " x " + Mm(height);
    row.Dpi = surface.DpiX();
    row.Printable =
        Mm(left) + " " + Mm(top) + " " + Mm(printableWidth) + " x " + Mm(printableHeight);
    rows.push_back(std::move(row));
  }
  // Widths by characters, so that a printer's name in Czech lines up.
  std::size_t nameWidth = 7;
  std::size_t sizeWidth = 13;
  for (const Row& row : rows) {
    nameWidth = std::max(nameWidth, CharCount(row.Name));
    sizeWidth = std::max(sizeWidth, row.Size.size());
  }
  out << "  #  " << PadRight("printer", nameWidth) << "  default  paper      "
      << PadRight("paper mm", sizeWidth) << "  dpi    printable mm (left top width x height)\n";
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const Row& row = rows[i];
    out << FormatText("%3zu  ", i) << PadRight(row.Name, nameWidth) << "  "
        << PadRight(row.Default ? "*" : "", 7) << "  " << PadRight(row.Paper, 9) << "  "
        << PadRight(row.Size, sizeWidth) << "  " << FormatText("%5d", row.Dpi) << "  "
        << row.Printable << "\n";
  }
}

int RunPrintersCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  const Options options(args, {}, {});
  const std::unique_ptr<SystemPrinting> printing = OpenSystemPrinting(Host(), err);
  ListPrinters(printing->Surface(), out);
  return 0;
}

}  // namespace korval::cli
