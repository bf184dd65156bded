// The save-format dialog's window over its model: what a person sees and
// what the buttons, the list and the name field do.
#include "qt/SaveDialogView.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "doubles/ScriptedUi.h"
#include "qt/QtApplication.h"

namespace korval::qt {
namespace {

class SaveDialogViewTest : public ::testing::Test {
 protected:
  void SetUp() override { EnsureApplication(); }

  SaveDialogView& Open(const std::string& name, std::vector<std::string> names) {
    dialog_.SetName(name);
    dialog_.SetNames(std::move(names));
    window_ = std::make_unique<SaveDialogView>(dialog_, ui_);
    window_->show();
    QCoreApplication::processEvents();
    return *window_;
  }
  template <typename T>
  T& Find(const char* name) {
    T* widget = window_->findChild<T*>(name);
    if (widget == nullptr) throw std::runtime_error(std::string("no widget ") + name);
    return *widget;
  }
  QLineEdit& NameField() { return Find<QLineEdit>("eSave"); }
  QPushButton& SaveButton() { return Find<QPushButton>("btnOk"); }
  QPushButton& DeleteButton() { return Find<QPushButton>("BitBtn1"); }
  QListWidget& List() { return Find<QListWidget>("lbSaves"); }
  void ClickEntry(int row) {
    QListWidget& list = List();
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {},
                      list.visualItemRect(list.item(row)).center());
    QCoreApplication::processEvents();
  }
  void FocusList() {
    QFocusEvent enter(QEvent::FocusIn, Qt::MouseFocusReason);
    QApplication::sendEvent(&List(), &enter);
    QCoreApplication::processEvents();
  }

  test::ScriptedUi ui_;
  TfrmSaves dialog_;
  std::unique_ptr<SaveDialogView> window_;
};

TEST_F(SaveDialogViewTest, OpensSmallWithTheNameAndTheSaveButtonFollowingIt) {
  SaveDialogView& window = Open("A", {"A", "B"});
  EXPECT_EQ(window.windowTitle(), "Uložit nastavení");
  EXPECT_EQ(window.size(), QSize(235, 222));
  EXPECT_EQ(window.minimumSize(), QSize(235, 222));
  const QSize screen = QGuiApplication::primaryScreen()->size();
  EXPECT_EQ(window.maximumSize(), screen - QSize(20, 20));
  EXPECT_FALSE(window.windowFlags() & Qt::WindowMinMaxButtonsHint);
  EXPECT_EQ(window.focusWidget(), &NameField());
  EXPECT_EQ(NameField().text(), "A");
  EXPECT_TRUE(SaveButton().isEnabled());
  EXPECT_EQ(SaveButton().text(), "&Uložit");
  EXPECT_FALSE(DeleteButton().isEnabled());
  ASSERT_EQ(List().count(), 2);
  EXPECT_EQ(List().item(1)->text(), "B");
}

TEST_F(SaveDialogViewTest, BlanksKeepTheSaveButtonDisabledALetterEnablesIt) {
  Open("", {});
  EXPECT_FALSE(SaveButton().isEnabled());
  QTest::keyClicks(&NameField(), "   ");
  EXPECT_FALSE(SaveButton().isEnabled());
  QTest::keyClicks(&NameField(), "x");
  EXPECT_TRUE(SaveButton().isEnabled());
  EXPECT_EQ(dialog_.Name(), "   x");
  // A name the format files cannot hold: the window says why, in full.
  QTest::keyClicks(&NameField(), "=1");
  EXPECT_FALSE(SaveButton().isEnabled());
  auto& problem = Find<QLabel>("lblNameProblem");
  EXPECT_TRUE(problem.isVisible());
  EXPECT_TRUE(problem.text().contains("\"=\""));
  EXPECT_TRUE(problem.wordWrap());
  EXPECT_LE(problem.heightForWidth(problem.width()), problem.height());
  QTest::keyClick(&NameField(), Qt::Key_Backspace);
  QTest::keyClick(&NameField(), Qt::Key_Backspace);
  EXPECT_TRUE(SaveButton().isEnabled());
  EXPECT_FALSE(problem.isVisible());
}

TEST_F(SaveDialogViewTest, ClickingOrDoubleClickingAnEntryCopiesItAndTheWindowStays) {
  SaveDialogView& window = Open("", {"Police", "Regál"});
  ClickEntry(1);
  EXPECT_EQ(NameField().text(), "Regál");
  EXPECT_TRUE(SaveButton().isEnabled());
  QListWidget& list = List();
  const QPoint first = list.visualItemRect(list.item(0)).center();
  QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, first);
  QCoreApplication::processEvents();
  EXPECT_EQ(NameField().text(), "Police");
  EXPECT_TRUE(window.isVisible());
}

TEST_F(SaveDialogViewTest, DeletingEntriesEnablesOnlyAfterTheListIsEntered) {
  Open("", {"Jediná"});
  FocusList();
  EXPECT_TRUE(DeleteButton().isEnabled());
  ClickEntry(0);
  QTest::mouseClick(&DeleteButton(), Qt::LeftButton);
  QCoreApplication::processEvents();
  EXPECT_EQ(List().count(), 0);
  EXPECT_TRUE(dialog_.Names().empty());
  EXPECT_FALSE(DeleteButton().isEnabled());
  FocusList();
  EXPECT_FALSE(DeleteButton().isEnabled());
}

TEST_F(SaveDialogViewTest, ResizingKeepsTheButtonsAtTheirEdges) {
  SaveDialogView& window = Open("A", {});
  window.resize(400, 300);
  QCoreApplication::processEvents();
  EXPECT_EQ(SaveButton().x(), dialog_.Panel1().Width() - 75 - 10);
  EXPECT_EQ(dialog_.Panel1().Width(), 400);
  EXPECT_EQ(NameField().width(), SaveButton().x() - 2 * NameField().x());
  EXPECT_EQ(DeleteButton().pos(), QPoint(10, dialog_.Panel2().Height() - 25 - 10));
  EXPECT_EQ(Find<QPushButton>("BitBtn1").parentWidget()->height(), 300 - 41);
  const QFrame& line = Find<QFrame>("Bevel1");
  EXPECT_EQ(line.geometry().bottom(), 300 - 41 - 1);
}

TEST_F(SaveDialogViewTest, TheSaveButtonOrEnterEndsWithOkTheTitleBarCloseWithout) {
  SaveDialogView& closed = Open("A", {});
  QTimer::singleShot(0, &closed, [&closed] { closed.close(); });
  EXPECT_FALSE(closed.Run());
  EXPECT_NE(dialog_.Result(), ModalResult::Ok);

  TfrmSaves other;
  other.SetName("B");
  SaveDialogView saved(other, ui_);
  QTimer::singleShot(0, &saved, [&saved] {
    QTest::keyClick(saved.findChild<QLineEdit*>("eSave"), Qt::Key_Return);
  });
  EXPECT_TRUE(saved.Run());
  EXPECT_EQ(other.Result(), ModalResult::Ok);
}

}  // namespace
}  // namespace korval::qt
