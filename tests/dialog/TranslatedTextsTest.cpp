// The dialog in the language of a catalogue: every message box, read-out and
// counter text goes through it, with the built-in Czech text where the
// catalogue has none or a pattern that does not fit.
#include <gtest/gtest.h>
#include <korval/Version.h>

#include "dialog/ItemMenuEntries.h"
#include "dialog/MessageTexts.h"
#include "dialog/Texts.h"
#include "doubles/FormsFolderTest.h"
#include "host_api/LanguageCatalogue.h"
#include "platform/CodePage.h"

namespace korval {
namespace {

using test::RecordBuilder;
using test::WriteBytes;

class TranslatedTextsTest : public test::FormsFolderTest {
 protected:
  void TearDown() override {
    UseBuiltInTexts();
    FormsFolderTest::TearDown();
  }
  void UseCatalogue(const std::string& utf8) {
    WriteBytes(File("KORVALENG.lng"),
               Utf8ToCp1250("[Version]\r\nProductVersion=" + std::string(KORVAL_PRODUCT_VERSION) +
                            "\r\n" + utf8));
    auto catalogue = LanguageCatalogue::Load(File("KORVALENG.lng"));
    ASSERT_TRUE(catalogue.has_value());
    UseLanguageCatalogue(std::move(*catalogue));
  }
  TfrmMain& Open() {
    f_.SetGoods({RecordBuilder().Name("Sýr").Count(3).Build(), RecordBuilder().Build()});
    TfrmMain& d = f_.Dialog();
    d.RunCreationSteps();
    d.ShowStep();
    return d;
  }
};

TEST_F(TranslatedTextsTest, MessageBoxesReadoutsAndCounterInTheCatalogueLanguage) {
  UseCatalogue(
      "[Messages]\r\n"
      "SaveQuestion=Save the label into the list ?\r\n"
      "QuestionCaption=Question\r\n"
      "ItemCounter=Item: %d of %d (%d labels)\r\n"
      "MouseReadout=Mouse (mm):\\r%d:%d\r\n"
      "WarningCaption=Warning\r\n"
      "NoFormatName=The label has no name !\r\n");
  TfrmMain& d = Open();
  EXPECT_EQ(d.Ctl<Control>("lblItemText").Caption(), "Item: 1 of 2 (3 labels)");
  EXPECT_EQ(d.Ctl<Control>("Label7").Caption(), "Mouse (mm):\r0:0");

  f_.ui.answers_ = {MessageAnswer::No};
  d.SaveState(true, false);
  ASSERT_FALSE(f_.ui.messages_.empty());
  EXPECT_EQ(f_.ui.messages_.back().Caption, "Question");
  EXPECT_EQ(f_.ui.messages_.back().Text, "Save the label into the list ?");

  d.Ctl<ComboBox>("cboxSaves").SetText("");
  d.Ctl<CheckBox>("cbDefautl").SetChecked(true);
  d.cbDefautlClick();
  EXPECT_EQ(f_.ui.messages_.back().Caption, "Warning");
  EXPECT_EQ(f_.ui.messages_.back().Text, "The label has no name !");
}

TEST_F(TranslatedTextsTest, PatternsKeepWhatWasInsertedAndMustFitTheirArguments) {
  UseCatalogue(
      "[Messages]\r\n"
      "ErrorCaption=Error\r\n"
      "ShowFailed=The dialog failed (100%%):\\r\\nERR : %s\r\n"
      // A pattern whose conversions do not fit is never used.
      "ItemCounter=Item %s\r\n"
      "MouseReadout=Mouse %d:%d:%d\r\n");
  const MessageBoxRequest shown = TranslateMessage(
      {"Chyba",
       "Chyba :\r\n  procedura zobrazení modulu nastavení proběhla s chybou,\r\n  nelze pokračovat "
       "!\r\n\r\nERR : disk full (50%)",
       MessageIcon::Error, MessageButtons::Ok, MessageModality::TaskModal});
  EXPECT_EQ(shown.Caption, "Error");
  EXPECT_EQ(shown.Text, "The dialog failed (100%):\r\nERR : disk full (50%)");
  // An error's own message is none of the built-in texts.
  EXPECT_EQ(TranslateMessage({"", "Unable to write to .\\etikety.ini"}).Text,
            "Unable to write to .\\etikety.ini");

  TfrmMain& d = Open();
  EXPECT_EQ(d.Ctl<Control>("lblItemText").Caption(), "Položka: 1/2 (3x)");
  EXPECT_EQ(d.Ctl<Control>("Label7").Caption(), "Myš(mm):\r0:0");
}

// The item menu's entries are the form's menu items by name, so the
// catalogue translates them as it translates the controls.
TEST_F(TranslatedTextsTest, TheItemMenuInTheCatalogueLanguage) {
  UseCatalogue(
      "[TfrmMain]\r\n"
      "Font1.Caption=&Typeface\r\n"
      "Zarovnnvodorovn1.Caption=&Horizontal alignment\r\n"
      "Vpravo1.Caption=&Right\r\n"
      "Dol1.Caption=&Bottom\r\n"
      "Rozdltcenunacelazbytek1.Caption=Split the price\r\n");
  TfrmMain& d = Open();
  std::vector<std::string> captions;
  for (const ItemMenuEntry& entry : ItemMenuEntries(d, d.ppMenuPopup(d.Ctl<Control>("lcena1"))))
    captions.push_back(entry.Caption);
  EXPECT_EQ(captions, (std::vector<std::string>{"&Typeface", "&Horizontal alignment", "&Vlevo",
                                                "&Nastřed", "&Right", "Zarovnání &svislé",
                                                "&Nahoru", "Na&střed", "&Bottom", "Zalomení textu",
                                                "&EAN och.známka", "Tisknout číslo na&d čárový kód",
                                                "&Přizpůsobit rozměru", "Split the price"}));
}

TEST(MessagePatternTest, ConversionsAndFilling) {
  EXPECT_EQ(PatternConversions("Položka: %d/%d (%dx) 100%%"), "%d%d%d");
  EXPECT_EQ(PatternConversions("%-5s|%02d"), "%-5s%02d");
  EXPECT_EQ(FillPattern("%d/%d (%dx) %%", {"1", "6", "3"}), "1/6 (3x) %");
  EXPECT_EQ(FillPattern("[%-5s]", {"a%d"}), "[a%d]");
  EXPECT_EQ(FillPattern("%d %d", {"1"}), "1 ");
}

}  // namespace
}  // namespace korval
