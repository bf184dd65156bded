#include <signal.h>
#ifndef _WIN32
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <thread>

#include "doubles/FormsFolderTest.h"
#include "platform/CodePage.h"
#include "platform/Text.h"
#include "storage/ComponentStateList.h"
#include "storage/LabelFormatFiles.h"
#include "storage/ProfileFile.h"
#include "storage/ProfileTestFolder.h"
#include "storage/TfrmSaves.h"

namespace korval {
namespace {

using test::DialogFixture;
using test::ReadBytes;
using test::TempFolder;
using test::WriteBytes;

class StoreTest : public test::FormsFolderTest {
 protected:
  TfrmMain& Open(const std::string& formatName = "") {
    f_.SetGoods({test::RecordBuilder().Name("Sýr").Build()}, formatName);
    TfrmMain& d = f_.Dialog();
    d.RunCreationSteps();
    d.ShowStep();
    return d;
  }
  // The person names the format and presses "&Uložit".
  void SaveAs(const std::string& name) {
    f_.ui.saveDialogScripts_.push_back([name](TfrmSaves& dialog) {
      dialog.SetName(name);
      return dialog.PressSave();
    });
  }
};

TEST_F(StoreTest, NameItemIsWrittenAsFifteenKeysInOrder) {
  TfrmMain& d = Open();
  d.SaveLastUsedState();
  const ProfileFile file(File("TiketFrm.ini"));
  std::vector<std::string> keys;
  for (const auto& key : file.ReadKeys("SetLast"))
    if (key.rfind("lNazev.", 0) == 0)
      keys.push_back(key + "=" + file.ReadString("SetLast", key, "?"));
  const std::vector<std::string> expected = {"lNazev.Alignment=taLeftJustify",
                                             "lNazev.Layout=tlCenter",
                                             "lNazev.FontCharset=1",
                                             "lNazev.FontColor=-2147483640",
                                             "lNazev.FontHeight=-19",
                                             "lNazev.FontName=MS Sans Serif",
                                             "lNazev.FontPitch=fpDefault",
                                             "lNazev.FontSize=14",
                                             "lNazev.FontStyle=[fsBold]",
                                             "lNazev.WordWrap=False",
                                             "lNazev.Top=12",
                                             "lNazev.Left=66",
                                             "lNazev.Width=97",
                                             "lNazev.Height=25",
                                             "lNazev.Visible=False"};
  EXPECT_EQ(keys, expected);
  // Byte for byte as the Windows program writes them.
  EXPECT_NE(Bytes("TiketFrm.ini").find("lNazev.FontStyle=[fsBold]\r\nlNazev.WordWrap=False\r\n"),
            std::string::npos);
}

TEST_F(StoreTest, SetsKeepTheirRegistrationOrder) {
  TfrmMain& d = Open();
  const auto params = d.ParamsStorage().Entries();
  ASSERT_GE(params.size(), 2u);
  EXPECT_EQ(params.front(), "lcena1.Alignment");
  // The preview's details came later than the other keys, so they follow.
  EXPECT_EQ(params.back(), "PodrobnostiPrew.Checked");
  EXPECT_EQ(params[params.size() - 2], "CBoxIgnoreWrongEAN.Checked");
  const auto design = d.ComponentState1().Entries();
  EXPECT_EQ(design.front(), "lNazev.Alignment");
  EXPECT_EQ(design.back(), "lDatum.Visible");
  // The price items store their split, the others do not.
  EXPECT_NE(std::find(params.begin(), params.end(), "lcena1.Linked"), params.end());
  EXPECT_EQ(std::find(params.begin(), params.end(), "lminzas.Linked"), params.end());
  // The barcode stores its flags and font, then its Tag.
  EXPECT_NE(std::find(params.begin(), params.end(), "lEANCode.Tag"), params.end());
}

TEST_F(StoreTest, HandWrittenFormatLoads) {
  WriteBytes(File("TiketFrm.ini"),
             Utf8ToCp1250("[Setup]\r\nDefault=Malé\r\n[Saves]\r\nVelké=\r\nMalé=\r\n"));
  WriteBytes(File("TiketSav.001"), Utf8ToCp1250("[SetUp]\r\n"
                                                "lNazev.Alignment=taCenter\r\n"
                                                "lNazev.Layout=tlBottom\r\n"
                                                "lNazev.FontName=Arial\r\n"
                                                "lNazev.FontHeight=-13\r\n"
                                                "lNazev.FontSize=20\r\n"
                                                "lNazev.FontStyle=[fsBold,fsItalic]\r\n"
                                                "lNazev.WordWrap=true\r\n"
                                                "lNazev.Top=30\r\n"
                                                "lNazev.Left=5\r\n"
                                                "lNazev.Visible=True\r\n"
                                                "rxseOsax=oops\r\n"
                                                "rxseOsax.Text=  40 \r\n"
                                                "ComboBox1.ItemIndex=1\r\n"
                                                "eText1.Text=Akce\r\n"
                                                "lcena1.Visible=True\r\n"
                                                "lcena1.Linked=True\r\n"
                                                "lcena1_Link.Left=150\r\n"
                                                "lcena1_Link.Width=20\r\n"));
  TfrmMain& d = Open("Malé");
  auto& name = d.Ctl<TLabel>("lNazev");
  EXPECT_EQ(d.StoreFile, File("TiketSav.001"));
  EXPECT_EQ(name.Alignment(), TAlignment::taCenter);
  EXPECT_EQ(name.Layout(), TTextLayout::tlBottom);
  EXPECT_EQ(name.GetFont().Name, "Arial");
  EXPECT_EQ(name.GetFont().Size, 20);  // Size comes after Height and counts
  EXPECT_EQ(name.GetFont().Height, -27);
  EXPECT_EQ(name.GetFont().Style, fsBold | fsItalic);
  EXPECT_TRUE(name.WordWrap());
  EXPECT_EQ(name.Top(), 30);
  EXPECT_EQ(name.Width(), 97);  // missing key: unchanged
  EXPECT_TRUE(name.Visible());
  EXPECT_TRUE(d.Ctl<CheckBox>("cbNazev").Checked());
  EXPECT_EQ(d.Ctl<Edit>("rxseOsax").Text(), "40");
  EXPECT_EQ(d.Unit, MeasureUnit::Millimetres);
  EXPECT_EQ(d.Ctl<Control>("lText1").Caption(), "Akce");
  // The split price gets its link label back, at its stored place.
  auto& price = d.Ctl<TLabel>("lcena1");
  ASSERT_TRUE(price.Linked());
  EXPECT_EQ(price.LinkLabel()->Left(), 150);
  EXPECT_EQ(price.LinkLabel()->Width(), 20);
  EXPECT_TRUE(d.Ctl<CheckBox>("cbDefautl").Checked());
  EXPECT_EQ(d.DefaultFormatName, "Malé");
}

TEST_F(StoreTest, BadValuesLeaveWhatTheyCannotSet) {
  WriteBytes(File("TiketFrm.ini"),
             "[SetLast]\r\nlCislo.Top=abc\r\nlCislo.Visible=yes\r\nlCislo.Alignment=left\r\n"
             "lCislo.FontStyle=[]\r\nlCislo.Left=7\r\n");
  TfrmMain& d = Open();
  auto& number = d.Ctl<TLabel>("lCislo");
  EXPECT_EQ(number.Top(), 0);      // an integer that is not a number is 0
  EXPECT_FALSE(number.Visible());  // a Boolean that is not one is left
  EXPECT_EQ(number.Alignment(), TAlignment::taLeftJustify);
  EXPECT_EQ(number.GetFont().Style, 0);  // brackets alone: no style
  EXPECT_EQ(number.Left(), 7);
}

TEST_F(StoreTest, DamagedFilesRestoreWhatTheyCan) {
  std::string garbage = "[SetLast]\r\nlNazev.Left=44\r\n";
  for (int i = 0; i < 5000; ++i) garbage += static_cast<char>((i * 37) % 256);
  garbage += "\r\nlNazev.Top=";  // cut off in the middle of a line
  WriteBytes(File("TiketFrm.ini"), garbage);
  TfrmMain& d = Open();
  EXPECT_EQ(d.Ctl<Control>("lNazev").Left(), 44);
}

TEST_F(StoreTest, SavingAThenBThenLowerCaseA) {
  TfrmMain& d = Open();
  auto& box = d.Ctl<ComboBox>("cboxSaves");
  box.SetText("A");
  SaveAs("A");
  d.SaveState(false, false);
  EXPECT_EQ(Bytes("TiketFrm.ini"), "[Setup]\r\nDefault=\r\n[Saves]\r\nA=\r\n");
  ASSERT_TRUE(Exists("TiketSav.000"));
  EXPECT_EQ(Bytes("TiketSav.000").rfind("[SetUp]\r\n", 0), 0u);
  EXPECT_EQ(f_.ui.notices_.size(), 1u);
  EXPECT_EQ(f_.ui.notices_[0].Message, 1025u);

  SaveAs("B");
  d.SaveState(false, false);
  EXPECT_TRUE(Exists("TiketSav.001"));
  d.Ctl<Control>("lNazev").SetLeft(77);
  SaveAs("a");
  d.SaveState(false, false);
  EXPECT_EQ(ProfileFile(File("TiketFrm.ini")).ReadKeys("Saves"),
            (std::vector<std::string>{"A", "B"}));
  EXPECT_FALSE(Exists("TiketSav.002"));
  EXPECT_EQ(ProfileFile(File("TiketSav.000")).ReadString("SetUp", "lNazev.Left", ""), "77");
  EXPECT_EQ(box.Items(), (std::vector<std::string>{"A", "B"}));
  EXPECT_EQ(f_.ui.notices_.size(), 3u);
}

// The sheet picked in "Arch:" is kept by its code under a key of its own,
// beside the keys the format always had; a code the catalogue does not know
// (any more) loads as "vlastní" with the format's own numbers.
TEST_F(StoreTest, TheChosenSheetIsKeptByItsCode) {
  const char* catalogue =
      "A4|63.5|38.1|3|7|21|7.25|15.15|66.04|38.1|Avery:L7160;Avery:J8160|Address labels\n"
      "A4|38.1|21.2|5|13|65|4.7|10.9|40.6|21.2|Avery:L7651|Mini labels\n";
  TfrmMain& d = Open();
  d.SetSheetCatalogue(SheetTemplates::Parse(catalogue));
  d.Ctl<ComboBox>("cbArch").UserSelect(2);
  const std::string width = d.Ctl<Edit>("rxseOsax").Text();
  d.Ctl<ComboBox>("cboxSaves").SetText("Mini");
  SaveAs("Mini");
  d.SaveState(false, false);
  const ProfileFile state(File("TiketSav.000"));
  EXPECT_EQ(state.ReadString("SetUp", "cbArch.Sheet", "?"), "Avery:L7651");
  EXPECT_EQ(state.ReadString("SetUp", "rxseOsax.Text", "?"), width);
  const std::vector<std::string> keys = state.ReadKeys("SetUp");
  EXPECT_EQ(std::count(keys.begin(), keys.end(), "cbArch.Sheet"), 1);
  EXPECT_EQ(std::count_if(keys.begin(), keys.end(),
                          [](const std::string& k) { return k.rfind("cbArch.", 0) == 0; }),
            1);
  for (const char* key : {"meOdsazHorni.Text", "meOdsazLev.Text", "ComboBox1.ItemIndex",
                          "CBoxIgnoreWrongEAN.Checked", "lDatum.Visible"})
    EXPECT_NE(std::find(keys.begin(), keys.end(), key), keys.end()) << key;

  for (const auto& [stored, index] : {std::pair{"Avery:L7651", 2}, std::pair{"avery j8160", 1},
                                      std::pair{"Nobody:Z9", 0}, std::pair{"", 0}}) {
    SCOPED_TRACE(stored);
    ProfileFile(File("TiketSav.000")).WriteString("SetUp", "cbArch.Sheet", stored);
    f_.Recreate();
    f_.SetGoods({test::RecordBuilder().Name("Sýr").Build()}, "Mini");
    TfrmMain& again = f_.Dialog();
    again.SetSheetCatalogue(SheetTemplates::Parse(catalogue));
    again.RunCreationSteps();
    again.ShowStep();
    EXPECT_EQ(again.Ctl<ComboBox>("cbArch").ItemIndex(), index);
    EXPECT_EQ(again.Ctl<Edit>("rxseOsax").Text(), width);
  }

  // Own numbers are saved as such: an earlier sheet does not come back.
  TfrmMain& last = f_.Dialog();
  last.Ctl<ComboBox>("cbArch").UserSelect(0);
  last.SaveLastUsedState();
  EXPECT_EQ(ProfileFile(File("TiketFrm.ini")).ReadString("SetLast", "cbArch.Sheet", "?"), "");
}

// Whether the preview shows the labels is the format's; a format saved
// before there was a key for it shows the outlines only.
TEST_F(StoreTest, PreviewDetailsAreKeptWithTheFormat) {
  TfrmMain& d = Open();
  auto& details = d.Ctl<CheckBox>("PodrobnostiPrew");
  EXPECT_TRUE(details.Enabled());
  EXPECT_FALSE(details.Checked());
  details.SetChecked(true);
  SaveAs("A");
  d.SaveState(false, false);
  EXPECT_EQ(ProfileFile(File("TiketSav.000")).ReadString("SetUp", "PodrobnostiPrew.Checked", ""),
            "True");
  details.SetChecked(false);
  SaveAs("B");
  d.SaveState(false, false);

  d.LoadFormat("A");
  EXPECT_TRUE(details.Checked());
  d.LoadFormat("B");
  EXPECT_FALSE(details.Checked());
  d.LoadFormat("A");
  ProfileFile(File("TiketSav.001")).DeleteKey("SetUp", "PodrobnostiPrew.Checked");
  d.LoadFormat("B");
  EXPECT_FALSE(details.Checked());
}

TEST_F(StoreTest, NoToTheQuestionWritesOnlyTheLastUsedState) {
  WriteBytes(File("TiketFrm.ini"), "[Saves]\r\nA=\r\n");
  TfrmMain& d = Open();
  f_.ui.answers_ = {MessageAnswer::No};
  d.SaveState(true, false);
  const ProfileFile list(File("TiketFrm.ini"));
  EXPECT_EQ(list.ReadKeys("Saves"), std::vector<std::string>{"A"});
  EXPECT_TRUE(list.ReadKeys("Setup").empty());
  EXPECT_FALSE(list.ReadKeys("SetLast").empty());
  EXPECT_FALSE(Exists("TiketSav.000"));
  EXPECT_TRUE(f_.ui.notices_.empty());
  EXPECT_EQ(f_.ui.saveDialogsShown_, 0);
  EXPECT_EQ(f_.ui.messages_.back().Text, "Chcete uložit stávající nastavení etikety do seznamu ?");
  EXPECT_EQ(f_.ui.messages_.back().Caption, "Dotaz");
}

TEST_F(StoreTest, LeavingTheSaveDialogWritesNothing) {
  TfrmMain& d = Open();
  f_.ui.saveDialogScripts_.push_back([](TfrmSaves& dialog) {
    dialog.SetName("X");
    return false;  // closed with the title-bar close
  });
  d.SaveState(false, false);
  EXPECT_FALSE(Exists("TiketFrm.ini"));
  EXPECT_TRUE(f_.ui.notices_.empty());
}

TEST_F(StoreTest, CancelWritesLastUsedStateAndPlacementOnly) {
  WriteBytes(File("TiketFrm.ini"), "[Saves]\r\nA=\r\n");
  TfrmMain& d = Open();
  d.Ctl<Button>("bbtnCancel").Click();
  EXPECT_TRUE(d.Closed);
  const ProfileFile list(File("TiketFrm.ini"));
  EXPECT_EQ(list.ReadKeys("Saves"), std::vector<std::string>{"A"});
  EXPECT_FALSE(list.ReadKeys("SetLast").empty());
  EXPECT_EQ(list.ReadKeys("Formular"),
            (std::vector<std::string>{"Flags", "ShowCmd", "NormalPos", "PixelsPerInch", "Color"}));
  EXPECT_TRUE(f_.ui.messages_.empty());
  EXPECT_TRUE(f_.ui.notices_.empty());
}

TEST_F(StoreTest, LeavingWithOkAsksUnlessAutoSaveHasAName) {
  TfrmMain& d = Open();
  d.Ctl<CheckBox>("cbAutoSave").SetChecked(true);
  f_.ui.answers_ = {MessageAnswer::No};
  d.Ctl<Button>("bbtnOk").Click();  // auto-save, but no name: the question
  EXPECT_EQ(f_.ui.messages_.size(), 1u);
  EXPECT_TRUE(d.Closed);

  f_.dialog.reset();
  f_.ui.messages_.clear();
  TfrmMain& again = Open();
  again.Ctl<CheckBox>("cbAutoSave").SetChecked(true);
  again.Ctl<ComboBox>("cboxSaves").SetText("Rohlíky");
  EXPECT_TRUE(again.Close());  // the close box behaves like "&Ok"
  EXPECT_TRUE(f_.ui.messages_.empty());
  EXPECT_EQ(f_.ui.saveDialogsShown_, 0);
  EXPECT_EQ(ProfileFile(File("TiketFrm.ini")).ReadKeys("Saves"),
            std::vector<std::string>{"Rohlíky"});
  EXPECT_TRUE(Exists("TiketSav.000"));
}

TEST_F(StoreTest, DefaultBox) {
  TfrmMain& d = Open();
  auto& def = d.Ctl<CheckBox>("cbDefautl");
  def.Click();
  EXPECT_FALSE(def.Checked());
  EXPECT_EQ(f_.ui.messages_.back().Caption, "Varování");
  EXPECT_EQ(f_.ui.messages_.back().Text,
            "Není vyplněn název etikety, nelze nastavit parametr \"výchozí\" !");

  d.Ctl<ComboBox>("cboxSaves").SetText("A");
  def.Click();
  EXPECT_EQ(d.DefaultFormatName, "A");
  SaveAs("A");
  d.SaveState(false, false);
  EXPECT_EQ(ProfileFile(File("TiketFrm.ini")).ReadString("Setup", "Default", "?"), "A");

  // A change without a named save is lost at the next load.
  def.Click();
  EXPECT_EQ(d.DefaultFormatName, "");
  d.Ctl<ComboBox>("cboxSaves").UserSelect(0);
  EXPECT_EQ(d.DefaultFormatName, "A");
  EXPECT_TRUE(def.Checked());
}

TEST_F(StoreTest, ATypedNameThatIsNotInTheListLoadsNothing) {
  WriteBytes(File("TiketFrm.ini"),
             "[Setup]\r\nDefault=A\r\n[Saves]\r\nA=\r\n[SetLast]\r\nlNazev.Left=3\r\n");
  WriteBytes(File("TiketSav.000"), "[SetUp]\r\nlNazev.Left=55\r\n");
  TfrmMain& d = Open("Neznámá");
  EXPECT_EQ(d.Ctl<ComboBox>("cboxSaves").Text(), "Neznámá");
  EXPECT_EQ(d.Ctl<Control>("lNazev").Left(), 66);  // the form's own layout
  EXPECT_FALSE(d.Ctl<CheckBox>("cbDefautl").Checked());
  d.Ctl<ComboBox>("cboxSaves").UserSetText("a");
  EXPECT_EQ(d.Ctl<Control>("lNazev").Left(), 55);
  d.Ctl<ComboBox>("cboxSaves").UserSetText("");
  EXPECT_EQ(d.Ctl<Control>("lNazev").Left(), 3);
}

TEST_F(StoreTest, PlacementIsReadFromTheHostNamedFileAndWrittenToTheStoreFile) {
  f_.dialog.reset();
  DialogServices services{f_.host, f_.ui, f_.printer, f_.locale, f_.clock, "/opt/sklad/Sklad.exe"};
  // Where a bare file name lives: the Windows folder, or its stand-in on Linux.
  const std::string hostFile = UserConfigFolder() + "Sklad.INI";
  std::filesystem::create_directories(UserConfigFolder());
  WriteBytes(
      hostFile,
      "[Formular]\r\nFlags=2\r\nShowCmd=3\r\nNormalPos=10,20,800,600\r\nPixelsPerInch=96\r\n");
  {
    TfrmMain d(services);
    d.RunCreationSteps();
    EXPECT_EQ(d.Placement.NormalPos, (Rect{10, 20, 800, 600}));
    EXPECT_EQ(d.Placement.ShowCmd, 3);
    EXPECT_EQ(d.Placement.Flags, 2);
  }
  // Destroyed without a close: written where it was read from.
  EXPECT_NE(ReadBytes(hostFile).find("Color=-2147483633"), std::string::npos);

  WriteBytes(hostFile, "[Formular]\r\nNormalPos=10,20,800,600\r\nPixelsPerInch=120\r\n");
  TfrmMain other(services);
  other.RunCreationSteps();
  EXPECT_EQ(other.Placement.NormalPos, (Rect{0, 0, 670, 466}));  // another screen: ignored
  std::filesystem::remove(hostFile);
}

}  // namespace
}  // namespace korval

namespace korval {
namespace {

using Names = std::vector<std::string>;

// Formats whose layouts tell them apart: the name item of the format at
// position i stands at Left 10 * (i + 1).
class StoredFormatsTest : public StoreTest {
 protected:
  void WriteFormats(const Names& names, const std::string& listPrefix = "") {
    std::string list = listPrefix + "[Saves]\r\n";
    for (std::size_t i = 0; i < names.size(); ++i) {
      list += names[i] + "=\r\n";
      WriteBytes(File(StateName(static_cast<int>(i))),
                 "[SetUp]\r\nlNazev.Left=" + std::to_string(LeftOf(i)) + "\r\n");
    }
    WriteBytes(File("TiketFrm.ini"), Utf8ToCp1250(list));
  }
  static int LeftOf(std::size_t position) { return 10 * (static_cast<int>(position) + 1); }
  static std::string StateName(int index) {
    return "TiketSav." +
           std::string(index < 10    ? "00"
                       : index < 100 ? "0"
                                     : "") +
           std::to_string(index);
  }
  // The layout each listed name finds in the file at its position.
  std::vector<std::pair<std::string, std::string>> Layouts() const {
    std::vector<std::pair<std::string, std::string>> layouts;
    const Names names = LabelFormatFiles(folder_.Path().string() + "/").ReadNames();
    for (std::size_t i = 0; i < names.size(); ++i)
      layouts.emplace_back(names[i], ProfileFile(File(StateName(static_cast<int>(i))))
                                         .ReadString("SetUp", "lNazev.Left", "none"));
    return layouts;
  }
  // The person deletes the entry at position and saves under the name given.
  void DeleteAndSave(int position, const std::string& name) {
    f_.ui.saveDialogScripts_.push_back([position, name](TfrmSaves& dialog) {
      dialog.lbSaves().SetItemIndex(position);
      dialog.lbSaves().Enter();
      dialog.BitBtn1().Click();
      dialog.SetName(name);
      return dialog.PressSave();
    });
  }
};

TEST_F(StoredFormatsTest, DeletingANameMovesTheLaterFilesDownWithTheirNames) {
  WriteFormats({"A", "B", "C", "D", "E"});
  TfrmMain& d = Open("E");
  ASSERT_EQ(d.Ctl<Control>("lNazev").Left(), 50);
  DeleteAndSave(1, "E");
  d.SaveState(false, false);
  using Layout = std::pair<std::string, std::string>;
  EXPECT_EQ(Layouts(), (std::vector<Layout>{{"A", "10"}, {"C", "30"}, {"D", "40"}, {"E", "50"}}));
  EXPECT_FALSE(Exists("TiketSav.004"));
  EXPECT_FALSE(Exists("TiketFrm.ini.~journal"));
  EXPECT_EQ(d.StoreFile, File("TiketSav.003"));
  // Every remaining format opens with its own layout.
  auto& box = d.Ctl<ComboBox>("cboxSaves");
  for (const auto& [name, left] : Layouts()) {
    box.UserSetText(name);
    EXPECT_EQ(std::to_string(d.Ctl<Control>("lNazev").Left()), left) << name;
  }
  // Deleting one and saving a new name gives the new name a file of its own.
  f_.dialog.reset();
  TfrmMain& again = Open("A");
  again.Ctl<Control>("lNazev").SetLeft(99);
  DeleteAndSave(0, "Nový");
  again.SaveState(false, false);
  EXPECT_EQ(Layouts(),
            (std::vector<Layout>{{"C", "30"}, {"D", "40"}, {"E", "50"}, {"Nový", "99"}}));
  EXPECT_EQ(Bytes("TiketSav.003").find("lNazev.Left=10"), std::string::npos);
}

// The killing is done with fork and a signal; POSIX only.
#ifndef _WIN32
// A save killed at any moment leaves the old list with the old files or the
// new list with the new files, as the next reader of the folder finds them.
TEST_F(StoredFormatsTest, ASaveKilledAtAnyMomentLeavesTheOldOrTheNewFormats) {
  const Names before = {"A", "B", "C", "D", "E"};
  WriteFormats(before);
  std::vector<std::pair<std::string, std::string>> files;
  for (const auto& entry : std::filesystem::directory_iterator(folder_.Path()))
    if (entry.is_regular_file())
      files.emplace_back(entry.path().string(), ReadBytes(entry.path().string()));
  TfrmMain& d = Open("E");
  using Layout = std::vector<std::pair<std::string, std::string>>;
  const Layout oldLayouts = Layouts();
  const Layout newLayouts = {{"A", "10"}, {"C", "30"}, {"D", "40"}, {"E", "50"}};

  // One save, to learn how long a save takes on this machine.
  const auto runSave = [&](std::chrono::microseconds killAfter) {
    int ready[2];
    EXPECT_EQ(::pipe(ready), 0);
    DeleteAndSave(1, "E");
    const pid_t child = ::fork();
    if (child == 0) {
      ::close(ready[0]);
      if (::write(ready[1], "!", 1) != 1) ::_exit(3);
      try {
        d.SaveState(false, false);
      } catch (...) {
        ::_exit(2);
      }
      ::_exit(0);
    }
    f_.ui.saveDialogScripts_.clear();
    ::close(ready[1]);
    char byte = 0;
    EXPECT_EQ(::read(ready[0], &byte, 1), 1);
    ::close(ready[0]);
    const auto start = std::chrono::steady_clock::now();
    if (killAfter.count() >= 0) {
      std::this_thread::sleep_for(killAfter);
      ::kill(child, SIGKILL);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    if (killAfter.count() < 0) {
      EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    return std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() -
                                                                 start);
  };
  const auto restore = [&] {
    for (const auto& entry : std::filesystem::directory_iterator(folder_.Path()))
      if (entry.is_regular_file()) std::filesystem::remove(entry.path());
    for (const auto& [path, bytes] : files) WriteBytes(path, bytes);
  };
  const auto saveTime = runSave(std::chrono::microseconds(-1));
  ASSERT_EQ(Layouts(), newLayouts);

  std::mt19937 random(20261208);
  std::uniform_int_distribution<long> delay(0, saveTime.count() * 3 / 2 + 1);
  int oldSeen = 0;
  int newSeen = 0;
  for (int run = 0; run < 200; ++run) {
    restore();
    runSave(std::chrono::microseconds(delay(random)));
    const Layout found = Layouts();
    if (found == oldLayouts) {
      ++oldSeen;
    } else if (found == newLayouts) {
      ++newSeen;
    } else {
      ADD_FAILURE() << "a mix after run " << run;
      break;
    }
    EXPECT_FALSE(Exists("TiketFrm.ini.~journal"));
  }
  // Kills fell before and after the moment the save happens.
  EXPECT_GT(oldSeen, 0);
  EXPECT_GT(newSeen, 0);
}
#endif

// Names are trimmed once, where the save takes them, so that the list, the
// lookup and the file agree; a name the files cannot hold is never stored.
TEST_F(StoredFormatsTest, TheSavedNameIsTheOneTheListTheLookupAndTheFileAgreeOn) {
  TfrmMain& d = Open();
  d.Ctl<Control>("lNazev").SetLeft(21);
  SaveAs("Mléko ");
  d.SaveState(false, false);
  d.Ctl<Control>("lNazev").SetLeft(22);
  SaveAs("  Mezera");
  d.SaveState(false, false);
  EXPECT_EQ(Layouts(),
            (std::vector<std::pair<std::string, std::string>>{{"Mléko", "21"}, {"Mezera", "22"}}));
  for (const auto& entry : std::filesystem::directory_iterator(folder_.Path()))
    EXPECT_EQ(entry.path().filename().string().find("-1"), std::string::npos);
  d.Ctl<ComboBox>("cboxSaves").UserSetText("Mléko");
  EXPECT_EQ(d.Ctl<Control>("lNazev").Left(), 21);

  // A quiet save of a name the files cannot hold asks for another name.
  d.Ctl<ComboBox>("cboxSaves").SetText("Cena=akce");
  const std::string list = Bytes("TiketFrm.ini");
  f_.ui.saveDialogScripts_.push_back([](TfrmSaves& dialog) { return dialog.PressSave(); });
  d.SaveState(false, true);
  EXPECT_EQ(f_.ui.saveDialogsShown_, 3);
  EXPECT_EQ(Bytes("TiketFrm.ini"), list);
}

TEST_F(StoredFormatsTest, TheThousandAndFirstFormatIsRefusedAndTouchesNoFile) {
  Names names;
  for (int i = 0; i < 1000; ++i) names.push_back("F" + std::to_string(i));
  std::string list = "[Saves]\r\n";
  for (const std::string& name : names) list += name + "=\r\n";
  WriteBytes(File("TiketFrm.ini"), list);
  WriteBytes(File("TiketSav.100"), "[SetUp]\r\nlNazev.Left=7\r\n");
  TfrmMain& d = Open();
  SaveAs("Navíc");
  d.SaveState(false, false);
  EXPECT_EQ(Bytes("TiketFrm.ini"), list);
  EXPECT_EQ(Bytes("TiketSav.100"), "[SetUp]\r\nlNazev.Left=7\r\n");
  EXPECT_EQ(f_.ui.messages_.back().Caption, "Varování");
  EXPECT_NE(f_.ui.messages_.back().Text.find("1000"), std::string::npos);
  EXPECT_TRUE(f_.ui.notices_.empty());
  // The last name of the list can still be saved again.
  SaveAs("F999");
  d.SaveState(false, false);
  EXPECT_TRUE(Exists("TiketSav.999"));
}

TEST_F(StoredFormatsTest, AListLargerThanOneBufferIsReadAndWrittenWhole) {
  Names names;
  for (int i = 0; i < 900; ++i) names.push_back(FormatText("Formát číslo %05d..", i));
  std::string list = "[Saves]\r\n";
  for (const std::string& name : names) list += name + "=\r\n";
  WriteBytes(File("TiketFrm.ini"), Utf8ToCp1250(list));
  TfrmMain& d = Open();
  EXPECT_EQ(d.Ctl<ComboBox>("cboxSaves").Items(), names);
  SaveAs("Nový");
  d.SaveState(false, false);
  names.push_back("Nový");
  EXPECT_EQ(LabelFormatFiles(folder_.Path().string() + "/").ReadNames(), names);
  EXPECT_TRUE(Exists("TiketSav.900"));
}

TEST_F(StoredFormatsTest, AListWithAByteOrderMarkIsReadAndKeepsItsEncoding) {
  WriteFormats({"A", "Sýr"}, "\xEF\xBB\xBF");
  // WriteFormats writes Windows-1250; a file with the UTF-8 mark holds UTF-8.
  WriteBytes(File("TiketFrm.ini"), "\xEF\xBB\xBF[Saves]\r\nA=\r\nSýr=\r\n");
  TfrmMain& d = Open("sýr");
  EXPECT_EQ(d.Ctl<ComboBox>("cboxSaves").Items(), (Names{"A", "Sýr"}));
  EXPECT_EQ(d.Ctl<Control>("lNazev").Left(), 20);
  SaveAs("Mléko");
  d.SaveState(false, false);
  EXPECT_EQ(Bytes("TiketFrm.ini"),
            "\xEF\xBB\xBF[Setup]\r\nDefault=\r\n[Saves]\r\nA=\r\nSýr=\r\nMléko=\r\n");
  EXPECT_EQ(Bytes("TiketSav.000"), "[SetUp]\r\nlNazev.Left=10\r\n");
  EXPECT_TRUE(Exists("TiketSav.002"));
}

TEST_F(StoredFormatsTest, AReadOnlyStateFileIsReportedAndNothingIsWritten) {
  WriteFormats({"A", "B"});
  std::filesystem::permissions(File("TiketSav.001"), std::filesystem::perms::owner_read |
                                                         std::filesystem::perms::group_read |
                                                         std::filesystem::perms::others_read);
  TfrmMain& d = Open("B");
  d.Ctl<Control>("lNazev").SetLeft(77);
  const std::string list = Bytes("TiketFrm.ini");
  SaveAs("B");
  try {
    d.SaveState(false, false);
    ADD_FAILURE() << "no error";
  } catch (const ProfileWriteError& error) {
    EXPECT_EQ(std::string(error.what()), "Unable to write to " + File("TiketSav.001"));
  }
  EXPECT_EQ(Bytes("TiketSav.001"), "[SetUp]\r\nlNazev.Left=20\r\n");
  EXPECT_EQ(Bytes("TiketFrm.ini"), list);
  EXPECT_TRUE(f_.ui.notices_.empty());
}

TEST_F(StoredFormatsTest, AWindowsFolderIsFoundWithBackslashesAndItsOwnLetterCase) {
  std::filesystem::create_directories(folder_.Path() / "FORMS");
  WriteBytes(File("FORMS/TIKETFRM.INI"), "[SAVES]\r\nCenovka=\r\n");
  WriteBytes(File("FORMS/TIKETSAV.000"), "[SETUP]\r\nlNazev.Left=33\r\n");
  f_.host.SetFormPath(".\\forms\\");
  TfrmMain& d = Open("Cenovka");
  EXPECT_EQ(d.Ctl<Control>("lNazev").Left(), 33);
  d.Ctl<Control>("lNazev").SetLeft(34);
  SaveAs("Cenovka");
  d.SaveState(false, false);
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder_.Path() / "FORMS"))
    names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (Names{"TIKETFRM.INI", "TIKETSAV.000"}));
  EXPECT_NE(Bytes("FORMS/TIKETSAV.000").find("lNazev.Left=34"), std::string::npos);
  // No second folder in the letter case asked for.
  for (const auto& entry : std::filesystem::directory_iterator(folder_.Path()))
    EXPECT_NE(entry.path().filename().string(), "forms");
}

// "Save as" makes the new name the current one: the next "&Ok" offers it,
// and the format saved before keeps its layout.
TEST_F(StoredFormatsTest, AfterSavingUnderANewNameTheBoxShowsThatName) {
  WriteFormats({"Cenovka"});
  WriteBytes(File("TiketFrm.ini"),
             Utf8ToCp1250("[Setup]\r\nDefault=Akční cena\r\n[Saves]\r\nCenovka=\r\n"));
  TfrmMain& d = Open("Cenovka");
  d.Ctl<Control>("lNazev").SetLeft(44);
  SaveAs("Akční cena");
  d.SaveState(false, false);
  EXPECT_EQ(d.Ctl<ComboBox>("cboxSaves").Text(), "Akční cena");
  EXPECT_TRUE(d.Ctl<CheckBox>("cbDefautl").Checked());
  f_.ui.answers_ = {MessageAnswer::Yes};
  std::string offered;
  f_.ui.saveDialogScripts_.push_back([&offered](TfrmSaves& dialog) {
    offered = dialog.Name();
    return dialog.PressSave();
  });
  d.Ctl<Button>("bbtnOk").Click();
  EXPECT_EQ(offered, "Akční cena");
  EXPECT_EQ(Bytes("TiketSav.000"), "[SetUp]\r\nlNazev.Left=10\r\n");
  EXPECT_NE(Bytes("TiketSav.001").find("lNazev.Left=44"), std::string::npos);
}

}  // namespace
}  // namespace korval
