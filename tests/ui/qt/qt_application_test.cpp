// The application object on Qt: the event loop's rules, the boxes, the cursor and the
// title, with a test form.
#include "ui/qt/qt_application.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QMainWindow>
#include <QPushButton>
#include <QTest>

#include <stdexcept>
#include <string>
#include <vector>

#include "qt_test_support.h"
#include "ui/loop_handlers.h"
#include "ui/qt/qt_form.h"
#include "ui/run_ends_process.h"

namespace {

using qt_test::AsQt;
using qt_test::BoxCloser;
using qt_test::Steps;
using ui::qt::QtApplication;
using ui_test::ExpectRunEndsTheProcess;
using ui_test::LoopHandlers;
using ui_test::Recorder;

ui::FormDescription TestForm() {
  ui::FormDescription form;
  form.name = "fTest";
  form.caption = "fTest";
  form.bounds = {100, 100, 300, 120};
  form.onActivate = "FormActivate";
  form.controls.push_back({.name = "btnLong",
                           .kind = ui::ControlKind::Button,
                           .bounds = {8, 8, 80, 25},
                           .text = "Long",
                           .tabOrder = 0,
                           .onClick = "LongClick"});
  form.controls.push_back({.name = "btnFail",
                           .kind = ui::ControlKind::Button,
                           .bounds = {96, 8, 80, 25},
                           .text = "Fail",
                           .tabOrder = 1,
                           .onClick = "FailClick"});
  return form;
}

class QtLoop : public ::testing::Test {
 protected:
  QtApplication app{qt_test::testArgc, qt_test::testArgv};
  Recorder log;
  Steps steps;
};

TEST_F(QtLoop, RunShowsTheMainFormAndItsActivationHandlerRuns) {
  auto form = app.CreateForm(TestForm(), LoopHandlers(app, log));
  EXPECT_FALSE(form->Visible());
  steps.Watchdog(app);
  steps.When([&] { return !log.events.empty(); },
             [&] {
               EXPECT_TRUE(form->Visible());
               EXPECT_TRUE(AsQt(*form).Window()->isActiveWindow());
               app.Terminate();
             });
  app.Run();
  EXPECT_EQ(log.events, std::vector<std::string>{"activate"});
}

TEST_F(QtLoop, EachActivationOfTheMainFormRaisesTheHandler) {
  auto form = app.CreateForm(TestForm(), LoopHandlers(app, log));
  QMainWindow other;
  steps.Watchdog(app);
  steps.When([&] { return log.events.size() == 1; },
             [&] {
               other.show();
               other.activateWindow();
               steps.When([&] { return other.isActiveWindow(); },
                          [&] { AsQt(*form).Window()->activateWindow(); });
             });
  steps.When([&] { return log.events.size() == 2; }, [&] { app.Terminate(); });
  app.Run();
  EXPECT_EQ(log.events, (std::vector<std::string>{"activate", "activate"}));
}

TEST_F(QtLoop, CloseDuringALongHandlerLetsItFinishThenEndsTheLoop) {
  auto form = app.CreateForm(TestForm(), LoopHandlers(app, log));
  auto* window = AsQt(*form).Window();
  auto* button = static_cast<QPushButton*>(AsQt(*form).Find("btnLong").Widget());
  steps.Watchdog(app);
  steps.When([&] { return !log.events.empty(); },
             [&] {
               // The close box arrives while the handler runs: at its first pump.
               QTimer::singleShot(0, window, [&] {
                 log.events.push_back("close box");
                 window->close();
               });
               button->click();
             });
  app.Run();

  EXPECT_TRUE(app.Terminated());
  const std::vector<std::string> expected = {"activate", "part 0", "close box",
                                             "part 1",   "part 2", "long handler ended"};
  EXPECT_EQ(log.events, expected);
  EXPECT_TRUE(form->Visible()) << "the window stays until the loop has ended";
}

TEST_F(QtLoop, TheCloseBoxEndsTheLoopAndLeavesTheWindowToItsOwner) {
  auto form = app.CreateForm(TestForm(), LoopHandlers(app, log));
  steps.Watchdog(app);
  steps.When([&] { return !log.events.empty(); }, [&] { AsQt(*form).Window()->close(); });
  app.Run();
  EXPECT_TRUE(app.Terminated());
  EXPECT_TRUE(form->Visible());
}

TEST_F(QtLoop, AnExceptionFromAHandlerGoesToTheStandardBoxAndTheLoopGoesOn) {
  auto form = app.CreateForm(TestForm(), LoopHandlers(app, log));
  auto* button = static_cast<QPushButton*>(AsQt(*form).Find("btnFail").Widget());
  BoxCloser boxes;
  steps.Watchdog(app);
  steps.When([&] { return !log.events.empty(); },
             [&] {
               button->click();
               // Queued behind the click: handled once the box has been answered.
               steps.After(0, [&] {
                 log.events.push_back("next input");
                 app.Terminate();
               });
             });
  app.Run();

  ASSERT_EQ(boxes.Boxes().size(), 1u);
  const auto& box = boxes.Boxes()[0];
  EXPECT_EQ(box.text, "Something failed");
  EXPECT_EQ(box.title, app.Title());
  EXPECT_EQ(box.icon, QMessageBox::Critical);
  EXPECT_EQ(box.buttons, std::vector<std::string>{"OK"});
  EXPECT_EQ(log.events.back(), "next input");
}

TEST_F(QtLoop, TerminationRequestedBeforeRunEndsTheLoopAtOnce) {
  auto form = app.CreateForm(TestForm(), LoopHandlers(app, log));
  app.Terminate();
  steps.Watchdog(app, 5000);
  QElapsedTimer clock;
  clock.start();
  app.Run();
  EXPECT_LT(clock.elapsed(), 4000);
}

TEST_F(QtLoop, ProcessMessagesHandlesWhatIsPending) {
  bool delivered = false;
  QTimer::singleShot(0, [&] { delivered = true; });
  app.ProcessMessages();
  EXPECT_TRUE(delivered);
}

TEST_F(QtLoop, AFixedWaitBlocksTheThread) {
  bool delivered = false;
  QTimer::singleShot(0, [&] { delivered = true; });
  QElapsedTimer clock;
  clock.start();
  app.Wait(60);
  EXPECT_GE(clock.elapsed(), 60);
  EXPECT_FALSE(delivered) << "nothing is handled during a fixed wait";
  app.ProcessMessages();
  EXPECT_TRUE(delivered);
}

TEST_F(QtLoop, TheFirstFormIsTheMainForm) {
  auto first = app.CreateForm(TestForm(), LoopHandlers(app, log));
  auto second = app.CreateForm(TestForm(), LoopHandlers(app, log));
  EXPECT_EQ(app.MainForm(), first.get());
  first.reset();
  EXPECT_EQ(app.MainForm(), nullptr);
}

TEST_F(QtLoop, AFormIsNeverBuiltWithADanglingBinding) {
  ui::Handlers none;
  EXPECT_THROW(app.CreateForm(TestForm(), none), std::invalid_argument);
  EXPECT_EQ(app.MainForm(), nullptr);
}

TEST_F(QtLoop, APictureThatIsNotEmbeddedIsAnError) {
  auto description = TestForm();
  description.controls.push_back({.name = "imgMissing",
                                  .kind = ui::ControlKind::Picture,
                                  .bounds = {0, 0, 32, 32},
                                  .picture = "missing.png"});
  EXPECT_THROW(app.CreateForm(description, LoopHandlers(app, log)), std::invalid_argument);
}

TEST_F(QtLoop, TheHourglassIsOneOverrideCursorHoweverOftenItIsSet) {
  ASSERT_EQ(QApplication::overrideCursor(), nullptr);
  app.SetCursor(ui::Cursor::Hourglass);
  app.SetCursor(ui::Cursor::Hourglass);
  ASSERT_NE(QApplication::overrideCursor(), nullptr);
  EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
  EXPECT_EQ(app.CurrentCursor(), ui::Cursor::Hourglass);
  app.SetCursor(ui::Cursor::Default);
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
  app.SetCursor(ui::Cursor::Default);
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
  EXPECT_EQ(app.CurrentCursor(), ui::Cursor::Default);
}

TEST_F(QtLoop, TheDestroyedApplicationLeavesNoHourglass) {
  {
    QtApplication other(qt_test::testArgc, qt_test::testArgv);
    other.SetCursor(ui::Cursor::Hourglass);
  }
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(QtLoop, TheMessageBoxIsAnInformationBoxTitledWithTheTitle) {
  BoxCloser boxes;
  app.SetCursor(ui::Cursor::Hourglass);
  app.ShowMessage("one\rtwo\nthree\r\nfour\n\rfive");
  app.SetCursor(ui::Cursor::Default);
  ASSERT_EQ(boxes.Boxes().size(), 1u);
  const auto& box = boxes.Boxes()[0];
  EXPECT_EQ(box.title, app.Title());
  EXPECT_EQ(box.text, "one\ntwo\nthree\nfour\n\nfive");
  EXPECT_EQ(box.icon, QMessageBox::Information);
  EXPECT_EQ(box.buttons, std::vector<std::string>{"OK"});
  EXPECT_TRUE(box.hourglass) << "the box leaves the cursor as it was";
}

TEST_F(QtLoop, MessageTextsAreShownAsTheyAre) {
  BoxCloser boxes;
  app.ShowMessage("<b>Erro</b> & versão");
  ASSERT_EQ(boxes.Boxes().size(), 1u);
  EXPECT_EQ(QString::fromStdString(boxes.Boxes()[0].text),
            QString::fromUtf8("<b>Erro</b> & versão"));
}

// The immediate exit from inside a Qt event handler: the form's widgets are deleted
// while Qt is inside their event dispatch, and the process ends right after.
using QtLoopDeathTest = QtLoop;

ui::Handlers HaltingHandlers(QtApplication& app) {
  ui::Handlers handlers;
  handlers.notify["FormActivate"] = [](ui::Sender) {};
  handlers.notify["LongClick"] = [&app](ui::Sender) { app.Halt(0); };
  handlers.notify["FailClick"] = [](ui::Sender) {};
  return handlers;
}

TEST_F(QtLoopDeathTest, HaltFromAMouseClickEndsTheProcessCleanly) {
  std::unique_ptr<ui::Form> form;
  ExpectRunEndsTheProcess(app, [&] {
    form = app.CreateForm(TestForm(), HaltingHandlers(app));
    auto* button = AsQt(*form).Find("btnLong").Widget();
    // The steps run once this scene is set: they keep the button, not this frame.
    steps.When([button] { return button->isVisible(); },
               [button] { QTest::mouseClick(button, Qt::LeftButton); });
    steps.Watchdog(app, 5000);
  });
}

TEST_F(QtLoopDeathTest, HaltFromTheActivationHandlerEndsTheProcessCleanly) {
  std::unique_ptr<ui::Form> form;
  ExpectRunEndsTheProcess(app, [&] {
    ui::Handlers handlers = HaltingHandlers(app);
    handlers.notify["FormActivate"] = [this](ui::Sender) { app.Halt(0); };
    form = app.CreateForm(TestForm(), handlers);
    steps.Watchdog(app, 5000);
  });
}

}  // namespace
