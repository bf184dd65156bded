#include "host_api/Lcid.h"

#include <algorithm>
#include <array>
#include <utility>

namespace korval {
namespace {

// The European locales and the common others, with the abbreviations that
// Windows reports for them.
constexpr std::array<std::pair<std::int32_t, const char*>, 52> kLocales = {{
    {1026, "BGR"}, {1027, "CAT"}, {1028, "CHT"}, {1029, "CSY"}, {1030, "DAN"}, {1031, "DEU"},
    {1032, "ELL"}, {1033, "ENU"}, {1034, "ESP"}, {1035, "FIN"}, {1036, "FRA"}, {1038, "HUN"},
    {1039, "ISL"}, {1040, "ITA"}, {1041, "JPN"}, {1042, "KOR"}, {1043, "NLD"}, {1044, "NOR"},
    {1045, "PLK"}, {1046, "PTB"}, {1048, "ROM"}, {1049, "RUS"}, {1050, "HRV"}, {1051, "SKY"},
    {1052, "SQI"}, {1053, "SVE"}, {1055, "TRK"}, {1058, "UKR"}, {1059, "BEL"}, {1060, "SLV"},
    {1061, "ETI"}, {1062, "LVI"}, {1063, "LTH"}, {1071, "MKI"}, {2052, "CHS"}, {2055, "DES"},
    {2057, "ENG"}, {2058, "ESM"}, {2060, "FRB"}, {2067, "NLB"}, {2068, "NON"}, {2070, "PTG"},
    {2074, "SRL"}, {3079, "DEA"}, {3081, "ENA"}, {3082, "ESN"}, {3084, "FRC"}, {3098, "SRB"},
    {4103, "DEL"}, {4105, "ENC"}, {4108, "FRS"}, {5127, "DEC"},
}};

}  // namespace

std::string LanguageAbbreviation(std::int32_t lcid) {
  const auto it = std::find_if(kLocales.begin(), kLocales.end(),
                               [lcid](const auto& entry) { return entry.first == lcid; });
  return it == kLocales.end() ? std::string() : std::string(it->second);
}

}  // namespace korval
