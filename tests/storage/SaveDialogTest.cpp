#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "storage/TfrmSaves.h"

namespace korval {
namespace {

using Names = std::vector<std::string>;

// What the save flow does before it shows the dialog.
void Open(TfrmSaves& d, const std::string& name, const Names& names) {
  d.SetName(name);
  d.SetNames(names);
}

void Type(Edit& edit, const std::string& ascii) {
  for (char c : ascii) edit.TypeKey(static_cast<char32_t>(c));
}

TEST(SaveDialogTest, StartsWithItsControlsCaptionsAndDisabledButtons) {
  TfrmSaves d;
  EXPECT_EQ(d.Caption(), "Uložit nastavení");
  EXPECT_EQ(TfrmSaves::kWidth, 235);
  EXPECT_EQ(TfrmSaves::kHeight, 222);
  EXPECT_EQ(d.btnOk().Caption(), "&Uložit");
  EXPECT_EQ(d.BitBtn1().Caption(), "&Smazat");
  EXPECT_FALSE(d.btnOk().Enabled());
  EXPECT_FALSE(d.BitBtn1().Enabled());
  EXPECT_EQ(d.btnOk().Result(), ModalResult::Ok);
  EXPECT_EQ(d.eSave().Text(), "");
  EXPECT_TRUE(d.lbSaves().Items().empty());
  EXPECT_EQ(&d.ActiveControl(), &d.eSave());
  EXPECT_EQ(d.Result(), ModalResult::None);

  // The controls a view and a language catalogue find by name.
  for (const char* name : {"lbSaves", "Panel1", "eSave", "btnOk", "Panel2", "BitBtn1"})
    EXPECT_NE(d.FindComponent(name), nullptr) << name;
  EXPECT_EQ(d.eSave().Parent(), &d.Panel1());
  EXPECT_EQ(d.btnOk().Parent(), &d.Panel1());
  EXPECT_EQ(d.BitBtn1().Parent(), &d.Panel2());
}

TEST(SaveDialogTest, PanelsTakeTheBottomAndRightEdgesAndTheListTheRest) {
  TfrmSaves d;
  EXPECT_EQ(d.Panel1().Align(), ControlAlign::alBottom);
  EXPECT_EQ(d.Panel2().Align(), ControlAlign::alRight);
  EXPECT_EQ(d.lbSaves().Align(), ControlAlign::alClient);

  d.SetClientSize(400, 300);
  EXPECT_EQ(d.Panel1().BoundsRect(), (Rect{0, 259, 400, 300}));
  EXPECT_EQ(d.Panel2().BoundsRect(), (Rect{303, 0, 400, 259}));
  EXPECT_EQ(d.lbSaves().BoundsRect(), (Rect{0, 0, 303, 259}));
}

TEST(SaveDialogTest, ResizingThePanelsKeepsButtonsTenPixelsFromTheirEdges) {
  TfrmSaves d;
  const int editLeft = d.eSave().Left();
  const int okWidth = d.btnOk().Width();
  const int deleteHeight = d.BitBtn1().Height();
  for (int width : {235, 400, 600}) {
    SCOPED_TRACE(width);
    d.Panel1().SetWidth(width);
    EXPECT_EQ(d.btnOk().Left() + okWidth, width - 10);
    // The name field ends as far from the button as it starts from the panel.
    EXPECT_EQ(d.eSave().Left(), editLeft);
    EXPECT_EQ(d.eSave().Left() + d.eSave().Width() + editLeft, d.btnOk().Left());
  }
  for (int height : {150, 320}) {
    SCOPED_TRACE(height);
    d.Panel2().SetHeight(height);
    EXPECT_EQ(d.BitBtn1().Left(), 10);
    EXPECT_EQ(d.BitBtn1().Top() + deleteHeight, height - 10);
  }

  // The initial layout already follows the rules.
  TfrmSaves fresh;
  EXPECT_EQ(fresh.btnOk().Left() + fresh.btnOk().Width(), fresh.Panel1().Width() - 10);
  EXPECT_EQ(fresh.BitBtn1().Top() + fresh.BitBtn1().Height(), fresh.Panel2().Height() - 10);
  EXPECT_GT(fresh.eSave().Width(), 0);
}

TEST(SaveDialogTest, TrackingSizesAreTheStartSizeAndTheScreenLessTwentyPixels) {
  EXPECT_EQ(TfrmSaves::kMinTrackSize, (Size{235, 222}));
  EXPECT_EQ(TfrmSaves::MaxTrackSize(Size{1024, 768}), (Size{1004, 748}));
  EXPECT_EQ(TfrmSaves::MaxTrackSize(Size{1920, 1080}), (Size{1900, 1060}));
}

TEST(SaveDialogTest, OpeningWithANameEnablesSaveAndWithoutOneDoesNot) {
  TfrmSaves named;
  Open(named, "A", {"A", "B"});
  EXPECT_EQ(named.eSave().Text(), "A");
  EXPECT_TRUE(named.btnOk().Enabled());

  TfrmSaves unnamed;
  Open(unnamed, "", {"A", "B"});
  EXPECT_EQ(unnamed.eSave().Text(), "");
  EXPECT_FALSE(unnamed.btnOk().Enabled());
  EXPECT_FALSE(unnamed.PressSave());
  EXPECT_EQ(unnamed.Result(), ModalResult::None);
}

TEST(SaveDialogTest, OnlyANonBlankNameEnablesSave) {
  TfrmSaves d;
  Open(d, "", {});
  Type(d.eSave(), "   ");
  EXPECT_FALSE(d.btnOk().Enabled());
  d.eSave().TypeKey(U'\t');
  EXPECT_FALSE(d.btnOk().Enabled()) << "control characters count as blanks";
  Type(d.eSave(), "x");
  EXPECT_TRUE(d.btnOk().Enabled());
  d.eSave().TypeKey(8);
  EXPECT_FALSE(d.btnOk().Enabled()) << "back to blanks only";

  d.eSave().SetText(" Etiketa 2 ");
  EXPECT_TRUE(d.btnOk().Enabled());
  ASSERT_TRUE(d.PressSave());
  EXPECT_EQ(d.Result(), ModalResult::Ok);
  EXPECT_EQ(d.Name(), " Etiketa 2 ") << "the caller gets the name as typed";
}

// Names the format files cannot hold as a key of "Saves" and read back as
// the same name: the save button stays disabled and the dialog says which
// character is not allowed.
TEST(SaveDialogTest, NamesTheFilesCannotHoldAreRefusedWithTheReason) {
  struct Case {
    std::string name;
    const char* reason;  // a piece of the message; empty: accepted
  };
  const std::vector<Case> cases = {{"Cena=akce", "\"=\""},
                                   {";Akce", "\";\""},
                                   {"[Akce]", "\"[\""},
                                   {"Akce\tsleva", "řídicí znaky"},
                                   {"Akce\x7F", "řídicí znaky"},
                                   {"\"Akce\"", "uvozovkách"},
                                   {"Σleva", "\"Σ\""},
                                   {std::string(2048, 'x'), "2047"},
                                   {"  Mléko  ", ""},
                                   {"Cena; akce [1]", ""},
                                   {"a\"b\"", ""},
                                   {std::string(2047, 'x'), ""}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name.substr(0, 20));
    TfrmSaves d;
    d.SetName(c.name);
    const bool accepted = std::string(c.reason).empty();
    EXPECT_EQ(d.btnOk().Enabled(), accepted);
    EXPECT_EQ(d.NameAccepted(), accepted);
    EXPECT_EQ(d.lblNameProblem().Visible(), !accepted);
    EXPECT_NE(d.lblNameProblem().Caption().find(c.reason), std::string::npos)
        << d.lblNameProblem().Caption();
    EXPECT_EQ(d.PressSave(), accepted);
  }
  // Mended while typing, the name is taken again.
  TfrmSaves d;
  d.SetName("Cena=");
  d.SetName("Cena");
  EXPECT_TRUE(d.btnOk().Enabled());
  EXPECT_FALSE(d.lblNameProblem().Visible());
}

TEST(SaveDialogTest, ClickingOrDoubleClickingAnEntryCopiesItAndKeepsTheDialogOpen) {
  TfrmSaves d;
  Open(d, "", {"Regál", "Police", "Akce"});

  d.lbSaves().SetItemIndex(1);
  d.lbSaves().Click();
  EXPECT_EQ(d.eSave().Text(), "Police");
  EXPECT_TRUE(d.btnOk().Enabled());

  d.lbSaves().SetItemIndex(2);
  d.lbSaves().DblClick();
  EXPECT_EQ(d.eSave().Text(), "Akce");
  EXPECT_EQ(d.Result(), ModalResult::None);

  // Nothing selected: nothing to copy, the typed name stays.
  d.eSave().SetText("vlastní");
  d.lbSaves().SetItemIndex(-1);
  d.lbSaves().Click();
  d.lbSaves().DblClick();
  EXPECT_EQ(d.eSave().Text(), "vlastní");
}

TEST(SaveDialogTest, ListKeepsTheCallersOrder) {
  TfrmSaves d;
  Open(d, "", {"Zeta", "alfa", "Beta"});
  EXPECT_EQ(d.Names(), (Names{"Zeta", "alfa", "Beta"}));
}

TEST(SaveDialogTest, EnteringTheListEnablesDeleteOnlyWhenItHasEntries) {
  TfrmSaves empty;
  Open(empty, "A", {});
  empty.lbSaves().Enter();
  EXPECT_FALSE(empty.BitBtn1().Enabled());

  TfrmSaves filled;
  Open(filled, "A", {"A"});
  filled.lbSaves().Enter();
  EXPECT_TRUE(filled.BitBtn1().Enabled());
}

TEST(SaveDialogTest, DeletingTheOnlyEntryEmptiesTheListAndDisablesDelete) {
  TfrmSaves d;
  Open(d, "A", {"A"});
  d.lbSaves().Enter();
  d.lbSaves().SetItemIndex(0);
  d.BitBtn1().Click();
  EXPECT_TRUE(d.Names().empty());
  EXPECT_FALSE(d.BitBtn1().Enabled());
  d.lbSaves().Enter();
  EXPECT_FALSE(d.BitBtn1().Enabled());
  // The name field is not touched by a removal.
  EXPECT_EQ(d.Name(), "A");
}

TEST(SaveDialogTest, DeleteRemovesOnlyTheSelectedEntryAndNothingWithoutASelection) {
  TfrmSaves d;
  Open(d, "B", {"A", "B", "C"});
  d.lbSaves().Enter();
  d.BitBtn1().Click();
  EXPECT_EQ(d.Names(), (Names{"A", "B", "C"}));
  EXPECT_FALSE(d.BitBtn1().Enabled()) << "disabled again until the list is entered";

  d.lbSaves().Enter();
  d.lbSaves().SetItemIndex(1);
  d.BitBtn1().Click();
  EXPECT_EQ(d.Names(), (Names{"A", "C"}));
  EXPECT_FALSE(d.BitBtn1().Enabled());
  d.lbSaves().Enter();
  EXPECT_TRUE(d.BitBtn1().Enabled());
}

TEST(SaveDialogTest, ClosingWithoutTheSaveButtonIsNotOk) {
  TfrmSaves d;
  Open(d, "A", {"A", "B"});
  d.lbSaves().Enter();
  d.lbSaves().SetItemIndex(0);
  d.BitBtn1().Click();
  d.Close();
  EXPECT_NE(d.Result(), ModalResult::Ok);
}

TEST(SaveDialogTest, SavingReturnsTheEditedListAndName) {
  TfrmSaves d;
  Open(d, "A", {"A", "B", "C"});
  d.lbSaves().Enter();
  d.lbSaves().SetItemIndex(0);
  d.BitBtn1().Click();
  d.lbSaves().SetItemIndex(1);
  d.lbSaves().Click();
  ASSERT_TRUE(d.PressSave());
  EXPECT_EQ(d.Names(), (Names{"B", "C"}));
  EXPECT_EQ(d.Name(), "C");
}

}  // namespace
}  // namespace korval
