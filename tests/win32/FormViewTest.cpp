#include "win32/WinApi.h"

#include "win32/FormView.h"
#include "win32/SaveDialogView.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>

#include "dialog/StdControls.h"
#include "doubles/DialogFixture.h"

namespace korval::win32 {
namespace {

std::wstring TextOf(HWND window) {
  wchar_t text[256] = {};
  GetWindowTextW(window, text, 256);
  return text;
}

std::wstring Wide(const std::string& text) {
  wchar_t wide[256] = {};
  MultiByteToWideChar(CP_UTF8, 0, text.c_str(), -1, wide, 256);
  return wide;
}

std::wstring ClassOf(HWND window) {
  wchar_t name[64] = {};
  GetClassNameW(window, name, 64);
  return name;
}

// The dialog of a fixture in its Windows view, as the host's call makes it.
class Win32FormViewTest : public ::testing::Test {
 protected:
  FormView& Open() {
    // The view goes before the dialog it mirrors.
    view_.reset();
    f_.SetGoods({test::RecordBuilder().Name("Eidam 30 %").Number("SYR-0301").PriceA(129.75).Build()});
    f_.Recreate();
    f_.dialog->RunCreationSteps();
    view_ = std::make_unique<FormView>(*f_.dialog, f_.ui);
    return *view_;
  }
  HWND Window(const char* name) {
    HWND window = view_->WindowOf(name);
    if (window == nullptr) throw std::runtime_error(std::string("no window ") + name);
    return window;
  }
  TfrmMain& Model() { return *f_.dialog; }

  // Runs the dialog; step is called once with the first message the modal
  // loop takes, while the dialog is up.
  void RunWith(const std::function<void()>& step) {
    bool done = false;
    view_->OnMessage = [&](const MSG&) {
      if (done) return;
      done = true;
      step();
    };
    PostMessageW(view_->Handle(), WM_NULL, 0, 0);
    view_->Run();
  }

  test::DialogFixture f_;
  std::unique_ptr<FormView> view_;
};

TEST_F(Win32FormViewTest, TheLayoutBecomesNativeControlsInTheModelsState) {
  FormView& view = Open();
  // The creation step's caption.
  EXPECT_EQ(TextOf(view.Handle()), Wide(Model().Caption));

  HWND frame = Window("cbRamecek");
  EXPECT_EQ(ClassOf(frame), L"Button");
  EXPECT_EQ(GetWindowLongW(frame, GWL_STYLE) & BS_TYPEMASK, BS_AUTOCHECKBOX);
  EXPECT_EQ(SendMessageW(frame, BM_GETCHECK, 0, 0), BST_CHECKED);

  HWND count = Window("ePocetEtiket");
  EXPECT_EQ(ClassOf(count), L"Edit");
  EXPECT_EQ(TextOf(count), L"5");
  // Where the model puts it, in its parent.
  RECT r{};
  GetWindowRect(count, &r);
  MapWindowPoints(nullptr, GetParent(count), reinterpret_cast<POINT*>(&r), 2);
  const Control& model = Model().Ctl<Control>("ePocetEtiket");
  EXPECT_EQ(r.left, model.Left());
  EXPECT_EQ(r.top, model.Top());
  EXPECT_EQ(r.right - r.left, model.Width());

  // A group box's children lie below its title.
  EXPECT_GE(Model().Ctl<Control>("ScrollBox1").Top(), 11);
  EXPECT_EQ(Model().Ctl<Control>("ScrollBox1").Left(), 2);

  HWND pages = Window("PageControl1");
  EXPECT_EQ(ClassOf(pages), std::wstring(WC_TABCONTROLW));
  ASSERT_EQ(SendMessageW(pages, TCM_GETITEMCOUNT, 0, 0), 2);
  wchar_t title[32] = {};
  TCITEMW item{};
  item.mask = TCIF_TEXT;
  item.pszText = title;
  item.cchTextMax = 32;
  SendMessageW(pages, TCM_GETITEMW, 1, reinterpret_cast<LPARAM>(&item));
  EXPECT_EQ(std::wstring(title), L"Ná&hled");

  HWND ok = Window("bbtnOk");
  EXPECT_EQ(TextOf(ok), L"&Ok");
  EXPECT_EQ(GetWindowLongW(ok, GWL_STYLE) & BS_TYPEMASK, BS_DEFPUSHBUTTON);
  EXPECT_EQ(LOWORD(SendMessageW(view.Handle(), DM_GETDEFID, 0, 0)), GetDlgCtrlID(ok));
  EXPECT_FALSE(IsWindowEnabled(Window("CBNumberAsEAN")));

  MINMAXINFO limits{};
  SendMessageW(view.Handle(), WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&limits));
  EXPECT_EQ(limits.ptMinTrackSize.x, 600);
  EXPECT_EQ(limits.ptMinTrackSize.y, 410);
}

TEST_F(Win32FormViewTest, PaintingTheDialogAgainAndAgainKeepsNoDrawingObjects) {
  FormView& view = Open();
  ShowWindow(view.Handle(), SW_SHOWNA);
  const auto repaint = [&] {
    RedrawWindow(view.Handle(), nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
  };
  repaint();
  const DWORD before = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
  for (int i = 0; i < 20; ++i) repaint();
  EXPECT_LE(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS), before + 2);
}

TEST_F(Win32FormViewTest, ClicksKeysAndTabsReachTheModel) {
  FormView& view = Open();
  HWND frame = Window("cbRamecek");
  SendMessageW(frame, BM_CLICK, 0, 0);
  EXPECT_FALSE(Model().Ctl<CheckBox>("cbRamecek").Checked());
  EXPECT_EQ(SendMessageW(frame, BM_GETCHECK, 0, 0), BST_UNCHECKED);

  // The count takes digits only: the edit's key handler decides.
  HWND count = Window("ePocetEtiket");
  SendMessageW(count, EM_SETSEL, 0, -1);
  SendMessageW(count, WM_CHAR, L'x', 0);
  EXPECT_EQ(TextOf(count), L"5");
  SendMessageW(count, WM_CHAR, L'8', 0);
  EXPECT_EQ(TextOf(count), L"8");
  EXPECT_EQ(Model().Ctl<Edit>("ePocetEtiket").Text(), "8");

  // The preview tab chosen as a click on it reports it.
  HWND pages = Window("PageControl1");
  SendMessageW(pages, TCM_SETCURSEL, 1, 0);
  NMHDR chosen{pages, static_cast<UINT_PTR>(GetDlgCtrlID(pages)), static_cast<UINT>(TCN_SELCHANGE)};
  SendMessageW(GetParent(pages), WM_NOTIFY, chosen.idFrom, reinterpret_cast<LPARAM>(&chosen));
  EXPECT_EQ(Model().Ctl<PageControl>("PageControl1").ActivePage(), 1);
  EXPECT_TRUE(IsWindowVisible(Window("TabSheet2")) || !IsWindowVisible(view.Handle()));
  EXPECT_FALSE(IsWindowVisible(Window("TabSheet1")));
}

TEST_F(Win32FormViewTest, RunsModallyOverTheHostsWindowsAndEscLeavesAsTheCloseBox) {
  HWND host = CreateWindowExW(0, L"STATIC", L"host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200,
                              100, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(host, nullptr);
  FormView& view = Open();
  bool hostDisabled = false;
  RunWith([&] {
    hostDisabled = !IsWindowEnabled(host);
    EXPECT_TRUE(IsWindowVisible(view.Handle()));
    // Alt+H: the preview page, whose tab reads "Ná&hled".
    PostMessageW(Window("ePocetEtiket"), WM_SYSCHAR, L'h', 1 << 29);
    // Esc in the count field: the dialog keys ask the window to cancel.
    PostMessageW(Window("ePocetEtiket"), WM_KEYDOWN, VK_ESCAPE, 0);
  });
  EXPECT_EQ(Model().Ctl<PageControl>("PageControl1").ActivePage(), 1);
  EXPECT_TRUE(hostDisabled);
  EXPECT_TRUE(Model().Closed);
  EXPECT_TRUE(IsWindowEnabled(host));
  EXPECT_FALSE(IsWindowVisible(view.Handle()));
  DestroyWindow(host);
}

TEST_F(Win32FormViewTest, TheStoredPlacementIsWhereTheWindowOpensAndWhatIsReportedBack) {
  struct Case {
    Rect Stored;
    bool Kept;  // or centred on the screen
  };
  for (const Case& c : {Case{{100, 80, 800, 560}, true},
                        // Never taken from a window: the corner of the screen.
                        Case{{0, 0, 670, 466}, false},
                        // Off every screen.
                        Case{{-5000, -5000, -4300, -4500}, false}}) {
    SCOPED_TRACE(c.Stored.Left);
    FormView& view = Open();
    Model().Placement.NormalPos = c.Stored;
    RECT shown{};
    RunWith([&] {
      WINDOWPLACEMENT place{};
      place.length = sizeof place;
      GetWindowPlacement(view.Handle(), &place);
      shown = place.rcNormalPosition;
      PostMessageW(view.Handle(), WM_CLOSE, 0, 0);
    });
    EXPECT_EQ(shown.right - shown.left, c.Stored.Width());
    EXPECT_EQ(shown.bottom - shown.top, c.Stored.Height());
    if (c.Kept) {
      EXPECT_EQ(shown.left, c.Stored.Left);
      EXPECT_EQ(shown.top, c.Stored.Top);
    } else {
      RECT work{};
      SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
      EXPECT_NEAR(shown.left + shown.right, work.left + work.right, 1);
    }
    const Rect& reported = Model().Placement.NormalPos;
    EXPECT_EQ((Rect{reported.Left, reported.Top, reported.Right, reported.Bottom}),
              (Rect{shown.left, shown.top, shown.right, shown.bottom}));
    EXPECT_EQ(Model().Placement.ShowCmd, SW_SHOWNORMAL);
  }
}

TEST_F(Win32FormViewTest, ThePrinterBroadcastsReachTheDialog) {
  f_.printer.printers_ = {{"Laser"}, {"Etiketovač"}};
  f_.printer.defaultName_ = "Laser";
  FormView& view = Open();
  RunWith([&] {
    ASSERT_TRUE(Model().Ctl<CheckBox>("cbDefPrinterChange").Checked());
    ASSERT_EQ(f_.printer.PrinterIndex(), 0);
    f_.printer.defaultName_ = "Etiketovač";
    f_.ui.messages_.clear();
    // Yes to the change; No to keeping the new printer for the format.
    f_.ui.answers_ = {MessageAnswer::Yes, MessageAnswer::No};
    SendMessageW(view.Handle(), WM_SETTINGCHANGE, 0, reinterpret_cast<LPARAM>(L"windows"));
    PostMessageW(view.Handle(), WM_CLOSE, 0, 0);
  });
  ASSERT_FALSE(f_.ui.MessageTexts().empty());
  EXPECT_EQ(f_.ui.MessageTexts()[0],
            "Byla změněna výchozí tiskárna !\r\nPřejete si změnit výstupní tiskárnu v editoru ?");
  EXPECT_EQ(f_.printer.PrinterIndex(), 1);
}

}  // namespace
}  // namespace korval::win32

namespace korval::win32 {
namespace {

TEST(Win32SaveDialogViewTest, ANameTypedAndTheSaveButtonCloseItWithTheName) {
  test::ScriptedUi ui;
  TfrmSaves saves;
  saves.SetNames({"Regál", "Pult"});
  SaveDialogView view(saves, ui, nullptr);
  RECT frame{};
  GetWindowRect(view.Handle(), &frame);
  EXPECT_EQ(frame.right - frame.left, TfrmSaves::kWidth);
  EXPECT_EQ(frame.bottom - frame.top, TfrmSaves::kHeight);
  HWND save = view.WindowOf(saves.btnOk());
  EXPECT_FALSE(IsWindowEnabled(save));
  // The person types, then presses the save button; Enter would do too.
  HWND name = view.WindowOf(saves.eSave());
  for (const wchar_t c : std::wstring(L"Akční")) PostMessageW(name, WM_CHAR, c, 0);
  PostMessageW(save, BM_CLICK, 0, 0);
  EXPECT_TRUE(view.Run());
  EXPECT_EQ(saves.Name(), "Akční");
  EXPECT_FALSE(IsWindowVisible(view.Handle()));
}

TEST(Win32SaveDialogViewTest, EscClosesItUnsaved) {
  test::ScriptedUi ui;
  TfrmSaves saves;
  saves.SetName("Regál");
  SaveDialogView view(saves, ui, nullptr);
  PostMessageW(view.WindowOf(saves.eSave()), WM_KEYDOWN, VK_ESCAPE, 0);
  EXPECT_FALSE(view.Run());
}

}  // namespace
}  // namespace korval::win32
