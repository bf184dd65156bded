#include "cli/GoodsCommand.h"

#include "barcode/ScanCheck.h"
#include "cli/GoodsFile.h"
#include "cli/Options.h"
#include "host_api/GoodsRecord.h"
#include "host_api/HostApi.h"
#include "platform/LocaleInfo.h"
#include "platform/NumberFormat.h"
#include "platform/Text.h"

namespace korval::cli {

TextEncoding ParseEncoding(const std::optional<std::string>& name) {
  if (!name) return TextEncoding::Detect;
  if (SameText(*name, "utf-8") || SameText(*name, "utf8")) return TextEncoding::Utf8;
  if (SameText(*name, "cp1250") || SameText(*name, "windows-1250")) return TextEncoding::Cp1250;
  throw UsageError("unknown encoding " + *name + " (utf-8 or cp1250)");
}

GoodsFile LoadGoods(const Options& options, const std::string& command, std::ostream& err,
                    bool checkBarcodes) {
  const std::string path = options.Require("--goods");
  GoodsFile goods = ReadGoods(path, ParseEncoding(options.Get("--encoding")));
  if (goods.DetectedCp1250) {
    err << "korval " << command << ": " << path
        << " is not UTF-8; read as Windows-1250 (--encoding names it)\n";
  }
  if (!checkBarcodes) return goods;
  const ExtensionTable extensions(goods.ExtensionTable.data(), goods.ExtensionTable.size());
  for (std::size_t i = 0; i < goods.Records.size(); ++i) {
    const std::string code = TrimControl(GoodsRecord(goods.Records[i], extensions).EAN());
    if (const auto problem = WhyBarcodeWillNotScan(code)) {
      err << "korval " << command << ": " << (goods.FromRecords ? "record " : "row ")
          << goods.Rows[i] << ": EAN \"" << code << "\" will not scan: " << *problem << "\n";
    }
  }
  return goods;
}

int RunGoodsCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  const Options options(args, {"--goods", "--encoding"}, {});
  const GoodsFile goods = LoadGoods(options, "goods", err, true);

  HostContext& host = Host();
  host.SetExtensions(goods.ExtensionTable.data(),
                     static_cast<std::int32_t>(goods.ExtensionTable.size()));
  const std::int32_t result = host.SetParamsCopy(
      goods.Records.data(), static_cast<std::int32_t>(goods.Records.size()), nullptr, -1);
  if (result != 0) {
    err << "korval goods: the library refused the records (result " << result << ")\n";
    return 1;
  }

  const char separator = SystemLocale().DecimalSeparator();
  const auto price = [&](double value) {
    return FormatFloatMask(value, "###########0.00", separator);
  };
  out << host.GoodsCount() << " goods items\n";
  for (int i = 0; i < host.GoodsCount(); ++i) {
    const GoodsRecord record = *host.Goods(i);
    out << FormatText("%3d. %s %s EAN %s %10s incl. VAT  %ux\n", i + 1,
                      PadRight(record.Nazev(), 36).c_str(), PadRight(record.Cislo(), 12).c_str(),
                      PadRight(record.EAN(), 13).c_str(), price(record.CenaAsDPH()).c_str(),
                      static_cast<unsigned>(record.Pocet()));
  }
  return 0;
}

}  // namespace korval::cli
