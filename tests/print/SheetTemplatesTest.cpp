#include "print/SheetTemplates.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <tuple>

#include "platform/Text.h"

namespace korval {
namespace {

const std::string kShippedCatalogue =
    std::string(KORVAL_SOURCE_DIR) + "/data/sheets/label-sheets.txt";

const SheetTemplates& Shipped() {
  static const SheetTemplates catalogue = SheetTemplates::Load(kShippedCatalogue);
  return catalogue;
}

// Two makers selling "X1" on different layouts, and one of them a second
// code on the first layout.
constexpr const char* kSmall =
    "# a comment\r\n"
    "\r\n"
    "A4|63.5|38.1|3|7|21|7.25|15.15|66.04|38.1|Avery:L7160;Avery:X1|Address labels\r\n"
    "Letter|66.68|25.4|3|10|30|4.76|12.7|69.85|25.4|Other Maker:X1;Other Maker:5160 A|Mail\n";

// Rounding the makers' numbers leaves overlaps and overhangs below this.
constexpr double kRounding = 0.1 + 1e-9;

TEST(SheetTemplatesTest, TheShippedCatalogueHoldsSheetsThatFitTheirPaper) {
  const SheetTemplates& catalogue = Shipped();
  std::map<std::string, int> perPaper;
  for (const SheetTemplate& sheet : catalogue.All()) {
    SCOPED_TRACE(sheet.Name());
    ++perPaper[sheet.Paper];
    ASSERT_FALSE(sheet.Codes.empty());
    EXPECT_GE(sheet.Cols, 1);
    EXPECT_GE(sheet.Rows, 1);
    EXPECT_GT(sheet.LabelWidthMm, 0);
    EXPECT_GT(sheet.LabelHeightMm, 0);
    EXPECT_GE(sheet.GapXMm(), 0);
    EXPECT_GE(sheet.GapYMm(), 0);
    const double right = sheet.LeftMm + (sheet.Cols - 1) * sheet.PitchXMm + sheet.LabelWidthMm;
    const double bottom = sheet.TopMm + (sheet.Rows - 1) * sheet.PitchYMm + sheet.LabelHeightMm;
    EXPECT_LE(right, sheet.PaperWidthMm + kRounding);
    EXPECT_LE(bottom, sheet.PaperHeightMm + kRounding);
  }
  // Both papers are there, and many sheets of each.
  EXPECT_GT(perPaper["A4"], 100);
  EXPECT_GT(perPaper["Letter"], 100);
  EXPECT_EQ(perPaper.size(), 2u);
}

TEST(SheetTemplatesTest, TheShippedCatalogueStoresEachLayoutAndEachCodeOnce) {
  std::set<std::tuple<std::string, double, double, int, int, double, double, double, double>>
      layouts;
  std::set<std::string> codes;
  for (const SheetTemplate& sheet : Shipped().All()) {
    EXPECT_TRUE(layouts
                    .insert({sheet.Paper, sheet.LabelWidthMm, sheet.LabelHeightMm, sheet.Cols,
                             sheet.Rows, sheet.LeftMm, sheet.TopMm, sheet.PitchXMm, sheet.PitchYMm})
                    .second)
        << sheet.Name();
    for (const SheetTemplate::Code& code : sheet.Codes)
      EXPECT_TRUE(codes.insert(UpperCase(code.Maker + ":" + code.Name)).second)
          << code.Maker << ":" << code.Name;
  }
}

// Every code of every layout leads back to its layout, whichever way it is
// written; a bare code that other makers use too names all of them.
TEST(SheetTemplatesTest, EveryShippedCodeIsFoundByMakerAndCodeAndAlone) {
  const SheetTemplates& catalogue = Shipped();
  for (const SheetTemplate& sheet : catalogue.All()) {
    for (const SheetTemplate::Code& code : sheet.Codes) {
      SCOPED_TRACE(code.Maker + ":" + code.Name);
      for (const std::string& text : {code.Maker + ":" + code.Name, code.Maker + " " + code.Name,
                                      UpperCase(code.Maker + " " + code.Name)}) {
        const SheetLookup found = catalogue.Find(text);
        EXPECT_EQ(found.Found, &sheet) << text;
      }
      const SheetLookup bare = catalogue.Find(code.Name);
      if (bare.Found) {
        EXPECT_EQ(bare.Found, &sheet);
      } else {
        EXPECT_GE(bare.Candidates.size(), 2u);
        EXPECT_NE(std::find(bare.Candidates.begin(), bare.Candidates.end(), &sheet),
                  bare.Candidates.end());
      }
    }
  }
  const SheetLookup l7160 = catalogue.Find("l7160");
  ASSERT_NE(l7160.Found, nullptr);
  EXPECT_EQ(l7160.Found->Paper, "A4");
  EXPECT_EQ(l7160.Found->Count(), 21);
}

TEST(SheetTemplatesTest, ALineGivesEveryNumberOfTheSheet) {
  const SheetTemplates catalogue = SheetTemplates::Parse(kSmall);
  ASSERT_EQ(catalogue.All().size(), 2u);
  const SheetTemplate& a4 = catalogue.All()[0];
  EXPECT_EQ(a4.Name(), "Avery L7160");
  EXPECT_EQ(a4.Codes, (std::vector<SheetTemplate::Code>{{"Avery", "L7160"}, {"Avery", "X1"}}));
  EXPECT_EQ(a4.Description, "Address labels");
  EXPECT_EQ(a4.Paper, "A4");
  EXPECT_DOUBLE_EQ(a4.PaperWidthMm, 210);
  EXPECT_DOUBLE_EQ(a4.PaperHeightMm, 297);
  EXPECT_DOUBLE_EQ(a4.LabelWidthMm, 63.5);
  EXPECT_DOUBLE_EQ(a4.LabelHeightMm, 38.1);
  EXPECT_EQ(a4.Cols, 3);
  EXPECT_EQ(a4.Rows, 7);
  EXPECT_EQ(a4.Count(), 21);
  EXPECT_DOUBLE_EQ(a4.LeftMm, 7.25);
  EXPECT_DOUBLE_EQ(a4.TopMm, 15.15);
  EXPECT_NEAR(a4.GapXMm(), 2.54, 1e-9);
  EXPECT_NEAR(a4.GapYMm(), 0, 1e-9);
  const SheetTemplate& letter = catalogue.All()[1];
  EXPECT_DOUBLE_EQ(letter.PaperWidthMm, 215.9);
  EXPECT_DOUBLE_EQ(letter.PaperHeightMm, 279.4);
  EXPECT_EQ(letter.Codes.back().Name, "5160 A");
}

TEST(SheetTemplatesTest, ASharedCodeIsAmbiguousUntilTheMakerIsNamed) {
  const SheetTemplates catalogue = SheetTemplates::Parse(kSmall);
  const SheetLookup bare = catalogue.Find("x1");
  EXPECT_EQ(bare.Found, nullptr);
  EXPECT_EQ(bare.Candidates.size(), 2u);
  EXPECT_EQ(catalogue.Find("avery:x1").Found, &catalogue.All()[0]);
  EXPECT_EQ(catalogue.Find("Other Maker X1").Found, &catalogue.All()[1]);
  EXPECT_EQ(catalogue.Find(" 5160 a ").Found, &catalogue.All()[1]);
  const SheetLookup none = catalogue.Find("L7161");
  EXPECT_EQ(none.Found, nullptr);
  EXPECT_TRUE(none.Candidates.empty());
  EXPECT_EQ(catalogue.Find("").Found, nullptr);
  EXPECT_EQ(catalogue.Find("Avery").Found, nullptr);
}

TEST(SheetTemplatesTest, SearchLooksAtCodesMakersAndDescriptionsOnOnePaper) {
  const SheetTemplates catalogue = SheetTemplates::Parse(kSmall);
  EXPECT_EQ(catalogue.Search("", "").size(), 2u);
  EXPECT_EQ(catalogue.Search("", "letter").size(), 1u);
  EXPECT_EQ(catalogue.Search("x1", "").size(), 2u);
  EXPECT_EQ(catalogue.Search("x1", "A4").size(), 1u);
  EXPECT_EQ(catalogue.Search("ADDRESS", "").size(), 1u);
  EXPECT_EQ(catalogue.Search("other maker:5160", "").size(), 1u);
  EXPECT_TRUE(catalogue.Search("round", "").empty());
}

struct BadLine {
  const char* Line;
  const char* Says;
};

TEST(SheetTemplatesTest, ABadLineIsReportedWithItsNumber) {
  const BadLine cases[] = {
      {"A4|63.5|38.1|3|7|21|7.25|15.15|66.04|Avery:L7160|Address", "11 fields instead of 12"},
      {"A5|63.5|38.1|3|7|21|7.25|15.15|66.04|38.1|Avery:L7160|Address", "unknown paper \"A5\""},
      {"A4|63,5|38.1|3|7|21|7.25|15.15|66.04|38.1|Avery:L7160|Address", "label width \"63,5\""},
      {"A4|63.5|-1|3|7|21|7.25|15.15|66.04|38.1|Avery:L7160|Address", "label height \"-1\""},
      {"A4|63.5|38.1|0|7|21|7.25|15.15|66.04|38.1|Avery:L7160|Address", "columns \"0\""},
      {"A4|63.5|38.1|3|7|20|7.25|15.15|66.04|38.1|Avery:L7160|Address", "count 20 is not 3 x 7"},
      {"A4|63.5|38.1|3|7|21|x|15.15|66.04|38.1|Avery:L7160|Address", "left margin \"x\""},
      {"A4|63.5|38.1|3|7|21|7.25|15.15|60|38.1|Avery:L7160|Address", "labels would overlap"},
      {"A4|0|38.1|3|7|21|7.25|15.15|66.04|38.1|Avery:L7160|Address", "no size"},
      {"A4|63.5|38.1|3|7|21|7.25|15.15|66.04|38.1|L7160|Address", "\"L7160\" is not a maker:code"},
      {"A4|63.5|38.1|3|7|21|7.25|15.15|66.04|38.1|Avery:L7160;|Address", "\"\" is not a maker"},
  };
  for (const BadLine& bad : cases) {
    SCOPED_TRACE(bad.Line);
    const std::string text = std::string(kSmall) + "# one more\n" + bad.Line + "\n";
    try {
      SheetTemplates::Parse(text);
      ADD_FAILURE() << "accepted";
    } catch (const SheetCatalogueError& e) {
      EXPECT_EQ(e.Line(), 6);
      EXPECT_NE(std::string(e.what()).find("line 6: "), std::string::npos) << e.what();
      EXPECT_NE(std::string(e.what()).find(bad.Says), std::string::npos) << e.what();
    }
  }
}

TEST(SheetTemplatesTest, ACatalogueThatCannotBeReadSaysWhichFile) {
  try {
    SheetTemplates::Load(kShippedCatalogue + ".missing");
    ADD_FAILURE() << "loaded";
  } catch (const std::runtime_error& e) {
    EXPECT_NE(std::string(e.what()).find("label-sheets.txt.missing"), std::string::npos);
  }
}

struct Filled {
  const char* What;
  MeasureUnit Unit;
  float DotsPerMm;
  double WasteLeftMm, WasteTopMm;
  SheetEdits Edits;
};

// L7160 at 63.5 x 38.1 mm, 7.25 / 15.15 mm from the paper's edges, 2.54 mm
// between columns. Positions count from the printable corner, so the
// printer's unprintable strips come off the margins.
TEST(SheetTemplatesTest, ATemplateFillsTheSixEditsInTheUnitInForce) {
  const SheetTemplates catalogue = SheetTemplates::Parse(kSmall);
  const SheetTemplate& sheet = catalogue.All()[0];
  const Filled cases[] = {
      {"mm, no strips",
       MeasureUnit::Millimetres,
       11.811024f,
       0,
       0,
       {"15,15", "7,25", "2,54", "0", "63,5", "38,1"}},
      {"mm, 4.23 mm strips",
       MeasureUnit::Millimetres,
       11.811024f,
       4.23,
       4.23,
       {"10,92", "3,02", "2,54", "0", "63,5", "38,1"}},
      // 63.5 mm = 750 dots, 2.54 mm = 30, 7.25 mm = 85.63 -> 86, 15.15 mm = 178.93 -> 179.
      {"300 dpi", MeasureUnit::Dots, 11.811024f, 0, 0, {"179", "86", "30", "0", "750", "450"}},
      // 600 dpi, strips of 1/6 inch (4.2333 mm): 3.0167 mm = 71.25 -> 71, 10.9167 mm = 257.9 ->
      // 258.
      {"600 dpi with strips",
       MeasureUnit::Dots,
       23.622047f,
       25.4 / 6,
       25.4 / 6,
       {"258", "71", "60", "0", "1500", "900"}},
      // A strip wider than the margin: the sheet starts before the printable corner.
      {"strip past the margin",
       MeasureUnit::Millimetres,
       11.811024f,
       9.5,
       16,
       {"-0,85", "-2,25", "2,54", "0", "63,5", "38,1"}},
      {"in dots, before the corner",
       MeasureUnit::Dots,
       11.811024f,
       9.5,
       16,
       {"-10", "-27", "30", "0", "750", "450"}},
  };
  for (const Filled& c : cases) {
    SCOPED_TRACE(c.What);
    const SheetEdits edits =
        SheetEditsFor(sheet, c.Unit, {c.DotsPerMm, c.DotsPerMm}, c.WasteLeftMm, c.WasteTopMm, ',');
    EXPECT_EQ(edits.meOdsazHorni, c.Edits.meOdsazHorni);
    EXPECT_EQ(edits.meOdsazLev, c.Edits.meOdsazLev);
    EXPECT_EQ(edits.meOdsazX, c.Edits.meOdsazX);
    EXPECT_EQ(edits.meOdsazY, c.Edits.meOdsazY);
    EXPECT_EQ(edits.rxseOsax, c.Edits.rxseOsax);
    EXPECT_EQ(edits.rxseOsay, c.Edits.rxseOsay);
  }
}

TEST(SheetTemplatesTest, AListShowsCodeSizeAndCountInTheLocalesNumbers) {
  const SheetTemplates catalogue = SheetTemplates::Parse(kSmall);
  EXPECT_EQ(SheetTemplateCaption(catalogue.All()[0], ','),
            "Avery L7160 \u2013 63,5 \u00d7 38,1 mm, 3 \u00d7 7 = 21");
  EXPECT_EQ(SheetTemplateCaption(catalogue.All()[1], '.'),
            "Other Maker X1 \u2013 66.68 \u00d7 25.4 mm, 3 \u00d7 10 = 30");
}

}  // namespace
}  // namespace korval
