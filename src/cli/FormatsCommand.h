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

// Refuses (UsageError) a format name that the folder has not stored, with
// the names it has.
void RequireStoredFormat(const std::string& prefix, const std::string& format);

}  // namespace korval::cli
