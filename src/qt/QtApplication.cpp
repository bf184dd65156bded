#include "qt/QtApplication.h"

#include <sys/stat.h>
#include <unistd.h>
#include <QApplication>
#include <QEventLoop>
#include <QThread>

#include <condition_variable>
#include <cstdlib>
#include <exception>
#include <mutex>
#include <string>
#include <thread>

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

namespace korval::qt {
namespace {

std::mutex applicationMutex;
std::condition_variable applicationReady;
std::thread* guiThread = nullptr;
bool stopping = false;

// The library's own GUI thread: it makes the application and then serves
// the work of every later call until the process ends. Closing the dialog's
// window or a quit() from anywhere only starts its loop again.
void ServeApplication() {
  {
    const std::lock_guard lock(applicationMutex);
    EnsureApplication();
    QGuiApplication::setQuitOnLastWindowClosed(false);
  }
  applicationReady.notify_all();
  for (;;) {
    QEventLoop loop;
    loop.exec();
    const std::lock_guard lock(applicationMutex);
    if (stopping) break;
  }
  // Taken down on its own thread, as a Qt program ends: windows, timers and
  // the display connection go before the process's static objects do.
  delete QCoreApplication::instance();
}

// At exit, before the static objects of Qt that the application uses go.
void StopApplication() {
  {
    const std::lock_guard lock(applicationMutex);
    if (guiThread == nullptr || guiThread->get_id() == std::this_thread::get_id()) return;
    stopping = true;
  }
  QMetaObject::invokeMethod(
      QCoreApplication::instance(), [] { QCoreApplication::exit(0); }, Qt::QueuedConnection);
  guiThread->join();
}

// The application to run work in; made on a thread of its own when the
// process has none yet. No Qt call may come first on the calling thread, or
// Qt would take that thread for its main one.
QCoreApplication& ApplicationForWork() {
  std::unique_lock lock(applicationMutex);
  if (QCoreApplication* app = QCoreApplication::instance()) return *app;
  // Two first calls at once start one thread; the second waits with the first.
  const bool first = guiThread == nullptr;
  if (first) guiThread = new std::thread(&ServeApplication);
  applicationReady.wait(lock, [] { return QCoreApplication::instance() != nullptr; });
  // Registered once the application stands, so that the stop runs before the
  // exit handlers Qt registered while making it.
  if (first) std::atexit(&StopApplication);
  return *QCoreApplication::instance();
}

}  // namespace

void RunInApplicationThread(const std::function<void()>& work) {
  QCoreApplication& app = ApplicationForWork();
  if (app.thread() == QThread::currentThread()) {
    work();
    return;
  }
  std::exception_ptr error;
  QMetaObject::invokeMethod(
      &app,
      [&work, &error] {
        try {
          work();
        } catch (...) {
          error = std::current_exception();
        }
      },
      Qt::BlockingQueuedConnection);
  if (error) std::rethrow_exception(error);
}

}  // namespace korval::qt
