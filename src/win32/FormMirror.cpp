#include "win32/FormMirror.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdint>
#include <cwchar>

#include "dialog/StdControls.h"
#include "platform/Canvas.h"
#include "platform/Text.h"
#include "platform/WideText.h"
#include "win32/ChildWindowClass.h"

namespace korval::win32 {
namespace {

// What a container window is, kept in its extra bytes beside the mirror.
enum class Flavour : LONG_PTR { Panel, Group, Scroll };

constexpr int kMirrorSlot = 0;
constexpr int kFlavourSlot = sizeof(LONG_PTR);
constexpr int kFontSlot = 2 * sizeof(LONG_PTR);
constexpr int kExtraBytes = 3 * sizeof(LONG_PTR);
constexpr int kReadOutFormatSlot = sizeof(LONG_PTR);

// A widget whose control went is taken down once its messages are done.
constexpr UINT kDestroyLater = WM_APP + 0x4B0;

constexpr wchar_t kContainerClass[] = L"KorvalContainer";
constexpr wchar_t kReadOutClass[] = L"KorvalReadOut";

// The part of a combo box's window that drops down below its edit.
constexpr int kDropDownHeight = 160;

std::wstring WindowText(HWND window) {
  const int length = GetWindowTextLengthW(window);
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  const int got = GetWindowTextW(window, text.data(), length + 1);
  text.resize(static_cast<std::size_t>(std::max(0, got)));
  return text;
}

HWND AsWindow(ViewMirror::Widget widget) {
  return static_cast<HWND>(widget);
}

FormMirror* MirrorOf(HWND window) {
  return reinterpret_cast<FormMirror*>(GetWindowLongPtrW(window, kMirrorSlot));
}

Flavour FlavourOf(HWND window) {
  return static_cast<Flavour>(GetWindowLongPtrW(window, kFlavourSlot));
}

// The height of the dialog font's characters, for a group box's title.
int TextHeight(HWND window, HFONT font) {
  HDC dc = GetDC(window);
  const HGDIOBJ old = SelectObject(dc, font);
  TEXTMETRICW metrics{};
  GetTextMetricsW(dc, &metrics);
  SelectObject(dc, old);
  ReleaseDC(window, dc);
  return metrics.tmHeight;
}

void PaintGroupFrame(HWND window, HDC dc) {
  RECT client{};
  GetClientRect(window, &client);
  const auto font = reinterpret_cast<HFONT>(GetWindowLongPtrW(window, kFontSlot));
  const HGDIOBJ old = SelectObject(dc, font);
  TEXTMETRICW metrics{};
  GetTextMetricsW(dc, &metrics);
  RECT frame = client;
  frame.top += metrics.tmHeight / 2;
  DrawEdge(dc, &frame, EDGE_ETCHED, BF_RECT);
  const std::wstring title = WindowText(window);
  if (!title.empty()) {
    SetBkMode(dc, OPAQUE);
    SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
    SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
    RECT text{8, 0, client.right - 8, metrics.tmHeight};
    DrawTextW(dc, title.c_str(), static_cast<int>(title.size()), &text,
              DT_LEFT | DT_SINGLELINE | DT_NOPREFIX);
  }
  SelectObject(dc, old);
}

void Scroll(HWND window, int bar, int request) {
  SCROLLINFO info{};
  info.cbSize = sizeof info;
  info.fMask = SIF_ALL;
  GetScrollInfo(window, bar, &info);
  int pos = info.nPos;
  const int page = static_cast<int>(info.nPage);
  switch (request) {
    case SB_LINEUP: pos -= 16; break;
    case SB_LINEDOWN: pos += 16; break;
    case SB_PAGEUP: pos -= page; break;
    case SB_PAGEDOWN: pos += page; break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: pos = info.nTrackPos; break;
    case SB_TOP: pos = info.nMin; break;
    case SB_BOTTOM: pos = info.nMax; break;
    default: return;
  }
  pos = std::clamp(pos, info.nMin, std::max(info.nMin, info.nMax - page + 1));
  if (pos == info.nPos) return;
  SetScrollPos(window, bar, pos, TRUE);
  if (HWND content = GetWindow(window, GW_CHILD)) {
    const int x = -GetScrollPos(window, SB_HORZ);
    const int y = -GetScrollPos(window, SB_VERT);
    SetWindowPos(content, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

// A scroll box's bars follow the size of its content and of its inside;
// the content stays where the bars say.
void FitScrollBars(HWND box) {
  HWND content = GetWindow(box, GW_CHILD);
  if (content == nullptr) return;
  RECT inside{};
  GetClientRect(box, &inside);
  RECT size{};
  GetWindowRect(content, &size);
  for (const int bar : {SB_HORZ, SB_VERT}) {
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_RANGE | SIF_PAGE;
    info.nMin = 0;
    info.nMax = (bar == SB_HORZ ? size.right - size.left : size.bottom - size.top) - 1;
    info.nPage = static_cast<UINT>(bar == SB_HORZ ? inside.right : inside.bottom);
    SetScrollInfo(box, bar, &info, TRUE);
  }
  SetWindowPos(content, nullptr, -GetScrollPos(box, SB_HORZ), -GetScrollPos(box, SB_VERT), 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

FormMirror::FormMirror(Form& form, HWND root, HFONT font, Ui& ui)
    : ViewMirror(form, ui), root_(root), font_(font) {
  static const bool controlsReady = [] {
    INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_TAB_CLASSES | ICC_WIN95_CLASSES};
    return InitCommonControlsEx(&controls) != FALSE;
  }();
  (void)controlsReady;
  // Registered each time: a host that freed the library and loaded it again
  // has the classes of the earlier load still registered.
  WNDCLASSEXW container{};
  container.lpszClassName = kContainerClass;
  container.lpfnWndProc = &FormMirror::ContainerProc;
  container.cbWndExtra = kExtraBytes;
  container.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  container.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  RegisterBackendClass(container);
  WNDCLASSEXW readOut = container;
  readOut.lpszClassName = kReadOutClass;
  readOut.lpfnWndProc = &FormMirror::ReadOutProc;
  readOut.cbWndExtra = 2 * sizeof(LONG_PTR);
  readOut.style = CS_HREDRAW | CS_VREDRAW;
  RegisterBackendClass(readOut);
  titleHeight_ = TextHeight(root_, font_);
  tooltip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                             WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT, CW_USEDEFAULT,
                             CW_USEDEFAULT, CW_USEDEFAULT, root_, nullptr, BackendModule(),
                             nullptr);
  if (tooltip_ != nullptr) SendMessageW(tooltip_, TTM_SETMAXTIPWIDTH, 0, 400);
}

FormMirror::~FormMirror() {
  // The windows go with the root; none of their messages may reach the
  // mirror any more.
  for (const auto& [window, kind] : kinds_) {
    const bool container = kind == WidgetKind::Panel || kind == WidgetKind::GroupBox ||
                           kind == WidgetKind::ScrollArea || kind == WidgetKind::Page;
    if (container && IsWindow(window)) SetWindowLongPtrW(window, kMirrorSlot, 0);
  }
  if (tooltip_ != nullptr) DestroyWindow(tooltip_);
}

Control* FormMirror::ControlOf(HWND window) const {
  const auto it = controls_.find(window);
  if (it == controls_.end() || !form().Owns(it->second)) return nullptr;
  return it->second;
}

int FormMirror::IdOf(const Control& control) const {
  HWND window = WindowOf(control);
  return window == nullptr ? 0 : GetDlgCtrlID(window);
}

HWND FormMirror::Parent(Widget parent) const {
  return parent == nullptr ? root_ : AsWindow(parent);
}

HWND FormMirror::Make(const wchar_t* windowClass, DWORD style, DWORD exStyle, HWND parent) {
  HWND window = CreateWindowExW(exStyle, windowClass, L"", style | WS_CHILD, 0, 0, 0, 0, parent,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(nextId_++)),
                                BackendModule(), nullptr);
  if (window == nullptr) return nullptr;
  SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
  return window;
}

ViewMirror::Widget FormMirror::CreateWidget(Control& control, WidgetKind kind, Widget parent,
                                            Widget& container) {
  HWND under = Parent(parent);
  HWND window = nullptr;
  constexpr DWORD kContainerStyle = WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
  constexpr DWORD kContainerEx = WS_EX_CONTROLPARENT;
  auto makeContainer = [&](HWND in, Flavour flavour, DWORD style, DWORD ex) {
    HWND made = Make(kContainerClass, kContainerStyle | style, kContainerEx | ex, in);
    if (made != nullptr) {
      SetWindowLongPtrW(made, kMirrorSlot, reinterpret_cast<LONG_PTR>(this));
      SetWindowLongPtrW(made, kFlavourSlot, static_cast<LONG_PTR>(flavour));
      SetWindowLongPtrW(made, kFontSlot, reinterpret_cast<LONG_PTR>(font_));
    }
    return made;
  };
  switch (kind) {
    case WidgetKind::CheckBox:
      window = Make(L"BUTTON", BS_AUTOCHECKBOX | WS_TABSTOP, 0, under);
      break;
    case WidgetKind::Edit:
    case WidgetKind::ReadOnlyEdit:
      window = Make(L"EDIT",
                    ES_AUTOHSCROLL | WS_TABSTOP | (kind == WidgetKind::ReadOnlyEdit ? ES_READONLY : 0),
                    WS_EX_CLIENTEDGE, under);
      if (window != nullptr)
        SetWindowSubclass(window, &FormMirror::EditProc, 1, reinterpret_cast<DWORD_PTR>(this));
      break;
    case WidgetKind::EditableCombo:
      window = Make(L"COMBOBOX", CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_VSCROLL | WS_TABSTOP, 0,
                    under);
      break;
    case WidgetKind::DropDownList:
      window = Make(L"COMBOBOX", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 0, under);
      break;
    case WidgetKind::List:
      window = Make(L"LISTBOX", LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_TABSTOP,
                    WS_EX_CLIENTEDGE, under);
      break;
    case WidgetKind::PushButton:
      window = Make(L"BUTTON", BS_PUSHBUTTON | WS_TABSTOP, 0, under);
      break;
    case WidgetKind::ReadOut:
      window = Make(kReadOutClass, 0, 0, under);
      break;
    case WidgetKind::Panel:
      window = makeContainer(under, Flavour::Panel, 0, 0);
      container = window;
      break;
    case WidgetKind::GroupBox:
      window = makeContainer(under, Flavour::Group, 0, 0);
      container = window;
      break;
    case WidgetKind::ScrollArea: {
      window = makeContainer(under, Flavour::Scroll, WS_HSCROLL | WS_VSCROLL, WS_EX_CLIENTEDGE);
      HWND content = window == nullptr ? nullptr : makeContainer(window, Flavour::Panel, WS_VISIBLE, 0);
      if (content != nullptr) {
        controls_[content] = &control;
        kinds_[content] = WidgetKind::Panel;
      }
      container = content;
      break;
    }
    case WidgetKind::Pages:
      window = Make(WC_TABCONTROLW, WS_TABSTOP | WS_CLIPCHILDREN | WS_CLIPSIBLINGS,
                    WS_EX_CONTROLPARENT, under);
      if (window != nullptr) tabs_[window];
      container = window;
      break;
    case WidgetKind::Page: {
      window = makeContainer(under, Flavour::Panel, 0, 0);
      if (window == nullptr) break;
      Tabs& tabs = tabs_[under];
      const std::wstring title = WideFromUtf8(control.Caption());
      TCITEMW item{};
      item.mask = TCIF_TEXT;
      item.pszText = const_cast<wchar_t*>(title.c_str());
      const int index = static_cast<int>(tabs.Pages.size());
      SendMessageW(under, TCM_INSERTITEMW, static_cast<WPARAM>(index),
                   reinterpret_cast<LPARAM>(&item));
      tabs.Pages.push_back(window);
      LayOutPages(under);
      // The tab control shows the page it has selected, no other.
      ShowWindow(window, SendMessageW(under, TCM_GETCURSEL, 0, 0) == index ? SW_SHOW : SW_HIDE);
      container = window;
      break;
    }
    case WidgetKind::None:
      break;
  }
  if (window == nullptr) return nullptr;
  Register(control, window, kind);
  return window;
}

void FormMirror::Register(Control& control, HWND window, WidgetKind kind) {
  controls_[window] = &control;
  kinds_[window] = kind;
  if (tooltip_ != nullptr) {
    TOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = root_;
    tool.uId = reinterpret_cast<UINT_PTR>(window);
    tool.lpszText = const_cast<wchar_t*>(L"");
    SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
  }
}

void FormMirror::AdoptWidget(Control& control, Widget widget) {
  Register(control, AsWindow(widget), WidgetKind::None);
}

void FormMirror::DestroyWidget(Widget widget) {
  HWND window = AsWindow(widget);
  for (auto it = controls_.begin(); it != controls_.end();) {
    // A scroll box's content goes with it.
    if (it->first == window || GetParent(it->first) == window) {
      kinds_.erase(it->first);
      it = controls_.erase(it);
    } else {
      ++it;
    }
  }
  tabs_.erase(window);
  ShowWindow(window, SW_HIDE);
  // The window may be the one whose message is being handled now.
  if (!PostMessageW(root_, kDestroyLater, reinterpret_cast<WPARAM>(window), 0))
    DestroyWindow(window);
}

bool FormMirror::Alive(Widget widget) const {
  HWND window = AsWindow(widget);
  return window != nullptr && controls_.count(window) > 0 && IsWindow(window);
}

void FormMirror::SetGeometry(Widget widget, const Rect& b) {
  HWND window = AsWindow(widget);
  const auto kind = kinds_.find(window);
  int height = b.Height();
  if (kind != kinds_.end() &&
      (kind->second == WidgetKind::EditableCombo || kind->second == WidgetKind::DropDownList)) {
    // A combo box's window holds its list too; the edit keeps the height
    // the system gives it.
    height += kDropDownHeight;
  }
  SetWindowPos(window, nullptr, b.Left, b.Top, b.Width(), height, SWP_NOZORDER | SWP_NOACTIVATE);
  if (tabs_.count(window) > 0) LayOutPages(window);
}

void FormMirror::LayOutPages(HWND window) {
  const auto it = tabs_.find(window);
  if (it == tabs_.end()) return;
  RECT display{};
  GetClientRect(window, &display);
  SendMessageW(window, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&display));
  const Size size{std::max(0L, display.right - display.left),
                  std::max(0L, display.bottom - display.top)};
  for (HWND page : it->second.Pages) {
    SetWindowPos(page, nullptr, display.left, display.top, size.Cx, size.Cy,
                 SWP_NOZORDER | SWP_NOACTIVATE);
  }
  if (size.Cx == it->second.Shown.Cx && size.Cy == it->second.Shown.Cy) return;
  it->second.Shown = size;
  if (Control* pages = ControlOf(window)) PagesResized(*pages, size.Cx, size.Cy);
}

void FormMirror::SetVisible(Widget widget, bool visible) {
  ShowWindow(AsWindow(widget), visible ? SW_SHOWNA : SW_HIDE);
}

void FormMirror::SetEnabled(Widget widget, bool enabled) {
  EnableWindow(AsWindow(widget), enabled ? TRUE : FALSE);
}

void FormMirror::SetTooltip(Widget widget, const std::string& text) {
  if (tooltip_ == nullptr) return;
  const std::wstring tip = WideFromUtf8(text);
  TOOLINFOW tool{};
  tool.cbSize = sizeof tool;
  tool.hwnd = root_;
  tool.uId = reinterpret_cast<UINT_PTR>(AsWindow(widget));
  tool.lpszText = const_cast<wchar_t*>(tip.c_str());
  SendMessageW(tooltip_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
}

void FormMirror::SetCaption(Widget widget, WidgetKind kind, const std::string& text) {
  SetWindowTextW(AsWindow(widget), WideFromUtf8(text).c_str());
  if (kind == WidgetKind::GroupBox) InvalidateRect(AsWindow(widget), nullptr, TRUE);
}

void FormMirror::SetReadOut(Widget widget, const ReadOutLook& look) {
  HWND window = AsWindow(widget);
  unsigned format = DT_NOPREFIX;
  if (look.Alignment == TAlignment::taCenter) format |= DT_CENTER;
  if (look.Alignment == TAlignment::taRightJustify) format |= DT_RIGHT;
  if (look.WordWrap) {
    format |= DT_WORDBREAK;
  } else if (look.Text.find('\n') == std::string::npos) {
    // Only a single line can be placed in the middle or at the bottom.
    if (look.Layout == TTextLayout::tlCenter) format |= DT_SINGLELINE | DT_VCENTER;
    if (look.Layout == TTextLayout::tlBottom) format |= DT_SINGLELINE | DT_BOTTOM;
  }
  SetWindowLongPtrW(window, kReadOutFormatSlot, static_cast<LONG_PTR>(format));
  SetWindowTextW(window, WideFromUtf8(ReplaceAll(look.Text, "\n", "\r\n")).c_str());
  InvalidateRect(window, nullptr, TRUE);
}

std::string FormMirror::EditText(Widget widget, WidgetKind) const {
  return Utf8FromWide(WindowText(AsWindow(widget)));
}

void FormMirror::SetEditText(Widget widget, WidgetKind kind, const std::string& text) {
  HWND window = AsWindow(widget);
  if (kind == WidgetKind::EditableCombo) {
    SetWindowTextW(window, WideFromUtf8(text).c_str());
    return;
  }
  // The model rewrote what was typed: the cursor stays where it was.
  DWORD start = 0;
  DWORD end = 0;
  SendMessageW(window, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  const std::wstring value = WideFromUtf8(text);
  SetWindowTextW(window, value.c_str());
  const auto cursor = static_cast<WPARAM>(std::min<std::size_t>(end, value.size()));
  SendMessageW(window, EM_SETSEL, cursor, static_cast<LPARAM>(cursor));
}

void FormMirror::SetPageTitle(Widget pages, Widget page, const std::string& text) {
  const auto it = tabs_.find(AsWindow(pages));
  if (it == tabs_.end()) return;
  const auto at = std::find(it->second.Pages.begin(), it->second.Pages.end(), AsWindow(page));
  if (at == it->second.Pages.end()) return;
  const std::wstring title = WideFromUtf8(text);
  TCITEMW item{};
  item.mask = TCIF_TEXT;
  item.pszText = const_cast<wchar_t*>(title.c_str());
  SendMessageW(AsWindow(pages), TCM_SETITEMW,
               static_cast<WPARAM>(at - it->second.Pages.begin()), reinterpret_cast<LPARAM>(&item));
}

void FormMirror::SetChecked(Widget widget, bool checked) {
  SendMessageW(AsWindow(widget), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

void FormMirror::SetItems(Widget widget, WidgetKind kind, const std::vector<std::string>& items) {
  HWND window = AsWindow(widget);
  const bool list = kind == WidgetKind::List;
  SendMessageW(window, list ? LB_RESETCONTENT : CB_RESETCONTENT, 0, 0);
  for (const auto& item : items) {
    const std::wstring text = WideFromUtf8(item);
    SendMessageW(window, list ? LB_ADDSTRING : CB_ADDSTRING, 0,
                 reinterpret_cast<LPARAM>(text.c_str()));
  }
}

void FormMirror::SelectItem(Widget widget, WidgetKind kind, int index) {
  HWND window = AsWindow(widget);
  if (kind == WidgetKind::List) {
    if (SendMessageW(window, LB_GETCURSEL, 0, 0) != index)
      SendMessageW(window, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
    return;
  }
  if (SendMessageW(window, CB_GETCURSEL, 0, 0) != index)
    SendMessageW(window, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

void FormMirror::ShowPage(Widget pages, int index) {
  HWND window = AsWindow(pages);
  SendMessageW(window, TCM_SETCURSEL, static_cast<WPARAM>(index), 0);
  const auto it = tabs_.find(window);
  if (it == tabs_.end()) return;
  for (std::size_t i = 0; i < it->second.Pages.size(); ++i) {
    ShowWindow(it->second.Pages[i], static_cast<int>(i) == index ? SW_SHOWNA : SW_HIDE);
  }
}

void FormMirror::Repaint(Widget widget) {
  InvalidateRect(AsWindow(widget), nullptr, TRUE);
}

Rect FormMirror::ClientArea(Widget, WidgetKind kind, int width, int height) const {
  if (kind == WidgetKind::GroupBox) {
    // Inside the etched frame and below the title.
    return Rect{2, titleHeight_, width - 2, height - 2};
  }
  // Inside the sunken border of a scroll box.
  const int edge = GetSystemMetrics(SM_CXEDGE);
  return Rect{0, 0, width - 2 * edge, height - 2 * edge};
}

void FormMirror::SetContentSize(Widget container, int width, int height) {
  HWND content = AsWindow(container);
  SetWindowPos(content, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  FitScrollBars(GetParent(content));
}

Size FormMirror::RootSize() const {
  RECT client{};
  GetClientRect(root_, &client);
  return Size{client.right, client.bottom};
}

void FormMirror::SetDefaultButton(const Control& button) {
  defaultButton_ = &button;
  if (HWND window = WindowOf(button)) SendMessageW(window, BM_SETSTYLE, BS_DEFPUSHBUTTON, FALSE);
}

bool FormMirror::PageMnemonic(wchar_t key) {
  const auto lower = [](wchar_t c) {
    return static_cast<wchar_t>(reinterpret_cast<std::uintptr_t>(
        CharLowerW(reinterpret_cast<wchar_t*>(static_cast<std::uintptr_t>(c)))));
  };
  for (const auto& [window, tabs] : tabs_) {
    Control* pages = ControlOf(window);
    if (pages == nullptr || !IsWindowVisible(window) || !IsWindowEnabled(window)) continue;
    for (std::size_t i = 0; i < tabs.Pages.size(); ++i) {
      wchar_t title[128] = {};
      TCITEMW item{};
      item.mask = TCIF_TEXT;
      item.pszText = title;
      item.cchTextMax = 128;
      SendMessageW(window, TCM_GETITEMW, i, reinterpret_cast<LPARAM>(&item));
      const wchar_t* mark = wcschr(title, L'&');
      if (mark == nullptr || mark[1] == L'\0' || lower(mark[1]) != lower(key)) continue;
      PageChosen(*pages, static_cast<int>(i));
      if (form().Owns(pages) && WindowOf(*pages) == window)
        ShowPage(window, static_cast<PageControl*>(pages)->ActivePage());
      return true;
    }
  }
  return false;
}

void FormMirror::Command(HWND from, int code) {
  Control* control = ControlOf(from);
  if (control == nullptr) return;
  const auto kind = kinds_.find(from);
  if (kind == kinds_.end()) return;
  switch (kind->second) {
    case WidgetKind::CheckBox:
    case WidgetKind::PushButton:
      if (code == BN_CLICKED) Clicked(*control);
      break;
    case WidgetKind::Edit:
    case WidgetKind::ReadOnlyEdit:
      if (code == EN_CHANGE) TextEdited(*control, Utf8FromWide(WindowText(from)));
      if (code == EN_KILLFOCUS) FocusLeft(*control);
      if (code == EN_SETFOCUS) FocusEntered(*control);
      break;
    case WidgetKind::EditableCombo:
    case WidgetKind::DropDownList:
      if (code == CBN_EDITCHANGE) TextEdited(*control, Utf8FromWide(WindowText(from)));
      if (code == CBN_SELCHANGE)
        EntryPicked(*control, static_cast<int>(SendMessageW(from, CB_GETCURSEL, 0, 0)));
      break;
    case WidgetKind::List:
      // The new row is chosen and clicked at once, by the mouse or the keys.
      if (code == LBN_SELCHANGE)
        RowChosen(*control, static_cast<int>(SendMessageW(from, LB_GETCURSEL, 0, 0)));
      if (code == LBN_DBLCLK) RowDoubleClicked(*control);
      if (code == LBN_SETFOCUS) FocusEntered(*control);
      break;
    default:
      break;
  }
}

bool FormMirror::Route(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  switch (message) {
    case WM_COMMAND:
      if (lParam == 0) {
        if (window != root_ || LOWORD(wParam) != IDCANCEL) return false;
        SendMessageW(root_, WM_CLOSE, 0, 0);
      } else {
        Command(reinterpret_cast<HWND>(lParam), HIWORD(wParam));
      }
      result = 0;
      return true;
    case DM_GETDEFID: {
      if (window != root_) return false;
      const int id = defaultButton_ != nullptr && form().Owns(defaultButton_) ? IdOf(*defaultButton_) : 0;
      result = id != 0 ? MAKELRESULT(id, DC_HASDEFID) : 0;
      return true;
    }
    case WM_NOTIFY: {
      const auto* header = reinterpret_cast<const NMHDR*>(lParam);
      if (header->code != static_cast<UINT>(TCN_SELCHANGE)) return false;
      Control* pages = ControlOf(header->hwndFrom);
      if (pages == nullptr) return false;
      const int index = static_cast<int>(SendMessageW(header->hwndFrom, TCM_GETCURSEL, 0, 0));
      PageChosen(*pages, index);
      // The tab shows what the model made of the choice.
      if (form().Owns(pages) && WindowOf(*pages) == header->hwndFrom)
        ShowPage(header->hwndFrom, static_cast<PageControl*>(pages)->ActivePage());
      result = 0;
      return true;
    }
    case WM_MOUSEMOVE:
      if (Control* control = ControlOf(window)) {
        MouseMoved(*control, static_cast<short>(LOWORD(lParam)),
                   static_cast<short>(HIWORD(lParam)));
      }
      return false;
    case kDestroyLater:
      if (window == root_) {
        DestroyWindow(reinterpret_cast<HWND>(wParam));
        result = 0;
        return true;
      }
      return false;
    default:
      return false;
  }
}

LRESULT CALLBACK FormMirror::ContainerProc(HWND window, UINT message, WPARAM wParam,
                                           LPARAM lParam) {
  FormMirror* mirror = MirrorOf(window);
  LRESULT result = 0;
  if (mirror != nullptr) {
    if (mirror->ContainerHook && mirror->ContainerHook(window, message, wParam, lParam, result))
      return result;
    if (mirror->Route(window, message, wParam, lParam, result)) return result;
  }
  switch (message) {
    case WM_PAINT:
      if (FlavourOf(window) == Flavour::Group) {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(window, &paint);
        PaintGroupFrame(window, dc);
        EndPaint(window, &paint);
        return 0;
      }
      break;
    case WM_SETTEXT:
      if (FlavourOf(window) == Flavour::Group) InvalidateRect(window, nullptr, TRUE);
      break;
    case WM_HSCROLL:
    case WM_VSCROLL:
      if (FlavourOf(window) == Flavour::Scroll && lParam == 0) {
        Scroll(window, message == WM_HSCROLL ? SB_HORZ : SB_VERT, LOWORD(wParam));
        return 0;
      }
      break;
    case WM_MOUSEWHEEL:
      if (FlavourOf(window) == Flavour::Scroll) {
        const int steps = GET_WHEEL_DELTA_WPARAM(wParam) / WHEEL_DELTA;
        for (int i = 0; i < std::abs(steps); ++i)
          Scroll(window, SB_VERT, steps > 0 ? SB_LINEUP : SB_LINEDOWN);
        return 0;
      }
      break;
    case WM_SIZE:
      if (FlavourOf(window) == Flavour::Scroll) FitScrollBars(window);
      break;
    default:
      break;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

LRESULT CALLBACK FormMirror::ReadOutProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SETFONT:
      SetWindowLongPtrW(window, 0, static_cast<LONG_PTR>(wParam));
      if (LOWORD(lParam) != 0) InvalidateRect(window, nullptr, TRUE);
      return 0;
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = BeginPaint(window, &paint);
      RECT client{};
      GetClientRect(window, &client);
      FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
      const HGDIOBJ old =
          SelectObject(dc, reinterpret_cast<HFONT>(GetWindowLongPtrW(window, 0)));
      SetBkMode(dc, TRANSPARENT);
      SetTextColor(dc, GetSysColor(IsWindowEnabled(window) ? COLOR_BTNTEXT : COLOR_GRAYTEXT));
      const std::wstring text = WindowText(window);
      DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &client,
                static_cast<UINT>(GetWindowLongPtrW(window, kReadOutFormatSlot)));
      SelectObject(dc, old);
      EndPaint(window, &paint);
      return 0;
    }
    case WM_ERASEBKGND:
      return 1;
    case WM_ENABLE:
      InvalidateRect(window, nullptr, TRUE);
      break;
    case WM_NCHITTEST:
      // A read-out is painted on its parent: the mouse is the parent's.
      return HTTRANSPARENT;
    default:
      break;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

// A typed character goes through the edit's key handler first, which may
// swallow it or type another in its place; what remains is typed by the
// edit, whose change notice brings the text to the model.
LRESULT CALLBACK FormMirror::EditProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                      UINT_PTR, DWORD_PTR data) {
  auto* mirror = reinterpret_cast<FormMirror*>(data);
  if (message == WM_CHAR && mirror != nullptr) {
    const auto typed = static_cast<char32_t>(wParam);
    const bool control = (GetKeyState(VK_CONTROL) & 0x8000) != 0 &&
                         (GetKeyState(VK_MENU) & 0x8000) == 0;
    // Other control characters, surrogate halves and Ctrl+key shortcuts are
    // the edit's own.
    const bool handled = typed == 8 || (typed >= 32 && typed != 127 && (typed < 0xD800 || typed > 0xDFFF));
    Control* model = mirror->ControlOf(window);
    if (handled && !control && model != nullptr) {
      const char32_t filtered = mirror->KeyTyped(*model, typed);
      if (filtered == 0) return 0;
      if (filtered != typed) {
        if (!IsWindow(window)) return 0;
        return DefSubclassProc(window, WM_CHAR, static_cast<WPARAM>(filtered), lParam);
      }
    }
  } else if (message == WM_NCDESTROY) {
    RemoveWindowSubclass(window, &FormMirror::EditProc, 1);
  }
  return DefSubclassProc(window, message, wParam, lParam);
}

}  // namespace korval::win32
