#include "cli/Options.h"

#include <algorithm>

namespace korval::cli {

Options::Options(const std::vector<std::string>& args, const std::vector<std::string>& valueOptions,
                 const std::vector<std::string>& flags) {
  const auto known = [](const std::vector<std::string>& list, const std::string& name) {
    return std::find(list.begin(), list.end(), name) != list.end();
  };
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (known(flags, arg)) {
      values_[arg] = "";
    } else if (known(valueOptions, arg)) {
      if (i + 1 >= args.size()) throw UsageError(arg + " needs a value");
      values_[arg] = args[++i];
    } else {
      throw UsageError("unknown option " + arg);
    }
  }
}

std::optional<std::string> Options::Get(const std::string& name) const {
  const auto it = values_.find(name);
  if (it == values_.end()) return std::nullopt;
  return it->second;
}

std::string Options::Require(const std::string& name) const {
  const auto value = Get(name);
  if (!value) throw UsageError(name + " is required");
  return *value;
}

}  // namespace korval::cli
