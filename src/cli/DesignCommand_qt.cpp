#include "cli/DesignCommand.h"

#include <QCoreApplication>
#include <QImage>
#include <QTabWidget>
#include <cstdlib>
#include <filesystem>
#include <optional>

#include "cli/FormatsCommand.h"
#include "cli/GoodsCommand.h"
#include "cli/GoodsFile.h"
#include "cli/Options.h"
#include "cli/SheetsCommand.h"
#include "dialog/TfrmMain.h"
#include "host_api/HostApi.h"
#include "platform/CodePage.h"
#include "qt/FormView.h"
#include "qt/LabelDialogWindow.h"
#include "qt/QtApplication.h"
#include "qt/QtPrintSurface.h"
#include "qt/QtUi.h"

namespace korval::cli {
namespace {

enum class Page { Design, Preview, Sheet };

Page ParsePage(const std::optional<std::string>& name) {
  if (!name || *name == "design") return Page::Design;
  if (*name == "preview") return Page::Preview;
  if (*name == "sheet") return Page::Sheet;
  throw UsageError("--page is design, preview or sheet");
}

// The dialog as it opens, drawn offscreen; with the preview page, or the
// sheet's parameters beside the label, shown when asked, as a click on its
// tab would show it.
QImage DialogPicture(TfrmMain& dialog, Ui& ui, Page page) {
  qt::FormView view(dialog, ui);
  view.setAttribute(Qt::WA_DontShowOnScreen);
  view.show();
  QCoreApplication::processEvents();
  if (page == Page::Preview) {
    if (auto* pages = qobject_cast<QTabWidget*>(view.WidgetOf("PageControl1")))
      pages->setCurrentIndex(1);
    QCoreApplication::processEvents();
  }
  if (page == Page::Sheet) {
    if (auto* pages = qobject_cast<QTabWidget*>(view.WidgetOf("gbDalsi")))
      pages->setCurrentIndex(1);
    QCoreApplication::processEvents();
  }
  QImage picture = view.grab().toImage();
  view.hide();
  return picture;
}

}  // namespace

int RunDesignCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  const Options options(
      args, {"--forms", "--format", "--goods", "--encoding", "--screenshot", "--page", "--sheet"},
      {});
  const std::string prefix = FormsPrefix(options.Require("--forms"));
  if (!std::filesystem::is_directory(prefix)) throw UsageError("no folder " + prefix);
  const std::string format = options.Get("--format").value_or("");
  if (!format.empty()) RequireStoredFormat(prefix, format);
  const std::optional<std::string> screenshot = options.Get("--screenshot");
  const Page page = ParsePage(options.Get("--page"));
  if (options.Has("--page") && !screenshot) throw UsageError("--page goes with --screenshot");
  const std::string sheet = SheetOption(options.Get("--sheet"));
  GoodsFile goods;
  if (options.Has("--goods")) goods = LoadGoods(options, "design", err, false);

  // A picture needs no display: without a Qt application yet, the offscreen
  // platform draws it.
  if (screenshot && QCoreApplication::instance() == nullptr)
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
  qt::EnsureApplication();

  HostContext& host = DesignHost(prefix, format, goods);

  if (!screenshot) return qt::RunLabelDialog(host, 0, err, sheet) ? 0 : 1;

  qt::QtUi ui(host, err);
  qt::QtPrintSurface printer(ui);
  TfrmMain dialog(SystemDialogServices(host, ui, printer));
  dialog.StartSheet = sheet;
  dialog.RunCreationSteps();
  const QImage picture = DialogPicture(dialog, ui, page);
  // A picture leaves the folder as it was: not even the window placement,
  // which the dialog would otherwise write as it goes.
  dialog.PlacementWritten = true;
  if (picture.isNull() || !picture.save(QString::fromStdString(*screenshot), "PNG")) {
    err << "korval design: cannot write " << *screenshot << "\n";
    return 1;
  }
  out << "wrote " << *screenshot << " (" << picture.width() << " x " << picture.height() << ")\n";
  return 0;
}

}  // namespace korval::cli
