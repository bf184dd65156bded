#pragma once

#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace korval::cli {

// `korval goods --goods FILE [--encoding utf-8|cp1250]`: hands the goods to
// the library as a host would and lists what the library reads back.
enum class TextEncoding;
TextEncoding ParseEncoding(const std::optional<std::string>& name);

int RunGoodsCommand(const std::vector<std::string>& args, std::ostream& out);

}  // namespace korval::cli
