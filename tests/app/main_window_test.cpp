// The main window on the toolkit without a display: its design, its phase before the
// first activation, and its own handlers.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "app/u_fmain.h"
#include "app/vendor_url.h"
#include "scoped_environment.h"
#include "ui/headless/headless_application.h"
#include "ui/headless/headless_form.h"
#include "ui/run_ends_process.h"

namespace {

using ui::headless::HeadlessApplication;
using ui::headless::HeadlessForm;

class MainWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    app::ARR_BAIXOU[0] = true;  // as an earlier download would leave it
    ui::CreateComponent(app, app::fMain);
  }
  HeadlessForm& form() { return *app.MainForm(); }

  // The first activation runs the update check; here it meets no server.
  app_test::ScopedEnvironment vendor{app::kVendorUrlVariable, app_test::kUnreachableVendor};
  HeadlessApplication app;
};

TEST_F(MainWindow, IsCreatedInPhaseA) {
  EXPECT_EQ(form().Caption(), "fMain");
  EXPECT_EQ(form().Left(), 200);
  EXPECT_EQ(form().Top(), 200);
  EXPECT_FALSE(form().Visible()) << "shown only when the loop starts";

  std::vector<std::string> visible;
  for (const auto& control : form().Description().controls) {
    if (form().Find(control.name).Visible())
      visible.push_back(control.name);
  }
  EXPECT_THAT(visible, ::testing::ElementsAre("Image1", "MainMenu1", "MenuItem1", "MenuItem2"));
  EXPECT_EQ(form().Find("Label1").Text(), "");
  EXPECT_FALSE(form().Find("btn_Close").Enabled());
  EXPECT_NE(app::fMain->FUnZip, nullptr);
  EXPECT_FALSE(app::ARR_BAIXOU[0]);
  EXPECT_EQ(app.CurrentCursor(), ui::Cursor::Default);
}

TEST_F(MainWindow, CarriesItsDesignValues) {
  const auto& design = app::TfMain::Description();
  EXPECT_EQ(design.bounds, (ui::Bounds{379, 165, 373, 182}));
  EXPECT_TRUE(design.sizeable);
  EXPECT_FALSE(design.minimizeBox);
  EXPECT_FALSE(design.maximizeBox);
  EXPECT_TRUE(design.keyPreview);

  constexpr unsigned kTopLeft = ui::kAnchorLeft | ui::kAnchorTop;
  constexpr unsigned kBottomLeft = ui::kAnchorLeft | ui::kAnchorBottom;
  struct Expected {
    const char* name;
    ui::ControlKind kind;
    ui::Bounds bounds;
    const char* text;
    unsigned anchors;
    int tabOrder;
    bool enabled;
    const char* onClick;
  };
  using K = ui::ControlKind;
  const Expected table[] = {
      {"Image1", K::Picture, {168, 8, 34, 34}, "", kTopLeft, -1, true, ""},
      {"img_alert", K::Picture, {24, 16, 32, 32}, "", kTopLeft, -1, true, ""},
      {"lbl_alert", K::Label, {64, 33, 38, 15}, "ERRO !", kTopLeft, -1, true, ""},
      {"Label1", K::Label, {24, 48, 34, 15}, "Label1", kTopLeft, -1, true, ""},
      {"ProgressBar1", K::ProgressBar, {24, 64, 328, 16}, "", kTopLeft, -1, true, ""},
      {"lbl_aviso",
       K::Label,
       {24, 106, 230, 15},
       "A nova versão está pronta para ser instalada",
       kTopLeft,
       -1,
       true,
       ""},
      {"btn_Instalar",
       K::Button,
       {24, 128, 72, 25},
       "Instalar",
       kBottomLeft,
       3,
       true,
       "btn_InstalarClick"},
      {"ProgressBar4", K::ProgressBar, {99, 129, 102, 23}, "", kBottomLeft, -1, true, ""},
      {"btn_Abrir",
       K::Button,
       {203, 128, 72, 25},
       "Acessar",
       kBottomLeft,
       2,
       true,
       "btn_AbrirClick"},
      {"btn_Close",
       K::Button,
       {277, 128, 75, 25},
       "Fecha&r",
       kBottomLeft,
       0,
       false,
       "btn_CloseClick"},
      {"MainMenu1", K::MainMenu, {}, "", kTopLeft, -1, true, ""},
      {"MenuItem1", K::MenuItem, {}, "&Arquivo", kTopLeft, -1, true, ""},
      {"MenuItem2", K::MenuItem, {}, "Sai&r", kTopLeft, -1, true, "btn_CloseClick"},
  };
  ASSERT_EQ(design.controls.size(), std::size(table));
  for (const auto& want : table) {
    SCOPED_TRACE(want.name);
    const auto& got = design.Control(want.name);
    EXPECT_EQ(got.kind, want.kind);
    EXPECT_EQ(got.bounds, want.bounds);
    EXPECT_EQ(got.text, want.text);
    EXPECT_EQ(got.anchors, want.anchors);
    EXPECT_EQ(got.tabOrder, want.tabOrder);
    EXPECT_EQ(got.enabled, want.enabled);
    EXPECT_EQ(got.onClick, want.onClick);
  }
  EXPECT_TRUE(design.Control("lbl_alert").bold);
  EXPECT_EQ(design.Control("Label1").wrapWidth, 320);
  EXPECT_TRUE(design.Control("Label1").autoSize);
  EXPECT_EQ(design.Control("MenuItem2").parent, "MenuItem1");
  for (const char* bar : {"ProgressBar1", "ProgressBar4"}) {
    EXPECT_EQ(design.Control(bar).minimum, 0);
    EXPECT_EQ(design.Control(bar).maximum, 100);
    EXPECT_EQ(design.Control(bar).position, 0);
  }
}

// The hourglass while the check runs is seen in the update check's own tests, through
// the message box it may show.
TEST_F(MainWindow, FirstActivationRunsTheCheckOnceAndOffersClose) {
  form().Show();

  EXPECT_EQ(form().Caption(), "Dostra - Atualização de Versão");
  EXPECT_EQ(app.CurrentCursor(), ui::Cursor::Default);
  EXPECT_TRUE(form().Find("btn_Close").Visible());
  EXPECT_TRUE(form().Find("btn_Close").Enabled());

  // Later activations change nothing.
  form().Find("btn_Close").Hide();
  form().Activate();
  EXPECT_FALSE(form().Find("btn_Close").Visible());
  EXPECT_EQ(form().Activations(), 2);
}

TEST_F(MainWindow, KeysOtherThanEscapeAreLeftAlone) {
  for (std::uint16_t key : {13, 32, 65, 115 /* F4 */})
    form().PressKey(key, ui::kAlt);
  EXPECT_TRUE(app.Exceptions().empty());
}

using MainWindowDeathTest = MainWindow;

TEST_F(MainWindowDeathTest, EscapeEndsTheUpdaterWhateverTheModifiers) {
  const ui::ShiftState modifiers[] = {
      ui::kShiftNone, ui::kShift, ui::kCtrl,
      static_cast<ui::ShiftState>(ui::kShift | ui::kCtrl | ui::kAlt)};
  for (const auto shift : modifiers) {
    SCOPED_TRACE(shift);
    ui_test::ExpectRunEndsTheProcess(app, [&] { app.QueueKey(ui::kKeyEscape, shift); });
  }
}

TEST_F(MainWindowDeathTest, EveryCloseControlEndsTheUpdaterInEveryPhase) {
  // Once the check has ended: "Sai&r" and "Fecha&r".
  ui_test::ExpectRunEndsTheProcess(app, [&] { app.QueueMenu("MenuItem2"); });
  ui_test::ExpectRunEndsTheProcess(app, [&] { app.QueueClick("btn_Close"); });
  // Before it, while "Fecha&r" is still hidden and disabled: "Sai&r" and Esc.
  EXPECT_EXIT(
      {
        form().ChooseMenu("MenuItem2");
        std::exit(3);
      },
      ::testing::ExitedWithCode(0), "");
  EXPECT_EXIT(
      {
        form().PressKey(ui::kKeyEscape, ui::kShiftNone);
        std::exit(3);
      },
      ::testing::ExitedWithCode(0), "");
}

}  // namespace
