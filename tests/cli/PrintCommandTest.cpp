#include "cli/PrintCommand.h"

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <unistd.h>

#include <cctype>
#include <csignal>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <iterator>
#include <map>
#include <optional>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include <cups/cups.h>
#include <QColor>
#include <QImage>

#include "cli/CalibrateCommand.h"
#include "cli/ExampleFormsTest.h"
#include "cli/Options.h"
#include "cli/PngSheetSurface.h"
#include "print/SheetTemplates.h"
#include "cli/PrintersCommand.h"
#include "doubles/CommandOutput.h"
#include "doubles/FakePrintSurface.h"
#include "doubles/PrivateCupsd.h"
#include "doubles/RecordingCanvas.h"
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
  // After the progress of the three sheets, the library's message alone:
  // the program has nothing to add to it.
  EXPECT_EQ(err_.str(), "sheet 1 of 3\nsheet 2 of 3\nsheet 3 of 3\nkorval: Chyba: Soubor " + pdf_ +
                            " nelze zapsat.\n");
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

// Whether any pixel of the rectangle (clipped to the picture) is dark.
bool HasInk(const QImage& image, int left, int top, int right, int bottom) {
  for (int y = std::max(0, top); y < std::min(image.height(), bottom); ++y) {
    for (int x = std::max(0, left); x < std::min(image.width(), right); ++x) {
      if (qGray(image.pixel(x, y)) < 128) return true;
    }
  }
  return false;
}

// "Cenovka" labels are 69.9 × 42 mm with their frame, from 1.5 mm below the
// top of the printable area, which the PDF writer makes the whole paper. At
// 150 dpi A4 is 1240 × 1754 pixels; 26 labels fill a sheet of 21 positions
// and five of the next, and no third picture is written.
TEST_F(PrintCommandTest, PngWritesEverySheetWholeWithTheLabelsOnTheGrid) {
  WriteGoods("Nazev;Cislo;Pocet\nPrvní;AAA-1;21\nDruhé;BBB-2;5\n");
  const std::string png = folder_.File("sheet.png");
  ASSERT_EQ(Print({"--png", png}), 0) << err_.str();
  const std::string first = folder_.File("sheet-1.png");
  const std::string second = folder_.File("sheet-2.png");
  EXPECT_EQ(out_.str(), "2 sheets written to " + first + " .. " + second + " at 150 dpi\n");
  EXPECT_FALSE(fs::exists(png));
  EXPECT_FALSE(fs::exists(folder_.File("sheet-3.png")));

  constexpr double kPixelsPerMm = 150 / 25.4;
  for (const auto& [file, labels] : {std::pair{first, 21}, std::pair{second, 5}}) {
    SCOPED_TRACE(file);
    const QImage image(QString::fromStdString(file));
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.width(), 1240);
    EXPECT_EQ(image.height(), 1754);
    for (int position = 0; position < 21; ++position) {
      SCOPED_TRACE(position);
      const int col = position % 3;
      const int row = position / 3;
      const int left = static_cast<int>(std::lround(col * 69.9 * kPixelsPerMm));
      const int top = static_cast<int>(std::lround((1.5 + row * 42) * kPixelsPerMm));
      const int right = static_cast<int>(std::lround((col + 1) * 69.9 * kPixelsPerMm));
      const int bottom = static_cast<int>(std::lround((1.5 + (row + 1) * 42) * kPixelsPerMm));
      const int middleX = (left + right) / 2;
      const int middleY = (top + bottom) / 2;
      if (position < labels) {
        // The frame's four sides, within a pixel of where the grid puts them.
        EXPECT_TRUE(HasInk(image, left - 1, middleY, left + 2, middleY + 1));
        EXPECT_TRUE(HasInk(image, right - 2, middleY, right + 1, middleY + 1));
        EXPECT_TRUE(HasInk(image, middleX, top - 1, middleX + 1, top + 2));
        EXPECT_TRUE(HasInk(image, middleX, bottom - 2, middleX + 1, bottom + 1));
        EXPECT_TRUE(HasInk(image, left + 3, top + 3, right - 3, bottom - 3));
      } else {
        EXPECT_FALSE(HasInk(image, left + 3, top + 3, right - 3, bottom - 3));
      }
    }
    // Nothing above the first row: the labels begin 1.5 mm down.
    EXPECT_FALSE(HasInk(image, 0, 0, image.width(), static_cast<int>(1.5 * kPixelsPerMm) - 1));
  }
}

TEST_F(PrintCommandTest, PngAtAnotherResolutionKeepsThePaperSize) {
  WriteGoods("Nazev;Cislo;Pocet\nPrvní;AAA-1;2\n");
  const std::string png = folder_.File("small.png");
  ASSERT_EQ(Print({"--png", png, "--dpi", "72"}), 0) << err_.str();
  EXPECT_EQ(out_.str(), "1 sheet written to " + folder_.File("small-1.png") + " at 72 dpi\n");
  const QImage image(QString::fromStdString(folder_.File("small-1.png")));
  EXPECT_EQ(image.width(), 595);   // 210 mm
  EXPECT_EQ(image.height(), 842);  // 297 mm
}

TEST_F(PrintCommandTest, PngRefusesPdfAndABadResolution) {
  WriteGoods("Nazev;Cislo;Pocet\nPrvní;AAA-1;2\n");
  const std::string png = folder_.File("x.png");
  for (const auto& args : std::vector<std::vector<std::string>>{{"--png", png, "--pdf", pdf_},
                                                                {"--png", png, "--dpi", "0"},
                                                                {"--png", png, "--dpi", "abc"},
                                                                {"--pdf", pdf_, "--dpi", "100"}}) {
    EXPECT_THROW(Print(args), UsageError);
  }
  EXPECT_FALSE(fs::exists(folder_.File("x-1.png")));
  EXPECT_FALSE(fs::exists(pdf_));
}

// A sheet picture that records what is drawn and what is saved.
class RecordedSheet final : public SheetImage {
 public:
  RecordedSheet(std::vector<std::string>& saved, std::vector<Size>& sizes, int width, int height)
      : saved_(saved) {
    sizes.push_back(Size{width, height});
  }
  Canvas& GetCanvas() override { return canvas_; }
  bool SavePng(const std::string& path) override {
    saved_.push_back(path);
    lastCalls_ = canvas_.Calls();
    return true;
  }
  static inline std::vector<test::RecordingCanvas::Call> lastCalls_;

 private:
  std::vector<std::string>& saved_;
  test::RecordingCanvas canvas_{150, 150};
};

// The page canvas's origin is the printable area's corner, as on the
// printer; what is drawn in the printer's dots lands scaled to the picture.
TEST(PngSheetSurfaceTest, SheetsArePaperSizedWithTheOriginAtThePrintableArea) {
  test::FakePrintSurface printer;
  printer.printers_ = {
      test::FakePrintSurface::Printer{"Etikety", 600, 600, 4.0, 6.0, 0.2, 0.1, 0.2, 0.1}};
  printer.SelectPrinter(0);
  std::vector<std::string> saved;
  std::vector<Size> sizes;
  PngSheetSurface surface(printer, "/tmp/out/labels.png", 150,
                          [&](int width, int height, int) -> std::unique_ptr<SheetImage> {
                            return std::make_unique<RecordedSheet>(saved, sizes, width, height);
                          });
  EXPECT_EQ(surface.DpiX(), 600);  // the labels are laid out in the printer's dots
  ASSERT_TRUE(surface.BeginJob("Tisk"));
  surface.PageCanvas().FrameRect(Rect{0, 0, 400, 200});
  surface.NewPage();
  surface.PageCanvas().FrameRect(Rect{1000, 2000, 1400, 2200});
  ASSERT_TRUE(surface.EndJob());

  EXPECT_EQ(saved, (std::vector<std::string>{"/tmp/out/labels-1.png", "/tmp/out/labels-2.png"}));
  EXPECT_EQ(sizes, (std::vector<Size>{{600, 900}, {600, 900}}));
  EXPECT_EQ(surface.SheetsWritten(), 2);
  // 0.2 × 150 = 30 and 0.1 × 150 = 15 pixels in; 600 dots are 150 pixels.
  ASSERT_EQ(RecordedSheet::lastCalls_.size(), 1u);
  EXPECT_EQ(RecordedSheet::lastCalls_[0].rect, (Rect{30 + 250, 15 + 500, 30 + 350, 15 + 550}));
  EXPECT_EQ(PngSheetSurface::SheetFileName("a/b.c.png", 12), "a/b.c-12.png");
  EXPECT_EQ(PngSheetSurface::SheetFileName("noext", 1), "noext-1.png");
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
  // The library says why, and that one line is all: no second line of the
  // program's about the same failure.
  EXPECT_EQ(Occurrences(err_.str(), "\n"), 1) << err_.str();
  EXPECT_NE(err_.str().find(c.Says), std::string::npos) << err_.str();
  EXPECT_EQ(err_.str().find("korval print:"), std::string::npos) << err_.str();
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

// A sheet of the catalogue lays the labels out, whatever the format had
// (the example format holds 3 x 7): one label more than a sheet holds makes
// a full first sheet and one label on the second.
struct SheetPrint {
  const char* Sheet;
  int PerSheet;
};

void PrintTo(const SheetPrint& c, std::ostream* os) {
  *os << c.Sheet;
}

class PrintCommandSheetTest : public PrintCommandTest,
                              public ::testing::WithParamInterface<SheetPrint> {};

TEST_P(PrintCommandSheetTest, FillsASheetWithTheLabelsItHolds) {
  const SheetPrint& c = GetParam();
  WriteGoods("Nazev;Cislo;Pocet\nPrvní;AAA-1;" + std::to_string(c.PerSheet + 1) + "\n");
  ASSERT_EQ(Print({"--pdf", pdf_, "--sheet", c.Sheet}), 0) << err_.str();
  EXPECT_EQ(out_.str(), "2 sheets written to " + pdf_ + "\n");
  EXPECT_EQ(PdfPages(pdf_), 2);
  const std::string first =
      CommandOutput("pdftotext -enc UTF-8 -f 1 -l 1 '" + pdf_ + "' - 2>/dev/null");
  EXPECT_EQ(Occurrences(first, "AAA-1"), c.PerSheet);
  const std::string all = CommandOutput("pdftotext -enc UTF-8 '" + pdf_ + "' - 2>/dev/null");
  EXPECT_EQ(Occurrences(all, "AAA-1"), c.PerSheet + 1);
}

INSTANTIATE_TEST_SUITE_P(Cases, PrintCommandSheetTest,
                         ::testing::Values(SheetPrint{"L7160", 21},        // 63.99 x 38.1 mm, 3 x 7
                                           SheetPrint{"Avery L7651", 65},  // 38.1 x 21.2 mm, 5 x 13
                                           SheetPrint{"herma:4608", 44},   // 48.3 x 25.4 mm, 4 x 11
                                           SheetPrint{"Avery:38931",
                                                      33}),  // 70 x 25 mm, 3 x 11: paper-wide
                         [](const auto& param) {
                           std::string name;
                           for (const char ch : std::string(param.param.Sheet))
                             if (std::isalnum(static_cast<unsigned char>(ch))) name += ch;
                           return name;
                         });

TEST_F(PrintCommandTest, ASheetTheCatalogueDoesNotKnowOrCannotTellIsAUsageError) {
  WriteGoods("Nazev;Cislo;Pocet\nPrvní;AAA-1;2\n");
  for (const auto& [sheet, says] : {std::pair{"L9999", "no label sheet \"L9999\""},
                                    std::pair{"5095", "label sheet \"5095\" is ambiguous: "}}) {
    SCOPED_TRACE(sheet);
    try {
      Print({"--pdf", pdf_, "--sheet", sheet});
      ADD_FAILURE() << "printed";
    } catch (const UsageError& e) {
      EXPECT_NE(std::string(e.what()).find(says), std::string::npos) << e.what();
    }
    EXPECT_FALSE(fs::exists(pdf_));
  }
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
    KORVAL_NEED_PRIVATE_CUPSD(*cups_);
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

// Neither --pdf nor --printer: the job goes to the system's default
// printer, and the line names it; with no default the PDF writer takes it,
// into labels.pdf of the current folder, and the line names that file.
TEST_F(PrintCommandCupsTest, WithoutPdfOrPrinterTheLineNamesWhereTheLabelsWent) {
  ASSERT_EQ(Print({}), 0) << err_.str();
  EXPECT_EQ(out_.str(), "1 sheet written to " + pdf_ + " (the system has no default printer)\n");
  EXPECT_EQ(PdfPages(pdf_), 1);
  EXPECT_EQ(err_.str(), "");

  ASSERT_EQ(cups_->Run("lpadmin -d Etikety"), 0);
  fs::remove(pdf_);
  ASSERT_EQ(Print({}), 0) << err_.str();
  EXPECT_EQ(out_.str(), "1 sheet sent to Etikety\n");
  EXPECT_EQ(cups_->WaitForOutput("Etikety").substr(0, 4), "%PDF");
  EXPECT_FALSE(fs::exists(pdf_));
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
  // Told once, by the library, with the print system's reason.
  EXPECT_EQ(Occurrences(err_.str(), "\n"), 1) << err_.str();
  EXPECT_EQ(err_.str().find("korval print:"), std::string::npos) << err_.str();
  // Reported as not printed, the job does not wait to print after all.
  cups_job_t* jobs = nullptr;
  const int waiting =
      cupsGetJobs2(CUPS_HTTP_DEFAULT, &jobs, GetParam().Queue, 0, CUPS_WHICHJOBS_ACTIVE);
  cupsFreeJobs(waiting, jobs);
  EXPECT_EQ(waiting, 0);
}

// A window of a page rasterised at twice 600 dpi, grey levels, looked at in
// 600 dpi dots from the page's corner: a thin line lying between two dots is
// seen in both, and its middle found to a fraction of a dot. By default the
// top band of an A4 page.
class Raster {
 public:
  static constexpr int kScale = 2;
  Raster(const std::string& pdf, const std::string& prefix, int height, int left = 0,
         int top = 0, int width = 4960)
      : left_(left), top_(top) {
    std::system(("pdftoppm -r " + std::to_string(600 * kScale) + " -gray -singlefile -x " +
                 std::to_string(left * kScale) + " -y " + std::to_string(top * kScale) + " -W " +
                 std::to_string(width * kScale) + " -H " + std::to_string(height * kScale) + " '" +
                 pdf + "' '" + prefix + "'")
                    .c_str());
    std::istringstream in(test::ReadBytes(prefix + ".pgm"));
    std::string magic;
    int depth = 0;
    in >> magic >> width_ >> height_ >> depth;
    in.get();
    pixels_.assign(std::istreambuf_iterator<char>(in), {});
    if (magic != "P5" || pixels_.size() != static_cast<std::size_t>(width_) * height_) width_ = 0;
  }
  bool Valid() const { return width_ > 0; }
  // Pixels, not dots.
  int Ink(int x, int y) const {
    return 255 - static_cast<unsigned char>(pixels_[static_cast<std::size_t>(y) * width_ + x]);
  }
  // Dots.
  bool Dark(int x, int y) const { return Ink((x - left_) * kScale, (y - top_) * kScale) > 127; }
  // The middles of the dark lines crossed along a row or a column, to a
  // fraction of a pixel: the ink's centre over the line and a pixel on
  // each side, so that where the rasteriser's rounding puts a thin line's
  // darkest pixel does not count.
  std::vector<double> LinesAlongRow(int y) const {
    std::vector<double> lines = Lines(width_, [&](int x) { return Ink(x, (y - top_) * kScale); });
    for (double& line : lines) line += left_;
    return lines;
  }
  std::vector<double> LinesAlongColumn(int x) const {
    std::vector<double> lines = Lines(height_, [&](int y) { return Ink((x - left_) * kScale, y); });
    for (double& line : lines) line += top_;
    return lines;
  }

 private:
  template <typename InkAt>
  static std::vector<double> Lines(int length, InkAt ink) {
    std::vector<double> lines;
    for (int i = 0; i < length; ++i) {
      if (ink(i) <= 127 || (i > 0 && ink(i - 1) > 127)) continue;
      int end = i;
      while (end + 1 < length && ink(end + 1) > 127) ++end;
      double sum = 0;
      double weighted = 0;
      for (int k = std::max(0, i - 1); k <= std::min(length - 1, end + 1); ++k) {
        sum += ink(k);
        weighted += ink(k) * (k + 0.5);
      }
      lines.push_back(weighted / sum / kScale);
    }
    return lines;
  }

  int left_ = 0;
  int top_ = 0;
  int width_ = 0;
  int height_ = 0;
  std::string pixels_;
};

// A sheet of the catalogue printed through the PDF printer (600 dpi, no
// unprintable strips): every label frame lies where the maker's numbers put
// it, within a printer dot, across the whole sheet. The goods have no texts,
// so the frames' sides are all that the first row and the first column's
// left strip hold.
TEST_F(PrintCommandTest, ASheetOfTheCatalogueIsPrintedWhereTheMakerHasIt) {
  if (std::system("command -v pdftoppm >/dev/null") != 0) GTEST_SKIP() << "no pdftoppm";
  const SheetTemplates catalogue =
      SheetTemplates::Load(std::string(KORVAL_SOURCE_DIR) + "/data/sheets/label-sheets.txt");
  for (const char* code : {"L7651", "L7160"}) {
    SCOPED_TRACE(code);
    const SheetLookup found = catalogue.Find(code);
    ASSERT_NE(found.Found, nullptr);
    const SheetTemplate& sheet = *found.Found;
    WriteGoods("Nazev;Cislo;Pocet\n;;" + std::to_string(sheet.Count()) + "\n");
    ASSERT_EQ(Print({"--pdf", pdf_, "--sheet", code}), 0) << err_.str();
    const double dotsPerMm = 600 / 25.4;
    auto x = [&](int col) { return (sheet.LeftMm + col * sheet.PitchXMm) * dotsPerMm; };
    auto y = [&](int row) { return (sheet.TopMm + row * sheet.PitchYMm) * dotsPerMm; };

    const int rowTop = static_cast<int>(y(0));
    const Raster band(pdf_, folder_.File("band"), 40, 0, rowTop - 10);
    // Just below the top frame: each label's left side and right side.
    const std::vector<double> across = band.LinesAlongRow(rowTop + 6);
    const int colLeft = static_cast<int>(x(0));
    const Raster strip(pdf_, folder_.File("strip"), 7000, colLeft + 10, 0, 20);
    const std::vector<double> down = strip.LinesAlongColumn(colLeft + 20);
    // A frame's line is a dot wide, its middle half a dot in; where one
    // label's frame touches the next one's, the two lines make one.
    auto nearest = [](const std::vector<double>& lines, double edge) {
      double best = 1e9;
      for (const double line : lines) best = std::min(best, std::abs(line - 0.5 - edge));
      return best;
    };
    for (int j = 0; j < sheet.Cols; ++j) EXPECT_LE(nearest(across, x(j)), 1.0) << "column " << j;
    for (int i = 0; i < sheet.Rows; ++i) EXPECT_LE(nearest(down, y(i)), 1.0) << "row " << i;
    // And no label more: the last frame's far side ends the lines.
    EXPECT_LE(across.back(), x(sheet.Cols) - sheet.GapXMm() * dotsPerMm + 1.5);
    EXPECT_LE(down.back(), y(sheet.Rows) - sheet.GapYMm() * dotsPerMm + 1.5);
  }
}

// A queue whose printable area starts 18 pt (150 dots at 600 dpi) from the
// left and 36 pt (300 dots) from the top of A4. Positions count from that
// corner; the example format's labels are framed, 70 mm wide (1654 dots),
// three across, 1,5 mm (35 dots) below the area's top edge. The printer's
// offset moves them all by its dots, 2 mm and 1 mm: 47 and 24.
TEST(PrintCommandMarginsTest, TheGridSitsOnThePrintableAreaAndMovesByTheOffset) {
  test::PrivateCupsd cups({{"Okraje", true, false, "", test::PrivateCupsd::A4Ppd("18 18 577 806")}});
  KORVAL_NEED_PRIVATE_CUPSD(cups);
  if (std::system("command -v pdftoppm >/dev/null") != 0) GTEST_SKIP() << "no pdftoppm";
  test::TempFolder folder;
  test::FolderInUse inUse(folder.Path());
  const std::string forms = folder.File("forms");
  fs::copy(fs::path(KORVAL_SOURCE_DIR) / "examples" / "forms", forms);
  ProfileFile(forms + "/TiketSav.000").WriteString("SetUp", "rxseOsax.Text", "70");
  test::WriteBytes(folder.File("goods.csv"), "Nazev;Cislo;Pocet\nPrvní;AAA-1;3\n");

  std::vector<std::vector<double>> across;
  std::vector<std::vector<double>> down;
  for (const char* offset : {"", "2;1"}) {
    SCOPED_TRACE(offset);
    if (*offset != 0) {
      // The calibration sheet stores the offset and shows it at work: the
      // first label's corner cross centred on (150 + 47, 335 + 24).
      std::ostringstream out;
      std::ostringstream err;
      ASSERT_EQ(RunCalibrateCommand({"--forms", forms, "--format", "Cenovka", "--printer",
                                     "Okraje", "--offset", offset},
                                    out, err),
                0)
          << err.str();
      test::WriteBytes(folder.File("calibration.pdf"), cups.WaitForOutput("Okraje"));
      const Raster sheet(folder.File("calibration.pdf"), folder.File("calibration"), 1400);
      ASSERT_TRUE(sheet.Valid());
      EXPECT_TRUE(sheet.Dark(197, 359));
      EXPECT_TRUE(sheet.Dark(197 - 50, 359));
      EXPECT_TRUE(sheet.Dark(197, 359 + 50));
      EXPECT_FALSE(sheet.Dark(197 + 100, 359 + 100));
      EXPECT_FALSE(sheet.Dark(197 - 4, 359 + 50)) << "a stroke of 0.2 mm";
    }
    fs::remove(cups.OutputOf("Okraje"));
    std::ostringstream out;
    std::ostringstream err;
    ASSERT_EQ(RunPrintCommand({"--forms", forms, "--format", "Cenovka", "--goods",
                               folder.File("goods.csv"), "--printer", "Okraje"},
                              out, err),
              0)
        << err.str();
    // The third column runs 150 dots past the area: said, and printed.
    EXPECT_NE(err.str().find("Etikety přesahují oblast tisku tiskárny..."), std::string::npos)
        << err.str();
    const std::string document = cups.WaitForOutput("Okraje");
    ASSERT_EQ(document.substr(0, 4), "%PDF");
    test::WriteBytes(folder.File("job.pdf"), document);
    const Raster page(folder.File("job.pdf"), folder.File("job"), 1400);
    ASSERT_TRUE(page.Valid());
    // Down a column inside the first label, the first edge is its frame's
    // top; just below it a row crosses only the frames' sides.
    down.push_back(page.LinesAlongColumn(1000));
    ASSERT_FALSE(down.back().empty());
    across.push_back(page.LinesAlongRow(static_cast<int>(down.back().front()) + 4));
  }
  ASSERT_GE(across[0].size(), 3u);
  // Frames start at 150, 150 + 1654 and 150 + 2 × 1654 across and at
  // 300 + 35 down, each within a dot (a frame's line is a dot wide, its
  // middle half a dot in).
  EXPECT_NEAR(across[0][0], 150.5, 1);
  EXPECT_NEAR(across[0][1], 150 + 1654, 1) << "the first frame's right side and the second's left";
  EXPECT_NEAR(across[0][2], 150 + 2 * 1654, 1);
  EXPECT_NEAR(down[0][0], 335.5, 1);
  // The offset moves the whole grid by its dots.
  ASSERT_EQ(across[1].size(), across[0].size());
  for (std::size_t i = 0; i < across[0].size(); ++i)
    EXPECT_NEAR(across[1][i] - across[0][i], 47, 0.5);
  EXPECT_NEAR(down[1][0] - down[0][0], 24, 0.5) << down[0][0] << " " << down[1][0] << " " << across[0][0] << " " << across[1][0];
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
    KORVAL_NEED_PRIVATE_CUPSD(cups_);
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
  EXPECT_EQ(rows[0].at("dpi"), "600");

  EXPECT_EQ(rows[1].at("printer"), "Stitky");
  EXPECT_EQ(rows[1].at("default"), "*");
  EXPECT_EQ(rows[1].at("paper"), "A6");
  // The printer's own resolution, whose dots formats in dots count.
  EXPECT_EQ(rows[1].at("dpi"), "203");
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
