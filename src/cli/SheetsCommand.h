#pragma once

#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "print/SheetTemplates.h"

namespace korval::cli {

// `korval sheets [--paper A4|Letter] [--find TEXT]`: the label sheets of the
// catalogue shipped with the program, one a line: code, paper, label size,
// columns x rows = count, margins, pitch, description and the other codes
// of the same layout.
int RunSheetsCommand(const std::vector<std::string>& args, std::ostream& out);

// The shipped catalogue, found as the label dialog finds it. Throws when it
// is missing or a line of it is bad, saying which.
SheetTemplates LoadShippedSheets();

// The template of a code given on the command line ("L7160", "Avery L7160",
// "Avery:L7160"); a UsageError naming the problem when the catalogue has
// none, or when makers share the code.
const SheetTemplate& RequireSheet(const SheetTemplates& catalogue, const std::string& code);

// The --sheet option of print and design: checks the code and returns the
// one to hand to the dialog (maker:code); empty without the option.
std::string SheetOption(const std::optional<std::string>& code);

}  // namespace korval::cli
