#include "host_api/Lcid.h"

#include <algorithm>
#include <iterator>
#include <utility>

namespace korval {
namespace {

// The locale identifiers of Windows with the abbreviated language names it
// reports for them (LOCALE_SABBREVLANGNAME), in the order of the identifiers.
constexpr std::pair<std::int32_t, const char*> kLocales[] = {
    {1025, "ARA"},  {1026, "BGR"},  {1027, "CAT"},  {1028, "CHT"},  {1029, "CSY"},  {1030, "DAN"},
    {1031, "DEU"},  {1032, "ELL"},  {1033, "ENU"},  {1034, "ESP"},  {1035, "FIN"},  {1036, "FRA"},
    {1037, "HEB"},  {1038, "HUN"},  {1039, "ISL"},  {1040, "ITA"},  {1041, "JPN"},  {1042, "KOR"},
    {1043, "NLD"},  {1044, "NOR"},  {1045, "PLK"},  {1046, "PTB"},  {1047, "RMC"},  {1048, "ROM"},
    {1049, "RUS"},  {1050, "HRV"},  {1051, "SKY"},  {1052, "SQI"},  {1053, "SVE"},  {1054, "THA"},
    {1055, "TRK"},  {1056, "URD"},  {1057, "IND"},  {1058, "UKR"},  {1059, "BEL"},  {1060, "SLV"},
    {1061, "ETI"},  {1062, "LVI"},  {1063, "LTH"},  {1064, "TAJ"},  {1065, "FAR"},  {1066, "VIT"},
    {1067, "HYE"},  {1068, "AZE"},  {1069, "EUQ"},  {1070, "HSB"},  {1071, "MKI"},  {1074, "TSN"},
    {1076, "XHO"},  {1077, "ZUL"},  {1078, "AFK"},  {1079, "KAT"},  {1080, "FOS"},  {1081, "HIN"},
    {1082, "MLT"},  {1083, "SME"},  {1086, "MSL"},  {1087, "KKZ"},  {1088, "KYR"},  {1089, "SWK"},
    {1090, "TUK"},  {1091, "UZB"},  {1092, "TTT"},  {1093, "BNG"},  {1094, "PAN"},  {1095, "GUJ"},
    {1096, "ORI"},  {1097, "TAM"},  {1098, "TEL"},  {1099, "KDI"},  {1100, "MYM"},  {1101, "ASM"},
    {1102, "MAR"},  {1103, "SAN"},  {1104, "MNN"},  {1105, "BOB"},  {1106, "CYM"},  {1107, "KHM"},
    {1108, "LAO"},  {1110, "GLC"},  {1111, "KNK"},  {1114, "SYR"},  {1115, "SIN"},  {1117, "IUK"},
    {1118, "AMH"},  {1121, "NEP"},  {1122, "FYN"},  {1123, "PAS"},  {1124, "FPO"},  {1125, "DIV"},
    {1128, "HAU"},  {1130, "YOR"},  {1131, "QUB"},  {1132, "NSO"},  {1133, "BAS"},  {1134, "LBX"},
    {1135, "KAL"},  {1136, "IBO"},  {1144, "III"},  {1146, "MPD"},  {1148, "MWK"},  {1150, "BRE"},
    {1152, "UIG"},  {1153, "MRI"},  {1154, "OCI"},  {1155, "COS"},  {1156, "GSW"},  {1157, "SAH"},
    {1158, "QUT"},  {1159, "KIN"},  {1160, "WOL"},  {1164, "PRS"},  {2049, "ARI"},  {2052, "CHS"},
    {2055, "DES"},  {2057, "ENG"},  {2058, "ESM"},  {2060, "FRB"},  {2064, "ITS"},  {2067, "NLB"},
    {2068, "NON"},  {2070, "PTG"},  {2074, "SRL"},  {2077, "SVF"},  {2092, "AZC"},  {2094, "DSB"},
    {2107, "SMG"},  {2108, "IRE"},  {2110, "MSB"},  {2115, "UZC"},  {2117, "BNB"},  {2128, "MNG"},
    {2141, "IUS"},  {2143, "TZA"},  {2155, "QUE"},  {3073, "ARE"},  {3076, "ZHH"},  {3079, "DEA"},
    {3081, "ENA"},  {3082, "ESN"},  {3084, "FRC"},  {3098, "SRB"},  {3131, "SMF"},  {3179, "QUP"},
    {4097, "ARL"},  {4100, "ZHI"},  {4103, "DEL"},  {4105, "ENC"},  {4106, "ESG"},  {4108, "FRS"},
    {4122, "HRB"},  {4155, "SMJ"},  {5121, "ARG"},  {5124, "ZHM"},  {5127, "DEC"},  {5129, "ENZ"},
    {5130, "ESC"},  {5132, "FRL"},  {5146, "BSB"},  {5179, "SMK"},  {6145, "ARM"},  {6153, "ENI"},
    {6154, "ESA"},  {6156, "FRM"},  {6203, "SMA"},  {7169, "ART"},  {7177, "ENS"},  {7178, "ESD"},
    {7194, "SRO"},  {7227, "SMB"},  {8193, "ARO"},  {8201, "ENJ"},  {8202, "ESV"},  {8218, "BSC"},
    {9217, "ARY"},  {9225, "ENB"},  {9226, "ESO"},  {10241, "ARS"}, {10249, "ENL"}, {10250, "ESR"},
    {11265, "ARJ"}, {11273, "ENT"}, {11274, "ESS"}, {12289, "ARB"}, {12297, "ENW"}, {12298, "ESF"},
    {13313, "ARK"}, {13321, "ENP"}, {13322, "ESL"}, {14337, "ARU"}, {14346, "ESY"}, {15361, "ARH"},
    {15370, "ESZ"}, {16385, "ARQ"}, {16394, "ESB"}, {17418, "ESE"}, {18442, "ESH"}, {19466, "ESI"},
    {20490, "ESU"}, {21514, "EST"},
};

}  // namespace

std::string LanguageAbbreviation(std::int32_t lcid) {
  const auto it = std::find_if(std::begin(kLocales), std::end(kLocales),
                               [lcid](const auto& entry) { return entry.first == lcid; });
  return it == std::end(kLocales) ? std::string() : std::string(it->second);
}

}  // namespace korval
