#pragma once

#include "win32/WinApi.h"

#include <functional>
#include <string>
#include <unordered_map>
#include <vector>

#include "dialog/ViewMirror.h"

namespace korval::win32 {

// Native child windows that mirror the controls of a headless form (see
// ViewMirror): BUTTON check boxes and push buttons, EDIT, COMBOBOX, LISTBOX,
// a tab control with a container window per page, and windows of this
// backend's own for panels, group boxes, scroll boxes and read-outs. The
// form's model decides all geometry; the controls speak in the dialog font.
//
// The notifications of the controls reach their parents, which are either
// the root (the form's own window, whose procedure hands its messages to
// Route first) or containers of this class, which do the same.
class FormMirror final : public ViewMirror {
 public:
  // Widgets are created under root, which stands for the form itself.
  FormMirror(Form& form, HWND root, HFONT font, Ui& ui);
  ~FormMirror() override;

  HWND WindowOf(const Control& control) const {
    return static_cast<HWND>(ViewMirror::WidgetOf(control));
  }
  // The control a window of this mirror stands for, or nullptr.
  Control* ControlOf(HWND window) const;
  // The child-window id of a control's window (for DM_GETDEFID), or 0.
  int IdOf(const Control& control) const;

  // The push button that Enter presses (DM_GETDEFID); Esc, which the
  // dialog keys report as IDCANCEL, closes the root as its close box does.
  void SetDefaultButton(const Control& button);

  // Shows the page whose title marks key as its accelerator ("&Náhled":
  // n), on a tab control that can be seen; true when there was one.
  bool PageMnemonic(wchar_t key);

  // What a window of the form (the root or a container) is told that
  // concerns the controls in it. True when the message was dealt with,
  // with its result.
  bool Route(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

  // Messages of the containers that their owner answers before the mirror
  // does (the cursor over a scroll box, say); true when dealt with.
  std::function<bool(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)>
      ContainerHook;

 protected:
  Widget CreateWidget(Control& control, WidgetKind kind, Widget parent,
                      Widget& container) override;
  void AdoptWidget(Control& control, Widget widget) override;
  void DestroyWidget(Widget widget) override;
  bool Alive(Widget widget) const override;
  void SetGeometry(Widget widget, const Rect& bounds) override;
  void SetVisible(Widget widget, bool visible) override;
  void SetEnabled(Widget widget, bool enabled) override;
  void SetTooltip(Widget widget, const std::string& text) override;
  void SetCaption(Widget widget, WidgetKind kind, const std::string& text) override;
  void SetReadOut(Widget widget, const ReadOutLook& look) override;
  std::string EditText(Widget widget, WidgetKind kind) const override;
  void SetEditText(Widget widget, WidgetKind kind, const std::string& text) override;
  void SetPageTitle(Widget pages, Widget page, const std::string& text) override;
  void SetChecked(Widget widget, bool checked) override;
  void SetItems(Widget widget, WidgetKind kind, const std::vector<std::string>& items) override;
  void SelectItem(Widget widget, WidgetKind kind, int index) override;
  void ShowPage(Widget pages, int index) override;
  void Repaint(Widget widget) override;
  Rect ClientArea(Widget widget, WidgetKind kind, int width, int height) const override;
  void SetContentSize(Widget container, int width, int height) override;
  Size RootSize() const override;

 private:
  struct Tabs {
    std::vector<HWND> Pages;
    Size Shown{-1, -1};
  };

  HWND Parent(Widget parent) const;
  HWND Make(const wchar_t* windowClass, DWORD style, DWORD exStyle, HWND parent);
  void Register(Control& control, HWND window, WidgetKind kind);
  void Command(HWND from, int code);
  void LayOutPages(HWND tabs);
  static LRESULT CALLBACK ContainerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK ReadOutProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK EditProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                   UINT_PTR id, DWORD_PTR mirror);

  HWND root_;
  HFONT font_;
  // The height of a group box's title in the dialog font.
  int titleHeight_ = 0;
  const Control* defaultButton_ = nullptr;
  HWND tooltip_ = nullptr;
  int nextId_ = 1000;
  std::unordered_map<HWND, Control*> controls_;
  std::unordered_map<HWND, WidgetKind> kinds_;
  std::unordered_map<HWND, Tabs> tabs_;
};

}  // namespace korval::win32
