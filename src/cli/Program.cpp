#include "cli/Program.h"

#include <algorithm>
#include <exception>
#include <string_view>

#include "cli/CalibrateCommand.h"
#include "cli/DesignCommand.h"
#include "cli/FormatsCommand.h"
#include "cli/GoodsCommand.h"
#include "cli/Options.h"
#include "cli/PrintCommand.h"
#include "cli/PrintersCommand.h"
#include "cli/SheetsCommand.h"
#include "korval/Version.h"

namespace korval::cli {
namespace {

using Runner = int (*)(const std::vector<std::string>&, std::ostream&, std::ostream&);

struct Command {
  std::string_view Name;
  // The synopsis's options and what the command does, as the usage lists
  // them under the command's name.
  std::string_view Usage;
  Runner Run;
};

constexpr Command kCommands[] = {
    {"goods",
     " --goods FILE [--encoding utf-8|cp1250]\n"
     "        hand the goods of FILE (CSV with a header of record field names,\n"
     "        or a file of 494-byte records) to the library and list them\n",
     &RunGoodsCommand},
    {"print",
     " --forms DIR --format NAME --goods FILE [--pdf OUT | --printer NAME]\n"
     "        [--start COL,ROW] [--test N] [--sheet CODE] [--encoding utf-8|cp1250]\n"
     "        [--png OUT.png [--dpi N]]\n"
     "        print the labels of the goods with a stored label format; --sheet\n"
     "        lays them out on a label sheet of the catalogue (korval sheets);\n"
     "        --png draws each sheet, the whole paper, into a picture instead\n"
     "        (OUT-1.png, OUT-2.png, ..., always numbered; N dots per inch, 150\n"
     "        if not given)\n",
     &RunPrintCommand},
    {"design",
     " --forms DIR [--format NAME] [--goods FILE] [--encoding utf-8|cp1250]\n"
     "        [--sheet CODE] [--screenshot FILE.png [--page design|preview|sheet]]\n"
     "        open the label dialog on the goods with a stored label format, or\n"
     "        draw it into a picture without showing it\n",
     &RunDesignCommand},
    {"calibrate",
     " --forms DIR --format NAME (--printer NAME | --pdf OUT) [--offset X,Y]\n"
     "        print a calibration sheet: crosses at the label corners of the format\n"
     "        and millimetre rulers; --offset stores how far the printer must move\n"
     "        everything (mm, right and down) in etikety.ini\n",
     &RunCalibrateCommand},
    {"formats",
     " --forms DIR\n"
     "        list the label formats stored in DIR\n",
     [](const std::vector<std::string>& args, std::ostream& out, std::ostream&) {
       return RunFormatsCommand(args, out);
     }},
    {"sheets",
     " [--paper A4|Letter] [--find TEXT]\n"
     "        list the label sheets of the catalogue (makers' codes such as\n"
     "        \"Avery L7160\") whose code, maker or description contains TEXT\n",
     [](const std::vector<std::string>& args, std::ostream& out, std::ostream&) {
       return RunSheetsCommand(args, out);
     }},
    {"printers",
     "\n"
     "        list the printers the labels can go to (* marks the system's\n"
     "        default) with paper, resolution and printable area\n",
     &RunPrintersCommand},
};

constexpr std::string_view kExitStatuses =
    "exit status: 0 done, 1 the job failed, 2 a mistake in the arguments\n";

const Command* Find(std::string_view name) {
  for (const Command& command : kCommands)
    if (command.Name == name) return &command;
  return nullptr;
}

bool AsksForHelp(std::string_view arg) {
  return arg == "--help" || arg == "-h";
}

void PrintUsage(std::ostream& out) {
  out << "usage: korval COMMAND [OPTIONS]\n\ncommands:\n";
  for (const Command& command : kCommands) out << "  " << command.Name << command.Usage;
  out << "  help [COMMAND]\n"
         "        this text, or the usage of one command (also: korval COMMAND --help)\n"
         "\n"
         "korval --version prints the version.\n"
      << kExitStatuses;
}

void PrintUsage(const Command& command, std::ostream& out) {
  out << "usage: korval " << command.Name << command.Usage << "\n" << kExitStatuses;
}

}  // namespace

int RunProgram(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  if (args.empty()) {
    err << "korval: no command given; korval --help lists them\n";
    return kExitUsage;
  }
  const std::string& first = args[0];
  if (first == "--version") {
    out << "korval " << KORVAL_PRODUCT_VERSION << "\n";
    return kExitDone;
  }
  if (AsksForHelp(first) || first == "help") {
    if (first != "help" || args.size() < 2) {
      PrintUsage(out);
      return kExitDone;
    }
    if (const Command* command = Find(args[1])) {
      PrintUsage(*command, out);
      return kExitDone;
    }
    err << "korval: no command " << args[1] << "; korval --help lists them\n";
    return kExitUsage;
  }
  const Command* command = Find(first);
  if (command == nullptr) {
    err << "korval: unknown command " << first << "; korval --help lists them\n";
    return kExitUsage;
  }
  const std::vector<std::string> rest(args.begin() + 1, args.end());
  if (std::any_of(rest.begin(), rest.end(), [](const std::string& a) { return AsksForHelp(a); })) {
    PrintUsage(*command, out);
    return kExitDone;
  }
  try {
    return command->Run(rest, out, err);
  } catch (const UsageError& e) {
    err << "korval " << first << ": " << e.what() << " (korval " << first << " --help)\n";
    return kExitUsage;
  } catch (const std::exception& e) {
    err << "korval " << first << ": " << e.what() << "\n";
    return kExitFailed;
  }
}

}  // namespace korval::cli
