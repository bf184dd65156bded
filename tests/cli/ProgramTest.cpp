#include "cli/Program.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "cli/ExampleFormsTest.h"
#include "platform/Text.h"

namespace korval::cli {
namespace {

struct Outcome {
  int Status = -1;
  std::string Out;
  std::string Err;
};

Outcome Korval(const std::vector<std::string>& args) {
  std::ostringstream out;
  std::ostringstream err;
  Outcome run;
  run.Status = RunProgram(args, out, err);
  run.Out = out.str();
  run.Err = err.str();
  return run;
}

const char* const kCommands[] = {"goods",   "print",  "design",  "calibrate",
                                 "formats", "sheets", "printers"};

// Help, asked for in any of its spellings, is the answer and not a mistake:
// standard output, status 0, nothing on standard error.
TEST(ProgramTest, HelpIsUsageOnStandardOutput) {
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{"--help"}, {"-h"}, {"help"}}) {
    const Outcome run = Korval(args);
    EXPECT_EQ(run.Status, 0) << args[0];
    EXPECT_EQ(run.Err, "");
    EXPECT_EQ(run.Out.rfind("usage: korval COMMAND [OPTIONS]\n", 0), 0u) << run.Out;
    for (const char* command : kCommands) {
      const std::size_t at = run.Out.find("\n  " + std::string(command));
      ASSERT_NE(at, std::string::npos) << command;
      const char after = run.Out[at + 3 + std::string(command).size()];
      EXPECT_TRUE(after == ' ' || after == '\n') << command;
    }
    EXPECT_NE(run.Out.find("exit status: 0 done, 1 the job failed, 2 "), std::string::npos);
  }
  for (const char* command : kCommands) {
    SCOPED_TRACE(command);
    const std::string usage = "usage: korval " + std::string(command);
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{command, "--help"}, {"help", command},
          {command, "--forms", "nowhere", "-h"}}) {
      const Outcome run = Korval(args);
      EXPECT_EQ(run.Status, 0);
      EXPECT_EQ(run.Err, "");
      EXPECT_EQ(run.Out.rfind(usage, 0), 0u) << run.Out;
      EXPECT_EQ(run.Out.find("\n  design"), std::string::npos) << "one command's usage only";
    }
  }
}

TEST(ProgramTest, VersionIsTheProgramsOwn) {
  const Outcome run = Korval({"--version"});
  EXPECT_EQ(run.Status, 0);
  EXPECT_TRUE(std::regex_match(run.Out, std::regex("korval [0-9]+\\.[0-9]+\\.[0-9]+\n"))) << run.Out;
}

// A mistake in the arguments is one line that names it and where help is,
// status 2, nothing on standard output; a job that fails is status 1.
TEST(ProgramTest, MistakesAreOneLineWithTheHint) {
  struct Case {
    std::vector<std::string> Args;
    const char* Says;
  };
  const Case cases[] = {
      {{}, "korval: no command given; korval --help lists them\n"},
      {{"frobnicate"}, "korval: unknown command frobnicate; korval --help lists them\n"},
      {{"help", "frobnicate"}, "korval: no command frobnicate; korval --help lists them\n"},
      {{"print", "--bogus"}, "korval print: unknown option --bogus (korval print --help)\n"},
      {{"sheets", "--paper"}, "korval sheets: --paper needs a value (korval sheets --help)\n"},
      {{"formats"}, "korval formats: --forms is required (korval formats --help)\n"},
  };
  for (const Case& c : cases) {
    const Outcome run = Korval(c.Args);
    EXPECT_EQ(run.Status, 2) << c.Says;
    EXPECT_EQ(run.Err, c.Says);
    EXPECT_EQ(run.Out, "");
  }
  const Outcome failed = Korval({"goods", "--goods", "/nonexistent/goods.csv"});
  EXPECT_EQ(failed.Status, 1) << failed.Err;
  EXPECT_EQ(failed.Err.rfind("korval goods: ", 0), 0u) << failed.Err;
  EXPECT_EQ(failed.Err.find('\n'), failed.Err.size() - 1) << failed.Err;
}

// A job that fails is told of once: by the program when it finds the fault
// itself, or by the library in its own words (headless, its message box is a
// line on standard error), and then the program adds no line of its own
// about the same thing. {forms}, {goods} and {dir} stand for the example
// formats, the goods file and the test's folder.
struct ToldOnce {
  const char* What;
  std::vector<std::string> Args;
  const char* Goods;
  int Status;
  const char* Says;
};

void PrintTo(const ToldOnce& c, std::ostream* os) {
  *os << c.What;
}

class ProgramFailureTest : public test::ExampleFormsTest,
                           public ::testing::WithParamInterface<ToldOnce> {};

TEST_P(ProgramFailureTest, IsOneLineOnStandardError) {
  const ToldOnce& c = GetParam();
  test::WriteBytes(folder_.File("goods.csv"), c.Goods);
  std::vector<std::string> args = c.Args;
  for (std::string& arg : args) {
    arg = ReplaceAll(arg, "{forms}", forms_);
    arg = ReplaceAll(arg, "{goods}", folder_.File("goods.csv"));
    arg = ReplaceAll(arg, "{dir}", folder_.Path().string());
  }
  const Outcome run = Korval(args);
  EXPECT_EQ(run.Status, c.Status) << run.Err;
  EXPECT_EQ(run.Out, "");
  EXPECT_EQ(std::count(run.Err.begin(), run.Err.end(), '\n'), 1) << run.Err;
  EXPECT_NE(run.Err.find(ReplaceAll(c.Says, "{dir}", folder_.Path().string())), std::string::npos)
      << run.Err;
}

constexpr const char* kGoods = "Nazev;Cislo;Pocet\nPrvní;AAA-1;2\n";

INSTANTIATE_TEST_SUITE_P(
    Cases, ProgramFailureTest,
    ::testing::Values(
        ToldOnce{"PdfIntoAMissingFolder",
                 {"print", "--forms", "{forms}", "--format", "Cenovka", "--goods", "{goods}",
                  "--pdf", "{dir}/chybi/labels.pdf"},
                 kGoods,
                 1,
                 "korval print: no folder {dir}/chybi to write"},
        ToldOnce{"FormatNotStored",
                 {"print", "--forms", "{forms}", "--format", "Neni", "--goods", "{goods}", "--pdf",
                  "{dir}/labels.pdf"},
                 kGoods,
                 2,
                 "korval print: no label format \"Neni\""},
        ToldOnce{"GoodsWithABadRow",
                 {"print", "--forms", "{forms}", "--format", "Cenovka", "--goods", "{goods}",
                  "--pdf", "{dir}/labels.pdf"},
                 "Nazev;Cislo;Pocet\nPrvní;AAA-1;dva\n",
                 1,
                 "korval print: row 2, column Pocet: \"dva\" is not a label count"},
        ToldOnce{"GoodsListingWithABadRow",
                 {"goods", "--goods", "{goods}"},
                 "Nazev;Cislo;CenaA\nPrvní;AAA-1;12,5\nDruhé;BBB-2;x\n",
                 1,
                 "korval goods: row 3, column CenaA: \"x\" is not a number"},
        ToldOnce{"PrinterNotThere",
                 {"print", "--forms", "{forms}", "--format", "Cenovka", "--goods", "{goods}",
                  "--printer", "Neexistujici"},
                 kGoods,
                 2,
                 "korval print: no printer \"Neexistujici\""},
        ToldOnce{"NoLabelFitsTheSheet",
                 {"print", "--forms", "{forms}", "--format", "Cenovka", "--goods", "{goods}",
                  "--pdf", "{dir}/labels.pdf", "--start", "0,7"},
                 kGoods,
                 1,
                 "korval: Chyba: Na stránku se nevejde žádná etiketa, tisk byl ukončen."},
        ToldOnce{"TestPrintOfNoLabels",
                 {"print", "--forms", "{forms}", "--format", "Cenovka", "--goods", "{goods}",
                  "--pdf", "{dir}/labels.pdf", "--test", "0"},
                 kGoods,
                 1,
                 "Počet etiket zkušebního tisku je 0"},
        ToldOnce{"PicturesOfNoLabels",
                 {"print", "--forms", "{forms}", "--format", "Cenovka", "--goods", "{goods}",
                  "--png", "{dir}/sheet.png", "--start", "0,7"},
                 kGoods,
                 1,
                 "Na stránku se nevejde žádná etiketa"}),
    [](const auto& param) { return std::string(param.param.What); });

}  // namespace
}  // namespace korval::cli
