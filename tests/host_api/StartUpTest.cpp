#include "host_api/StartUp.h"

#include <gtest/gtest.h>
#include <korval/Version.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "dialog/Texts.h"
#include "host_api/Lcid.h"
#include "platform/CodePage.h"

namespace korval {
namespace {

namespace fs = std::filesystem;

class StartUpTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() /
           ("korval-startup-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
            "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_ / "bin");
    fs::create_directories(dir_ / "jazyky");
    exe_ = (dir_ / "bin" / "sklad.exe").string();
  }
  void TearDown() override {
    UseBuiltInTexts();
    fs::remove_all(dir_);
  }

  // Files are written in the host's code page, with CR LF lines.
  static void Write(const fs::path& path, const std::string& utf8) {
    std::ofstream out(path, std::ios::binary);
    out << Utf8ToCp1250(utf8);
  }
  void WriteConfig(const std::string& body) { Write(dir_ / "bin" / "sklad.ini", body); }
  void WriteCatalogue(const std::string& name, const std::string& version,
                      const std::string& saveQuestion) {
    Write(dir_ / "jazyky" / name, "[Version]\r\nProductVersion= " + version +
                                      " \r\n[Messages]\r\nSaveQuestion=" + saveQuestion + "\r\n");
  }
  std::string Library(const std::string& name) const { return (dir_ / "bin" / name).string(); }
  std::string Jazyky() const { return (dir_ / "jazyky").string() + "/"; }

  fs::path dir_;
  std::string exe_;
};

TEST_F(StartUpTest, ConfigurationFileReplacesOnlyTheExtensionOfTheFileName) {
  EXPECT_EQ(HostConfigFileName("D:\\A.B\\prog.exe"), "D:\\A.B\\prog.ini");
  EXPECT_EQ(HostConfigFileName("/opt/a.b/prog"), "/opt/a.b/prog.ini");
  EXPECT_EQ(HostConfigFileName("/opt/sklad/sklad.bin.exe"), "/opt/sklad/sklad.bin.ini");
  EXPECT_EQ(HostConfigFileName("C:\\Sklad\\sklad.exe"), "C:\\Sklad\\sklad.ini");
}

TEST_F(StartUpTest, FolderPartEndsAtTheLastSeparator) {
  EXPECT_EQ(FolderPart("C:\\Sklad\\jazyky\\cz.txt"), "C:\\Sklad\\jazyky\\");
  EXPECT_EQ(FolderPart("/srv/jazyky/cz.txt"), "/srv/jazyky/");
  EXPECT_EQ(FolderPart("C:cz.txt"), "C:");
  EXPECT_EQ(FolderPart("cz.txt"), "");
}

// The folder ends in the separator of the host's own path.
TEST_F(StartUpTest, FormPathDefaultsToTheExecutableFolder) {
#ifdef _WIN32
  const std::string folder = (dir_ / "bin").string() + "\\";
#else
  const std::string folder = (dir_ / "bin").string() + "/";
#endif
  EXPECT_EQ(ReadFormPath(exe_), folder);  // no configuration file
  WriteConfig("[Params]\r\nOther=1\r\n");
  EXPECT_EQ(ReadFormPath(exe_), folder);  // no key
}

TEST_F(StartUpTest, ConfiguredFormPathIsAPlainPrefix) {
  // No separator is added: the format list file becomes C:\EtiketyTiketFrm.ini.
  WriteConfig("[Params]\r\nFormPath=C:\\Etikety\r\n");
  EXPECT_EQ(ReadFormPath(exe_) + "TiketFrm.ini", "C:\\EtiketyTiketFrm.ini");
}

// A configured FormPath without its final separator: a folder gets one, a
// prefix of existing format files stays a prefix, and one that is neither is
// kept but marked for the report, once.
TEST_F(StartUpTest, FormPathWithoutItsSeparatorIsResolvedAtLoad) {
#ifdef _WIN32
  const char native = '\\';
  const char other = '/';
#else
  const char native = '/';
  const char other = '\\';
#endif
  fs::create_directories(dir_ / "etikety");
  fs::create_directories(dir_ / "Sklad");
  fs::create_directories(dir_ / "obchod");
  Write(dir_ / "obchodTiketFrm.ini", "[Saves]\r\nA=\r\n");
  Write(dir_ / "labTiketFrm.ini", "[Saves]\r\nA=\r\n");
  const std::string base = dir_.string() + native;
  std::string otherBase = base;
  std::replace(otherBase.begin(), otherBase.end(), native, other);
  struct Case {
    const char* what;
    std::string configured;
    std::string prefix;
    bool unresolved;
  };
  const Case cases[] = {
      {"a folder gets its separator", base + "etikety", base + "etikety" + native, false},
      {"with the separator the value uses", otherBase + "etikety", otherBase + "etikety" + other,
       false},
      {"a folder in another letter case", base + "SKLAD", base + "SKLAD" + native, false},
      {"a folder that prefixes format files stays a prefix", base + "obchod", base + "obchod",
       false},
      {"a prefix of format files", base + "lab", base + "lab", false},
      {"neither folder nor prefix", base + "nikde", base + "nikde", true},
      {"a separator at the end is taken as it stands", base + "nikde" + native,
       base + "nikde" + native, false},
      {"a relative folder", "etikety", std::string("etikety") + native, false},
      {"a relative prefix", std::string(".") + native + "lab", std::string(".") + native + "lab",
       false},
      {"a relative name of nothing", "nikde", "nikde", true},
  };
  const fs::path before = fs::current_path();
  fs::current_path(dir_);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    WriteConfig("[Params]\r\nFormPath=" + c.configured + "\r\n");
    HostContext host;
    StartUpLibrary(host, {exe_, Library("KORVAL.dll")});
    EXPECT_EQ(host.FormPath(), c.prefix);
    EXPECT_EQ(host.TakeUnresolvedFormPath(), c.unresolved);
    EXPECT_FALSE(host.TakeUnresolvedFormPath());
  }
  fs::current_path(before);

  // The default is the executable's folder with its separator: never reported.
  fs::remove(dir_ / "bin" / "sklad.ini");
  HostContext host;
  StartUpLibrary(host, {exe_, Library("KORVAL.dll")});
  EXPECT_EQ(host.FormPath(), (dir_ / "bin").string() + native);
  EXPECT_FALSE(host.TakeUnresolvedFormPath());
}

TEST_F(StartUpTest, LanguageCatalogueNamedFromFolderLibraryAndLocale) {
  WriteConfig("[KAVEN Params]\r\nLanguageCID=1029\r\nLanguageFile=" + Jazyky() + "cz.txt\r\n");
  WriteCatalogue("KORVALCSY.lng", KORVAL_PRODUCT_VERSION, "Save?");
  // The base name stops at the first dot of the library's file name.
  EXPECT_EQ(ChooseLanguageFile(exe_, Library("KORVAL.x.dll"), KORVAL_PRODUCT_VERSION),
            Jazyky() + "KORVALCSY.lng");
  EXPECT_EQ(ChooseLanguageFile(exe_, Library("libkorval.so.3"), KORVAL_PRODUCT_VERSION),
            std::nullopt);
}

TEST_F(StartUpTest, TwoLetterCandidateOnlyWhenTheThreeLetterOneIsMissing) {
  WriteConfig("[KAVEN Params]\r\nLanguageCID=1031\r\nLanguageFile=" + Jazyky() + "x\r\n");
  WriteCatalogue("KORVALDE.lng", KORVAL_PRODUCT_VERSION, "Speichern?");
  EXPECT_EQ(ChooseLanguageFile(exe_, Library("KORVAL.dll"), KORVAL_PRODUCT_VERSION),
            Jazyky() + "KORVALDE.lng");

  // A three-letter file of another version wins the lookup and is refused;
  // the good two-letter file is then not tried.
  WriteCatalogue("KORVALDEU.lng", "0.9", "Alt?");
  EXPECT_EQ(ChooseLanguageFile(exe_, Library("KORVAL.dll"), KORVAL_PRODUCT_VERSION), std::nullopt);
}

TEST_F(StartUpTest, VersionsCompareTrimmedAndCaseSensitive) {
  WriteConfig("[KAVEN Params]\r\nLanguageCID=2057\r\nLanguageFile=" + Jazyky() + "x\r\n");
  WriteCatalogue("KORVALENG.lng", "3.1.0-Beta", "Save?");
  EXPECT_TRUE(ChooseLanguageFile(exe_, Library("KORVAL.dll"), "  3.1.0-Beta ").has_value());
  EXPECT_FALSE(ChooseLanguageFile(exe_, Library("KORVAL.dll"), "3.1.0-beta").has_value());
}

TEST_F(StartUpTest, NoConfigurationOrUnknownLocaleMeansBuiltInTexts) {
  WriteCatalogue("KORVALCSY.lng", KORVAL_PRODUCT_VERSION, "Save?");
  EXPECT_FALSE(ChooseLanguageFile(exe_, Library("KORVAL.dll"), KORVAL_PRODUCT_VERSION));
  WriteConfig("[KAVEN Params]\r\nLanguageCID=99999\r\nLanguageFile=" + Jazyky() + "x\r\n");
  EXPECT_FALSE(ChooseLanguageFile(exe_, Library("KORVAL.dll"), KORVAL_PRODUCT_VERSION));
}

TEST_F(StartUpTest, LanguageFileWithoutFolderIsLookedForInTheCurrentFolder) {
  WriteConfig("[KAVEN Params]\r\nLanguageFile=cz.txt\r\n");  // CID defaults to Czech
  WriteCatalogue("KORVALCSY.lng", KORVAL_PRODUCT_VERSION, "Save?");
  const fs::path before = fs::current_path();
  fs::current_path(dir_ / "jazyky");
  const auto chosen = ChooseLanguageFile(exe_, Library("KORVAL.dll"), KORVAL_PRODUCT_VERSION);
  fs::current_path(before);
  ASSERT_TRUE(chosen.has_value());
  EXPECT_EQ(fs::path(*chosen).filename(), "KORVALCSY.lng");
}

TEST_F(StartUpTest, LoadedCatalogueReplacesTheBuiltInTextsUntilUnload) {
  WriteConfig(
      "[Params]\r\nFormPath=/data/etikety/\r\n[KAVEN Params]\r\nLanguageCID=2057\r\n"
      "LanguageFile=" +
      Jazyky() + "en.txt\r\n");
  WriteCatalogue("KORVALENG.lng", KORVAL_PRODUCT_VERSION,
                 "Save the label into the list?\\r\\nSure?");
  HostContext host;
  StartUpLibrary(host, {exe_, Library("KORVAL.dll")});
  EXPECT_EQ(host.FormPath(), "/data/etikety/");
  EXPECT_EQ(MessageText("SaveQuestion", "Chcete uložit ?"),
            "Save the label into the list?\r\nSure?");
  EXPECT_EQ(MessageText("Other", "Jiná"), "Jiná");
  ShutDownLibrary(host);
  EXPECT_EQ(MessageText("SaveQuestion", "Chcete uložit ?"), "Chcete uložit ?");
  EXPECT_EQ(host.FormPath(), "");
}

TEST_F(StartUpTest, ControlTextsAreKeyedByFormControlAndProperty) {
  Write(dir_ / "jazyky" / "t.lng",
        "[Version]\r\nProductVersion=1\r\n[TfrmMain]\r\nbbtnCancel.Caption=&Zavřít\r\n");
  auto catalogue = LanguageCatalogue::Load((dir_ / "jazyky" / "t.lng").string());
  ASSERT_TRUE(catalogue.has_value());
  UseLanguageCatalogue(std::move(*catalogue));
  EXPECT_EQ(ControlText("TfrmMain", "bbtnCancel", "Caption", "&Zrušit"), "&Zavřít");
  EXPECT_EQ(ControlText("tfrmmain", "BBTNCANCEL", "caption", "&Zrušit"), "&Zavřít");
  EXPECT_EQ(ControlText("TfrmMain", "bbtnCancel", "Hint", ""), "");
  EXPECT_EQ(ControlText("TfrmSaves", "bbtnCancel", "Caption", "x"), "x");
}

TEST(LcidTest, CommonEuropeanLocales) {
  EXPECT_EQ(LanguageAbbreviation(1029), "CSY");
  EXPECT_EQ(LanguageAbbreviation(1051), "SKY");
  EXPECT_EQ(LanguageAbbreviation(1033), "ENU");
  EXPECT_EQ(LanguageAbbreviation(1031), "DEU");
  EXPECT_EQ(LanguageAbbreviation(1045), "PLK");
  EXPECT_EQ(LanguageAbbreviation(1038), "HUN");
  EXPECT_EQ(LanguageAbbreviation(2057), "ENG");
  EXPECT_EQ(LanguageAbbreviation(0), "");
}

// The identifiers Windows has beyond Europe's, with the names it reports.
TEST(LcidTest, LocalesOfWindowsBeyondEurope) {
  const std::pair<std::int32_t, const char*> cases[] = {
      {1037, "HEB"}, {1054, "THA"}, {1057, "IND"}, {1066, "VIT"}, {2077, "SVF"}, {1086, "MSL"},
      {1025, "ARA"}, {1065, "FAR"}, {1081, "HIN"}, {1123, "PAS"}, {3076, "ZHH"}, {1087, "KKZ"},
  };
  for (const auto& [lcid, abbreviation] : cases) {
    EXPECT_EQ(LanguageAbbreviation(lcid), abbreviation) << lcid;
  }
}

// The catalogue is read in one pass with the rules of the profile functions:
// the first of sections and of keys of the same name, comments and text
// before the first section left out, quotes around a value dropped.
TEST_F(StartUpTest, CatalogueReadInOnePassAsTheProfileFunctionsReadIt) {
  Write(dir_ / "jazyky" / "t.lng",
        "Key=before any section\r\n"
        "[Messages]\r\n"
        "; SaveQuestion=comment\r\n"
        "  SaveQuestion = \"  Save ?  \"  \r\n"
        "SAVEQUESTION=second\r\n"
        "Empty=\r\n"
        "[Version]\r\nProductVersion=1\r\n"
        "[messages]\r\nOther=later section\r\n"
        "[TfrmMain]\nbbtnOk.Caption=&Ok\rbbtnCancel.Caption=Zavřít\r\n");
  const auto catalogue = LanguageCatalogue::Load((dir_ / "jazyky" / "t.lng").string());
  ASSERT_TRUE(catalogue.has_value());
  EXPECT_EQ(catalogue->Find("Messages", "SaveQuestion"), "  Save ?  ");
  EXPECT_EQ(catalogue->Find("Messages", "Empty"), "");
  EXPECT_EQ(catalogue->Find("Messages", "Other"), std::nullopt);
  EXPECT_EQ(catalogue->Find("Messages", "Key"), std::nullopt);
  EXPECT_EQ(catalogue->Find("Version", "ProductVersion"), std::nullopt);
  EXPECT_EQ(catalogue->Find("TfrmMain", "bbtnOk.Caption"), "&Ok");
  EXPECT_EQ(catalogue->Find("TfrmMain", "bbtnCancel.Caption"), "Zavřít");
  EXPECT_EQ(LanguageCatalogue::Load((dir_ / "none.lng").string()), std::nullopt);
}

}  // namespace
}  // namespace korval
