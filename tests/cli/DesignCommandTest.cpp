#include "cli/DesignCommand.h"

#include <gtest/gtest.h>

#include <QImage>
#include <filesystem>
#include <map>
#include <sstream>

#include "cli/ExampleFormsTest.h"
#include "cli/Options.h"
#include "storage/ProfileTestFolder.h"

namespace korval::cli {
namespace {

namespace fs = std::filesystem;

// Every file under a folder with its bytes.
std::map<std::string, std::string> Snapshot(const fs::path& folder) {
  std::map<std::string, std::string> files;
  for (const auto& entry : fs::recursive_directory_iterator(folder)) {
    if (entry.is_regular_file())
      files[entry.path().string()] = test::ReadBytes(entry.path().string());
  }
  return files;
}

class DesignCommandTest : public test::ExampleFormsTest {
 protected:
  int Design(std::vector<std::string> args) {
    const std::vector<std::string> base = {"--forms", forms_, "--goods",
                                           std::string(KORVAL_SOURCE_DIR) + "/examples/goods.csv"};
    args.insert(args.begin(), base.begin(), base.end());
    return RunDesignCommand(args, out_, err_);
  }
};

TEST_F(DesignCommandTest, PicturesOfBothPagesAreMadeAndNothingIsWritten) {
  const auto before = Snapshot(folder_.Path());
  const std::string design = folder_.File("dialog.png");
  const std::string preview = folder_.File("preview.png");
  const std::string plain = folder_.File("plain.png");
  const std::string sheet = folder_.File("sheet.png");
  ASSERT_EQ(Design({"--format", "Cenovka", "--screenshot", design}), 0) << err_.str();
  ASSERT_EQ(Design({"--format", "Cenovka", "--screenshot", preview, "--page", "preview"}), 0);
  ASSERT_EQ(Design({"--screenshot", plain}), 0);
  ASSERT_EQ(Design({"--format", "Cenovka", "--screenshot", sheet, "--page", "sheet"}), 0);
  EXPECT_NE(out_.str().find("wrote " + design + " (670 x 466)"), std::string::npos) << out_.str();

  const QImage designImage(QString::fromStdString(design));
  const QImage previewImage(QString::fromStdString(preview));
  const QImage plainImage(QString::fromStdString(plain));
  ASSERT_FALSE(designImage.isNull());
  EXPECT_EQ(designImage.size(), QSize(670, 466));
  EXPECT_EQ(previewImage.size(), designImage.size());
  // Another page, and another label than the dialog shows without a format.
  EXPECT_NE(designImage, previewImage);
  EXPECT_NE(designImage, plainImage);
  EXPECT_NE(designImage, QImage(QString::fromStdString(sheet))) << "the sheet's parameters";

  auto after = Snapshot(folder_.Path());
  for (const std::string& picture : {design, preview, plain, sheet}) after.erase(picture);
  EXPECT_EQ(after, before);
}

TEST_F(DesignCommandTest, ThePageGoesWithAPictureOnly) {
  EXPECT_THROW(Design({"--page", "preview"}), UsageError);
  EXPECT_THROW(Design({"--screenshot", folder_.File("x.png"), "--page", "labels"}), UsageError);
  EXPECT_THROW(RunDesignCommand({"--forms", folder_.File("none")}, out_, err_), UsageError);
}

// A sheet of the catalogue is laid on the loaded format before the dialog
// shows: the label on the design page takes the sheet's size. A code the
// catalogue does not have is refused before anything is drawn.
TEST_F(DesignCommandTest, ASheetOfTheCatalogueIsAppliedToTheFormat) {
  const std::string own = folder_.File("own.png");
  const std::string sheet = folder_.File("sheet.png");
  ASSERT_EQ(Design({"--format", "Cenovka", "--screenshot", own}), 0) << err_.str();
  ASSERT_EQ(Design({"--format", "Cenovka", "--screenshot", sheet, "--sheet", "Avery L7651"}), 0)
      << err_.str();
  const QImage ownImage(QString::fromStdString(own));
  const QImage sheetImage(QString::fromStdString(sheet));
  ASSERT_FALSE(sheetImage.isNull());
  EXPECT_EQ(sheetImage.size(), ownImage.size());
  EXPECT_NE(sheetImage, ownImage);
  const std::string refused = folder_.File("refused.png");
  EXPECT_THROW(Design({"--format", "Cenovka", "--screenshot", refused, "--sheet", "L9999"}),
               UsageError);
  EXPECT_FALSE(fs::exists(refused));
}

// An unknown format name is refused as `korval print` refuses it, not
// opened silently as a new, empty label.
TEST_F(DesignCommandTest, AnUnknownFormatIsRefusedAsPrintRefusesIt) {
  try {
    Design({"--format", "Neznámý", "--screenshot", folder_.File("x.png")});
    ADD_FAILURE() << "an unknown format was accepted";
  } catch (const UsageError& e) {
    EXPECT_EQ(std::string(e.what()),
              "no label format \"Neznámý\" in " + forms_ + "/ (stored: Cenovka)");
  }
  EXPECT_FALSE(fs::exists(folder_.File("x.png")));
  // Names are compared without regard to case, as the library compares them.
  EXPECT_EQ(Design({"--format", "CENOVKA", "--screenshot", folder_.File("y.png")}), 0);
}

}  // namespace
}  // namespace korval::cli
