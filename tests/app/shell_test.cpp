// Start-up and the two ways to end, through the whole program on the toolkit
// without a display.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdio>

#include "app/DOSTRA_UPDATE.h"
#include "app/final_step.h"
#include "app/u_dm.h"
#include "app/u_fmain.h"
#include "app/vendor_url.h"
#include "scoped_environment.h"
#include "ui/headless/headless_application.h"
#include "ui/headless/headless_form.h"

namespace {

using ui::headless::HeadlessApplication;

// The update check of the first activation meets no server here.
class ShellEnvironment : public ::testing::Environment {
  void SetUp() override {
    vendor_ = std::make_unique<app_test::ScopedEnvironment>(app::kVendorUrlVariable,
                                                            app_test::kUnreachableVendor);
  }
  void TearDown() override { vendor_.reset(); }
  std::unique_ptr<app_test::ScopedEnvironment> vendor_;
};
const auto* const kShellEnvironment = ::testing::AddGlobalTestEnvironment(new ShellEnvironment);

TEST(Shell, CreatesTheDataModuleThenTheMainWindowAndRunsItsCheck) {
  HeadlessApplication app;
  bool checked = false;
  app.onIdle = [&] {
    ASSERT_NE(app::dm, nullptr);
    ASSERT_NE(app::fMain, nullptr);
    EXPECT_EQ(&app::fMain->Form(), app.MainForm());
    EXPECT_TRUE(app.MainForm()->Visible());
    EXPECT_EQ(app.MainForm()->Caption(), "Dostra - Atualização de Versão");
    checked = true;
  };
  EXPECT_EQ(app::RunUpdater(app), 0);
  EXPECT_TRUE(checked);
  EXPECT_EQ(app::fMain, nullptr) << "destroyed at shutdown";
  EXPECT_EQ(app::dm, nullptr);
}

TEST(Shell, TerminationRequestedDuringTheDataModuleCreationShowsNoWindow) {
  HeadlessApplication app;
  app.Terminate();
  EXPECT_EQ(app::RunUpdater(app), 0);
  EXPECT_EQ(app.MainForm(), nullptr);
  EXPECT_EQ(app.LoopPasses(), 0);
}

TEST(Shell, TheCloseBoxEndsTheLoopWithExitCodeZero) {
  HeadlessApplication app;
  app.QueueClose();
  int passesAtIdle = -1;
  app.onIdle = [&] { passesAtIdle = app.LoopPasses(); };
  EXPECT_EQ(app::RunUpdater(app), 0);
  EXPECT_TRUE(app.Terminated());
  EXPECT_EQ(passesAtIdle, -1) << "the loop ended on the pass that saw the request";
  EXPECT_EQ(app.LoopPasses(), 1);
}

// The immediate exit ends the process from inside the handler: the components are
// destroyed, but clean-up steps of handlers further up never run.
struct Probe : ui::Component {
  explicit Probe(ui::Application&) {}
  ~Probe() override { std::fprintf(stderr, "probe destroyed\n"); }
  void Load() override {}
  void Created() override {}
};
Probe* probe = nullptr;

TEST(ShellDeathTest, TheImmediateExitSkipsTheCleanUpOfHandlersFurtherUp) {
  EXPECT_EXIT(
      {
        HeadlessApplication app;
        ui::CreateComponent(app, probe);
        ui::CreateComponent(app, app::fMain);
        {
          app::FinalStep cleanUp([] { std::fprintf(stderr, "clean-up ran\n"); });
          app.QueueKey(ui::kKeyEscape);
          app.ProcessMessages();  // a long handler pumping messages
          std::fprintf(stderr, "handler resumed\n");
        }
        std::exit(3);
      },
      ::testing::ExitedWithCode(0),
      ::testing::AllOf(::testing::HasSubstr("probe destroyed"),
                       ::testing::Not(::testing::HasSubstr("clean-up ran")),
                       ::testing::Not(::testing::HasSubstr("handler resumed"))));
}

}  // namespace
