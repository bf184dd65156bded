// The label on a Windows screen: which item the mouse is over, the cursors
// that tell what a press will drag, the drag with the mouse captured, the
// outline and handles it paints, placing an item, the hints, and the item
// menu with the entries that fit the item.
#include "win32/WinApi.h"

#include "win32/DesignSurfaceWindow.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "WindowTestFixture.h"
#include "dialog/ItemMenuEntries.h"
#include "platform/WideText.h"
#include "win32/ItemMenu.h"

namespace korval::win32 {
namespace {

// An entry of a Windows menu as the person sees it.
struct MenuItem {
  std::string Caption;
  UINT Id = 0;
  bool Enabled = true;
  bool Checked = false;
  bool Radio = false;
  HMENU Submenu = nullptr;
};

std::vector<MenuItem> ItemsOf(HMENU menu) {
  std::vector<MenuItem> items;
  const int count = GetMenuItemCount(menu);
  for (int i = 0; i < count; ++i) {
    wchar_t text[256] = {};
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_STRING | MIIM_STATE | MIIM_FTYPE | MIIM_ID | MIIM_SUBMENU;
    info.dwTypeData = text;
    info.cch = 255;
    if (!GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info)) continue;
    items.push_back({Utf8FromWide(text), info.wID, (info.fState & MFS_DISABLED) == 0,
                     (info.fState & MFS_CHECKED) != 0, (info.fType & MFT_RADIOCHECK) != 0,
                     info.hSubMenu});
  }
  return items;
}

const MenuItem* Find(const std::vector<MenuItem>& items, const std::string& caption) {
  for (const MenuItem& item : items) {
    if (item.Caption == caption) return &item;
  }
  return nullptr;
}

// Takes the place of a person at the item menu, which runs a message loop
// of its own inside TrackPopupMenu: the entries of the menu that opens are
// kept, and once the menu waits for input (WM_ENTERIDLE to its owner) the
// keys are typed — an entry's accelerator letters, or Escape.
class MenuPerson {
 public:
  MenuPerson(HWND owner, std::wstring keys) : owner_(owner), keys_(std::move(keys)) {
    current_ = this;
    original_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(owner, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Proc)));
    // Should the menu never wait for input, it is closed rather than left
    // open for good; the test then finds nothing chosen.
    guard_ = SetTimer(nullptr, 0, 30000, &CloseMenu);
  }
  ~MenuPerson() {
    KillTimer(nullptr, guard_);
    SetWindowLongPtrW(owner_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original_));
    current_ = nullptr;
  }
  MenuPerson(const MenuPerson&) = delete;
  MenuPerson& operator=(const MenuPerson&) = delete;

  // Lets the posted messages run, the one that opens the menu among them.
  static void Pump() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
  }

  int opened = 0;
  std::vector<MenuItem> shown;  // of the first menu that opened

 private:
  static void CALLBACK CloseMenu(HWND, UINT, UINT_PTR, DWORD) { EndMenu(); }
  static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    MenuPerson& self = *current_;
    if (message == WM_INITMENUPOPUP && HIWORD(lParam) == 0) {
      if (self.opened++ == 0) self.shown = ItemsOf(reinterpret_cast<HMENU>(wParam));
    } else if (message == WM_ENTERIDLE && wParam == MSGF_MENU && !self.typed_) {
      self.typed_ = true;
      for (const wchar_t key : self.keys_) {
        if (key == VK_ESCAPE) {
          PostMessageW(window, WM_KEYDOWN, VK_ESCAPE, 0);
        } else {
          PostMessageW(window, WM_CHAR, key, 0);
        }
      }
    }
    return CallWindowProcW(self.original_, window, message, wParam, lParam);
  }

  static MenuPerson* current_;
  HWND owner_;
  std::wstring keys_;
  WNDPROC original_ = nullptr;
  UINT_PTR guard_ = 0;
  bool typed_ = false;
};

MenuPerson* MenuPerson::current_ = nullptr;

BOOL CALLBACK FindTooltip(HWND window, LPARAM found) {
  wchar_t name[64] = {};
  GetClassNameW(window, name, 64);
  if (std::wstring(name) != TOOLTIPS_CLASSW) return TRUE;
  *reinterpret_cast<HWND*>(found) = window;
  return FALSE;
}

class DesignSurfaceWindowTest : public test::WindowTestFixture {
 protected:
  void SetUp() override {
    WindowTestFixture::SetUp();
    if (HasFatalFailure()) return;
    // A label of 60 x 40 mm, as a stored format would give it.
    Model().Ctl<Edit>("rxseOsax").SetText("1417");
    Model().Ctl<Edit>("rxseOsay").SetText("945");
    Model().DrawTiket();
    surface_ = std::make_unique<DesignSurfaceWindow>(Model(), Runner(), *ui_);
    window_ = surface_->Create(top_);
    ASSERT_NE(window_, nullptr) << "no window: error " << GetLastError();
    Place(window_, Model().Ctl<Control>("Panel2"));
  }
  void TearDown() override {
    EXPECT_TRUE(errors_.empty()) << errors_.front();
    surface_.reset();
    WindowTestFixture::TearDown();
  }

  // Puts an item on the label where a loaded format would.
  Control& Show(const char* name, Rect bounds) {
    Control& item = Model().Ctl<Control>(name);
    item.SetBounds(bounds.Left, bounds.Top, bounds.Width(), bounds.Height());
    item.SetVisible(true);
    return item;
  }

  void Hover(POINT at) { Mouse(window_, WM_MOUSEMOVE, at); }
  void Drag(POINT from, POINT to) {
    Hover(from);
    Mouse(window_, WM_LBUTTONDOWN, from, MK_LBUTTON);
    Mouse(window_, WM_MOUSEMOVE, to, MK_LBUTTON);
    Mouse(window_, WM_LBUTTONUP, to);
  }
  void Click(POINT at) {
    Hover(at);
    Mouse(window_, WM_LBUTTONDOWN, at, MK_LBUTTON);
    Mouse(window_, WM_LBUTTONUP, at);
  }
  // The right button over an item; the menu opens once the messages posted
  // meanwhile run.
  void RightClick(POINT at) {
    Hover(at);
    Mouse(window_, WM_RBUTTONDOWN, at, MK_RBUTTON);
    Mouse(window_, WM_RBUTTONUP, at);
  }
  // The cursor the window shows where the mouse was last moved.
  HCURSOR ShownCursor() {
    SetCursor(nullptr);
    SendMessageW(window_, WM_SETCURSOR, reinterpret_cast<WPARAM>(window_),
                 MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    return GetCursor();
  }
  static HCURSOR System(const wchar_t* name) { return LoadCursorW(nullptr, name); }

  std::unique_ptr<DesignSurfaceWindow> surface_;
  HWND window_ = nullptr;
};

TEST_F(DesignSurfaceWindowTest, TheCursorTellsWhichEdgeAPressWillDrag) {
  // An item of 40 x 20 pixels at (20, 10).
  Show("lcena1", Rect{20, 10, 60, 30});
  const struct {
    POINT Local;
    const wchar_t* Shape;
  } cases[] = {
      {{2, 2}, IDC_SIZENWSE},  {{38, 18}, IDC_SIZENWSE}, {{2, 17}, IDC_SIZENESW},
      {{38, 2}, IDC_SIZENESW}, {{2, 9}, IDC_SIZEWE},     {{38, 8}, IDC_SIZEWE},
      {{18, 2}, IDC_SIZENS},   {{19, 18}, IDC_SIZENS},   {{20, 10}, IDC_ARROW},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.Local.x) + "," + std::to_string(c.Local.y));
    Hover(POINT{20 + c.Local.x, 10 + c.Local.y});
    EXPECT_EQ(ShownCursor(), System(c.Shape));
  }
  // Off the item the label shows the arrow again.
  Hover(POINT{150, 100});
  EXPECT_EQ(ShownCursor(), System(IDC_ARROW));
}

TEST_F(DesignSurfaceWindowTest, ThePressGoesToTheTopmostItemWhichFollowsTheCapturedMouse) {
  Control& below = Show("lcena1", Rect{10, 10, 110, 40});
  Control& above = Show("lcena2", Rect{30, 20, 130, 50});
  EXPECT_EQ(surface_->ItemAt(POINT{50, 30}), &above);
  EXPECT_EQ(surface_->ItemAt(POINT{15, 15}), &below);
  EXPECT_EQ(surface_->ItemAt(POINT{200, 140}), nullptr);
  // A drag where both lie moves only the upper one; the mouse is the
  // window's until the button goes up.
  Hover(POINT{80, 35});
  Mouse(window_, WM_LBUTTONDOWN, POINT{80, 35}, MK_LBUTTON);
  EXPECT_EQ(GetCapture(), window_);
  Mouse(window_, WM_MOUSEMOVE, POINT{90, 45}, MK_LBUTTON);
  Mouse(window_, WM_LBUTTONUP, POINT{90, 45});
  EXPECT_EQ(GetCapture(), nullptr);
  EXPECT_EQ(above.BoundsRect(), (Rect{40, 30, 140, 60}));
  EXPECT_EQ(below.BoundsRect(), (Rect{10, 10, 110, 40}));
}

TEST_F(DesignSurfaceWindowTest, TheDragPaintsItsOutlineAndTheDropLeavesHandlesForOnePainting) {
  Control& price = Show("lcena1", Rect{30, 20, 110, 50});
  const POINT grip{70, 35};
  Hover(grip);
  Mouse(window_, WM_LBUTTONDOWN, grip, MK_LBUTTON);
  Mouse(window_, WM_MOUSEMOVE, POINT{grip.x + 25, grip.y + 10}, MK_LBUTTON);
  // While the button is down only the outline follows the mouse: its bottom
  // edge is a dotted line below the item.
  const Picture dragging(window_);
  ASSERT_EQ(dragging.Width(), Model().Ctl<Control>("Panel2").Width());
  EXPECT_GT(dragging.DarkInRow(59, 55, 135), 20);
  EXPECT_LT(dragging.DarkInRow(59, 55, 135), 80);  // dotted, not solid
  EXPECT_EQ(price.BoundsRect(), (Rect{30, 20, 110, 50}));
  Mouse(window_, WM_LBUTTONUP, POINT{grip.x + 25, grip.y + 10});
  EXPECT_EQ(price.BoundsRect(), (Rect{55, 30, 135, 60}));
  // Filled handles around the dropped item, at its corners and the middle
  // of its sides, for the painting that follows only.
  const Picture dropped(window_);
  EXPECT_TRUE(dropped.Dark(57, 32) && dropped.Dark(132, 57) && dropped.Dark(57, 57));
  const Picture later(window_);
  EXPECT_FALSE(later.Dark(132, 57));
  EXPECT_EQ(later.At(200, 140), 0xFFFFFFu);  // the label is white, all of it painted
}

TEST_F(DesignSurfaceWindowTest, PlacingModeForbidsTheScrollBoxAndEndsWithThePlacingClick) {
  auto& dateSwitch = Model().Ctl<Control>("cbDatum");
  Runner()([&] { dateSwitch.Click(); });
  ASSERT_TRUE(Model().PlacingItem());
  EXPECT_EQ(surface_->AroundCursor(), System(IDC_NO));
  Hover(POINT{40, 60});
  EXPECT_EQ(ShownCursor(), System(IDC_ARROW));
  Click(POINT{40, 60});
  EXPECT_EQ(Model().Ctl<Control>("lDatum").Left(), 40);
  EXPECT_EQ(Model().Ctl<Control>("lDatum").Top(), 60);
  EXPECT_FALSE(Model().PlacingItem());
  EXPECT_EQ(surface_->AroundCursor(), System(IDC_ARROW));
}

TEST_F(DesignSurfaceWindowTest, AnItemsHintIsTheTooltipOverIt) {
  Show("lcena1", Rect{20, 10, 60, 30});
  // The surface's tooltip: a window of the tooltip class owned by the
  // dialog's window.
  HWND tooltip = nullptr;
  EnumThreadWindows(GetCurrentThreadId(), &FindTooltip, reinterpret_cast<LPARAM>(&tooltip));
  ASSERT_NE(tooltip, nullptr);
  const auto text = [&] {
    wchar_t buffer[1024] = {};
    TTTOOLINFOW tool{};
    tool.cbSize = TTTOOLINFOW_V2_SIZE;
    tool.hwnd = window_;
    tool.uId = reinterpret_cast<UINT_PTR>(window_);
    tool.lpszText = buffer;
    SendMessageW(tooltip, TTM_GETTEXTW, 1024, reinterpret_cast<LPARAM>(&tool));
    return Utf8FromWide(buffer);
  };
  Hover(POINT{40, 20});
  EXPECT_EQ(text(), "Cena \"A\" bez DPH");
  Hover(POINT{150, 100});
  EXPECT_EQ(text(), "");
}

TEST_F(DesignSurfaceWindowTest, ARightClickOnTheBarcodeOpensItsMenu) {
  auto& barcode = static_cast<TBarCodeControl&>(Show("NrEANCode", Rect{10, 60, 160, 100}));
  barcode.SetTag(10);
  MenuPerson person(window_, L"d");  // "Tisknout číslo na&d čárový kód"
  RightClick(POINT{80, 80});
  EXPECT_EQ(person.opened, 0);  // not while the mouse message ran
  MenuPerson::Pump();
  ASSERT_EQ(person.opened, 1);
  const std::vector<MenuItem>& menu = person.shown;
  EXPECT_NE(Find(menu, "&Font"), nullptr);
  ASSERT_NE(Find(menu, "Tisknout číslo na&d čárový kód"), nullptr);
  EXPECT_FALSE(Find(menu, "Tisknout číslo na&d čárový kód")->Checked);
  ASSERT_NE(Find(menu, "&Přizpůsobit rozměru"), nullptr);
  EXPECT_FALSE(Find(menu, "&Přizpůsobit rozměru")->Enabled);
  EXPECT_EQ(Find(menu, "Zarovnání &vodorovné"), nullptr);
  EXPECT_EQ(Find(menu, "Zalomení textu"), nullptr);
  EXPECT_EQ(barcode.Tag() & 1, 1);
}

TEST_F(DesignSurfaceWindowTest, TheContextMenuGestureOnATextItemAlignsIt) {
  auto& text = static_cast<TLabel&>(Show("lcena1", Rect{20, 10, 120, 40}));
  {
    MenuPerson person(window_, L"vp");  // "Zarovnání &vodorovné", "V&pravo"
    RightClick(POINT{60, 20});
    MenuPerson::Pump();
    ASSERT_EQ(person.opened, 2);  // the menu and the submenu
    EXPECT_NE(Find(person.shown, "Rozdělt cenu na celé a zbytek"), nullptr);
  }
  EXPECT_EQ(text.Alignment(), TAlignment::taRightJustify);
  {
    // Escape closes the menu, and nothing changes.
    MenuPerson person(window_, {static_cast<wchar_t>(VK_ESCAPE)});
    RightClick(POINT{60, 20});
    MenuPerson::Pump();
    ASSERT_EQ(person.opened, 1);
  }
  EXPECT_EQ(text.Alignment(), TAlignment::taRightJustify);
  // Over an empty spot of the label there is no menu.
  {
    MenuPerson person(window_, {static_cast<wchar_t>(VK_ESCAPE)});
    RightClick(POINT{200, 120});
    MenuPerson::Pump();
    EXPECT_EQ(person.opened, 0);
  }
}

TEST_F(DesignSurfaceWindowTest, TheMenuLeavesHiddenEntriesOutAndMarksTheChoice) {
  auto& text = static_cast<TLabel&>(Show("lcena1", Rect{20, 10, 120, 40}));
  text.SetAlignment(TAlignment::taCenter);
  const std::vector<ItemMenuEntry> entries = ItemMenuEntries(Model(), Model().ppMenuPopup(text));
  const HMENU menu = MakeItemMenu(entries);
  ASSERT_NE(menu, nullptr);
  const std::vector<MenuItem> items = ItemsOf(menu);
  std::vector<std::string> captions;
  for (const MenuItem& item : items) captions.push_back(item.Caption);
  EXPECT_EQ(captions,
            (std::vector<std::string>{"&Font", "Zarovnání &vodorovné", "Zarovnání &svislé",
                                      "Zalomení textu", "Rozdělt cenu na celé a zbytek"}));
  const MenuItem* horizontal = Find(items, "Zarovnání &vodorovné");
  ASSERT_NE(horizontal->Submenu, nullptr);
  const std::vector<MenuItem> choices = ItemsOf(horizontal->Submenu);
  ASSERT_EQ(choices.size(), 3u);
  for (const MenuItem& choice : choices) {
    SCOPED_TRACE(choice.Caption);
    EXPECT_TRUE(choice.Radio);
    EXPECT_EQ(choice.Checked, choice.Caption == "&Nastřed");
  }
  // The command of an entry is the entry's place in the table.
  const MenuItem* right = Find(choices, "V&pravo");
  ASSERT_NE(right, nullptr);
  ASSERT_GT(right->Id, 0u);
  entries.at(right->Id - 1).Handler();
  EXPECT_EQ(text.Alignment(), TAlignment::taRightJustify);
  DestroyMenu(menu);
}

}  // namespace
}  // namespace korval::win32
