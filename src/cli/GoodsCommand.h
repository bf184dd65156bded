#pragma once

#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace korval::cli {

// `korval goods --goods FILE [--encoding utf-8|cp1250]`: hands the goods to
// the library as a host would and lists what the library reads back.
enum class TextEncoding;
struct GoodsFile;
class Options;

// The encoding named by --encoding; without one, the file tells.
TextEncoding ParseEncoding(const std::optional<std::string>& name);

// The goods of --goods as every command reads them. A file that is not
// UTF-8, read without --encoding, is taken as Windows-1250, and that is said
// once on err. With checkBarcodes, every goods item whose EAN will not give
// a barcode that scans is named on err, once, with the reason: the label
// still prints it as it stands.
GoodsFile LoadGoods(const Options& options, const std::string& command, std::ostream& err,
                    bool checkBarcodes);

int RunGoodsCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace korval::cli
