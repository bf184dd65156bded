#include "qt/QtApplication.h"

#include <sys/stat.h>
#include <unistd.h>
#include <QApplication>

#include <cstdlib>
#include <string>

#include "qt/QtPictureDecoder.h"

namespace korval::qt {

void EnsureApplication() {
  InstallPictureDecoder();
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
  // Qt wants a private runtime folder; a service or a terminal without a
  // login session has none, so one is made as Qt would, without the warning.
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  if (runtime == nullptr || *runtime == '\0') {
    const std::string folder = "/tmp/runtime-" + std::to_string(::getuid());
    ::mkdir(folder.c_str(), 0700);
    struct stat info {};
    if (::stat(folder.c_str(), &info) == 0 && info.st_uid == ::getuid()) {
      ::chmod(folder.c_str(), 0700);
      setenv("XDG_RUNTIME_DIR", folder.c_str(), 0);
    }
  }
  // A widget application, since the print and page setup dialogs are
  // widgets; it runs on the offscreen platform just as well.
  static QApplication* app = new QApplication(argc, argv);
  (void)app;
}

}  // namespace korval::qt
