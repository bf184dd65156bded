#include "win32/WinApi.h"

#include "win32/Win32Ui.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "host_api/HostContext.h"

namespace korval::win32 {
namespace {

TEST(OpenDialogFilterTest, BarsBecomeNullCharactersAndTheListEndsInTwo) {
  const std::wstring filter = OpenDialogFilter("Obrázky (*.bmp;*.ico)|*.bmp;*.ico|Vše|*.*");
  const std::wstring expected(L"Obr\u00E1zky (*.bmp;*.ico)\0*.bmp;*.ico\0V\u0161e\0*.*\0", 42);
  EXPECT_EQ(filter, expected);
  // The string's own terminator is the list's second null character.
  EXPECT_EQ(filter.c_str()[filter.size()], L'\0');
  EXPECT_EQ(filter.back(), L'\0');
}

// A window of this thread that only takes messages, as a host's would.
class MessageWindow {
 public:
  MessageWindow() {
    window_ = CreateWindowExW(0, L"STATIC", L"host", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr,
                              nullptr);
  }
  ~MessageWindow() {
    if (window_ != nullptr) DestroyWindow(window_);
  }
  MessageWindow(const MessageWindow&) = delete;
  MessageWindow& operator=(const MessageWindow&) = delete;
  HWND Get() const { return window_; }

 private:
  HWND window_ = nullptr;
};

struct Heard {
  int calls = 0;
  std::intptr_t window = 0;
  std::uint32_t message = 0;
};

void Hear(void* context, std::intptr_t window, std::uint32_t message) {
  auto* heard = static_cast<Heard*>(context);
  ++heard->calls;
  heard->window = window;
  heard->message = message;
}

// The message goes to the host's window unless the host registered a
// function to hear of saves through.
TEST(Win32UiTest, HostNoticeIsPostedToTheHostWindow) {
  MessageWindow host;
  ASSERT_NE(host.Get(), nullptr);
  HostContext context;
  Win32Ui ui(context);
  ui.PostHostNotice(reinterpret_cast<std::intptr_t>(host.Get()), 1025);
  MSG message{};
  ASSERT_TRUE(PeekMessageW(&message, host.Get(), 0, 0, PM_REMOVE));
  EXPECT_EQ(message.message, 1025u);
  EXPECT_EQ(message.wParam, 0u);
  EXPECT_EQ(message.lParam, 0);
}

TEST(Win32UiTest, HostNoticeGoesToTheHostsFunctionWhenItRegisteredOne) {
  for (const bool withWindow : {true, false}) {
    SCOPED_TRACE(withWindow ? "with a window" : "without a window");
    MessageWindow host;
    const std::intptr_t window = withWindow ? reinterpret_cast<std::intptr_t>(host.Get()) : 0;
    HostContext context;
    Heard heard;
    context.SetNotify(&Hear, &heard);
    context.SetHostWindow(window);
    Win32Ui ui(context);
    ui.PostHostNotice(window, 1025);
    EXPECT_EQ(heard.calls, 1);
    EXPECT_EQ(heard.message, 1025u);
    MSG message{};
    EXPECT_FALSE(PeekMessageW(&message, host.Get(), 0, 0, PM_REMOVE));
  }
}

TEST(Win32UiTest, BoxesBelongToTheHostWindowOnlyWhileItExists) {
  HostContext context;
  Win32Ui ui(context);
  std::intptr_t gone = 0;
  {
    MessageWindow host;
    context.SetHostWindow(reinterpret_cast<std::intptr_t>(host.Get()));
    EXPECT_EQ(ui.OwnerWindow(), reinterpret_cast<std::intptr_t>(host.Get()));
    MessageWindow dialog;
    ui.SetOwnerWindow(reinterpret_cast<std::intptr_t>(dialog.Get()));
    EXPECT_EQ(ui.OwnerWindow(), reinterpret_cast<std::intptr_t>(dialog.Get()));
    gone = reinterpret_cast<std::intptr_t>(dialog.Get());
  }
  // A box with a destroyed owner would not show at all.
  ui.SetOwnerWindow(gone);
  EXPECT_EQ(ui.OwnerWindow(), 0);
}

}  // namespace
}  // namespace korval::win32
