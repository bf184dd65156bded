#include "win32/WinApi.h"

#include "cli/DesignCommand.h"

#include <filesystem>

#include "cli/FormatsCommand.h"
#include "cli/GoodsCommand.h"
#include "cli/GoodsFile.h"
#include "cli/Options.h"
#include "cli/SheetsCommand.h"
#include "host_api/HostApi.h"
#include "win32/FormView.h"

namespace korval::cli {

int RunDesignCommand(const std::vector<std::string>& args, std::ostream&, std::ostream& err) {
  const Options options(args, {"--forms", "--format", "--goods", "--encoding", "--sheet"}, {});
  const std::string prefix = FormsPrefix(options.Require("--forms"));
  if (!std::filesystem::is_directory(prefix)) throw UsageError("no folder " + prefix);
  const std::string format = options.Get("--format").value_or("");
  if (!format.empty()) RequireStoredFormat(prefix, format);
  const std::string sheet = SheetOption(options.Get("--sheet"));
  GoodsFile goods;
  if (options.Has("--goods")) goods = LoadGoods(options, "design", err, false);

  HostContext& host = DesignHost(prefix, format, goods);
  win32::RunLabelDialog(host, sheet);
  return 0;
}

}  // namespace korval::cli
