#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QContextMenuEvent>
#include <QImage>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <memory>
#include <string>
#include <vector>

#include "doubles/FormsFolderTest.h"
#include "qt/DesignSurfaceWidget.h"
#include "qt/FormView.h"
#include "qt/QtApplication.h"

namespace korval::qt {

// The label dialog on screen (the offscreen platform) over a folder of its
// own, driven through its widgets as a person drives them. The dialog's
// questions are answered by the scripted person of the fixture.
class ViewFixture : public test::FormsFolderTest {
 protected:
  void SetUp() override {
    EnsureApplication();
    FormsFolderTest::SetUp();
  }
  void TearDown() override {
    view_.reset();
    FormsFolderTest::TearDown();
  }

  // A goods record with a name and a price, as a host hands it.
  static TTiketItem Cheese() {
    return test::RecordBuilder().Name("Eidam 30 %").Number("SYR-0301").PriceA(129.75).Build();
  }

  // Creates the dialog for the host's format name and shows it; the show
  // step runs as the window first appears.
  FormView& Open(const std::string& formatName = "") {
    view_.reset();
    f_.SetGoods({Cheese()}, formatName);
    f_.Recreate();
    f_.dialog->RunCreationSteps();
    view_ = std::make_unique<FormView>(*f_.dialog, f_.ui);
    view_->show();
    QApplication::setActiveWindow(view_.get());
    QCoreApplication::processEvents();
    return *view_;
  }

  TfrmMain& Model() { return *f_.dialog; }

  template <typename T>
  T& Widget(const char* name) {
    T* widget = qobject_cast<T*>(view_->WidgetOf(name));
    if (widget == nullptr) throw std::runtime_error(std::string("no widget ") + name);
    return *widget;
  }

  DesignSurfaceWidget& Surface() { return view_->Surface(); }

  // Clicks a check box where a person clicks it: on its box.
  static void Tick(QCheckBox& box) {
    QTest::mouseClick(&box, Qt::LeftButton, {}, QPoint(7, box.height() / 2));
    QCoreApplication::processEvents();
  }
  static void Press(QPushButton& button) {
    QTest::mouseClick(&button, Qt::LeftButton);
    QCoreApplication::processEvents();
  }
  // Shows a page by a click on its tab.
  static void ShowTab(QTabWidget& pages, int index) {
    QTabBar* bar = pages.tabBar();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(index).center());
    QCoreApplication::processEvents();
  }
  // Replaces an edit's text by typing, then leaves the edit.
  static void Retype(QLineEdit& edit, const QString& text) {
    edit.setFocus();
    QTest::keyClick(&edit, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(&edit, text);
    QFocusEvent leave(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(&edit, &leave);
    QCoreApplication::processEvents();
  }

  // Mouse on the design surface, in the label's pixels.
  void Hover(QPoint at) {
    QTest::mouseMove(&Surface(), at);
    QCoreApplication::processEvents();
  }
  void Drag(QPoint from, QPoint to) {
    Hover(from);
    QTest::mousePress(&Surface(), Qt::LeftButton, {}, from);
    QTest::mouseMove(&Surface(), to);
    QTest::mouseRelease(&Surface(), Qt::LeftButton, {}, to);
    QCoreApplication::processEvents();
  }
  void ClickLabel(QPoint at) {
    Hover(at);
    QTest::mouseClick(&Surface(), Qt::LeftButton, {}, at);
    QCoreApplication::processEvents();
  }
  // The right button over an item: the platform's context-menu gesture.
  QMenu& OpenItemMenu(QPoint at) {
    Hover(at);
    QTest::mousePress(&Surface(), Qt::RightButton, {}, at);
    QContextMenuEvent gesture(QContextMenuEvent::Mouse, at, Surface().mapToGlobal(at));
    QApplication::sendEvent(&Surface(), &gesture);
    QCoreApplication::processEvents();
    QMenu* menu = Surface().ItemMenu();
    if (menu == nullptr || !menu->isVisible()) throw std::runtime_error("no item menu");
    return *menu;
  }
  // The menu holding an entry (the menu itself or one of its submenus).
  static std::pair<QMenu*, QAction*> Locate(QMenu& menu, const QString& caption) {
    for (QAction* action : menu.actions()) {
      if (action->text() == caption) return {&menu, action};
      if (QMenu* sub = action->menu()) {
        const auto inner = Locate(*sub, caption);
        if (inner.second != nullptr) return inner;
      }
    }
    return {nullptr, nullptr};
  }
  static QAction* Entry(QMenu& menu, const QString& caption) {
    return Locate(menu, caption).second;
  }
  // Clicks an entry; one in a submenu after the submenu is opened from the
  // keyboard (its entry highlighted, then the right arrow).
  static void ChooseEntry(QMenu& menu, const QString& caption) {
    const auto [holder, action] = Locate(menu, caption);
    ASSERT_NE(action, nullptr) << caption.toStdString();
    if (holder != &menu) {
      menu.setActiveAction(holder->menuAction());
      QTest::keyClick(&menu, Qt::Key_Right);
      QCoreApplication::processEvents();
      ASSERT_TRUE(holder->isVisible());
    }
    QTest::mouseClick(holder, Qt::LeftButton, {}, holder->actionGeometry(action).center());
    QCoreApplication::processEvents();
  }

  // What the surface shows now: a repaint, as after any change.
  QImage SurfacePicture() {
    return Surface().grab().toImage().convertToFormat(QImage::Format_RGB32);
  }
  static bool Dark(const QImage& image, int x, int y) { return qGray(image.pixel(x, y)) < 128; }
  static int DarkInRow(const QImage& image, int y, int fromX, int toX) {
    int n = 0;
    for (int x = fromX; x < toX; ++x) n += Dark(image, x, y) ? 1 : 0;
    return n;
  }

  std::unique_ptr<FormView> view_;
};

}  // namespace korval::qt
