#include "storage/PrintOffsetFile.h"

#include <cmath>
#include <utility>

#include "platform/NumberFormat.h"
#include "storage/ProfileFile.h"

namespace korval {
namespace {

constexpr const char* kSection = "SETUP";
constexpr const char* kXSuffix = "_POSUN_X_MM";
constexpr const char* kYSuffix = "_POSUN_Y_MM";
// A printer moves nothing finer than a tenth of a dot at 600 dpi.
constexpr double kPrecisionMm = 0.001;

double ReadMm(const ProfileFile& file, const std::string& key) {
  const std::optional<double> value = ParseFloat(file.ReadString(kSection, key, ""));
  return value && std::isfinite(*value) ? *value : 0.0;
}

std::string WriteMm(double mm) {
  return FormatGeneral(std::round(mm / kPrecisionMm) * kPrecisionMm, '.');
}

}  // namespace

PrintOffsetFile::PrintOffsetFile(std::string fileName) : fileName_(std::move(fileName)) {}

PrintOffset PrintOffsetFile::Offset(const std::string& printer) const {
  if (printer.empty()) return {};
  const ProfileFile file(fileName_);
  return {ReadMm(file, printer + kXSuffix), ReadMm(file, printer + kYSuffix)};
}

void PrintOffsetFile::SetOffset(const std::string& printer, const PrintOffset& offset) {
  if (printer.empty()) return;
  ProfileFile file(fileName_);
  const bool none =
      std::abs(offset.XMm) < kPrecisionMm / 2 && std::abs(offset.YMm) < kPrecisionMm / 2;
  if (none) {
    if (Offset(printer) == PrintOffset{}) return;
    file.DeleteKey(kSection, printer + kXSuffix);
    file.DeleteKey(kSection, printer + kYSuffix);
    return;
  }
  file.WriteString(kSection, printer + kXSuffix, WriteMm(offset.XMm));
  file.WriteString(kSection, printer + kYSuffix, WriteMm(offset.YMm));
}

}  // namespace korval
