// korval: the label printer from the command line.
#include <iostream>
#include <string>
#include <vector>

#include "cli/CalibrateCommand.h"
#include "cli/DesignCommand.h"
#include "cli/FormatsCommand.h"
#include "cli/GoodsCommand.h"
#include "cli/GoodsFile.h"
#include "cli/Options.h"
#include "cli/PrintCommand.h"
#include "cli/SheetsCommand.h"
#include "cli/PrintersCommand.h"
#include "cli/Terminal.h"

namespace {

constexpr const char* kUsage =
    "usage: korval COMMAND [OPTIONS]\n"
    "\n"
    "commands:\n"
    "  goods --goods FILE [--encoding utf-8|cp1250]\n"
    "        hand the goods of FILE (CSV with a header of record field names,\n"
    "        or a file of 494-byte records) to the library and list them\n"
    "  print --forms DIR --format NAME --goods FILE [--pdf OUT | --printer NAME]\n"
    "        [--start COL,ROW] [--test N] [--sheet CODE] [--encoding utf-8|cp1250]\n"
    "        [--png OUT.png [--dpi N]]\n"
    "        print the labels of the goods with a stored label format; --sheet\n"
    "        lays them out on a label sheet of the catalogue (korval sheets);\n"
    "        --png draws each sheet, the whole paper, into a picture instead\n"
    "        (OUT-1.png, OUT-2.png, ..., always numbered; N dots per inch, 150\n"
    "        if not given)\n"
    "  design --forms DIR [--format NAME] [--goods FILE] [--encoding utf-8|cp1250]\n"
    "        [--sheet CODE] [--screenshot FILE.png [--page design|preview|sheet]]\n"
    "        open the label dialog on the goods with a stored label format, or\n"
    "        draw it into a picture without showing it\n"
    "  calibrate --forms DIR --format NAME (--printer NAME | --pdf OUT) [--offset X,Y]\n"
    "        print a calibration sheet: crosses at the label corners of the format\n"
    "        and millimetre rulers; --offset stores how far the printer must move\n"
    "        everything (mm, right and down) in etikety.ini\n"
    "  formats --forms DIR\n"
    "        list the label formats stored in DIR\n"
    "  sheets [--paper A4|Letter] [--find TEXT]\n"
    "        list the label sheets of the catalogue (makers' codes such as\n"
    "        \"Avery L7160\") whose code, maker or description contains TEXT\n"
    "  printers\n"
    "        list the printers the labels can go to (* marks the system's\n"
    "        default) with paper, resolution and printable area\n"
    "  help  this text\n";

}  // namespace

int main(int argc, char** argv) {
  korval::cli::PrepareTerminal();
  const std::vector<std::string> args = korval::cli::ProgramArguments(argc, argv);
  if (args.empty() || args[0] == "help" || args[0] == "--help" || args[0] == "-h") {
    std::cout << kUsage;
    return args.empty() ? 2 : 0;
  }
  const std::string command = args[0];
  const std::vector<std::string> rest(args.begin() + 1, args.end());
  try {
    if (command == "goods") return korval::cli::RunGoodsCommand(rest, std::cout, std::cerr);
    if (command == "print") return korval::cli::RunPrintCommand(rest, std::cout, std::cerr);
    if (command == "design") return korval::cli::RunDesignCommand(rest, std::cout, std::cerr);
    if (command == "calibrate") return korval::cli::RunCalibrateCommand(rest, std::cout, std::cerr);
    if (command == "formats") return korval::cli::RunFormatsCommand(rest, std::cout);
    if (command == "sheets") return korval::cli::RunSheetsCommand(rest, std::cout);
    if (command == "printers") return korval::cli::RunPrintersCommand(rest, std::cout, std::cerr);
    std::cerr << "korval: unknown command " << command << "\n\n" << kUsage;
    return 2;
  } catch (const korval::cli::UsageError& e) {
    std::cerr << "korval " << command << ": " << e.what() << "\n\n" << kUsage;
    return 2;
  } catch (const std::exception& e) {
    std::cerr << "korval " << command << ": " << e.what() << "\n";
    return 1;
  }
}
