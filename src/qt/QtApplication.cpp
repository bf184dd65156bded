#include "qt/QtApplication.h"

#include <QApplication>
#include <cstdlib>

namespace korval::qt {

void EnsureApplication() {
  if (QCoreApplication::instance() != nullptr) return;
  // Qt keeps references to argc and argv for the life of the application.
  static int argc = 1;
  static char name[] = "korval";
  static char* argv[] = {name, nullptr};
  const char* display = std::getenv("DISPLAY");
  const char* wayland = std::getenv("WAYLAND_DISPLAY");
  const char* platform = std::getenv("QT_QPA_PLATFORM");
  if ((display == nullptr || *display == '\0') && (wayland == nullptr || *wayland == '\0') &&
      (platform == nullptr || *platform == '\0')) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
  }
  // A widget application, since the print and page setup dialogs are
  // widgets; it runs on the offscreen platform just as well.
  static QApplication* app = new QApplication(argc, argv);
  (void)app;
}

}  // namespace korval::qt
