// The event loop on live windows: activation on show, key preview, the close box as a
// termination request, handlers through Dispatch, the hourglass and the immediate exit.
#include <windows.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <stdexcept>

#include "test_form.h"
#include "ui/win32/win32_application.h"
#include "ui/win32/win32_controls.h"
#include "ui/win32/win32_form.h"

namespace {

using ::testing::ElementsAre;
using ::testing::Pair;
using ui::win32::Win32Application;
using ui::win32::Win32Control;
using ui::win32::Win32Form;
using namespace ui::win32::testing;

// Message boxes would wait for a person; these tests record them instead.
class RecordingApplication : public Win32Application {
 public:
  void ShowMessage(std::string_view text) override { messages.emplace_back(text); }
  void ShowException(std::string_view message) override { exceptions.emplace_back(message); }
  std::vector<std::string> messages;
  std::vector<std::string> exceptions;
};

class Win32LoopTest : public ::testing::Test {
 protected:
  void SetUp() override { form = app.CreateForm(MainWindowLikeForm(), LoggingHandlers(log)); }
  HWND window() { return static_cast<Win32Form&>(*form).Window(); }
  HWND child(const char* name) { return static_cast<Win32Control&>(form->Find(name)).Window(); }
  void Show() { static_cast<Win32Form&>(*form).ShowAndActivate(); }
  static void SetShiftKey(bool down) {
    BYTE keys[256]{};
    ::GetKeyboardState(keys);
    keys[VK_SHIFT] = down ? 0x80 : 0;
    ::SetKeyboardState(keys);
  }

  RecordingApplication app;
  HandlerLog log;
  std::unique_ptr<ui::Form> form;
};

TEST_F(Win32LoopTest, RunShowsTheMainFormWhoseActivationRaisesTheHandler) {
  bool visibleWhenActivated = false;
  log.onActivate = [&] {
    visibleWhenActivated = form->Visible();
    app.Terminate();
  };
  app.Run();
  EXPECT_THAT(log.events, ElementsAre("activate fTest"));
  EXPECT_TRUE(visibleWhenActivated);
  EXPECT_EQ(::GetActiveWindow(), window());
  EXPECT_EQ(app.LoopPasses(), 1) << "termination is honoured after the pass";
}

TEST_F(Win32LoopTest, TheCloseBoxRequestsTerminationAndTheWindowStaysUntilThePassEnds) {
  bool handlerFinished = false;
  log.onActivate = [&] {
    if (handlerFinished)
      return;
    // The close box while a long handler pumps messages: the handler still finishes.
    ::PostMessageW(window(), WM_SYSCOMMAND, SC_CLOSE, 0);
    app.ProcessMessages();
    EXPECT_TRUE(app.Terminated());
    EXPECT_TRUE(::IsWindowVisible(window()));
    handlerFinished = true;
  };
  app.Run();
  EXPECT_TRUE(handlerFinished);
  EXPECT_EQ(app.LoopPasses(), 1);
  EXPECT_TRUE(::IsWindow(window())) << "destroyed with its owner, not by the close box";
}

TEST_F(Win32LoopTest, TheFormSeesEveryKeyFirstWithTheShiftStateOfTheKeyboard) {
  Show();
  form->Find("btn_Close").Show();
  form->Find("btn_Abrir").Show();
  form->Find("btn_Close").SetFocus();
  ASSERT_EQ(::GetFocus(), child("btn_Close"));

  ::PostMessageW(child("btn_Close"), WM_KEYDOWN, VK_ESCAPE, 0);
  app.ProcessMessages();
  SetShiftKey(true);
  ::PostMessageW(child("btn_Close"), WM_KEYDOWN, VK_ESCAPE, 0);
  app.ProcessMessages();
  SetShiftKey(false);
  // Keys that reach the form itself, when no control has the focus, as well.
  ::PostMessageW(window(), WM_SYSKEYDOWN, VK_F4, 1 << 29);
  app.ProcessMessages();
  EXPECT_THAT(log.keys, ElementsAre(Pair(VK_ESCAPE, ui::kShiftNone), Pair(VK_ESCAPE, ui::kShift),
                                    Pair(VK_F4, ui::kShiftNone)));
}

TEST_F(Win32LoopTest, AKeySetToZeroNeverReachesTheFocusedControl) {
  Show();
  form->Find("btn_Close").Show();
  form->Find("btn_Abrir").Show();
  form->Find("btn_Close").SetFocus();

  log.swallow = {VK_TAB};
  ::PostMessageW(child("btn_Close"), WM_KEYDOWN, VK_TAB, 0);
  app.ProcessMessages();
  EXPECT_EQ(::GetFocus(), child("btn_Close")) << "the swallowed Tab moved the focus";

  log.swallow.clear();
  ::PostMessageW(child("btn_Close"), WM_KEYDOWN, VK_TAB, 0);
  app.ProcessMessages();
  EXPECT_EQ(::GetFocus(), child("btn_Abrir")) << "Tab goes on in the tab order";
}

TEST_F(Win32LoopTest, ClicksRunTheirHandlerAndItsExceptionsGoToTheStandardBox) {
  Show();
  form->Find("btn_Instalar").Show();
  ::SendMessageW(child("btn_Instalar"), BM_CLICK, 0, 0);
  log.onClose = [] { throw std::runtime_error("Failed to execute Dostra.exe : 2"); };
  form->Find("btn_Close").Show();
  ::SendMessageW(child("btn_Close"), BM_CLICK, 0, 0);

  EXPECT_THAT(log.events,
              ElementsAre("activate fTest", "InstalarClick btn_Instalar", "CloseClick btn_Close"));
  EXPECT_THAT(app.exceptions, ElementsAre("Failed to execute Dostra.exe : 2"));
}

TEST_F(Win32LoopTest, TheHourglassWinsOverTheClassCursorsOfTheControls) {
  Show();
  form->Find("btn_Close").Show();
  const HCURSOR wait = ::LoadCursorW(nullptr, IDC_WAIT);
  const HCURSOR arrow = ::LoadCursorW(nullptr, IDC_ARROW);
  auto hover = [](HWND over) {
    return ::SendMessageW(over, WM_SETCURSOR, reinterpret_cast<WPARAM>(over),
                          MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
  };
  app.SetCursor(ui::Cursor::Hourglass);
  EXPECT_EQ(::GetCursor(), wait);
  for (const char* name : {"btn_Close", "Image1", "Label1"}) {
    ::SetCursor(arrow);
    EXPECT_TRUE(hover(child(name))) << name;
    EXPECT_EQ(::GetCursor(), wait) << name;
  }
  app.SetCursor(ui::Cursor::Default);
  EXPECT_EQ(::GetCursor(), arrow);
  ::SetCursor(wait);
  hover(child("btn_Close"));
  EXPECT_EQ(::GetCursor(), arrow) << "the class cursor again";
}

// The immediate exit from inside a click handler: the component's form and windows are
// destroyed while the handler is still on the stack, then the process ends with 0.
struct FormOwner : ui::Component {
  explicit FormOwner(ui::Application& app) : app(app) {}
  ~FormOwner() override {
    form.reset();
    std::fprintf(stderr, "windows destroyed\n");
  }
  void Load() override {
    ui::Handlers handlers = LoggingHandlers(log);
    handlers.notify["CloseClick"] = [this](ui::Sender) { app.Halt(0); };
    form = app.CreateForm(MainWindowLikeForm(), handlers);
  }
  void Created() override {}
  ui::Application& app;
  HandlerLog log;
  std::unique_ptr<ui::Form> form;
};
FormOwner* owner = nullptr;

TEST(Win32HaltDeathTest, HaltInsideAClickHandlerDestroysTheWindowsAndExitsWithZero) {
  EXPECT_EXIT(
      {
        Win32Application app;
        ui::CreateComponent(app, owner);
        HWND window = static_cast<Win32Form&>(*owner->form).Window();
        HWND close = static_cast<Win32Control&>(owner->form->Find("btn_Close")).Window();
        ::ShowWindow(window, SW_SHOW);
        ::SendMessageW(close, BM_CLICK, 0, 0);
        std::fprintf(stderr, "handler returned\n");
        std::exit(3);
      },
      ::testing::ExitedWithCode(0),
      ::testing::AllOf(::testing::HasSubstr("windows destroyed"),
                       ::testing::Not(::testing::HasSubstr("returned"))));
}

}  // namespace
