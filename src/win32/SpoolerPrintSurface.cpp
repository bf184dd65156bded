#include "win32/WinApi.h"

#include "win32/SpoolerPrintSurface.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cwchar>
#include <cwctype>
#include <stdexcept>
#include <string>
#include <utility>

#include "platform/Text.h"
#include "platform/Ui.h"
#include "platform/WideText.h"
#include "print/PrintSurfaceMessages.h"
#include "win32/GdiCanvas.h"

namespace korval::win32 {
namespace {

std::vector<std::string> SpoolerPrinters() {
  // Local printers and the connections to shared ones, in the spooler's
  // order; level 4 names them the way formats store them.
  const DWORD flags = PRINTER_ENUM_LOCAL | PRINTER_ENUM_CONNECTIONS;
  DWORD needed = 0;
  DWORD count = 0;
  std::vector<BYTE> buffer;
  // A printer installed between the size query and the listing makes the
  // list longer; asking again is enough.
  for (int attempt = 0; attempt < 3; ++attempt) {
    if (EnumPrintersW(flags, nullptr, 4, buffer.data(), static_cast<DWORD>(buffer.size()), &needed,
                      &count))
      break;
    if (GetLastError() != ERROR_INSUFFICIENT_BUFFER) return {};
    buffer.resize(needed);
    count = 0;
  }
  std::vector<std::string> names;
  if (count == 0 || buffer.empty()) return names;
  const auto* info = reinterpret_cast<const PRINTER_INFO_4W*>(buffer.data());
  for (DWORD i = 0; i < count; ++i) {
    if (info[i].pPrinterName != nullptr) names.push_back(Utf8FromWide(info[i].pPrinterName));
  }
  return names;
}

// The system's words for an error code, without the line end.
std::string SystemReason(DWORD error) {
  wchar_t* text = nullptr;
  const DWORD length = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  std::wstring reason = length > 0 && text != nullptr ? std::wstring(text, length) : std::wstring();
  if (text != nullptr) LocalFree(text);
  while (!reason.empty() && std::iswspace(reason.back()) != 0) reason.pop_back();
  if (reason.empty()) return "error " + std::to_string(error);
  return Utf8FromWide(reason);
}

// An open printer for the length of a scope.
class PrinterHandle {
 public:
  explicit PrinterHandle(std::wstring& name) {
    if (!OpenPrinterW(name.data(), &handle_, nullptr)) handle_ = nullptr;
  }
  ~PrinterHandle() {
    if (handle_ != nullptr) ClosePrinter(handle_);
  }
  PrinterHandle(const PrinterHandle&) = delete;
  PrinterHandle& operator=(const PrinterHandle&) = delete;
  HANDLE Get() const { return handle_; }

 private:
  HANDLE handle_ = nullptr;
};

// Global memory for the print dialog, copied from bytes.
HGLOBAL GlobalCopy(const void* data, std::size_t size) {
  const HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, size);
  if (memory == nullptr) return nullptr;
  void* target = GlobalLock(memory);
  if (target == nullptr) {
    GlobalFree(memory);
    return nullptr;
  }
  std::copy_n(static_cast<const BYTE*>(data), size, static_cast<BYTE*>(target));
  GlobalUnlock(memory);
  return memory;
}

// The dialog's DEVNAMES for a printer: the spooler's driver name, the
// printer's name and no port, each at its offset in characters.
HGLOBAL MakeDeviceNames(const std::wstring& device) {
  const std::wstring driver = L"winspool";
  constexpr std::size_t kHeader = sizeof(DEVNAMES) / sizeof(wchar_t);
  std::wstring text(kHeader, L'\0');
  text += driver;
  text.push_back(L'\0');
  text += device;
  text.push_back(L'\0');
  text.push_back(L'\0');  // the port
  DEVNAMES names{};
  names.wDriverOffset = static_cast<WORD>(kHeader);
  names.wDeviceOffset = static_cast<WORD>(kHeader + driver.size() + 1);
  names.wOutputOffset = static_cast<WORD>(kHeader + driver.size() + 1 + device.size() + 1);
  std::copy_n(reinterpret_cast<const wchar_t*>(&names), kHeader, text.begin());
  return GlobalCopy(text.data(), text.size() * sizeof(wchar_t));
}

}  // namespace

SpoolerPrintSurface::SpoolerPrintSurface(Ui& ui, std::intptr_t ownerWindow)
    : ui_(ui), ownerWindow_(ownerWindow) {
  printers_ = SpoolerPrinters();
  SelectPrinter(-1);
}

SpoolerPrintSurface::~SpoolerPrintSurface() {
  // A job left open still reaches its printer with what it has.
  if (jobDc_ != nullptr) CloseJob();
}

const std::string& SpoolerPrintSurface::SelectedName() const {
  return printers_.at(static_cast<std::size_t>(selected_));
}

std::string SpoolerPrintSurface::DefaultPrinterName() const {
  DWORD size = 0;
  GetDefaultPrinterW(nullptr, &size);
  if (size > 0) {
    std::wstring name(size, L'\0');
    if (GetDefaultPrinterW(name.data(), &size)) {
      name.resize(std::wcslen(name.c_str()));
      if (!name.empty()) return Utf8FromWide(name);
    }
  }
  // Where the spooler names none, the profile's "device" entry may:
  // "name,driver,port".
  wchar_t device[1024] = {};
  GetProfileStringW(L"windows", L"device", L"", device, 1023);
  std::wstring_view entry(device);
  while (!entry.empty() && entry.front() <= L' ') entry.remove_prefix(1);
  return Utf8FromWide(entry.substr(0, entry.find(L',')));
}

void SpoolerPrintSurface::SelectPrinter(int index) {
  if (jobDc_ != nullptr) throw std::logic_error("the printer cannot change during a print job");
  if (printers_.empty()) {
    selected_ = -1;
    deviceMode_.clear();
    RefreshMetrics();
    return;
  }
  const int target = PrinterToSelect(printers_, index, [this] { return DefaultPrinterName(); });
  // The printer already selected keeps the paper chosen for it; the format
  // store selects the same printer several times in a row.
  if (target != selected_ || deviceMode_.empty()) {
    selected_ = target;
    LoadDeviceMode();
  }
  RefreshMetrics();
}

void SpoolerPrintSurface::RefreshPrinters() {
  // The printer of a job in progress stays as it is until the job ends.
  if (jobDc_ != nullptr) return;
  const std::vector<std::string> before = printers_;
  const std::string selectedName = selected_ >= 0 ? SelectedName() : std::string();
  printers_ = SpoolerPrinters();
  if (printers_ == before) return;
  if (const int kept = IndexAfterRefresh(printers_, selectedName); kept >= 0) {
    selected_ = kept;
    return;
  }
  selected_ = -1;
  deviceMode_.clear();
  SelectPrinter(-1);
}

void SpoolerPrintSurface::LoadDeviceMode() {
  deviceMode_.clear();
  std::wstring name = WideFromUtf8(SelectedName());
  const PrinterHandle printer(name);
  if (printer.Get() == nullptr) return;
  const LONG size = DocumentPropertiesW(nullptr, printer.Get(), name.data(), nullptr, nullptr, 0);
  if (size < static_cast<LONG>(sizeof(DEVMODEW))) return;
  deviceMode_.assign(static_cast<std::size_t>(size), 0);
  if (DocumentPropertiesW(nullptr, printer.Get(), name.data(),
                          reinterpret_cast<DEVMODEW*>(deviceMode_.data()), nullptr,
                          DM_OUT_BUFFER) != IDOK)
    deviceMode_.clear();
}

void SpoolerPrintSurface::RefreshMetrics() {
  metrics_ = Metrics{};
  if (selected_ < 0) return;
  const std::wstring name = WideFromUtf8(SelectedName());
  const auto* mode =
      deviceMode_.empty() ? nullptr : reinterpret_cast<const DEVMODEW*>(deviceMode_.data());
  const HDC dc = CreateICW(nullptr, name.c_str(), nullptr, mode);
  if (dc == nullptr) return;
  const int dpiX = GetDeviceCaps(dc, LOGPIXELSX);
  const int dpiY = GetDeviceCaps(dc, LOGPIXELSY);
  const int printableWidth = GetDeviceCaps(dc, HORZRES);
  const int printableHeight = GetDeviceCaps(dc, VERTRES);
  int paperWidth = GetDeviceCaps(dc, PHYSICALWIDTH);
  int paperHeight = GetDeviceCaps(dc, PHYSICALHEIGHT);
  const int offsetX = GetDeviceCaps(dc, PHYSICALOFFSETX);
  const int offsetY = GetDeviceCaps(dc, PHYSICALOFFSETY);
  DeleteDC(dc);
  if (dpiX <= 0 || dpiY <= 0 || printableWidth <= 0 || printableHeight <= 0) return;
  // A device that knows no paper (a display driver posing as a printer)
  // prints all of it.
  if (paperWidth <= 0 || paperHeight <= 0) {
    paperWidth = printableWidth;
    paperHeight = printableHeight;
  }
  metrics_.DpiX = dpiX;
  metrics_.DpiY = dpiY;
  metrics_.PaperWidth = static_cast<double>(paperWidth) / dpiX;
  metrics_.PaperHeight = static_cast<double>(paperHeight) / dpiY;
  metrics_.Left = static_cast<double>(std::max(0, offsetX)) / dpiX;
  metrics_.Top = static_cast<double>(std::max(0, offsetY)) / dpiY;
  metrics_.Right = static_cast<double>(std::max(0, paperWidth - printableWidth - offsetX)) / dpiX;
  metrics_.Bottom =
      static_cast<double>(std::max(0, paperHeight - printableHeight - offsetY)) / dpiY;
}

void SpoolerPrintSurface::SetCustomPaperSize(double widthInches, double heightInches) {
  if (deviceMode_.empty() || !(widthInches > 0) || !(heightInches > 0)) return;
  const auto tenthsOfMillimetre = [](double inches) {
    return static_cast<short>(std::clamp(std::lround(inches * 254.0), 1L, long{SHRT_MAX}));
  };
  auto* mode = reinterpret_cast<DEVMODEW*>(deviceMode_.data());
  // The size as given, width across: a label roll wider than long stays so.
  // A paper size of 0 with both lengths given is the driver's custom paper.
  mode->dmFields &= ~static_cast<DWORD>(DM_PAPERSIZE);
  mode->dmFields |= DM_PAPERWIDTH | DM_PAPERLENGTH | DM_ORIENTATION;
  mode->dmPaperSize = 0;
  mode->dmPaperWidth = tenthsOfMillimetre(widthInches);
  mode->dmPaperLength = tenthsOfMillimetre(heightInches);
  mode->dmOrientation = DMORIENT_PORTRAIT;
  // The driver merges the change into its own settings (and may round the
  // size to what it can feed); where it cannot, the request stands as made.
  std::wstring name = WideFromUtf8(SelectedName());
  const PrinterHandle printer(name);
  if (printer.Get() != nullptr) {
    std::vector<unsigned char> merged(deviceMode_.size());
    if (DocumentPropertiesW(nullptr, printer.Get(), name.data(),
                            reinterpret_cast<DEVMODEW*>(merged.data()), mode,
                            DM_IN_BUFFER | DM_OUT_BUFFER) == IDOK)
      deviceMode_ = std::move(merged);
  }
  RefreshMetrics();
}

bool SpoolerPrintSurface::RunPrintDialog(bool setup) {
  if (selected_ < 0 || jobDc_ != nullptr) return false;
  PRINTDLGW dialog{};
  dialog.lStructSize = sizeof dialog;
  const auto owner = reinterpret_cast<HWND>(ownerWindow_);
  dialog.hwndOwner = owner != nullptr && IsWindow(owner) ? owner : nullptr;
  if (!deviceMode_.empty()) dialog.hDevMode = GlobalCopy(deviceMode_.data(), deviceMode_.size());
  dialog.hDevNames = MakeDeviceNames(WideFromUtf8(SelectedName()));
  dialog.Flags =
      setup ? PD_PRINTSETUP : PD_NOSELECTION | PD_NOPAGENUMS | PD_USEDEVMODECOPIESANDCOLLATE;
  const bool confirmed = PrintDlgW(&dialog) != FALSE;

  std::wstring chosenName;
  std::vector<unsigned char> chosenMode;
  if (confirmed && dialog.hDevNames != nullptr) {
    if (const auto* names = static_cast<const DEVNAMES*>(GlobalLock(dialog.hDevNames))) {
      chosenName = reinterpret_cast<const wchar_t*>(names) + names->wDeviceOffset;
      GlobalUnlock(dialog.hDevNames);
    }
  }
  if (confirmed && dialog.hDevMode != nullptr) {
    if (const auto* mode = static_cast<const DEVMODEW*>(GlobalLock(dialog.hDevMode))) {
      const auto* bytes = reinterpret_cast<const unsigned char*>(mode);
      chosenMode.assign(bytes, bytes + mode->dmSize + mode->dmDriverExtra);
      GlobalUnlock(dialog.hDevMode);
    }
  }
  // The dialog may have replaced the handles it was given; these are the
  // ones left to free.
  if (dialog.hDevMode != nullptr) GlobalFree(dialog.hDevMode);
  if (dialog.hDevNames != nullptr) GlobalFree(dialog.hDevNames);
  if (!confirmed) return false;

  // The dialog may offer a printer installed since the list was made.
  printers_ = SpoolerPrinters();
  const std::string chosen = Utf8FromWide(chosenName);
  selected_ = -1;
  for (std::size_t i = 0; i < printers_.size(); ++i) {
    if (SameText(printers_[i], chosen)) selected_ = static_cast<int>(i);
  }
  if (selected_ < 0) {
    deviceMode_.clear();
    SelectPrinter(-1);
    return true;
  }
  if (chosenMode.size() >= sizeof(DEVMODEW)) {
    deviceMode_ = std::move(chosenMode);
  } else {
    LoadDeviceMode();
  }
  RefreshMetrics();
  return true;
}

bool SpoolerPrintSurface::ShowPrintDialog() {
  return RunPrintDialog(false);
}

bool SpoolerPrintSurface::ShowPrinterSetupDialog() {
  return RunPrintDialog(true);
}

bool SpoolerPrintSurface::BeginJob(const std::string& title) {
  if (jobDc_ != nullptr) throw std::logic_error("a print job is already open");
  if (printers_.empty()) {
    ui_.ShowMessage({"", kNoPrintersMessage, MessageIcon::Error, MessageButtons::Ok,
                     MessageModality::Application});
    return false;
  }
  if (selected_ < 0) SelectPrinter(-1);
  const std::string& name = SelectedName();
  const std::wstring wideName = WideFromUtf8(name);
  const auto* mode =
      deviceMode_.empty() ? nullptr : reinterpret_cast<const DEVMODEW*>(deviceMode_.data());
  const HDC dc = CreateDCW(nullptr, wideName.c_str(), nullptr, mode);
  bool started = dc != nullptr;
  DWORD error = ERROR_SUCCESS;
  if (started) {
    const std::wstring wideTitle = WideFromUtf8(title);
    DOCINFOW document{};
    document.cbSize = sizeof document;
    document.lpszDocName = wideTitle.c_str();
    if (StartDocW(dc, &document) <= 0) {
      error = GetLastError();
      started = false;
    } else if (StartPage(dc) <= 0) {
      error = GetLastError();
      AbortDoc(dc);
      started = false;
    }
  }
  if (!started) {
    if (dc != nullptr) DeleteDC(dc);
    // A person who cancelled the file name of a printer that prints to a
    // file knows why nothing printed.
    if (error != ERROR_CANCELLED)
      ui_.ShowMessage({kPrintErrorCaption, JobNotStartedMessage(name), MessageIcon::Error,
                       MessageButtons::Ok, MessageModality::Application});
    return false;
  }
  jobDc_ = dc;
  jobFailure_.clear();
  canvas_ = std::make_unique<GdiCanvas>(dc);
  return true;
}

Canvas& SpoolerPrintSurface::PageCanvas() {
  if (!canvas_) throw std::logic_error("no print job is open");
  return *canvas_;
}

void SpoolerPrintSurface::NewPage() {
  if (jobDc_ == nullptr) throw std::logic_error("no print job is open");
  // After a failed page the job is lost; EndJob says so once.
  if (!jobFailure_.empty()) return;
  if (EndPage(jobDc_) <= 0 || StartPage(jobDc_) <= 0) jobFailure_ = SystemReason(GetLastError());
}

bool SpoolerPrintSurface::EndJob() {
  if (jobDc_ == nullptr) throw std::logic_error("no print job is open");
  return CloseJob();
}

bool SpoolerPrintSurface::CloseJob() {
  // The canvas gives the context back as it came before the context goes.
  canvas_.reset();
  std::string failure = jobFailure_;
  if (failure.empty() && EndPage(jobDc_) <= 0) failure = SystemReason(GetLastError());
  if (failure.empty()) {
    if (EndDoc(jobDc_) <= 0) failure = SystemReason(GetLastError());
  } else {
    AbortDoc(jobDc_);
  }
  DeleteDC(jobDc_);
  jobDc_ = nullptr;
  jobFailure_.clear();
  if (failure.empty()) return true;
  ui_.ShowMessage({kPrintErrorCaption, JobRejectedMessage(SelectedName(), failure),
                   MessageIcon::Error, MessageButtons::Ok, MessageModality::Application});
  return false;
}

}  // namespace korval::win32
