#include "qt/PrinterSetupDialog.h"

#include <gtest/gtest.h>

#include <unistd.h>
#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include <cmath>
#include <cstdlib>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "dialog/TfrmMain.h"
#include "doubles/FixedLocale.h"
#include "doubles/PrivateCupsd.h"
#include "doubles/ScriptedUi.h"
#include "host_api/HostContext.h"
#include "platform/NumberFormat.h"
#include "qt/QtApplication.h"
#include "qt/QtPrintSurface.h"
#include "storage/PrintOffsetFile.h"
#include "storage/ProfileFile.h"
#include "storage/ProfileTestFolder.h"

namespace korval::qt {
namespace {

using test::PrivateCupsd;

constexpr double kMmPerPoint = 25.4 / 72.0;

QStringList Items(const QComboBox& box) {
  QStringList items;
  for (int i = 0; i < box.count(); ++i) items << box.itemText(i);
  return items;
}

// The printer setup dialog over a print system of the test's own: a plain
// A4 queue "Etikety" and a label printer "Stitky" (the system's default, A6
// and A5 with unprintable strips), and the surface's own "PDF". The current
// folder is a fresh one, where "etikety.ini" keeps the offsets.
class PrinterSetupDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    KORVAL_NEED_PRIVATE_CUPSD(cups_);
    ASSERT_EQ(cups_.Run("lpadmin -d Stitky"), 0);
    EnsureApplication();
    inUse_.emplace(folder_.Path());
    surface_.emplace(ui_);
    surface_->SetPdfOutputFile(folder_.File("labels.pdf"));
    ASSERT_EQ(surface_->Printers(), (std::vector<std::string>{"Etikety", "Stitky", "PDF"}));
    surface_->SetOffsetStore(&offsets_);
  }
  void TearDown() override {
    surface_.reset();
    inUse_.reset();
  }

  // Runs the surface's setup dialog as a person would: it is shown, drive
  // works its widgets, and closes it (or leaves it open, which cancels).
  bool RunDialog(const std::function<void(PrinterSetupDialog&)>& drive) {
    surface_->RunSetupDialogWith([&](PrinterSetupDialog& dialog) {
      dialog.show();
      QCoreApplication::processEvents();
      drive(dialog);
      QCoreApplication::processEvents();
    });
    return surface_->ShowPrinterSetupDialog();
  }

  template <typename T>
  static T& Child(PrinterSetupDialog& dialog, const char* name) {
    T* child = dialog.findChild<T*>(QString::fromUtf8(name));
    if (child == nullptr) throw std::runtime_error(std::string("no widget ") + name);
    return *child;
  }
  static QString Fact(PrinterSetupDialog& dialog, const char* name) {
    return Child<QLabel>(dialog, name).text();
  }
  // Picks the entry that begins with start, as a click in the box's list
  // does: one change, straight to it.
  static void Choose(QComboBox& box, const QString& start) {
    const int index = box.findText(start, Qt::MatchStartsWith);
    ASSERT_GE(index, 0) << start.toStdString() << " in " << Items(box).join("|").toStdString();
    box.setFocus();
    box.setCurrentIndex(index);
    QCoreApplication::processEvents();
  }
  static void Type(QDoubleSpinBox& box, double value) {
    box.setFocus();
    box.selectAll();
    QTest::keyClicks(&box, box.locale().toString(value, 'f', 2));
    QTest::keyClick(&box, Qt::Key_Tab);
    QCoreApplication::processEvents();
  }
  static void Press(PrinterSetupDialog& dialog, QDialogButtonBox::StandardButton which) {
    QPushButton* button = dialog.findChild<QDialogButtonBox*>()->button(which);
    QTest::mouseClick(button, Qt::LeftButton);
    QCoreApplication::processEvents();
  }

  int IndexOf(const std::string& name) const {
    const auto printers = surface_->Printers();
    for (std::size_t i = 0; i < printers.size(); ++i) {
      if (printers[i] == name) return static_cast<int>(i);
    }
    return -1;
  }

  PrivateCupsd cups_{
      {{"Etikety", true, false, ""}, {"Stitky", true, false, "", PrivateCupsd::LabelPrinterPpd()}}};
  test::TempFolder folder_;
  std::optional<test::FolderInUse> inUse_;
  test::ScriptedUi ui_;
  PrintOffsetFile offsets_;
  std::optional<QtPrintSurface> surface_;
};

TEST_F(PrinterSetupDialogTest, ListsThePrintersWithTheSelectedOneAndItsPage) {
  ASSERT_EQ(surface_->PrinterIndex(), IndexOf("Stitky"));  // the system's default
  EXPECT_TRUE(RunDialog([&](PrinterSetupDialog& dialog) {
    EXPECT_EQ(dialog.windowTitle(), "Nastavení tiskárny");
    const QComboBox& printers = Child<QComboBox>(dialog, "printer");
    EXPECT_EQ(Items(printers), (QStringList{"Etikety", "Stitky (výchozí)", "PDF"}));
    EXPECT_EQ(printers.currentIndex(), 1);
    const QComboBox& paper = Child<QComboBox>(dialog, "paper");
    ASSERT_EQ(paper.count(), 2) << Items(paper).join("|").toStdString();
    EXPECT_TRUE(paper.currentText().startsWith("A6 (")) << paper.currentText().toStdString();
    EXPECT_TRUE(paper.itemText(1).startsWith("A5 (")) << paper.itemText(1).toStdString();
    // The page is drawn at the printer's own resolution, so formats in
    // printer dots mean its dots.
    EXPECT_EQ(surface_->DpiX(), 203);
    EXPECT_EQ(Fact(dialog, "resolution"), "203 dpi");
    const QLocale here;
    const auto mm = [&](double points) { return here.toString(points * kMmPerPoint, 'f', 1); };
    EXPECT_EQ(Fact(dialog, "margins"),
              mm(12) + ", " + mm(12) + ", " + mm(12) + ", " + mm(24) + " mm");
    const QSizeF a6 = QPageSize(QPageSize::A6).size(QPageSize::Millimeter);
    EXPECT_EQ(Fact(dialog, "printableArea"),
              here.toString(a6.width() - 24 * kMmPerPoint, 'f', 1) + " × " +
                  here.toString(a6.height() - 36 * kMmPerPoint, 'f', 1) + " mm");
    EXPECT_EQ(Fact(dialog, "model"), "KORVAL label printer");

    // Another printer brings its own papers and properties.
    Choose(Child<QComboBox>(dialog, "printer"), "Etikety");
    EXPECT_EQ(Items(paper).size(), 1);
    EXPECT_TRUE(paper.currentText().startsWith("A4 (")) << paper.currentText().toStdString();
    EXPECT_EQ(Fact(dialog, "model"), "KORVAL label file");
    EXPECT_EQ(Fact(dialog, "margins"), mm(0) + ", " + mm(0) + ", " + mm(0) + ", " + mm(0) + " mm");
    Choose(Child<QComboBox>(dialog, "printer"), "PDF");
    EXPECT_EQ(Fact(dialog, "resolution"), "600 dpi");
    for (const char* size : {"A4 (", "A5 (", "Letter", "Legal"}) {
      EXPECT_FALSE(paper.findText(QString::fromUtf8(size), Qt::MatchStartsWith) < 0) << size;
    }
    // The page the PDF printer keeps is the one chosen before, A4.
    EXPECT_TRUE(paper.currentText().startsWith("A4 (")) << paper.currentText().toStdString();

    Choose(Child<QComboBox>(dialog, "printer"), "Stitky");
    const QImage picture = dialog.grab().toImage();
    EXPECT_GT(picture.width(), 200);
    if (const char* keep = std::getenv("KORVAL_PRINTER_SETUP_PNG")) picture.save(keep);
    Press(dialog, QDialogButtonBox::Ok);
  }));
  EXPECT_EQ(surface_->PrinterIndex(), IndexOf("Stitky"));
}

TEST_F(PrinterSetupDialogTest, TheChosenPrinterPaperAndOrientationBecomeCurrent) {
  ASSERT_TRUE(RunDialog([&](PrinterSetupDialog& dialog) {
    Choose(Child<QComboBox>(dialog, "printer"), "Etikety");
    Press(dialog, QDialogButtonBox::Ok);
  }));
  EXPECT_EQ(surface_->PrinterIndex(), IndexOf("Etikety"));
  EXPECT_NEAR(surface_->PaperWidth(SizeUnit::Millimetres), 210, 0.1);
  EXPECT_NEAR(surface_->PaperHeight(SizeUnit::Millimetres), 297, 0.1);

  ASSERT_TRUE(RunDialog([&](PrinterSetupDialog& dialog) {
    EXPECT_EQ(Child<QComboBox>(dialog, "printer").currentIndex(), IndexOf("Etikety"));
    Choose(Child<QComboBox>(dialog, "printer"), "Stitky");
    Choose(Child<QComboBox>(dialog, "paper"), "A5");
    Press(dialog, QDialogButtonBox::Ok);
  }));
  EXPECT_EQ(surface_->PrinterIndex(), IndexOf("Stitky"));
  EXPECT_NEAR(surface_->PaperWidth(SizeUnit::Millimetres), 420 * kMmPerPoint, 0.3);
  EXPECT_NEAR(surface_->PaperHeight(SizeUnit::Millimetres), 595 * kMmPerPoint, 0.3);
  EXPECT_NEAR(surface_->WasteLeft(SizeUnit::Millimetres), 12 * kMmPerPoint, 0.05);
  EXPECT_NEAR(surface_->WasteBottom(SizeUnit::Millimetres), 24 * kMmPerPoint, 0.05);

  ASSERT_TRUE(RunDialog([&](PrinterSetupDialog& dialog) {
    EXPECT_TRUE(Child<QComboBox>(dialog, "paper").currentText().startsWith("A5"));
    Choose(Child<QComboBox>(dialog, "orientation"), "Na šířku");
    Press(dialog, QDialogButtonBox::Ok);
  }));
  EXPECT_NEAR(surface_->PaperWidth(SizeUnit::Millimetres), 595 * kMmPerPoint, 0.3);
  EXPECT_NEAR(surface_->PaperHeight(SizeUnit::Millimetres), 420 * kMmPerPoint, 0.3);
}

TEST_F(PrinterSetupDialogTest, OffsetsTypedInAreKeptPerPrinter) {
  offsets_.SetOffset("Etikety", {0.4, 0.6});
  ASSERT_TRUE(RunDialog([&](PrinterSetupDialog& dialog) {
    auto& x = Child<QDoubleSpinBox>(dialog, "offsetX");
    auto& y = Child<QDoubleSpinBox>(dialog, "offsetY");
    EXPECT_TRUE(x.isEnabled());
    EXPECT_EQ(x.value(), 0.0);
    Type(x, 1.25);
    Type(y, -0.5);
    Choose(Child<QComboBox>(dialog, "printer"), "Etikety");
    EXPECT_DOUBLE_EQ(x.value(), 0.4);  // read from the store
    EXPECT_DOUBLE_EQ(y.value(), 0.6);
    Type(x, -2.0);
    Choose(Child<QComboBox>(dialog, "printer"), "PDF");
    EXPECT_EQ(x.value(), 0.0);
    Choose(Child<QComboBox>(dialog, "printer"), "Stitky");
    EXPECT_DOUBLE_EQ(x.value(), 1.25);  // as typed, before OK
    Press(dialog, QDialogButtonBox::Ok);
  }));
  const PrintOffsetFile stored;
  EXPECT_EQ(stored.Offset("Stitky"), (PrintOffset{1.25, -0.5}));
  EXPECT_EQ(stored.Offset("Etikety"), (PrintOffset{-2.0, 0.6}));
  EXPECT_EQ(ProfileFile(".\\etikety.ini").ReadKeys("SETUP"),
            (std::vector<std::string>{"Etikety_POSUN_X_MM", "Etikety_POSUN_Y_MM",
                                      "Stitky_POSUN_X_MM", "Stitky_POSUN_Y_MM"}));

  // A printer merely looked at keeps its keys exactly, unseen digits too.
  ProfileFile(".\\etikety.ini").WriteString("SETUP", "Etikety_POSUN_X_MM", "-2.004");
  const std::string before = test::ReadBytes(folder_.File("etikety.ini"));
  ASSERT_TRUE(RunDialog([&](PrinterSetupDialog& dialog) {
    EXPECT_DOUBLE_EQ(Child<QDoubleSpinBox>(dialog, "offsetX").value(), 1.25);
    Choose(Child<QComboBox>(dialog, "printer"), "Etikety");
    EXPECT_DOUBLE_EQ(Child<QDoubleSpinBox>(dialog, "offsetX").value(), -2.0);
    Press(dialog, QDialogButtonBox::Ok);
  }));
  EXPECT_EQ(test::ReadBytes(folder_.File("etikety.ini")), before);
}

TEST_F(PrinterSetupDialogTest, CancelChangesNothing) {
  const int selected = surface_->PrinterIndex();
  const double width = surface_->PaperWidth(SizeUnit::Inches);
  for (const bool closeBox : {false, true}) {
    SCOPED_TRACE(closeBox ? "closed" : "Zrušit");
    EXPECT_FALSE(RunDialog([&](PrinterSetupDialog& dialog) {
      Choose(Child<QComboBox>(dialog, "printer"), "Etikety");
      Type(Child<QDoubleSpinBox>(dialog, "offsetX"), 3.0);
      if (closeBox) {
        dialog.close();
      } else {
        Press(dialog, QDialogButtonBox::Cancel);
      }
    }));
    EXPECT_EQ(surface_->PrinterIndex(), selected);
    EXPECT_EQ(surface_->PaperWidth(SizeUnit::Inches), width);
    EXPECT_FALSE(std::filesystem::exists(folder_.File("etikety.ini")));
  }
}

TEST_F(PrinterSetupDialogTest, AFormatsOwnPaperIsOfferedAndKeptExactly) {
  surface_->SetCustomPaperSize(4, 2.5);
  ASSERT_TRUE(RunDialog([&](PrinterSetupDialog& dialog) {
    const QComboBox& paper = Child<QComboBox>(dialog, "paper");
    EXPECT_EQ(paper.count(), 3);
    EXPECT_TRUE(paper.currentText().startsWith("Vlastní (")) << paper.currentText().toStdString();
    Press(dialog, QDialogButtonBox::Ok);
  }));
  EXPECT_EQ(surface_->PaperWidth(SizeUnit::Inches), 4.0);
  EXPECT_EQ(surface_->PaperHeight(SizeUnit::Inches), 2.5);
}

TEST_F(PrinterSetupDialogTest, WithoutADisplayAndWithoutTheHookThereIsNoDialog) {
  ASSERT_EQ(QGuiApplication::platformName(), "offscreen");
  surface_->RunSetupDialogWith({});
  EXPECT_FALSE(surface_->ShowPrinterSetupDialog());
}

// The label dialog's printer setup action over this dialog: the question,
// then the format's printer and paper in "etikety.ini".
TEST_F(PrinterSetupDialogTest, AnotherPrinterChosenFromTheLabelDialogIsStoredForTheFormat) {
  HostContext host;
  test::FixedLocale locale;
  test::FixedClock clock;
  ProfileFile(".\\etikety.ini").WriteString("SETUP", "TISKARNA", "Stitky");
  TfrmMain form(DialogServices{host, ui_, *surface_, locale, clock, {}});
  form.Ctl<ComboBox>("cboxSaves").SetText("A");
  form.LoadPrinterSettings("A");
  ASSERT_EQ(surface_->PrinterIndex(), IndexOf("Stitky"));
  ASSERT_TRUE(ui_.messages_.empty());

  ui_.answers_ = {MessageAnswer::No};
  surface_->RunSetupDialogWith([&](PrinterSetupDialog& dialog) {
    dialog.show();
    // The label dialog hands the printers' offsets to the surface.
    Type(Child<QDoubleSpinBox>(dialog, "offsetY"), 0.75);
    Choose(Child<QComboBox>(dialog, "printer"), "Etikety");
    Press(dialog, QDialogButtonBox::Ok);
  });
  form.actPrinterSetupExecute();

  ASSERT_EQ(ui_.messages_.size(), 1u);
  EXPECT_EQ(ui_.messages_[0].Text, "Uložit tuto tiskárnu jako výchozí při tisku etiket ?");
  EXPECT_EQ(surface_->PrinterIndex(), IndexOf("Etikety"));
  const ProfileFile file(".\\etikety.ini");
  EXPECT_EQ(file.ReadString("SETUP", "TISKARNA", ""), "Stitky");
  EXPECT_EQ(file.ReadString("SETUP", "A_TISKARNA", ""), "Etikety");
  const auto width = ParseFloat(file.ReadString("SETUP", "A_TISKARNA_WIDTH", ""));
  const auto height = ParseFloat(file.ReadString("SETUP", "A_TISKARNA_HEIGHT", ""));
  ASSERT_TRUE(width && height);
  EXPECT_NEAR(*width, 210 / 25.4, 0.001);
  EXPECT_NEAR(*height, 297 / 25.4, 0.001);
  EXPECT_EQ(PrintOffsetFile().Offset("Stitky"), (PrintOffset{0, 0.75}));

  // Confirming the same printer and paper again asks nothing, writes nothing.
  const std::string before = test::ReadBytes(folder_.File("etikety.ini"));
  surface_->RunSetupDialogWith([&](PrinterSetupDialog& dialog) {
    dialog.show();
    EXPECT_EQ(Child<QComboBox>(dialog, "printer").currentIndex(), IndexOf("Etikety"));
    Press(dialog, QDialogButtonBox::Ok);
  });
  form.actPrinterSetupExecute();
  EXPECT_EQ(ui_.messages_.size(), 1u);
  EXPECT_EQ(test::ReadBytes(folder_.File("etikety.ini")), before);
}

}  // namespace
}  // namespace korval::qt
