#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace korval {
class PrintSurface;
}

namespace korval::cli {

// `korval printers`: the printers the labels can go to, as the label dialog
// lists them, each with its paper, resolution and printable area.
int RunPrintersCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// The listing itself, of any print surface: every printer is selected in
// turn, so that the surface reports its page. One line per printer under a
// header; columns are separated by at least two blanks, sizes in
// millimetres with a decimal point.
void ListPrinters(PrintSurface& surface, std::ostream& out);

// The name of a common sheet of that size (either way round, within half a
// millimetre); empty for any other size.
std::string PaperName(double widthMm, double heightMm);

}  // namespace korval::cli
