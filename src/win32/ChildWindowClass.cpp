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

bool Register(const wchar_t* className) {
  const HINSTANCE module = BackendModule();
  WNDCLASSEXW existing{};
  existing.cbSize = sizeof existing;
  if (GetClassInfoExW(module, className, &existing)) {
    if (existing.lpfnWndProc == &ObjectWindowProc) return true;
    // Left behind by an earlier load of the DLL at another address: Windows
    // does not unregister a DLL's classes when it is unloaded.
    UnregisterClassW(className, module);
  }
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = &ObjectWindowProc;
  windowClass.hInstance = module;
  windowClass.lpszClassName = className;
  return RegisterClassExW(&windowClass) != 0;
}

}  // namespace

HINSTANCE BackendModule() {
  HMODULE module = nullptr;
  GetModuleHandleExW(
      GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
      reinterpret_cast<LPCWSTR>(&ObjectWindowProc), &module);
  return module;
}

HWND CreateChildWindow(const wchar_t* className, HWND parent, WindowObject& object, DWORD style,
                       DWORD exStyle) {
  if (!Register(className)) return nullptr;
  return CreateWindowExW(exStyle, className, L"", WS_CHILD | style, 0, 0, 0, 0, parent, nullptr,
                         BackendModule(), &object);
}

}  // namespace korval::win32
