#include "cli/DesignCommand.h"

namespace korval::cli {

// The label dialog's native Windows view is not part of this build; the
// library's ShowTiketFormular says the same in a message box.
int RunDesignCommand(const std::vector<std::string>&, std::ostream&, std::ostream& err) {
  err << "korval design: the label dialog is not available in this Windows build; "
         "use korval on Linux, or print with korval print\n";
  return 1;
}

}  // namespace korval::cli
