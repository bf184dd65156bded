#include "cli/GoodsFile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "cli/GoodsCommand.h"
#include "host_api/GoodsRecord.h"
#include "platform/CodePage.h"
#include "storage/ProfileTestFolder.h"

namespace korval::cli {
namespace {

GoodsRecord First(const GoodsFile& goods) {
  return GoodsRecord(goods.Records.at(0),
                     ExtensionTable(goods.ExtensionTable.data(), goods.ExtensionTable.size()));
}

std::string ErrorOf(const std::string& csv, TextEncoding encoding = TextEncoding::Utf8) {
  try {
    ParseGoodsCsv(csv, encoding);
  } catch (const GoodsFileError& e) {
    return e.what();
  }
  return "no error";
}

TEST(GoodsFileTest, FieldsByHeaderNameWithEitherDecimalMark) {
  const GoodsFile goods = ParseGoodsCsv(
      "Nazev;CenaA;cenaasdph;EAN;Pocet\r\n"
      "Sýr Eidam;129,75;149.21;8594001001019;3\r\n"
      "\"Chléb; kmínový\";42;48,3;;\r\n",
      TextEncoding::Utf8);
  ASSERT_EQ(goods.Records.size(), 2u);
  const GoodsRecord first = First(goods);
  EXPECT_EQ(first.Size(), 494);
  EXPECT_EQ(first.Nazev(), "Sýr Eidam");
  EXPECT_DOUBLE_EQ(first.CenaA(), 129.75);
  EXPECT_DOUBLE_EQ(first.CenaAsDPH(), 149.21);
  EXPECT_EQ(first.EAN(), "8594001001019");
  EXPECT_EQ(first.Pocet(), 3);
  const GoodsRecord second(goods.Records[1], {});
  EXPECT_EQ(second.Nazev(), "Chléb; kmínový");
  EXPECT_EQ(second.Pocet(), 1);  // an empty count asks for one label
  // Texts are stored in the host's code page.
  EXPECT_EQ(goods.Records[0].Nazev[0], 9);
}

TEST(GoodsFileTest, Windows1250InputAndCommaSeparatedFiles) {
  const std::string csv = Utf8ToCp1250("Nazev,Cislo,CenaA\nŠunka,\"ŠUN-1\",\"12,5\"\n");
  const GoodsFile goods = ParseGoodsCsv(csv, TextEncoding::Cp1250);
  ASSERT_EQ(goods.Records.size(), 1u);
  EXPECT_EQ(First(goods).Nazev(), "Šunka");
  EXPECT_EQ(First(goods).Cislo(), "ŠUN-1");
  EXPECT_DOUBLE_EQ(First(goods).CenaA(), 12.5);
}

TEST(GoodsFileTest, ExtensionBlockFromItsColumns) {
  const GoodsFile goods = ParseGoodsCsv(
      "Nazev;CenaZaJednotku;Ingredience\nA;%TEXT1% za kg;mouka, voda\nB;;\n", TextEncoding::Utf8);
  ASSERT_EQ(goods.ExtensionTable.size(), 1u);
  EXPECT_EQ(First(goods).CenaZaJednotku(), "%TEXT1% za kg");
  EXPECT_EQ(First(goods).Ingredience().value_or("-"), "mouka, voda");
  const GoodsRecord second(goods.Records[1], ExtensionTable(goods.ExtensionTable.data(), 1));
  EXPECT_EQ(second.Extension(), nullptr);
}

TEST(GoodsFileTest, BadInputNamesRowAndColumn) {
  EXPECT_EQ(ErrorOf("Nazev;Cena\nA;1\n"), "row 1, column \"Cena\": not a field of a goods record");
  EXPECT_NE(ErrorOf("Nazev;CenaA\nA;1\nB;dvanáct\n").find("row 3, column CenaA"),
            std::string::npos);
  EXPECT_NE(ErrorOf("Jednotka\nkilogram\n").find("row 2, column Jednotka"), std::string::npos);
  EXPECT_NE(ErrorOf("Nazev;Pocet\nA;-1\n").find("row 2, column Pocet"), std::string::npos);
  EXPECT_NE(ErrorOf("Nazev;Pocet\nA;70000\n").find("row 2, column Pocet"), std::string::npos);
  EXPECT_NE(ErrorOf("Nazev;Cislo\nA;B;C\n").find("row 2: 3 values for 2 columns"),
            std::string::npos);
  // A character Windows-1250 cannot hold would be lost: an error, not a "?".
  EXPECT_NE(ErrorOf("Nazev\nЖ\n").find("row 2, column Nazev"), std::string::npos);
  EXPECT_NE(ErrorOf("").find("no header"), std::string::npos);
}

TEST(GoodsFileTest, LongestValuesThatFitAreKeptWhole) {
  const std::string fifty(50, 'n');
  const GoodsFile goods =
      ParseGoodsCsv("Nazev;Jednotka\n" + fifty + ";ěščřž\n", TextEncoding::Utf8);
  EXPECT_EQ(First(goods).Nazev(), fifty);
  EXPECT_EQ(First(goods).Jednotka(), "ěščřž");  // five characters, ten UTF-8 bytes
  EXPECT_NE(ErrorOf("Nazev\n" + fifty + "x\n").find("longer than the 50"), std::string::npos);
}

TEST(GoodsFileTest, BundledExamplesListThroughTheHostContext) {
  std::ostringstream out;
  std::ostringstream err;
  const int status =
      RunGoodsCommand({"--goods", KORVAL_SOURCE_DIR "/examples/goods.csv"}, out, err);
  EXPECT_EQ(status, 0);
  EXPECT_EQ(err.str(), "");
  EXPECT_NE(out.str().find("6 goods items"), std::string::npos);
  EXPECT_NE(out.str().find("Žluťoučký kůň"), std::string::npos);
  EXPECT_NE(out.str().find("8594001001019"), std::string::npos);
}

// A folder is no goods file, whatever its name says: before, it read as a
// list of no goods at all.
TEST(GoodsFileTest, AFolderIsAnErrorNotAnEmptyList) {
  test::TempFolder folder;
  for (const std::string name : {"zbozi", "zbozi.csv"}) {
    const std::string path = folder.File(name);
    std::filesystem::create_directory(path);
    try {
      ReadGoods(path, TextEncoding::Detect);
      ADD_FAILURE() << name << " was read as goods";
    } catch (const GoodsFileError& e) {
      EXPECT_EQ(std::string(e.what()), path + " is a folder, not a goods file");
    }
    std::ostringstream out;
    std::ostringstream err;
    EXPECT_THROW(RunGoodsCommand({"--goods", path}, out, err), GoodsFileError);
    EXPECT_EQ(out.str(), "");
  }
}

// A file that is not UTF-8 is the Windows host's own export, in
// Windows-1250; without --encoding it is read so, and that is said once.
TEST(GoodsFileTest, AFileThatIsNotUtf8IsReadAsWindows1250AndSaidOnce) {
  test::TempFolder folder;
  const std::string cp1250 = folder.File("stare.csv");
  test::WriteBytes(cp1250, Utf8ToCp1250("Nazev;Cislo\nŠunka;ŠUN-1\nŽluťoučký kůň;KUN-2\n"));
  const std::string utf8 = folder.File("nove.csv");
  test::WriteBytes(utf8, "Nazev;Cislo\nŠunka;ŠUN-1\n");

  std::ostringstream out;
  std::ostringstream err;
  ASSERT_EQ(RunGoodsCommand({"--goods", cp1250}, out, err), 0);
  EXPECT_NE(out.str().find("Žluťoučký kůň"), std::string::npos) << out.str();
  EXPECT_EQ(err.str(), "korval goods: " + cp1250 +
                           " is not UTF-8; read as Windows-1250 (--encoding names it)\n");

  // Named, or UTF-8 indeed: nothing to say.
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{"--goods", cp1250, "--encoding", "cp1250"},
        std::vector<std::string>{"--goods", utf8}}) {
    std::ostringstream quietOut;
    std::ostringstream quiet;
    ASSERT_EQ(RunGoodsCommand(args, quietOut, quiet), 0);
    EXPECT_NE(quietOut.str().find("Šunka"), std::string::npos) << quietOut.str();
    EXPECT_EQ(quiet.str(), "");
  }
  // Bytes that only look like UTF-8 lead bytes are not taken for it.
  EXPECT_TRUE(ReadGoods(cp1250, TextEncoding::Detect).DetectedCp1250);
  EXPECT_FALSE(ReadGoods(utf8, TextEncoding::Detect).DetectedCp1250);
  EXPECT_TRUE(ParseGoodsCsv("Nazev\n\xC0\xAF\n", TextEncoding::Detect).DetectedCp1250);
  EXPECT_TRUE(ParseGoodsCsv("Nazev\n\xED\xA0\x80\n", TextEncoding::Detect).DetectedCp1250);
  EXPECT_TRUE(ParseGoodsCsv("Nazev\nA\xC5", TextEncoding::Detect).DetectedCp1250);
}

// Codes that will not scan are named once per goods row, with the row, the
// code and the reason; the goods are still read as they stand.
TEST(GoodsFileTest, EveryRowWhoseBarcodeWillNotScanIsNamedOnce) {
  test::TempFolder folder;
  const std::string file = folder.File("zbozi.csv");
  test::WriteBytes(file,
                   "Nazev;EAN;Pocet\n"
                   "Dobrý;5901234123457;3\n"
                   "Špatná kontrola;5901234123458;3\n"
                   "UPC-E;881613;3\n"
                   "Písmena;ABC123;3\n"
                   "Bez kódu;;3\n");
  std::ostringstream out;
  std::ostringstream err;
  ASSERT_EQ(RunGoodsCommand({"--goods", file}, out, err), 0);
  EXPECT_NE(out.str().find("5 goods items"), std::string::npos);
  EXPECT_EQ(err.str(),
            "korval goods: row 3: EAN \"5901234123458\" will not scan: EAN-13 check digit is 8, "
            "the digits before it call for 7\n"
            "korval goods: row 4: EAN \"881613\" will not scan: UPC-E: a UPC-E number ending in "
            "3 needs a third digit of 3 to 9\n"
            "korval goods: row 5: EAN \"ABC123\" will not scan: UPC-E: character 1 of the code "
            "is not a digit; the label shows no barcode\n");
}

}  // namespace
}  // namespace korval::cli
