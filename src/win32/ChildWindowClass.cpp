#include "win32/WinApi.h"

#include "win32/ChildWindowClass.h"

namespace korval::win32 {
namespace {

constexpr int kObjectSlot = GWLP_USERDATA;

LRESULT CALLBACK ObjectWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
    SetWindowLongPtrW(window, kObjectSlot, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* object = reinterpret_cast<WindowObject*>(GetWindowLongPtrW(window, kObjectSlot));
  if (object == nullptr) return DefWindowProcW(window, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    // Nothing reaches the object after its window is gone.
    SetWindowLongPtrW(window, kObjectSlot, 0);
  }
  return object->HandleMessage(window, message, wParam, lParam);
}

bool Register(const wchar_t* className, HBRUSH background = nullptr, HCURSOR cursor = nullptr) {
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = &ObjectWindowProc;
  windowClass.lpszClassName = className;
  windowClass.hbrBackground = background;
  windowClass.hCursor = cursor;
  return RegisterBackendClass(windowClass);
}

}  // namespace

HINSTANCE BackendModule() {
  HMODULE module = nullptr;
  GetModuleHandleExW(
      GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
      reinterpret_cast<LPCWSTR>(&ObjectWindowProc), &module);
  return module;
}

bool RegisterBackendClass(WNDCLASSEXW windowClass) {
  const HINSTANCE module = BackendModule();
  windowClass.cbSize = sizeof windowClass;
  windowClass.hInstance = module;
  WNDCLASSEXW existing{};
  existing.cbSize = sizeof existing;
  if (GetClassInfoExW(module, windowClass.lpszClassName, &existing)) {
    if (existing.lpfnWndProc == windowClass.lpfnWndProc) return true;
    // Left behind by an earlier load of the DLL at another address: Windows
    // does not unregister a DLL's classes when it is unloaded.
    UnregisterClassW(windowClass.lpszClassName, module);
  }
  return RegisterClassExW(&windowClass) != 0;
}

HWND CreateTopWindow(const wchar_t* className, const std::wstring& title, HWND owner,
                     WindowObject& object, DWORD style, DWORD exStyle, int width, int height) {
  if (!Register(className, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1),
                LoadCursorW(nullptr, IDC_ARROW)))
    return nullptr;
  return CreateWindowExW(exStyle, className, title.c_str(), style, CW_USEDEFAULT, CW_USEDEFAULT,
                         width, height, owner, nullptr, BackendModule(), &object);
}

HWND CreateChildWindow(const wchar_t* className, HWND parent, WindowObject& object, DWORD style,
                       DWORD exStyle) {
  if (!Register(className)) return nullptr;
  return CreateWindowExW(exStyle, className, L"", WS_CHILD | style, 0, 0, 0, 0, parent, nullptr,
                         BackendModule(), &object);
}

}  // namespace korval::win32
