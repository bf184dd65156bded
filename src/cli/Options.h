#pragma once

#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace korval::cli {

class UsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// "--name value" options of one command; flags without a value are listed in
// the command's flag set.
class Options {
 public:
  Options(const std::vector<std::string>& args, const std::vector<std::string>& valueOptions,
          const std::vector<std::string>& flags);

  std::optional<std::string> Get(const std::string& name) const;
  std::string Require(const std::string& name) const;
  bool Has(const std::string& name) const { return values_.count(name) != 0; }

 private:
  std::map<std::string, std::string> values_;
};

}  // namespace korval::cli
