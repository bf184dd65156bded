#include "win32/WinApi.h"

#include "cli/CountingUi.h"
#include "cli/SystemPrinting.h"
#include "platform/Text.h"
#include "win32/SpoolerPrintSurface.h"

namespace korval::cli {
namespace {

// The program runs in a console, without windows of its own: messages go to
// the terminal and questions get their unattended answer, as the library
// answers them on a machine without a screen.
class ConsoleUi final : public Ui {
 public:
  explicit ConsoleUi(std::ostream& log) : log_(log) {}
  MessageAnswer ShowMessage(const MessageBoxRequest& request) override {
    return AnswerUnattended(request, log_);
  }
  std::optional<std::string> OpenPictureDialog(const std::string&, const std::string&) override {
    return std::nullopt;
  }
  bool ShowSaveDialog(TfrmSaves&) override { return false; }
  std::optional<Font> ChooseFont(const Font&) override { return std::nullopt; }
  void SetCursor(Cursor) override {}
  void ProcessPendingEvents() override {}
  void PostHostNotice(std::intptr_t, std::uint32_t) override {}

 private:
  std::ostream& log_;
};

// Windows has no PDF printer that writes where it is told without asking;
// the labels go to the printers of the spooler.
class SpoolerPrinting final : public SystemPrinting {
 public:
  explicit SpoolerPrinting(std::ostream& err) : ui_(err), counted_(ui_), surface_(counted_) {}
  Ui& GetUi() override { return counted_; }
  int MessagesShown() const override { return counted_.MessagesShown(); }
  PrintSurface& Surface() override { return surface_; }
  std::optional<int> PdfPrinterWriting(const std::string&) override { return std::nullopt; }
  std::string PdfOutputFile() const override { return {}; }
  std::unique_ptr<SheetImage> NewSheetImage(int, int, int) override { return nullptr; }

 private:
  ConsoleUi ui_;
  CountingUi counted_;
  win32::SpoolerPrintSurface surface_;
};

}  // namespace

std::unique_ptr<SystemPrinting> OpenSystemPrinting(HostContext&, std::ostream& err) {
  return std::make_unique<SpoolerPrinting>(err);
}

}  // namespace korval::cli
