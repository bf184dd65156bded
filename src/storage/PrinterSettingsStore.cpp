// The printer and paper of each label format, the general label printer and
// the system default printer. They live in "etikety.ini" in the current
// folder, apart from the format files, so that every workstation keeps its own
// printers while the formats may be shared.

#include <algorithm>
#include <stdexcept>
#include <string>
#include <vector>

#include "dialog/Texts.h"
#include "dialog/TfrmMain.h"
#include "host_api/HostContext.h"
#include "platform/LocaleInfo.h"
#include "platform/NumberFormat.h"
#include "platform/PrintSurface.h"
#include "platform/Text.h"
#include "platform/Ui.h"
#include "storage/ProfileFile.h"

namespace korval {
namespace {

constexpr const char* kSettingsFile = ".\\etikety.ini";
constexpr const char* kSection = "SETUP";
constexpr const char* kPrinterKey = "TISKARNA";
constexpr const char* kWidthSuffix = "_WIDTH";
constexpr const char* kHeightSuffix = "_HEIGHT";
constexpr double kNoPaper = -1;

constexpr const char* kNoDefaultPrinter = "There is no default printer currently selected";

// A size that is missing or unreadable leaves the printer's own paper in force.
double ReadInches(const ProfileFile& file, const std::string& key) {
  return ParseFloat(file.ReadString(kSection, key, "-1")).value_or(kNoPaper);
}

std::string PrinterName(const PrintSurface& printer, int index) {
  const std::vector<std::string> names = printer.Printers();
  if (index < 0 || index >= static_cast<int>(names.size())) return {};
  return names[static_cast<std::size_t>(index)];
}

int PrinterPosition(const PrintSurface& printer, const std::string& name) {
  const std::vector<std::string> names = printer.Printers();
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (SameText(names[i], name)) return static_cast<int>(i);
  }
  return -1;
}

// Whether a listed printer is the default one. Older systems list a printer
// as "name on port", so the text before " on" is compared; but at least the
// default name's length is, so that a name containing "on" itself ("Label
// Station") still matches.
bool IsDefaultEntry(const std::string& entry, const std::string& defaultName) {
  const std::size_t on = FindText(entry, "on");
  const std::size_t beforeOn = on == std::string::npos ? 0 : CharCount(entry.substr(0, on));
  const std::size_t taken = std::max(beforeOn, CharCount(defaultName));
  return SameText(TrimControl(LeftChars(entry, taken)), TrimControl(defaultName));
}

}  // namespace

void TfrmMain::LoadPrinterSettings(const std::string& formatName) {
  PrintSurface& printer = services_.Printer;
  if (!printer.HasPrinter()) {
    ApplyPrinterSelection(-1, kNoPaper, kNoPaper);
    return;
  }

  const ProfileFile file(kSettingsFile);
  std::string printerName;
  RememberedPaperWidth = kNoPaper;
  RememberedPaperHeight = kNoPaper;
  if (!formatName.empty()) {
    const std::string key = formatName + "_" + kPrinterKey;
    printerName = file.ReadString(kSection, key, "");
    RememberedPaperWidth = ReadInches(file, key + kWidthSuffix);
    RememberedPaperHeight = ReadInches(file, key + kHeightSuffix);
  }
  if (printerName.empty()) {
    // The general printer brings its paper along, even for a format that
    // stored a paper size without a printer of its own.
    printerName = file.ReadString(kSection, kPrinterKey, "");
    RememberedPaperWidth = ReadInches(file, std::string(kPrinterKey) + kWidthSuffix);
    RememberedPaperHeight = ReadInches(file, std::string(kPrinterKey) + kHeightSuffix);
  }
  if (printerName.empty()) printerName = PrinterName(printer, services_.Host.LabelPrinterIndex());

  if (!printerName.empty()) {
    // A printer that is no longer installed gives -1: the system default is
    // used and the question below offers to make it the label printer.
    const int index = PrinterPosition(printer, printerName);
    services_.Host.SetLabelPrinterIndex(index);
    printer.SelectPrinter(index);
    ApplyPrinterSelection(index, RememberedPaperWidth, RememberedPaperHeight);
    return;
  }

  if (printer.ShowPrinterSetupDialog()) {
    ApplyPrinterSelection(printer.PrinterIndex(), printer.PaperWidth(SizeUnit::Inches),
                          printer.PaperHeight(SizeUnit::Inches));
    return;
  }
  MessageBoxRequest info;
  info.Caption = "Informace";
  info.Text = MessageText("NoLabelPrinter",
                          "Tiskárna nebyla zadána, bude nastavena výchozí tiskárna systému,\r\n"
                          "později ji lze zadat v editoru - nastavení tisku");
  info.Icon = MessageIcon::Information;
  info.Buttons = MessageButtons::Ok;
  info.Modality = MessageModality::Topmost;
  services_.UserInterface.ShowMessage(info);
  ApplyPrinterSelection(-1, kNoPaper, kNoPaper);
}

void TfrmMain::ApplyPrinterSelection(int index, double paperWidthInches, double paperHeightInches) {
  PrintSurface& printer = services_.Printer;
  HostContext& host = services_.Host;
  printer.SelectPrinter(index);

  // Without any printer there is nothing to offer and nothing to store.
  const bool available = printer.HasPrinter();
  if (available && printer.PrinterIndex() != host.LabelPrinterIndex()) {
    MessageBoxRequest question;
    question.Caption = "Dotaz";
    question.Text =
        MessageText("SaveLabelPrinter", "Uložit tuto tiskárnu jako výchozí při tisku etiket ?");
    question.Icon = MessageIcon::Question;
    question.Buttons = MessageButtons::YesNo;
    question.Modality = MessageModality::Topmost;
    if (services_.UserInterface.ShowMessage(question) == MessageAnswer::Yes) {
      ProfileFile(kSettingsFile)
          .WriteString(kSection, kPrinterKey, PrinterName(printer, printer.PrinterIndex()));
    }
  }

  // Only a choice made in the printer setup dialog differs from what the
  // load remembered, so loading a format never rewrites its own entry.
  const std::string formatName = Ctl<ComboBox>("cboxSaves").Text();
  if (available && index != -1 && paperWidthInches != kNoPaper && paperHeightInches != kNoPaper &&
      !IsBlank(formatName) &&
      (paperWidthInches != RememberedPaperWidth || paperHeightInches != RememberedPaperHeight)) {
    RememberedPaperWidth = paperWidthInches;
    RememberedPaperHeight = paperHeightInches;
    const char separator = Locale().DecimalSeparator();
    const std::string key = formatName + "_" + kPrinterKey;
    ProfileFile file(kSettingsFile);
    file.WriteString(kSection, key, PrinterName(printer, printer.PrinterIndex()));
    file.WriteString(kSection, key + kWidthSuffix,
                     FormatGeneral(printer.PaperWidth(SizeUnit::Inches), separator));
    file.WriteString(kSection, key + kHeightSuffix,
                     FormatGeneral(printer.PaperHeight(SizeUnit::Inches), separator));
  }

  host.SetLabelPrinterIndex(printer.PrinterIndex());
  printer.RefreshMetrics();
  for (const char* action : {"actPrinterSetup", "actTestPrint", "actPrint"})
    GetAction(action).SetEnabled(available);
  UpdateSheetInfo(paperWidthInches, paperHeightInches);
  Preview();
}

int TfrmMain::DefaultPrinterIndex() {
  const PrintSurface& printer = services_.Printer;
  const std::string defaultName = printer.DefaultPrinterName();
  if (defaultName.empty()) throw std::runtime_error(kNoDefaultPrinter);
  const std::vector<std::string> names = printer.Printers();
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (IsDefaultEntry(names[i], defaultName)) return static_cast<int>(i);
  }
  throw std::runtime_error(kNoDefaultPrinter);
}

}  // namespace korval
