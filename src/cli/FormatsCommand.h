#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace korval::cli {

// `korval formats --forms DIR`: the stored label formats of a folder, with
// their index, state file and the default mark.
int RunFormatsCommand(const std::vector<std::string>& args, std::ostream& out);

// The folder prefix as the library uses it: a separator at the end.
std::string FormsPrefix(const std::string& folder);

}  // namespace korval::cli
