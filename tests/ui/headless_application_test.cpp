// The event loop's rules, on the toolkit without a display.
#include "ui/headless/headless_application.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ui/headless/headless_form.h"
#include "ui/loop_handlers.h"

namespace {

using ui::headless::HeadlessApplication;

ui::FormDescription TestForm() {
  ui::FormDescription form;
  form.name = "fTest";
  form.caption = "fTest";
  form.onActivate = "FormActivate";
  form.controls.push_back(
      {.name = "btnLong", .kind = ui::ControlKind::Button, .onClick = "LongClick"});
  form.controls.push_back(
      {.name = "btnFail", .kind = ui::ControlKind::Button, .onClick = "FailClick"});
  form.controls.push_back(
      {.name = "btnOff", .kind = ui::ControlKind::Button, .enabled = false, .onClick = "OffClick"});
  return form;
}

using ui_test::Recorder;

// The loop tests' handlers, and one for a button that starts disabled.
ui::Handlers TestHandlers(HeadlessApplication& app, Recorder& log) {
  ui::Handlers handlers = ui_test::LoopHandlers(app, log);
  handlers.notify["OffClick"] = [&log](ui::Sender) { log.events.push_back("disabled clicked"); };
  return handlers;
}

TEST(HeadlessLoop, CloseDuringALongHandlerLetsItFinishThenEndsTheLoop) {
  HeadlessApplication app;
  Recorder log;
  auto form = app.CreateForm(TestForm(), TestHandlers(app, log));
  app.QueueClick("btnLong");
  app.QueueAction([&] {
    // Queued while the long handler runs: the close box arrives in its first pump.
    app.QueueClose();
    app.QueueAction([&] { log.events.push_back("input after close"); });
  });
  app.Run();

  EXPECT_TRUE(app.Terminated());
  // The handler runs to its end; input pending in the same pass is still handled.
  const std::vector<std::string> expected = {"activate",          "part 0", "part 1",
                                             "input after close", "part 2", "long handler ended"};
  EXPECT_EQ(log.events, expected);
  EXPECT_TRUE(form->Visible()) << "the window stays until the loop has ended";
}

TEST(HeadlessLoop, AnExceptionFromAHandlerGoesToTheStandardBoxAndTheLoopGoesOn) {
  HeadlessApplication app;
  Recorder log;
  auto form = app.CreateForm(TestForm(), TestHandlers(app, log));
  app.QueueClick("btnFail");
  app.QueueAction([&] { log.events.push_back("next input"); });
  app.Run();

  EXPECT_EQ(app.Exceptions(), std::vector<std::string>{"Something failed"});
  EXPECT_EQ(log.events.back(), "next input");
  EXPECT_FALSE(app.Terminated());
}

TEST(HeadlessLoop, HiddenOrDisabledButtonsCannotBeClicked) {
  HeadlessApplication app;
  Recorder log;
  auto form = app.CreateForm(TestForm(), TestHandlers(app, log));
  auto& headless = static_cast<ui::headless::HeadlessForm&>(*form);
  headless.Show();
  EXPECT_FALSE(headless.Click("btnOff"));
  headless.Find("btnOff").SetEnabled(true);
  headless.Find("btnOff").SetVisible(false);
  EXPECT_FALSE(headless.Click("btnOff"));
  headless.Find("btnOff").SetVisible(true);
  EXPECT_TRUE(headless.Click("btnOff"));
  EXPECT_EQ(log.events.back(), "disabled clicked");
}

TEST(HeadlessLoop, TheFirstFormIsTheMainForm) {
  HeadlessApplication app;
  Recorder log;
  auto first = app.CreateForm(TestForm(), TestHandlers(app, log));
  auto second = app.CreateForm(TestForm(), TestHandlers(app, log));
  EXPECT_EQ(app.MainForm(), first.get());
  first.reset();
  EXPECT_EQ(app.MainForm(), nullptr);
}

}  // namespace
