// The label on screen: which item the mouse is over, the cursors that tell
// what a press will drag, the read-outs, and the item menu with the entries
// that fit the item.
#include <QLabel>
#include <QScrollArea>

#include "ViewFixture.h"

namespace korval::qt {
namespace {

class DesignSurfaceViewTest : public ViewFixture {
 protected:
  void SetUp() override {
    ViewFixture::SetUp();
    Open();
    // A label of 60 x 40 mm, as a stored format would give it.
    Model().Ctl<Edit>("rxseOsax").SetText("1417");
    Model().Ctl<Edit>("rxseOsay").SetText("945");
    Model().DrawTiket();
    QCoreApplication::processEvents();
  }

  // Puts an item on the label where a loaded format would.
  Control& Show(const char* name, Rect bounds) {
    Control& item = Model().Ctl<Control>(name);
    item.SetBounds(bounds.Left, bounds.Top, bounds.Width(), bounds.Height());
    item.SetVisible(true);
    QCoreApplication::processEvents();
    return item;
  }
};

TEST_F(DesignSurfaceViewTest, TheCursorTellsWhichEdgeAPressWillDrag) {
  // An item of 40 x 20 pixels at (20, 10).
  Show("lcena1", Rect{20, 10, 60, 30});
  const struct {
    QPoint Local;
    Qt::CursorShape Shape;
  } cases[] = {
      {{2, 2}, Qt::SizeFDiagCursor},  {{38, 18}, Qt::SizeFDiagCursor},
      {{2, 17}, Qt::SizeBDiagCursor}, {{38, 2}, Qt::SizeBDiagCursor},
      {{2, 9}, Qt::SizeHorCursor},    {{38, 8}, Qt::SizeHorCursor},
      {{18, 2}, Qt::SizeVerCursor},   {{19, 18}, Qt::SizeVerCursor},
      {{20, 10}, Qt::ArrowCursor},
  };
  for (const auto& c : cases) {
    Hover(QPoint(20, 10) + c.Local);
    EXPECT_EQ(Surface().cursor().shape(), c.Shape) << c.Local.x() << "," << c.Local.y();
  }
  // Off the item the label shows the arrow again.
  Hover(QPoint(150, 100));
  EXPECT_EQ(Surface().cursor().shape(), Qt::ArrowCursor);
}

TEST_F(DesignSurfaceViewTest, ThePressGoesToTheTopmostItem) {
  Control& below = Show("lcena1", Rect{10, 10, 110, 40});
  Control& above = Show("lcena2", Rect{30, 20, 130, 50});
  EXPECT_EQ(Surface().ItemAt(QPoint(50, 30)), &above);
  EXPECT_EQ(Surface().ItemAt(QPoint(15, 15)), &below);
  EXPECT_EQ(Surface().ItemAt(QPoint(200, 140)), nullptr);
  // A drag where both lie moves only the upper one.
  Drag(QPoint(80, 35), QPoint(90, 45));
  EXPECT_EQ(above.BoundsRect(), (Rect{40, 30, 140, 60}));
  EXPECT_EQ(below.BoundsRect(), (Rect{10, 10, 110, 40}));
}

TEST_F(DesignSurfaceViewTest, ReadOutsFollowTheMouseInMillimetres) {
  Show("lcena1", Rect{20, 10, 60, 30});
  Hover(QPoint(96, 48));
  EXPECT_EQ(Widget<QLabel>("Label7").text(), "Myš(mm):\n25:13");
  EXPECT_EQ(Widget<QLabel>("Label8").text(), "Etiketa : ");
  Hover(QPoint(20 + 38, 10 + 10));
  EXPECT_EQ(Widget<QLabel>("Label7").text(), "Myš(mm):\n15:5");
  EXPECT_TRUE(Widget<QLabel>("Label8").text().startsWith("Objekt: [Cena \"A\" bez DPH]\n"));
  // Around the label, in the scroll box.
  QWidget* around = Widget<QScrollArea>("ScrollBox1").viewport();
  QTest::mouseMove(around, QPoint(around->width() - 5, around->height() - 5));
  QCoreApplication::processEvents();
  EXPECT_EQ(Widget<QLabel>("Label7").text(), "Myš(mm):\n0:0");
  EXPECT_EQ(Widget<QLabel>("Label8").text(), "");
}

TEST_F(DesignSurfaceViewTest, PlacingModeForbidsTheScrollBoxAndEndsWithThePlacingClick) {
  auto& dateSwitch = Widget<QCheckBox>("cbDatum");
  Tick(dateSwitch);
  ASSERT_TRUE(Model().PlacingItem());
  QWidget* around = Widget<QScrollArea>("ScrollBox1").viewport();
  EXPECT_EQ(around->cursor().shape(), Qt::ForbiddenCursor);
  EXPECT_EQ(Surface().cursor().shape(), Qt::ArrowCursor);
  ClickLabel(QPoint(40, 60));
  EXPECT_EQ(Model().Ctl<Control>("lDatum").Left(), 40);
  EXPECT_EQ(Model().Ctl<Control>("lDatum").Top(), 60);
  EXPECT_FALSE(Model().PlacingItem());
  EXPECT_EQ(around->cursor().shape(), Qt::ArrowCursor);
}

TEST_F(DesignSurfaceViewTest, ARightClickOnTheBarcodeOpensItsMenu) {
  auto& barcode = static_cast<TBarCodeControl&>(Show("NrEANCode", Rect{10, 60, 160, 100}));
  const QPoint on(80, 80);
  Hover(on);
  QTest::mousePress(&Surface(), Qt::RightButton, {}, on);
  QTest::mouseRelease(&Surface(), Qt::RightButton, {}, on);
  QCoreApplication::processEvents();
  QMenu* menu = Surface().ItemMenu();
  ASSERT_NE(menu, nullptr);
  ASSERT_TRUE(menu->isVisible());
  EXPECT_TRUE(Entry(*menu, "&Font")->isVisible());
  EXPECT_TRUE(Entry(*menu, "Tisknout číslo na&d čárový kód")->isVisible());
  EXPECT_FALSE(Entry(*menu, "&Přizpůsobit rozměru")->isEnabled());
  EXPECT_FALSE(Entry(*menu, "Zarovnání &vodorovné")->isVisible());
  EXPECT_FALSE(Entry(*menu, "Zalomení textu")->isVisible());
  ChooseEntry(*menu, "Tisknout číslo na&d čárový kód");
  EXPECT_EQ(barcode.Tag() & 1, 1);
}

TEST_F(DesignSurfaceViewTest, TextItemMenuAlignsAndShowsTheChoice) {
  auto& text = static_cast<TLabel&>(Show("lcena1", Rect{20, 10, 120, 40}));
  ChooseEntry(OpenItemMenu(QPoint(60, 20)), "V&pravo");
  EXPECT_EQ(text.Alignment(), TAlignment::taRightJustify);
  QMenu& again = OpenItemMenu(QPoint(60, 20));
  EXPECT_TRUE(Entry(again, "V&pravo")->isChecked());
  EXPECT_FALSE(Entry(again, "&Vlevo")->isChecked());
  EXPECT_TRUE(Entry(again, "Rozdělt cenu na celé a zbytek")->isVisible());
  ChooseEntry(again, "Na&střed");
  EXPECT_EQ(text.Layout(), TTextLayout::tlCenter);
  // "minzas" is no price: its menu has no split.
  Show("lminzas", Rect{20, 60, 120, 80});
  EXPECT_FALSE(Entry(OpenItemMenu(QPoint(60, 70)), "Rozdělt cenu na celé a zbytek")->isVisible());
}

TEST_F(DesignSurfaceViewTest, TheFontEntryTakesTheFontChosenInTheDialog) {
  auto& text = static_cast<TLabel&>(Show("lcena1", Rect{20, 10, 120, 40}));
  Font bigger = text.GetFont();
  bigger.SetHeight(-24);
  f_.ui.fontAnswers_.push_back(bigger);
  ChooseEntry(OpenItemMenu(QPoint(60, 20)), "&Font");
  ASSERT_EQ(f_.ui.fontDialogs_.size(), 1U);
  EXPECT_EQ(text.GetFont().Height, -24);
}

TEST_F(DesignSurfaceViewTest, ThePictureBrowseButtonFillsThePictureName) {
  f_.ui.pictureAnswers_.push_back(File("logo.bmp"));
  ShowTab(Widget<QTabWidget>("gbDalsi"), 0);
  Press(Widget<QPushButton>("SpeedButton4"));
  ASSERT_EQ(f_.ui.pictureDialogs_.size(), 1U);
  EXPECT_EQ(f_.ui.pictureDialogs_[0].first, "Vyber obrázek");
  EXPECT_EQ(f_.ui.pictureDialogs_[0].second, "Bitmaps (*.bmp)|*.bmp");
  EXPECT_EQ(Widget<QLineEdit>("EBitMap").text().toStdString(), File("logo.bmp"));
  EXPECT_TRUE(Widget<QLineEdit>("EBitMap").isReadOnly());
}

}  // namespace
}  // namespace korval::qt
