// The label dialog on screen, driven through its widgets: a person lays out
// a label, saves it under a name and finds it again; the window opens,
// resizes and closes as the dialog's rules say.
#include <QComboBox>
#include <QLabel>
#include <QScrollArea>
#include <algorithm>

#include "ViewFixture.h"
#include "qt/PreviewWidget.h"
#include "qt/SaveDialogView.h"
#include "storage/ProfileFile.h"

namespace korval::qt {
namespace {

class FormViewTest : public ViewFixture {};

int Pixels(double millimetres) {
  return static_cast<int>(TfrmMain::kPixelsPerInch * millimetres / 25.4);
}

TEST_F(FormViewTest, APersonDesignsALabelSavesItAndFindsItAgain) {
  FormView& view = Open();
  TfrmMain& d = Model();

  // The label size in millimetres: the unit first, then both edits.
  ShowTab(Widget<QTabWidget>("gbDalsi"), 1);
  auto& unit = Widget<QComboBox>("ComboBox1");
  unit.setFocus();
  QTest::keyClick(&unit, Qt::Key_Down);
  QCoreApplication::processEvents();
  ASSERT_EQ(unit.currentText(), "mm");
  EXPECT_EQ(d.Unit, MeasureUnit::Millimetres);
  EXPECT_EQ(Widget<QLabel>("lblMJInfo").text(), "milimetr");
  ShowTab(Widget<QTabWidget>("gbDalsi"), 0);
  auto& width = Widget<QLineEdit>("rxseOsax");
  auto& height = Widget<QLineEdit>("rxseOsay");
  Retype(width, "5x0");  // the letter is refused by the edit
  Retype(height, "30");
  EXPECT_EQ(width.text(), "50");
  EXPECT_EQ(d.Ctl<Edit>("rxseOsax").Text(), "50");
  EXPECT_EQ(Surface().size(), QSize(Pixels(50), Pixels(30)));

  // Switch "Cena A" on and place it with a click on the label.
  auto& priceSwitch = Widget<QCheckBox>("cbcena1");
  Widget<QScrollArea>("ScrollBox2").ensureWidgetVisible(&priceSwitch);
  Tick(priceSwitch);
  EXPECT_TRUE(priceSwitch.isChecked());
  EXPECT_TRUE(d.PlacingItem());
  ClickLabel(QPoint(30, 20));
  Control& price = d.Ctl<Control>("lcena1");
  EXPECT_TRUE(price.Visible());
  EXPECT_FALSE(d.PlacingItem());
  // Never sized before: it shows as 10 x 5 pixels.
  EXPECT_EQ(price.BoundsRect(), (Rect{30, 20, 40, 25}));

  // Make it larger by its bottom-right corner, then move it.
  Drag(QPoint(39, 24), QPoint(109, 49));
  EXPECT_EQ(price.BoundsRect(), (Rect{30, 20, 110, 50}));
  const QPoint grip(70, 35);
  Hover(grip);
  EXPECT_NE(Widget<QLabel>("Label8").text().indexOf("Objekt: [Cena \"A\" bez DPH]"), -1);
  QTest::mousePress(&Surface(), Qt::LeftButton, {}, grip);
  QTest::mouseMove(&Surface(), grip + QPoint(25, 10));
  // While the button is down only the outline follows the mouse: its bottom
  // edge is a dotted line below the item.
  const QImage dragging = SurfacePicture();
  EXPECT_GT(DarkInRow(dragging, 59, 55, 135), 20);
  EXPECT_EQ(price.BoundsRect(), (Rect{30, 20, 110, 50}));
  QTest::mouseRelease(&Surface(), Qt::LeftButton, {}, grip + QPoint(25, 10));
  QCoreApplication::processEvents();
  EXPECT_EQ(price.BoundsRect(), (Rect{55, 30, 135, 60}));

  // Resize it by its right edge: the cursor tells, the left edge stays.
  Hover(QPoint(55 + 78, 30 + 13));
  EXPECT_EQ(Surface().cursor().shape(), Qt::SizeHorCursor);
  QTest::mousePress(&Surface(), Qt::LeftButton, {}, QPoint(55 + 78, 30 + 13));
  QTest::mouseMove(&Surface(), QPoint(55 + 93, 30 + 13));
  QTest::mouseRelease(&Surface(), Qt::LeftButton, {}, QPoint(55 + 93, 30 + 13));
  EXPECT_EQ(price.BoundsRect(), (Rect{55, 30, 150, 60}));
  // The drop leaves filled handles around the item, for the one painting
  // that follows.
  const QImage dropped = SurfacePicture();
  EXPECT_TRUE(Dark(dropped, 147, 57) && Dark(dropped, 145, 55) && Dark(dropped, 149, 59));
  EXPECT_FALSE(Dark(SurfacePicture(), 147, 57));

  // Split the price through the item's menu.
  QMenu& menu = OpenItemMenu(QPoint(100, 45));
  EXPECT_TRUE(Entry(menu, "&Font")->isVisible());
  EXPECT_FALSE(Entry(menu, "&EAN och.známka")->isVisible());
  ChooseEntry(menu, "Rozdělt cenu na celé a zbytek");
  auto& priceText = d.Ctl<TLabel>("lcena1");
  ASSERT_TRUE(priceText.Linked());
  EXPECT_TRUE(priceText.LinkLabel()->Visible());

  // Pick the second label of the first row as the start on the preview.
  ShowTab(Widget<QTabWidget>("PageControl1"), 1);
  PreviewWidget& sheet = view.PreviewBox();
  ASSERT_GT(sheet.width(), 0);
  const auto& printer = f_.printer.printers_.front();
  const double labelX = 50 / (printer.PaperWidthIn * 25.4) * sheet.width();
  const double labelY = 30 / (printer.PaperHeightIn * 25.4) * sheet.height();
  const int middle = static_cast<int>(labelY / 2);
  const int across = static_cast<int>(1.5 * labelX);
  // The first row shows the outlines of both labels, then only the second's.
  const int before = DarkInRow(sheet.grab().toImage(), middle, 2, across);
  QTest::mouseClick(&sheet, Qt::LeftButton, {},
                    QPoint(static_cast<int>(1.5 * labelX), static_cast<int>(labelY / 2)));
  QCoreApplication::processEvents();
  EXPECT_EQ(d.StartCol, 1);
  EXPECT_EQ(d.StartRow, 0);
  EXPECT_TRUE(Widget<QPushButton>("sbReset").isEnabled());
  EXPECT_EQ(DarkInRow(sheet.grab().toImage(), middle, 2, across), before - 1);
  // "Podrobnosti" paints the labels into their outlines, and takes them off.
  const QImage outlines = sheet.grab().toImage();
  auto& details = Widget<QCheckBox>("PodrobnostiPrew");
  QTest::mouseClick(&details, Qt::LeftButton, {}, QPoint(6, details.height() / 2));
  QCoreApplication::processEvents();
  EXPECT_TRUE(d.Ctl<CheckBox>("PodrobnostiPrew").Checked());
  // The label in its cell is small; its text is grey more than black.
  EXPECT_NE(sheet.grab().toImage(), outlines);
  QTest::mouseClick(&details, Qt::LeftButton, {}, QPoint(6, details.height() / 2));
  QCoreApplication::processEvents();
  EXPECT_FALSE(d.Ctl<CheckBox>("PodrobnostiPrew").Checked());
  EXPECT_EQ(sheet.grab().toImage(), outlines);
  ShowTab(Widget<QTabWidget>("PageControl1"), 0);
  SurfacePicture();  // whatever handles were left
  const QImage designed = SurfacePicture();

  // Leave with "&Ok": yes, save it, under a new name typed into the save
  // dialog's window.
  f_.ui.answers_.push_back(MessageAnswer::Yes);
  bool saveWindowShown = false;
  f_.ui.saveDialogScripts_.push_back([&](TfrmSaves& saves) {
    SaveDialogView window(saves, f_.ui, &view);
    window.show();
    QCoreApplication::processEvents();
    saveWindowShown = window.isVisible();
    auto* name = window.findChild<QLineEdit*>("eSave");
    QTest::keyClicks(name, "Moje cenovka");
    QTest::mouseClick(window.findChild<QPushButton*>("btnOk"), Qt::LeftButton);
    return window.result() == QDialog::Accepted;
  });
  Press(Widget<QPushButton>("bbtnOk"));
  EXPECT_TRUE(saveWindowShown);
  ASSERT_EQ(f_.ui.MessageTexts().size(), 1U);
  EXPECT_EQ(f_.ui.MessageTexts()[0], "Chcete uložit stávající nastavení etikety do seznamu ?");
  EXPECT_TRUE(d.Closed);
  EXPECT_FALSE(view.isVisible());
  EXPECT_EQ(view.result(), QDialog::Accepted);
  EXPECT_EQ(ProfileFile(File("TiketFrm.ini")).ReadKeys("Saves"),
            std::vector<std::string>{"Moje cenovka"});

  // The next time the host asks for that format, the label is as it was.
  Open("Moje cenovka");
  TfrmMain& again = Model();
  EXPECT_EQ(again.Unit, MeasureUnit::Millimetres);
  EXPECT_EQ(Widget<QLineEdit>("rxseOsax").text(), "50");
  EXPECT_EQ(Widget<QComboBox>("cboxSaves").currentText(), "Moje cenovka");
  EXPECT_TRUE(Widget<QCheckBox>("cbcena1").isChecked());
  EXPECT_EQ(again.Ctl<Control>("lcena1").BoundsRect(), (Rect{55, 30, 150, 60}));
  EXPECT_TRUE(again.Ctl<TLabel>("lcena1").Linked());
  EXPECT_EQ(SurfacePicture(), designed);
}

// "Položka: 1/6 (3x)" was cut to "Položka: 1/6 (" under the previous-item
// button: the label count was never seen.
TEST_F(FormViewTest, ItemCounterIsSeenWhole) {
  Open();
  std::vector<TTiketItem> goods(6, Cheese());
  goods[0].Pocet = 3;
  f_.SetGoods(goods);
  Model().BoundItemIndex = -1;
  Model().BindGoodsItem(0);
  QCoreApplication::processEvents();
  for (const int width : {670, TfrmMain::kMinWidth}) {
    view_->resize(width, 466);
    QCoreApplication::processEvents();
    const auto& counter = Widget<QLabel>("lblItemText");
    ASSERT_EQ(counter.text(), "Položka: 1/6 (3x)");
    const QRect shown = counter.geometry();
    EXPECT_GE(shown.width(), counter.fontMetrics().horizontalAdvance(counter.text())) << width;
    EXPECT_LT(shown.right(), Widget<QPushButton>("sbPrevPol").geometry().left()) << width;
    EXPECT_GT(shown.left(), Widget<QCheckBox>("ViewPrintArea").geometry().right()) << width;
    EXPECT_TRUE((counter.alignment() & Qt::AlignRight) != 0);
  }
}

TEST_F(FormViewTest, OpensOnTheFirstPagesWithOkFocusedAndTheDisabledControls) {
  FormView& view = Open();
  EXPECT_EQ(view.size(), QSize(670, 466));
  EXPECT_EQ(view.minimumSize(), QSize(TfrmMain::kMinWidth, TfrmMain::kMinHeight));
  EXPECT_EQ(view.windowTitle().toStdString(), Model().Caption);
  EXPECT_EQ(Widget<QTabWidget>("PageControl1").currentIndex(), 0);
  EXPECT_EQ(Widget<QTabWidget>("PageControl1").tabText(0), "&Nastavení");
  EXPECT_EQ(Widget<QTabWidget>("gbDalsi").currentIndex(), 0);
  EXPECT_EQ(Widget<QTabWidget>("gbDalsi").tabText(0), "Položky");
  EXPECT_EQ(view.focusWidget(), &Widget<QPushButton>("bbtnOk"));
  for (const char* name : {"SpeedButton1", "sbReset", "sbPrevPol", "sbNextPol"})
    EXPECT_FALSE(Widget<QPushButton>(name).isEnabled()) << name;
  EXPECT_FALSE(Widget<QCheckBox>("CBNumberAsEAN").isEnabled());
  EXPECT_TRUE(Widget<QCheckBox>("PodrobnostiPrew").isEnabled());
  EXPECT_FALSE(Widget<QCheckBox>("PodrobnostiPrew").isChecked());
  EXPECT_EQ(Widget<QComboBox>("cboxSaves").toolTip(), "Seznam uložených formátů etiket");
  EXPECT_TRUE(Widget<QComboBox>("cboxSaves").isEditable());
  EXPECT_FALSE(Widget<QComboBox>("ComboBox1").isEditable());
  EXPECT_EQ(Widget<QPushButton>("bbtnCancel").text(), "&Zrušit");
  // The read-out breaks its lines where the dialog does.
  EXPECT_EQ(Widget<QLabel>("Label7").text(), "Myš(mm):\n0:0");
}

TEST_F(FormViewTest, ResizingDocksThePanelsMovesTheButtonsAndRedrawsThePreview) {
  FormView& view = Open();
  ShowTab(Widget<QTabWidget>("PageControl1"), 1);
  view.resize(800, 560);
  QCoreApplication::processEvents();
  TfrmMain& d = Model();
  const Control& bar = d.Ctl<Control>("Panel1");
  EXPECT_EQ(bar.BoundsRect(), (Rect{0, 560 - 34, 800, 560}));
  EXPECT_EQ(Widget<QPushButton>("bbtnOk").x(), 800 - 85);
  EXPECT_EQ(Widget<QPushButton>("bbtnCancel").x(), 800 - 165);
  EXPECT_EQ(Widget<QPushButton>("bbtnTisk").x(), 800 - 325);
  EXPECT_EQ(d.Ctl<Control>("gbDalsi").BoundsRect(), (Rect{800 - 237, 0, 800, 560 - 34}));
  // A4 stands upright: the sheet is as high as the group box allows.
  const Control& group = d.Ctl<Control>("gbPreview");
  EXPECT_EQ(view.PreviewBox().height(), group.Height() - 60);
  EXPECT_EQ(d.Ctl<Control>("Image1").Height(), group.Height() - 60);

  view.resize(400, 300);
  QCoreApplication::processEvents();
  EXPECT_EQ(view.size(), QSize(600, 410));
}

// The default printer changed while the person was in another window: the
// dialog notices it when its window becomes active again and asks, as
// "Upozorňovat na změnu výchozí tiskárny" wants.
TEST_F(FormViewTest, ADefaultPrinterChangedElsewhereIsNoticedWhenTheDialogIsActivated) {
  f_.printer.printers_ = {{"Laser"}, {"Etiketovač"}};
  FormView& view = Open();
  ASSERT_TRUE(Model().Ctl<CheckBox>("cbDefPrinterChange").Checked());
  ASSERT_EQ(f_.printer.PrinterIndex(), 0);
  f_.ui.messages_.clear();

  QWidget elsewhere;
  elsewhere.show();
  QApplication::setActiveWindow(&elsewhere);
  QCoreApplication::processEvents();
  f_.printer.defaultName_ = "Etiketovač";
  // Yes to the change; No to keeping the new printer for the format.
  f_.ui.answers_ = {MessageAnswer::Yes, MessageAnswer::No};
  QApplication::setActiveWindow(&view);
  QCoreApplication::processEvents();

  ASSERT_FALSE(f_.ui.MessageTexts().empty());
  EXPECT_EQ(f_.ui.MessageTexts()[0],
            "Byla změněna výchozí tiskárna !\r\nPřejete si změnit výstupní tiskárnu v editoru ?");
  EXPECT_EQ(f_.printer.PrinterIndex(), 1);
  EXPECT_EQ(Model().Ctl<Control>("lblTiskarna").Caption().rfind("Etiketovač", 0), 0u);
}

TEST_F(FormViewTest, CancelWritesTheLastUsedStateAndTheWindowPlaceWithoutAsking) {
  FormView& view = Open();
  view.move(40, 30);
  view.resize(700, 480);
  QCoreApplication::processEvents();
  Press(Widget<QPushButton>("bbtnCancel"));
  EXPECT_TRUE(f_.ui.messages_.empty());
  EXPECT_FALSE(view.isVisible());
  EXPECT_EQ(view.result(), QDialog::Rejected);
  const ProfileFile list(File("TiketFrm.ini"));
  EXPECT_EQ(list.ReadString("SetLast", "rxseOsax.Text", "?"), "100");
  const QPoint at = view.pos();
  EXPECT_EQ(list.ReadString("Formular", "NormalPos", ""),
            std::to_string(at.x()) + "," + std::to_string(at.y()) + "," +
                std::to_string(at.x() + 700) + "," + std::to_string(at.y() + 480));
}

TEST_F(FormViewTest, TheCloseBoxAsksAsOkDoesAndTheStoredPlaceIsTaken) {
  f_.SetGoods({Cheese()});
  f_.Recreate();
  f_.dialog->RunCreationSteps();
  f_.dialog->Placement.NormalPos = Rect{60, 50, 60 + 640, 50 + 430};
  view_ = std::make_unique<FormView>(*f_.dialog, f_.ui);
  view_->show();
  QCoreApplication::processEvents();
  EXPECT_EQ(view_->size(), QSize(640, 430));
  EXPECT_EQ(view_->pos(), QPoint(60, 50));

  // No is the answer: only the last-used state is written.
  view_->close();
  ASSERT_EQ(f_.ui.MessageTexts().size(), 1U);
  EXPECT_EQ(f_.ui.messages_[0].Caption, "Dotaz");
  EXPECT_EQ(f_.ui.saveDialogsShown_, 0);
  EXPECT_TRUE(Model().Closed);
  EXPECT_FALSE(view_->isVisible());
  EXPECT_EQ(ProfileFile(File("TiketFrm.ini")).ReadString("SetLast", "cbRamecek.Checked", ""),
            "True");
}

TEST_F(FormViewTest, EditsTakeOnlyTheKeysTheirHandlerAccepts) {
  Open();
  ShowTab(Widget<QTabWidget>("gbDalsi"), 1);
  auto& gap = Widget<QLineEdit>("meOdsazX");
  // Printer dots are whole numbers: no decimal comma, no letters.
  Retype(gap, "1,2a3");
  EXPECT_EQ(gap.text(), "123");
  EXPECT_EQ(Model().Ctl<Edit>("meOdsazX").Text(), "123");
  // A margin may be negative: the sheet's labels begin before the printer's
  // printable area. The minus typed first stays while the number follows.
  for (const char* name : {"meOdsazLev", "meOdsazHorni"}) {
    auto& margin = Widget<QLineEdit>(name);
    Retype(margin, "-15");
    EXPECT_EQ(margin.text(), "-15") << name;
    EXPECT_EQ(Model().Ctl<Edit>(name).Text(), "-15") << name;
  }
  auto& count = Widget<QLineEdit>("ePocetEtiket");
  count.setFocus();
  count.end(false);
  QTest::keyClick(&count, Qt::Key_Backspace);
  // The test print's count cannot be emptied.
  EXPECT_EQ(count.text(), "5");
}

TEST_F(FormViewTest, AStoredNameTypedIntoTheFormatBoxLoadsThatFormat) {
  test::WriteBytes(File("TiketFrm.ini"), "[Saves]\r\nA=\r\nB=\r\n");
  test::WriteBytes(File("TiketSav.000"), "[SetUp]\r\nrxseOsax.Text=200\r\n");
  test::WriteBytes(File("TiketSav.001"), "[SetUp]\r\nrxseOsax.Text=300\r\n");
  Open();
  auto& box = Widget<QComboBox>("cboxSaves");
  ASSERT_EQ(box.count(), 2);
  QTest::keyClicks(box.lineEdit(), "A");
  QCoreApplication::processEvents();
  EXPECT_EQ(Widget<QLineEdit>("rxseOsax").text(), "200");
  // A new name loads nothing, and Enter keeps what was typed.
  QTest::keyClicks(box.lineEdit(), "ko");
  QTest::keyClick(box.lineEdit(), Qt::Key_Return);
  QCoreApplication::processEvents();
  EXPECT_EQ(box.currentText(), "Ako");
  EXPECT_EQ(Model().Ctl<ComboBox>("cboxSaves").Text(), "Ako");
  EXPECT_EQ(Widget<QLineEdit>("rxseOsax").text(), "200");
  // Picking from the list loads the one picked.
  box.setFocus();
  QTest::keyClick(&box, Qt::Key_Down);
  QCoreApplication::processEvents();
  EXPECT_EQ(Model().Ctl<ComboBox>("cboxSaves").Text(), box.currentText().toStdString());
  EXPECT_EQ(Widget<QLineEdit>("rxseOsax").text(), box.currentText() == "A" ? "200" : "300");
}

TEST_F(FormViewTest, ACloseRequestFromAFailedStepArrivesOnceTheWindowIsUp) {
  f_.SetGoods({Cheese()});
  f_.Recreate();
  f_.dialog->RunCreationSteps();
  // What an error report of the creation steps leaves behind.
  f_.dialog->CloseRequested = true;
  view_ = std::make_unique<FormView>(*f_.dialog, f_.ui);
  view_->show();
  EXPECT_FALSE(Model().Closed);
  QCoreApplication::processEvents();
  // It goes through the leaving rules like the close box: the question.
  EXPECT_TRUE(Model().Closed);
  EXPECT_EQ(f_.ui.MessageTexts().size(), 1U);
  EXPECT_FALSE(view_->isVisible());
}

}  // namespace
}  // namespace korval::qt
