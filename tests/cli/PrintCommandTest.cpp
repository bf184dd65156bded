#include "cli/PrintCommand.h"

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <unistd.h>

#include <csignal>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <map>
#include <optional>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include <cups/cups.h>

#include "cli/ExampleFormsTest.h"
#include "cli/Options.h"
#include "cli/PrintersCommand.h"
#include "doubles/CommandOutput.h"
#include "doubles/PrivateCupsd.h"
#include "storage/ProfileFile.h"
#include "storage/ProfileTestFolder.h"

namespace korval::cli {
namespace {

namespace fs = std::filesystem;

using test::CommandOutput;

int PdfPages(const std::string& file) {
  const std::string report = CommandOutput("pdfinfo '" + file + "' 2>/dev/null");
  const std::size_t at = report.find("Pages:");
  return at == std::string::npos ? -1 : std::stoi(report.substr(at + 6));
}

int Occurrences(const std::string& text, const std::string& word) {
  int n = 0;
  for (std::size_t at = text.find(word); at != std::string::npos; at = text.find(word, at + 1)) ++n;
  return n;
}

// `korval print` on the example format ("Cenovka": A4, 3 × 7 labels) in a
// folder of its own, with goods written by each test.
class PrintCommandTest : public test::ExampleFormsTest {
 protected:
  void WriteGoods(const std::string& csv) { test::WriteBytes(goods_, csv); }
  void SetFormat(const std::string& key, const std::string& value) {
    ProfileFile(forms_ + "/TiketSav.000").WriteString("SetUp", key, value);
  }

  int Print(std::vector<std::string> args) {
    out_.str("");
    err_.str("");
    const std::vector<std::string> base = {"--forms", forms_,    "--format",
                                           "Cenovka", "--goods", goods_};
    args.insert(args.begin(), base.begin(), base.end());
    return RunPrintCommand(args, out_, err_);
  }

  std::string goods_ = folder_.File("goods.csv");
  std::string pdf_ = folder_.File("labels.pdf");
};

// 21 + 21 + 5 labels fill three sheets; with every sheet in a queue of its
// own they are three jobs, all of which belong in the one PDF file.
TEST_F(PrintCommandTest, EveryJobOfARunReachesThePdf) {
  WriteGoods("Nazev;Cislo;Pocet\nPrvní;AAA-1;21\nDruhé;BBB-2;21\nTřetí;CCC-3;5\n");
  for (const char* ownQueue : {"False", "True"}) {
    SCOPED_TRACE(ownQueue);
    SetFormat("cbVlastniFronta.Checked", ownQueue);
    fs::remove(pdf_);
    ASSERT_EQ(Print({"--pdf", pdf_}), 0) << err_.str();
    EXPECT_EQ(out_.str(), "3 sheets written to " + pdf_ + "\n");
    EXPECT_EQ(PdfPages(pdf_), 3);
    const std::string text = CommandOutput("pdftotext -enc UTF-8 '" + pdf_ + "' - 2>/dev/null");
    EXPECT_EQ(Occurrences(text, "AAA-1"), 21);
    EXPECT_EQ(Occurrences(text, "BBB-2"), 21);
    EXPECT_EQ(Occurrences(text, "CCC-3"), 5);
  }
}

// A PDF cut short (a full disk, here a file size limit) is no success: Qt's
// writer does not hear of the failed writes, the check of the file does.
TEST_F(PrintCommandTest, APdfThatCouldNotBeWrittenWholeIsAFailure) {
  WriteGoods("Nazev;Cislo;Pocet\nPrvní;AAA-1;60\n");
  rlimit saved{};
  ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
  rlimit limit = saved;
  limit.rlim_cur = 8192;
  const auto previous = std::signal(SIGXFSZ, SIG_IGN);
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &limit), 0);
  const int status = Print({"--pdf", pdf_});
  ::setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, previous);
  EXPECT_EQ(status, 1);
  EXPECT_EQ(out_.str(), "");
  EXPECT_NE(err_.str().find("nothing was sent"), std::string::npos) << err_.str();
}

// The warnings come once per goods row, not once per label.
TEST_F(PrintCommandTest, BarcodesThatWillNotScanAreNamedOncePerRow) {
  WriteGoods("Nazev;Cislo;EAN;Pocet\nPrvní;AAA-1;8594001001018;4\nDruhé;BBB-2;ABC123;4\n");
  ASSERT_EQ(Print({"--pdf", pdf_}), 0) << err_.str();
  EXPECT_EQ(Occurrences(err_.str(), "will not scan"), 2) << err_.str();
  EXPECT_NE(err_.str().find("korval print: row 2: EAN \"8594001001018\" will not scan"),
            std::string::npos);
  EXPECT_NE(err_.str().find("korval print: row 3: EAN \"ABC123\" will not scan"),
            std::string::npos);
  EXPECT_EQ(out_.str(), "1 sheet written to " + pdf_ + "\n");
}

// A print in which no label has a place, or that asks for no labels, sends
// nothing (not a blank sheet), says why and ends with status 1.
struct NothingPrinted {
  const char* What;
  std::vector<std::string> Args;
  const char* FormatKey;  // changed in the stored format, when not empty
  const char* Value;
  const char* Says;
};

void PrintTo(const NothingPrinted& c, std::ostream* os) {
  *os << c.What;
}

class PrintCommandNothingTest : public PrintCommandTest,
                                public ::testing::WithParamInterface<NothingPrinted> {};

TEST_P(PrintCommandNothingTest, SendsNoSheetAndFails) {
  const NothingPrinted& c = GetParam();
  WriteGoods("Nazev;Cislo;Pocet\nPrvní;AAA-1;2\n");
  if (*c.FormatKey != 0) SetFormat(c.FormatKey, c.Value);
  std::vector<std::string> args = {"--pdf", pdf_};
  args.insert(args.end(), c.Args.begin(), c.Args.end());
  EXPECT_EQ(Print(args), 1);
  EXPECT_FALSE(fs::exists(pdf_));
  EXPECT_EQ(out_.str(), "");
  EXPECT_NE(err_.str().find(c.Says), std::string::npos) << err_.str();
  EXPECT_NE(err_.str().find("nothing was sent"), std::string::npos) << err_.str();
}

constexpr const char* kNothingFits = "Na stránku se nevejde žádná etiketa";

INSTANTIATE_TEST_SUITE_P(
    Cases, PrintCommandNothingTest,
    ::testing::Values(
        NothingPrinted{"LabelWiderThanThePaper", {}, "rxseOsax.Text", "300", kNothingFits},
        NothingPrinted{"LabelWidthZero", {}, "rxseOsax.Text", "0", kNothingFits},
        NothingPrinted{"LabelWidthBelowZero", {}, "rxseOsax.Text", "-5", kNothingFits},
        NothingPrinted{"StartPastTheLastColumn", {"--start", "3,6"}, "", "", kNothingFits},
        NothingPrinted{"StartBelowTheLastRow", {"--start", "0,7"}, "", "", kNothingFits},
        NothingPrinted{
            "TestOfNoLabels", {"--test", "0"}, "", "", "Počet etiket zkušebního tisku je 0"}),
    [](const auto& param) { return std::string(param.param.What); });

TEST_F(PrintCommandTest, APdfForAMissingFolderIsOneMessageNamingIt) {
  WriteGoods("Nazev;Cislo;Pocet\nPrvní;AAA-1;2\n");
  const std::string folder = folder_.File("chybi");
  try {
    Print({"--pdf", folder + "/labels.pdf"});
    ADD_FAILURE() << "printed into a missing folder";
  } catch (const std::runtime_error& e) {
    EXPECT_NE(std::string(e.what()).find("no folder " + folder + " "), std::string::npos)
        << e.what();
  }
  EXPECT_EQ(err_.str(), "");
  EXPECT_EQ(out_.str(), "");
}

// Printing through a print system of the test's own, with file-backed queues
// that take jobs, reject them, or are stopped.
class PrintCommandCupsTest : public PrintCommandTest {
 protected:
  void SetUp() override {
    PrintCommandTest::SetUp();
    cups_.emplace(
        std::vector<test::PrivateCupsd::Queue>{{"Etikety", true, false, ""},
                                               {"Odmitajici", false, false, "Role etiket došla"},
                                               {"Zastavena", true, true, "Otevřený kryt"}});
    if (!cups_->Failure().empty()) {
      // CI runs as root and must run these; elsewhere a missing or refused
      // scheduler is a reason to skip.
      if (::geteuid() == 0 && !cups_->Missing()) FAIL() << cups_->Failure();
      GTEST_SKIP() << "no private CUPS scheduler: " << cups_->Failure();
    }
    WriteGoods("Nazev;Cislo;Pocet\nPrvní;AAA-1;2\n");
  }
  void TearDown() override {
    cups_.reset();
    PrintCommandTest::TearDown();
  }

  std::optional<test::PrivateCupsd> cups_;
};

TEST_F(PrintCommandCupsTest, AJobTheQueueTakesIsSent) {
  ASSERT_EQ(Print({"--printer", "Etikety"}), 0) << err_.str();
  EXPECT_EQ(out_.str(), "1 sheet sent to Etikety\n");
  const std::string document = cups_->WaitForOutput("Etikety");
  ASSERT_EQ(document.substr(0, 4), "%PDF");
  const std::string copy = folder_.File("queue.pdf");
  test::WriteBytes(copy, document);
  EXPECT_EQ(PdfPages(copy), 1);
  const std::string text = CommandOutput("pdftotext -enc UTF-8 '" + copy + "' - 2>/dev/null");
  EXPECT_EQ(Occurrences(text, "AAA-1"), 2);
}

struct Refusal {
  const char* Queue;
  const char* Reason;
};

void PrintTo(const Refusal& c, std::ostream* os) {
  *os << c.Queue;
}

class PrintCommandCupsRefusalTest : public PrintCommandCupsTest,
                                    public ::testing::WithParamInterface<Refusal> {};

TEST_P(PrintCommandCupsRefusalTest, IsReportedWithThePrintersReason) {
  EXPECT_EQ(Print({"--printer", GetParam().Queue}), 1);
  EXPECT_EQ(out_.str(), "");
  EXPECT_NE(err_.str().find(std::string("Tiskárna ") + GetParam().Queue + " úlohu nepřijala"),
            std::string::npos)
      << err_.str();
  EXPECT_NE(err_.str().find(GetParam().Reason), std::string::npos) << err_.str();
  EXPECT_NE(err_.str().find("nothing was sent"), std::string::npos) << err_.str();
  // Reported as not printed, the job does not wait to print after all.
  cups_job_t* jobs = nullptr;
  const int waiting =
      cupsGetJobs2(CUPS_HTTP_DEFAULT, &jobs, GetParam().Queue, 0, CUPS_WHICHJOBS_ACTIVE);
  cupsFreeJobs(waiting, jobs);
  EXPECT_EQ(waiting, 0);
}

INSTANTIATE_TEST_SUITE_P(Queues, PrintCommandCupsRefusalTest,
                         ::testing::Values(Refusal{"Odmitajici", "Role etiket došla"},
                                           Refusal{"Zastavena", "Otevřený kryt"}),
                         [](const auto& param) { return std::string(param.param.Queue); });

// `korval printers` against a print system of the test's own: a plain A4
// queue, a label printer (the system's default) with unprintable strips, and
// the PDF printer.
class PrintersCommandTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!cups_.Failure().empty()) {
      if (::geteuid() == 0 && !cups_.Missing()) FAIL() << cups_.Failure();
      GTEST_SKIP() << "no private CUPS scheduler: " << cups_.Failure();
    }
    ASSERT_EQ(cups_.Run("lpadmin -d Stitky"), 0);
  }

  // The listing's rows, cut at the columns of its header.
  static std::vector<std::map<std::string, std::string>> Rows(const std::string& listing) {
    std::istringstream lines(listing);
    std::string header;
    std::getline(lines, header);
    const std::vector<std::string> columns = {"printer",  "default", "paper",
                                              "paper mm", "dpi",     "printable mm"};
    std::vector<std::size_t> starts;
    for (const std::string& column : columns) starts.push_back(header.find("  " + column) + 2);
    std::vector<std::map<std::string, std::string>> rows;
    for (std::string line; std::getline(lines, line);) {
      std::map<std::string, std::string> row;
      for (std::size_t i = 0; i < columns.size(); ++i) {
        const std::size_t to = i + 1 < starts.size() ? starts[i + 1] : std::string::npos;
        std::string cell = line.substr(std::min(starts[i], line.size()), to - starts[i]);
        cell.erase(cell.find_last_not_of(' ') + 1);
        cell.erase(0, cell.find_first_not_of(' '));
        row[columns[i]] = cell;
      }
      row["#"] = line.substr(0, starts[0]);
      rows.push_back(row);
    }
    return rows;
  }
  // "w x h" in millimetres.
  static std::pair<double, double> Size(const std::string& text) {
    const std::size_t x = text.find(" x ");
    return {std::stod(text.substr(0, x)), std::stod(text.substr(x + 3))};
  }

  test::PrivateCupsd cups_{{{"Etikety", true, false, ""},
                            {"Stitky", true, false, "", test::PrivateCupsd::LabelPrinterPpd()}}};
};

TEST_F(PrintersCommandTest, ListsEveryPrinterWithItsPageResolutionAndPrintableArea) {
  std::ostringstream out;
  std::ostringstream err;
  ASSERT_EQ(RunPrintersCommand({}, out, err), 0) << err.str();
  const auto rows = Rows(out.str());
  ASSERT_EQ(rows.size(), 3u) << out.str();
  const double mmPerPoint = 25.4 / 72;

  EXPECT_EQ(rows[0].at("printer"), "Etikety");
  EXPECT_EQ(rows[0].at("default"), "");
  EXPECT_EQ(rows[0].at("paper"), "A4");
  EXPECT_EQ(rows[0].at("paper mm"), "210.0 x 297.0");
  EXPECT_EQ(rows[0].at("printable mm"), "0.0 0.0 210.0 x 297.0");

  EXPECT_EQ(rows[1].at("printer"), "Stitky");
  EXPECT_EQ(rows[1].at("default"), "*");
  EXPECT_EQ(rows[1].at("paper"), "A6");
  // The resolution the page is drawn at for the print system to rasterise.
  EXPECT_GE(std::stoi(rows[1].at("dpi")), 203);
  const auto [width, height] = Size(rows[1].at("paper mm"));
  EXPECT_NEAR(width, 297 * mmPerPoint, 0.3);
  EXPECT_NEAR(height, 420 * mmPerPoint, 0.3);
  std::istringstream area(rows[1].at("printable mm"));
  double left = 0, top = 0, areaWidth = 0, areaHeight = 0;
  std::string times;
  area >> left >> top >> areaWidth >> times >> areaHeight;
  EXPECT_EQ(times, "x") << rows[1].at("printable mm");
  EXPECT_NEAR(left, 12 * mmPerPoint, 0.051);
  EXPECT_NEAR(top, 12 * mmPerPoint, 0.051);
  EXPECT_NEAR(areaWidth, width - 24 * mmPerPoint, 0.11);
  EXPECT_NEAR(areaHeight, height - 36 * mmPerPoint, 0.11);

  EXPECT_EQ(rows[2].at("printer"), "PDF");
  EXPECT_EQ(rows[2].at("dpi"), "600");
  EXPECT_EQ(rows[2].at("printable mm"), "0.0 0.0 " + rows[2].at("paper mm"));
  const auto [pdfWidth, pdfHeight] = Size(rows[2].at("paper mm"));
  EXPECT_EQ(rows[2].at("paper"), PaperName(pdfWidth, pdfHeight));
  EXPECT_NE(rows[2].at("paper"), "-");
  EXPECT_EQ(err.str(), "");
}

TEST(PaperNameTest, NamesCommonSheetsEitherWayRoundWithinHalfAMillimetre) {
  EXPECT_EQ(PaperName(210, 297), "A4");
  EXPECT_EQ(PaperName(297, 210), "A4");
  EXPECT_EQ(PaperName(8.27 * 25.4, 11.69 * 25.4), "A4");  // as formats store it, in inches
  EXPECT_EQ(PaperName(215.9, 279.4), "Letter");
  EXPECT_EQ(PaperName(148, 210), "A5");
  EXPECT_EQ(PaperName(210.6, 297), "");
  EXPECT_EQ(PaperName(101.6, 152.4), "");
}

TEST(PrintersCommandUsageTest, TakesNoOptions) {
  std::ostringstream out;
  std::ostringstream err;
  EXPECT_THROW(RunPrintersCommand({"--forms", "x"}, out, err), UsageError);
}

}  // namespace
}  // namespace korval::cli
