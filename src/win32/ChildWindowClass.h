#pragma once

#include "win32/WinApi.h"

#include <string>

namespace korval::win32 {

// An object behind a window of one of the backend's own classes: every
// message of the window, from WM_NCCREATE to WM_NCDESTROY, goes to it.
class WindowObject {
 public:
  virtual LRESULT HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) = 0;

 protected:
  ~WindowObject() = default;
};

// The module that holds the backend's code: when it is KORVAL.dll, its
// window classes belong to it, not to the host program.
HINSTANCE BackendModule();

// Registers a window class of the backend's own in BackendModule() (the
// class's hInstance is set here), replacing one of the same name left behind
// by an earlier load of the DLL at another address. True when it is there.
bool RegisterBackendClass(WNDCLASSEXW windowClass);

// Creates a top-level window of the class className for object, registered
// on first use with the dialogs' face (button-face background, the arrow),
// owned by owner (nullptr: none), hidden, of the given outer size at the
// system's default place; 0 when it cannot be made.
HWND CreateTopWindow(const wchar_t* className, const std::wstring& title, HWND owner,
                     WindowObject& object, DWORD style, DWORD exStyle, int width, int height);

// Creates a child window of parent of the class className, registered on
// first use with no class cursor (the object answers WM_SETCURSOR) and no
// background brush (the object paints it all). The window starts 0 x 0 and
// hidden unless style has WS_VISIBLE; 0 when it cannot be made.
HWND CreateChildWindow(const wchar_t* className, HWND parent, WindowObject& object, DWORD style = 0,
                       DWORD exStyle = 0);

}  // namespace korval::win32
