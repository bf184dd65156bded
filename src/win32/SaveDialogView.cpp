#include "win32/SaveDialogView.h"

#include <algorithm>
#include <stdexcept>

#include "platform/WideText.h"
#include "win32/FormView.h"

namespace korval::win32 {
namespace {

constexpr wchar_t kWindowClass[] = L"KorvalSaveDialog";

}  // namespace

SaveDialogView::SaveDialogView(TfrmSaves& dialog, Ui& ui, HWND owner)
    : dialog_(dialog), owner_(owner) {
  font_ = CreateDialogFont();
  // Only the system menu among the title-bar buttons.
  window_ = CreateTopWindow(kWindowClass, WideFromUtf8(dialog_.Caption()), owner_, *this,
                            WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_CLIPCHILDREN,
                            WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT, TfrmSaves::kWidth,
                            TfrmSaves::kHeight);
  if (window_ == nullptr) throw std::runtime_error("the save dialog's window cannot be created");
  mirror_ = std::make_unique<FormMirror>(dialog_, window_, font_, ui);
  mirror_->OnChanged = [this](Control& control, std::string_view property) {
    if (&control == &dialog_.Panel2() && property == "Bounds") PlaceSeparator();
  };
  mirror_->Build();
  mirror_->SetDefaultButton(dialog_.btnOk());
  if (HWND panel = mirror_->WindowOf(dialog_.Panel2())) {
    separator_ = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | SS_ETCHEDHORZ, 0, 0, 0,
                                 2, panel, nullptr, BackendModule(), nullptr);
  }
  RECT client{};
  GetClientRect(window_, &client);
  dialog_.SetClientSize(client.right, client.bottom);
  PlaceSeparator();
}

SaveDialogView::~SaveDialogView() {
  mirror_.reset();
  DestroyWindow(window_);
  DeleteObject(font_);
}

bool SaveDialogView::Run() {
  // Centred over the label dialog.
  RECT over{};
  if (owner_ == nullptr || !GetWindowRect(owner_, &over)) {
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &over, 0);
  }
  RECT own{};
  GetWindowRect(window_, &own);
  const int width = own.right - own.left;
  const int height = own.bottom - own.top;
  SetWindowPos(window_, nullptr, over.left + (over.right - over.left - width) / 2,
               over.top + (over.bottom - over.top - height) / 2, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  const bool ownerWasEnabled = owner_ != nullptr && IsWindowEnabled(owner_);
  if (ownerWasEnabled) EnableWindow(owner_, FALSE);
  ShowWindow(window_, SW_SHOW);
  // The proposed name is selected, so that a name typed replaces it.
  if (HWND name = mirror_->WindowOf(dialog_.ActiveControl())) {
    SetFocus(name);
    SendMessageW(name, EM_SETSEL, 0, -1);
  }
  RunModalLoop(window_, [this] { return dialog_.Result() != ModalResult::None; });
  // The owner comes back before this window goes, so that it is the one
  // activated.
  if (ownerWasEnabled) EnableWindow(owner_, TRUE);
  ShowWindow(window_, SW_HIDE);
  return dialog_.Result() == ModalResult::Ok;
}

void SaveDialogView::PlaceSeparator() {
  if (separator_ == nullptr) return;
  const Panel& panel = dialog_.Panel2();
  SetWindowPos(separator_, nullptr, 0, std::max(0, panel.Height() - 2), panel.Width(), 2,
               SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT SaveDialogView::HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT result = 0;
  if (mirror_ != nullptr && mirror_->Route(window, message, wParam, lParam, result)) return result;
  switch (message) {
    // The title-bar close, and Esc.
    case WM_CLOSE:
      dialog_.Close();
      return 0;
    case WM_GETMINMAXINFO: {
      auto* limits = reinterpret_cast<MINMAXINFO*>(lParam);
      limits->ptMinTrackSize = POINT{TfrmSaves::kMinTrackSize.Cx, TfrmSaves::kMinTrackSize.Cy};
      const Size most = TfrmSaves::MaxTrackSize(
          Size{GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)});
      limits->ptMaxTrackSize = POINT{std::max(most.Cx, TfrmSaves::kMinTrackSize.Cx),
                                     std::max(most.Cy, TfrmSaves::kMinTrackSize.Cy)};
      return 0;
    }
    case WM_SIZE:
      if (mirror_ != nullptr) {
        const int width = LOWORD(lParam);
        const int height = HIWORD(lParam);
        mirror_->UserAction([this, width, height] { dialog_.SetClientSize(width, height); });
        PlaceSeparator();
      }
      return 0;
    default:
      break;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace korval::win32
