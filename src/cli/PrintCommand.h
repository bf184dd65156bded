#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace korval::cli {

// `korval print --forms DIR --format NAME --goods FILE [--pdf OUT | --printer NAME]
// [--start COL,ROW] [--test N] [--encoding utf-8|cp1250]`: the labels of the
// goods with a stored format, exactly as the library's print path prints
// them. Progress goes to err; the status is 0 only when the job was sent.
class Options;
class SystemPrinting;

// The printer of --pdf OUT (the PDF printer writing OUT) or --printer NAME,
// otherwise the selected one: its index on printing's surface. Usage errors
// for a printer that is not there.
int ChoosePrinter(const Options& options, SystemPrinting& printing);

int RunPrintCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace korval::cli
