#include "cli/Program.h"

#include <gtest/gtest.h>

#include <regex>
#include <sstream>
#include <string>
#include <vector>

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

}  // namespace
}  // namespace korval::cli
