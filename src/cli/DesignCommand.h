#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace korval {
class HostContext;
}

namespace korval::cli {

struct GoodsFile;

// The library's host context as a host leaves it before ShowTiketFormular:
// the formats folder, the goods records with their further barcodes and the
// name of the stored format.
HostContext& DesignHost(const std::string& formsPrefix, const std::string& format,
                        const GoodsFile& goods);

// `korval design --forms DIR [--format NAME] [--goods FILE] [--encoding E]`:
// opens the label dialog as ShowTiketFormular does, on the goods of FILE
// with the stored format NAME. With `--screenshot FILE.png [--page
// design|preview]` the dialog is drawn into a picture instead of being
// shown (no display needed) and nothing is written to the format files.
int RunDesignCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace korval::cli
