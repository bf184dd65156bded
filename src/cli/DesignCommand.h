#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace korval::cli {

// `korval design --forms DIR [--format NAME] [--goods FILE] [--encoding E]`:
// opens the label dialog as ShowTiketFormular does, on the goods of FILE
// with the stored format NAME. With `--screenshot FILE.png [--page
// design|preview]` the dialog is drawn into a picture instead of being
// shown (no display needed) and nothing is written to the format files.
int RunDesignCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace korval::cli
