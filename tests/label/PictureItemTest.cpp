#include <gtest/gtest.h>

#include <sys/resource.h>

#include <csetjmp>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

// clang-format off
#include <jpeglib.h>
// clang-format on

#include "platform/PictureDecoder.h"

#include "doubles/DialogFixture.h"
#include "storage/ProfileTestFolder.h"

namespace korval {
namespace {

using test::DialogFixture;
using test::TempFolder;
using test::WriteBytes;

constexpr std::uint32_t kWhite = 0xFFFFFFFFu;

// A JPEG made here with libjpeg's own compressor: the left half of the image
// red, the right half blue (or both halves grey levels when gray is set), or
// noise, which keeps most of the file in the image data.
enum class Content { Colours, Gray, Noise };
std::string MakeJpeg(int width, int height, Content content = Content::Colours,
                     bool progressive = false) {
  const bool gray = content == Content::Gray;
  jpeg_compress_struct info;
  jpeg_error_mgr errors;
  info.err = jpeg_std_error(&errors);
  jpeg_create_compress(&info);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&info, &buffer, &size);
  info.image_width = static_cast<JDIMENSION>(width);
  info.image_height = static_cast<JDIMENSION>(height);
  info.input_components = gray ? 1 : 3;
  info.in_color_space = gray ? JCS_GRAYSCALE : JCS_RGB;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, 95, TRUE);
  if (progressive) jpeg_simple_progression(&info);
  jpeg_start_compress(&info, TRUE);
  std::vector<unsigned char> row(static_cast<std::size_t>(width * info.input_components));
  for (int x = 0; x < width; ++x) {
    const bool left = x < width / 2;
    if (gray) {
      row[static_cast<std::size_t>(x)] = left ? 40 : 200;
    } else {
      unsigned char* p = &row[static_cast<std::size_t>(x) * 3];
      p[0] = left ? 255 : 0;
      p[1] = 0;
      p[2] = left ? 0 : 255;
    }
  }
  std::uint32_t seed = 12345;
  while (info.next_scanline < info.image_height) {
    if (content == Content::Noise) {
      for (unsigned char& c : row) {
        seed = seed * 1664525u + 1013904223u;
        c = static_cast<unsigned char>(seed >> 24);
      }
    }
    JSAMPROW rows[1] = {row.data()};
    jpeg_write_scanlines(&info, rows, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  std::string bytes(reinterpret_cast<const char*>(buffer), size);
  std::free(buffer);
  return bytes;
}

struct Rgb {
  int R, G, B;
};

Rgb At(const Picture& picture, int x, int y) {
  const std::uint32_t p = picture.Pixels.at(static_cast<std::size_t>(y * picture.Width + x));
  return {int((p >> 16) & 0xFF), int((p >> 8) & 0xFF), int(p & 0xFF)};
}

bool Near(Rgb c, int r, int g, int b) {
  constexpr int kTolerance = 24;  // lossy compression
  return std::abs(c.R - r) <= kTolerance && std::abs(c.G - g) <= kTolerance &&
         std::abs(c.B - b) <= kTolerance;
}

bool AllOpaque(const Picture& picture) {
  for (std::uint32_t p : picture.Pixels) {
    if ((p >> 24) != 0xFF) return false;
  }
  return true;
}

// Hands out a fixed answer and records what it was asked.
class StubDecoder final : public PictureDecoder {
 public:
  std::optional<Picture> Decode(const std::string& path, std::string_view extension) override {
    calls.emplace_back(path, std::string(extension));
    return answer;
  }
  std::optional<Picture> answer;
  std::vector<std::pair<std::string, std::string>> calls;
};

class PictureFileTest : public ::testing::Test {
 protected:
  void TearDown() override { SetPictureDecoder(nullptr); }
  TempFolder folder_;
};

TEST_F(PictureFileTest, JpegDecodesWithItsSizeAndColours) {
  const std::string file = folder_.File("foto.jpg");
  WriteBytes(file, MakeJpeg(32, 16));
  const Picture picture = LoadPictureFile(file);
  ASSERT_EQ(picture.Width, 32);
  ASSERT_EQ(picture.Height, 16);
  ASSERT_EQ(picture.Pixels.size(), 32u * 16u);
  EXPECT_TRUE(AllOpaque(picture));
  EXPECT_TRUE(Near(At(picture, 3, 8), 255, 0, 0));
  EXPECT_TRUE(Near(At(picture, 28, 8), 0, 0, 255));
  EXPECT_TRUE(Near(At(picture, 0, 0), 255, 0, 0));
  EXPECT_TRUE(Near(At(picture, 31, 15), 0, 0, 255));
}

TEST_F(PictureFileTest, GrayJpegComesOutAsGrayPixels) {
  const std::string file = folder_.File("seda.jpeg");
  WriteBytes(file, MakeJpeg(16, 16, Content::Gray));
  const Picture picture = LoadPictureFile(file);
  ASSERT_EQ(picture.Width, 16);
  EXPECT_TRUE(AllOpaque(picture));
  EXPECT_TRUE(Near(At(picture, 2, 5), 40, 40, 40));
  EXPECT_TRUE(Near(At(picture, 13, 5), 200, 200, 200));
}

TEST_F(PictureFileTest, ExtensionIsComparedWithoutRegardToCase) {
  for (const char* name : {"A.JPG", "b.Jpeg", "c.jPg"}) {
    SCOPED_TRACE(name);
    const std::string file = folder_.File(name);
    WriteBytes(file, MakeJpeg(8, 4));
    EXPECT_EQ(LoadPictureFile(file).Width, 8);
  }
  EXPECT_EQ(PictureExtension("C:\\Obr\\LOGO.BMP"), "bmp");
  EXPECT_EQ(PictureExtension("/data/foto.v2/nazev"), "");  // the dot is in a folder name
  EXPECT_EQ(PictureExtension("C:\\a.b\\logo"), "");
  EXPECT_EQ(PictureExtension("logo."), "");
  EXPECT_EQ(PictureExtension("archiv.tar.WMF"), "wmf");
}

TEST_F(PictureFileTest, OtherExtensionsAreErrorsWhateverTheContent) {
  const std::string jpeg = MakeJpeg(8, 8);
  for (const char* name : {"foto.png", "foto.gif", "foto.jpe", "foto", "foto.jpg.txt"}) {
    SCOPED_TRACE(name);
    const std::string file = folder_.File(name);
    WriteBytes(file, jpeg);
    EXPECT_THROW(LoadPictureFile(file), PictureLoadError);
  }
}

TEST_F(PictureFileTest, MissingDamagedAndTruncatedFilesAreErrors) {
  EXPECT_THROW(LoadPictureFile(folder_.File("neni.jpg")), PictureLoadError);
  EXPECT_THROW(LoadPictureFile(folder_.Path().string()), PictureLoadError);  // a folder

  const std::string garbage = folder_.File("smeti.jpg");
  WriteBytes(garbage, std::string(500, '\x5A'));
  EXPECT_THROW(LoadPictureFile(garbage), PictureLoadError);

  const std::string empty = folder_.File("prazdny.jpg");
  WriteBytes(empty, "");
  EXPECT_THROW(LoadPictureFile(empty), PictureLoadError);

  // A real JPEG cut after its headers, and one cut half way through the
  // image data: neither aborts, both are refused.
  const std::string jpeg = MakeJpeg(64, 64, Content::Noise);
  ASSERT_GT(jpeg.size(), 4000u);  // the tables take less than 1000 bytes
  const std::string headersOnly = folder_.File("hlavicka.jpg");
  WriteBytes(headersOnly, jpeg.substr(0, 200));
  EXPECT_THROW(LoadPictureFile(headersOnly), PictureLoadError);
  const std::string half = folder_.File("pulka.jpg");
  WriteBytes(half, jpeg.substr(0, jpeg.size() / 2));
  EXPECT_THROW(LoadPictureFile(half), PictureLoadError);

  // Damage inside the image data after an intact header.
  std::string scrambled = jpeg;
  for (std::size_t i = scrambled.size() / 2; i < scrambled.size() - 2; i += 3)
    scrambled[i] = '\xFF';
  const std::string broken = folder_.File("poskozeny.jpg");
  WriteBytes(broken, scrambled);
  try {
    const Picture picture = LoadPictureFile(broken);
    // libjpeg may still make a full picture of it; then it is a whole one.
    EXPECT_EQ(picture.Pixels.size(), 64u * 64u);
  } catch (const PictureLoadError&) {
  }
}

// The largest resident size of this process so far, in KiB.
long PeakResidentKiB() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

// A progressive picture of a few kilobytes whose header claims 30000 x 30000
// pixels: libjpeg decompresses a progressive picture whole when it starts,
// so the size must be refused from the header, before gigabytes are taken.
TEST_F(PictureFileTest, HugeSizeInTheHeaderIsRefusedBeforeDecoding) {
  std::string jpeg = MakeJpeg(64, 64, Content::Noise, true);
  const std::size_t frame = jpeg.find("\xFF\xC2");
  ASSERT_NE(frame, std::string::npos);
  for (const std::size_t at : {frame + 5, frame + 7}) {  // height, then width
    jpeg[at] = static_cast<char>(30000 >> 8);
    jpeg[at + 1] = static_cast<char>(30000 & 0xFF);
  }
  const std::string file = folder_.File("obri.jpg");
  WriteBytes(file, jpeg);
  const long before = PeakResidentKiB();
  EXPECT_THROW(LoadPictureFile(file), PictureLoadError);
  EXPECT_LT(PeakResidentKiB() - before, 256 * 1024) << "KiB taken for a refused picture";
}

TEST_F(PictureFileTest, WindowsFormatsGoToTheInstalledDecoder) {
  const std::string file = folder_.File("LOGO.Bmp");
  WriteBytes(file, "BM");
  EXPECT_THROW(LoadPictureFile(file), PictureLoadError);  // no decoder installed

  StubDecoder decoder;
  decoder.answer = Picture{2, 1, {0xFF112233u, 0xFF445566u}};
  SetPictureDecoder(&decoder);
  const Picture picture = LoadPictureFile(file);
  EXPECT_EQ(picture.Pixels, decoder.answer->Pixels);
  for (const char* name : {"a.ICO", "b.emf", "c.WMF"}) {
    const std::string other = folder_.File(name);
    WriteBytes(other, "x");
    LoadPictureFile(other);
  }
  const std::vector<std::pair<std::string, std::string>> expected = {
      {file, "bmp"},
      {folder_.File("a.ICO"), "ico"},
      {folder_.File("b.emf"), "emf"},
      {folder_.File("c.WMF"), "wmf"}};
  EXPECT_EQ(decoder.calls, expected);

  const std::string jpeg = folder_.File("foto.jpg");
  WriteBytes(jpeg, MakeJpeg(4, 4));
  LoadPictureFile(jpeg);
  EXPECT_EQ(decoder.calls.size(), 4u);  // JPEG never leaves the core

  decoder.answer.reset();
  EXPECT_THROW(LoadPictureFile(file), PictureLoadError);
  decoder.answer = Picture{3, 3, {kWhite}};  // fewer pixels than its size
  EXPECT_THROW(LoadPictureFile(file), PictureLoadError);
  decoder.answer = Picture{0, 0, {}};
  EXPECT_THROW(LoadPictureFile(file), PictureLoadError);
}

// --- The picture item on the dialog ---------------------------------------

class PictureItemTest : public ::testing::Test {
 protected:
  PictureItemTest() : dialog_(fixture_.Dialog()) {}

  Edit& FileEdit() { return dialog_.Ctl<Edit>("EBitMap"); }
  CheckBox& Switch() { return dialog_.Ctl<CheckBox>("cbBitMAp"); }
  TImage& Image() { return dialog_.Ctl<TImage>("imgBitMap"); }
  // Starts the observed part of a test with empty logs.
  void ClearLogs() {
    fixture_.ui.cursors_.clear();
    fixture_.ui.pendingEventRuns_ = 0;
  }
  std::string WriteJpeg(const std::string& name, int width, int height) {
    const std::string file = folder_.File(name);
    WriteBytes(file, MakeJpeg(width, height));
    return file;
  }

  TempFolder folder_;
  DialogFixture fixture_;
  TfrmMain& dialog_;
};

TEST_F(PictureItemTest, CheckedSwitchLoadsTheNamedFileUnderTheHourglass) {
  Switch().SetChecked(true);
  FileEdit().SetText("  " + WriteJpeg("Logo.JPG", 24, 10) + " ");
  ClearLogs();
  dialog_.EBitMapChange();
  EXPECT_EQ(Image().GetPicture().Width, 24);
  EXPECT_EQ(Image().GetPicture().Height, 10);
  EXPECT_TRUE(Near(At(Image().GetPicture(), 1, 1), 255, 0, 0));
  EXPECT_EQ(fixture_.ui.pendingEventRuns_, 1);
  EXPECT_EQ(fixture_.ui.cursors_, (std::vector<Cursor>{Cursor::HourGlass, Cursor::Default}));
}

TEST_F(PictureItemTest, UncheckedSwitchOrMissingFileLoadsNothing) {
  const std::string file = WriteJpeg("foto.jpg", 8, 8);
  Switch().SetChecked(false);
  FileEdit().SetText(file);
  ClearLogs();
  dialog_.EBitMapChange();
  EXPECT_TRUE(Image().GetPicture().Empty());
  EXPECT_TRUE(fixture_.ui.cursors_.empty());
  EXPECT_EQ(fixture_.ui.pendingEventRuns_, 0);

  // A file that is not there is not an error: the picture stays as it was.
  Switch().SetChecked(true);
  Image().SetPicture(Picture{1, 1, {0xFF00FF00u}});
  for (const std::string& name : {folder_.File("neni.jpg"), std::string("   ")}) {
    FileEdit().SetText(name);
    ClearLogs();
    dialog_.EBitMapChange();
    EXPECT_EQ(Image().GetPicture().Pixels, std::vector<std::uint32_t>{0xFF00FF00u});
    EXPECT_TRUE(fixture_.ui.cursors_.empty());
  }
}

TEST_F(PictureItemTest, FileThatFailsBlanksThePictureAndRestoresTheCursor) {
  const std::string garbage = folder_.File("smeti.jpg");
  WriteBytes(garbage, std::string(300, '\x01'));
  const std::string jpegAsPng = folder_.File("foto.png");
  WriteBytes(jpegAsPng, MakeJpeg(8, 8));
  const std::string bitmap = folder_.File("logo.bmp");  // no decoder installed here
  WriteBytes(bitmap, "BM");
  Switch().SetChecked(true);
  for (const std::string& file : {garbage, jpegAsPng, bitmap}) {
    SCOPED_TRACE(file);
    Image().SetPicture(Picture{3, 2, std::vector<std::uint32_t>(6, 0xFFFF0000u)});
    FileEdit().SetText(file);
    ClearLogs();
    dialog_.EBitMapChange();
    const Picture& picture = Image().GetPicture();
    EXPECT_EQ(picture.Width, 3);
    EXPECT_EQ(picture.Height, 2);
    EXPECT_EQ(picture.Pixels, std::vector<std::uint32_t>(6, kWhite));
    EXPECT_EQ(fixture_.ui.cursors_, (std::vector<Cursor>{Cursor::HourGlass, Cursor::Default}));
  }
}

TEST_F(PictureItemTest, CheckingTheSwitchReloadsThePicture) {
  FileEdit().SetText(WriteJpeg("foto.jpg", 12, 6));
  ASSERT_TRUE(Image().GetPicture().Empty());
  Switch().Click();
  ASSERT_TRUE(Switch().Checked());
  EXPECT_EQ(Image().GetPicture().Width, 12);
}

TEST_F(PictureItemTest, BrowseSetsTheFileNameAndKeepsTheCurrentFolder) {
  const std::filesystem::path start = std::filesystem::current_path();
  const std::string chosen = folder_.File("vybrany.bmp");
  fixture_.ui.pictureAnswers_.push_back(chosen);
  // Whatever runs while the dialog is open may move the current folder.
  FileEdit().OnChange = [this](Control&) { std::filesystem::current_path(folder_.Path()); };
  dialog_.EBitMapButtonClick();
  EXPECT_EQ(std::filesystem::current_path(), start);
  EXPECT_EQ(FileEdit().Text(), chosen);
  ASSERT_EQ(fixture_.ui.pictureDialogs_.size(), 1u);
  EXPECT_EQ(fixture_.ui.pictureDialogs_[0].first, "Vyber obrázek");
  EXPECT_EQ(fixture_.ui.pictureDialogs_[0].second, "Bitmaps (*.bmp)|*.bmp");

  // Cancelled: the name stays.
  dialog_.EBitMapButtonClick();
  EXPECT_EQ(FileEdit().Text(), chosen);
  EXPECT_EQ(fixture_.ui.pictureDialogs_.size(), 2u);
  EXPECT_EQ(std::filesystem::current_path(), start);
}

}  // namespace
}  // namespace korval
