#include "cli/GoodsFile.h"

#include <gtest/gtest.h>

#include <sstream>

#include "cli/GoodsCommand.h"
#include "host_api/GoodsRecord.h"
#include "platform/CodePage.h"

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
  const int status = RunGoodsCommand({"--goods", KORVAL_SOURCE_DIR "/examples/goods.csv"}, out);
  EXPECT_EQ(status, 0);
  EXPECT_NE(out.str().find("6 goods items"), std::string::npos);
  EXPECT_NE(out.str().find("Žluťoučký kůň"), std::string::npos);
  EXPECT_NE(out.str().find("8594001001019"), std::string::npos);
}

}  // namespace
}  // namespace korval::cli
