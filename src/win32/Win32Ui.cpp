#include "win32/WinApi.h"

#include "win32/Win32Ui.h"

#include <string>
#include <vector>

#include "dialog/Texts.h"
#include "host_api/HostContext.h"
#include "platform/WideText.h"

namespace korval::win32 {
namespace {

// The caption of a box that brings none, as on Linux.
constexpr const char* kApplicationTitle = "KORVAL";

HWND AsWindow(std::intptr_t window) {
  return reinterpret_cast<HWND>(window);
}

COLORREF ToColorRef(Color color) {
  return static_cast<COLORREF>(ResolveColor(color)) & 0x00FFFFFFu;
}

UINT IconStyle(MessageIcon icon) {
  switch (icon) {
    case MessageIcon::Error:
      return MB_ICONERROR;
    case MessageIcon::Warning:
      return MB_ICONWARNING;
    case MessageIcon::Question:
      return MB_ICONQUESTION;
    case MessageIcon::Information:
      return MB_ICONINFORMATION;
    case MessageIcon::None:
      break;
  }
  return 0;
}

const wchar_t* CursorResource(Cursor cursor) {
  switch (cursor) {
    case Cursor::NotAllowed:
      return IDC_NO;
    case Cursor::HourGlass:
      return IDC_WAIT;
    case Cursor::AppStart:
      return IDC_APPSTARTING;
    case Cursor::SizeNWSE:
      return IDC_SIZENWSE;
    case Cursor::SizeNESW:
      return IDC_SIZENESW;
    case Cursor::SizeWE:
      return IDC_SIZEWE;
    case Cursor::SizeNS:
      return IDC_SIZENS;
    case Cursor::Default:
      break;
  }
  return IDC_ARROW;
}

// The resolution of the screen, which the font dialog's heights are in.
int ScreenPixelsPerInch() {
  const HDC screen = GetDC(nullptr);
  const int dpi = screen != nullptr ? GetDeviceCaps(screen, LOGPIXELSY) : 0;
  if (screen != nullptr) ReleaseDC(nullptr, screen);
  return dpi > 0 ? dpi : Font::kDesignPixelsPerInch;
}

// The font dialog's hook: on opening, the title in lCustData goes on the
// window; everything else is the dialog's own.
UINT_PTR CALLBACK TitleFontDialog(HWND window, UINT message, WPARAM, LPARAM lParam) {
  if (message == WM_INITDIALOG && lParam != 0) {
    const auto* dialog = reinterpret_cast<const CHOOSEFONTW*>(lParam);
    SetWindowTextW(window, reinterpret_cast<const wchar_t*>(dialog->lCustData));
  }
  return 0;
}

}  // namespace

HCURSOR CursorHandle(Cursor cursor) {
  return LoadCursorW(nullptr, CursorResource(cursor));
}

std::wstring OpenDialogFilter(const std::string& filter) {
  std::wstring wide = WideFromUtf8(filter);
  for (wchar_t& c : wide) {
    if (c == L'|') c = L'\0';
  }
  // The last part ends in a null character, and the list in one more; a
  // std::wstring adds the last of them.
  if (!wide.empty()) wide.push_back(L'\0');
  return wide;
}

Win32Ui::Win32Ui(HostContext& host) : host_(host) {}

std::intptr_t Win32Ui::OwnerWindow() const {
  // A window handle the host passed long ago may be gone: a box with a
  // dead owner is not shown at all.
  for (const std::intptr_t window : {owner_, host_.HostWindow()}) {
    if (window != 0 && IsWindow(AsWindow(window))) return window;
  }
  return 0;
}

MessageAnswer Win32Ui::ShowMessage(const MessageBoxRequest& request) {
  const bool question = request.Buttons == MessageButtons::YesNo;
  UINT style = IconStyle(request.Icon) | (question ? MB_YESNO : MB_OK);
  HWND owner = nullptr;
  switch (request.Modality) {
    case MessageModality::Application:
      style |= MB_APPLMODAL;
      owner = AsWindow(OwnerWindow());
      break;
    case MessageModality::TaskModal:
      // Every window of the thread waits for the box, the owner too.
      style |= MB_TASKMODAL;
      owner = AsWindow(OwnerWindow());
      break;
    case MessageModality::Topmost:
      // Above every window and without an owner; task-modal, so that the
      // windows of this thread wait for the answer rather than take clicks
      // that the box's own message loop would hand them.
      style |= MB_TASKMODAL | MB_TOPMOST | MB_SETFOREGROUND;
      break;
  }
  const std::wstring caption =
      WideFromUtf8(request.Caption.empty() ? std::string(kApplicationTitle) : request.Caption);
  const std::wstring text = WideFromUtf8(request.Text);
  switch (MessageBoxW(owner, text.c_str(), caption.c_str(), style)) {
    case IDYES:
      return MessageAnswer::Yes;
    case IDNO:
      return MessageAnswer::No;
    case IDCANCEL:
      return question ? MessageAnswer::No : MessageAnswer::Ok;
    case 0:
      // The box could not be shown: the harmless answer, as on a machine
      // without a person in front of it.
      return question ? MessageAnswer::No : MessageAnswer::Ok;
    default:
      return MessageAnswer::Ok;
  }
}

std::optional<std::string> Win32Ui::OpenPictureDialog(const std::string& title,
                                                      const std::string& filter) {
  const std::wstring wideTitle = WideFromUtf8(title);
  const std::wstring wideFilter = OpenDialogFilter(filter);
  // Room for the long file names of NTFS.
  std::vector<wchar_t> file(32768, L'\0');
  OPENFILENAMEW dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = AsWindow(OwnerWindow());
  dialog.lpstrFilter = wideFilter.empty() ? nullptr : wideFilter.c_str();
  dialog.nFilterIndex = 1;
  dialog.lpstrFile = file.data();
  dialog.nMaxFile = static_cast<DWORD>(file.size());
  dialog.lpstrTitle = wideTitle.empty() ? nullptr : wideTitle.c_str();
  // The current folder stays where it is: the printer settings file is
  // found relative to it.
  dialog.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR |
                 OFN_ENABLESIZING | OFN_EXPLORER;
  if (!GetOpenFileNameW(&dialog)) return std::nullopt;
  return Utf8FromWide(file.data());
}

bool Win32Ui::ShowSaveDialog(TfrmSaves& dialog) {
  // The save-format dialog is a window of the label dialog's native view,
  // which sets the runner; without that view there is nothing to show it in.
  return SaveDialogRunner ? SaveDialogRunner(dialog) : false;
}

std::optional<Font> Win32Ui::ChooseFont(const Font& initial) {
  // The dialog speaks in pixels of the screen, the font in design pixels.
  const int screenDpi = ScreenPixelsPerInch();
  LOGFONTW logFont{};
  logFont.lfHeight = MulDiv(initial.Height, screenDpi, Font::kDesignPixelsPerInch);
  logFont.lfWeight = initial.Has(fsBold) ? FW_BOLD : FW_NORMAL;
  logFont.lfItalic = initial.Has(fsItalic) ? TRUE : FALSE;
  logFont.lfUnderline = initial.Has(fsUnderline) ? TRUE : FALSE;
  logFont.lfStrikeOut = initial.Has(fsStrikeOut) ? TRUE : FALSE;
  logFont.lfCharSet = static_cast<BYTE>(initial.Charset);
  WideFromUtf8(initial.Name).copy(logFont.lfFaceName, LF_FACESIZE - 1);

  // The title of the language catalogue, which the dialog itself has no
  // field for: the hook puts it on the window.
  const std::wstring title = WideFromUtf8(ControlText("TfrmMain", "fdFont", "Title", "Písmo"));

  CHOOSEFONTW dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = AsWindow(OwnerWindow());
  dialog.lpLogFont = &logFont;
  dialog.rgbColors = ToColorRef(initial.FontColor);
  // Since Windows 7 the dialog lists the installed fonts, printer fonts
  // included, whichever of the font-list flags is given.
  dialog.Flags = CF_SCREENFONTS | CF_EFFECTS | CF_INITTOLOGFONTSTRUCT | CF_ENABLEHOOK;
  dialog.lpfnHook = &TitleFontDialog;
  dialog.lCustData = reinterpret_cast<LPARAM>(title.c_str());
  if (!ChooseFontW(&dialog)) return std::nullopt;

  Font result = initial;
  result.Name = Utf8FromWide(logFont.lfFaceName);
  result.SetHeight(MulDiv(logFont.lfHeight, Font::kDesignPixelsPerInch, screenDpi));
  result.Charset = logFont.lfCharSet;
  result.Style = static_cast<FontStyles>(
      (logFont.lfWeight >= FW_BOLD ? fsBold : 0) | (logFont.lfItalic ? fsItalic : 0) |
      (logFont.lfUnderline ? fsUnderline : 0) | (logFont.lfStrikeOut ? fsStrikeOut : 0));
  // A system colour the user left as it was stays a system colour, rather
  // than become the plain colour the dialog showed for it.
  if (dialog.rgbColors != ToColorRef(initial.FontColor))
    result.FontColor = static_cast<Color>(dialog.rgbColors & 0x00FFFFFFu);
  return result;
}

void Win32Ui::SetCursor(Cursor cursor) {
  cursor_ = cursor;
  ::SetCursor(CursorHandle(cursor));
}

void Win32Ui::ProcessPendingEvents() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      // The quit is the host's message loop's to see.
      PostQuitMessage(static_cast<int>(message.wParam));
      return;
    }
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

void Win32Ui::PostHostNotice(std::intptr_t hostWindow, std::uint32_t message) {
  // A host that registered a function asked to hear through it; the others
  // get the message their window procedure has always handled.
  if (host_.HasNotify()) {
    host_.NotifyFormatSaved();
    return;
  }
  if (hostWindow != 0) PostMessageW(AsWindow(hostWindow), message, 0, 0);
}

}  // namespace korval::win32
