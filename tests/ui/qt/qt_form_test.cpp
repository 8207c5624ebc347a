// Forms on Qt: the window, key preview, anchors and auto-sized labels, with test forms.
#include "ui/qt/qt_form.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>

#include <ostream>
#include <string>
#include <vector>

#include "qt_test_support.h"
#include "ui/qt/qt_application.h"
#include "ui/qt/qt_keys.h"

namespace {

using qt_test::AsQt;
using ui::qt::QtApplication;
using ui::qt::QtForm;

ui::FormDescription KeyForm() {
  ui::FormDescription form;
  form.name = "fKeys";
  form.caption = "fKeys";
  form.bounds = {50, 60, 320, 100};
  form.onKeyDown = "FormKeyDown";
  const char* names[] = {"btnA", "btnB", "btnC"};
  for (int i = 0; i < 3; ++i) {
    form.controls.push_back({.name = names[i],
                             .kind = ui::ControlKind::Button,
                             .bounds = {8 + 90 * i, 8, 80, 25},
                             .text = names[i],
                             .tabOrder = 2 - i,
                             .onClick = "Click"});
  }
  form.controls.push_back({.name = "bar",
                           .kind = ui::ControlKind::ProgressBar,
                           .bounds = {8, 40, 200, 16},
                           .minimum = 10,
                           .maximum = 50,
                           .position = 20});
  return form;
}

struct KeySeen {
  std::string sender;
  std::uint16_t key;
  ui::ShiftState shift;
  bool operator==(const KeySeen&) const = default;
  friend void PrintTo(const KeySeen& seen, std::ostream* out) {
    *out << seen.sender << ": key " << seen.key << ", shift " << seen.shift;
  }
};

class QtKeys : public ::testing::Test {
 protected:
  void SetUp() override {
    form = app.CreateForm(KeyForm(), RecordingHandlers());
    window = AsQt(*form).Window();
    AsQt(*form).Show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
  }

  // Keys and clicks are recorded; the key in `swallow` is set to 0.
  ui::Handlers RecordingHandlers() {
    ui::Handlers handlers;
    handlers.key["FormKeyDown"] = [this](ui::Sender sender, std::uint16_t& key,
                                         ui::ShiftState shift) {
      keys.push_back({std::string(sender), key, shift});
      if (key == swallow)
        key = 0;
    };
    handlers.notify["Click"] = [this](ui::Sender sender) { clicks.emplace_back(sender); };
    return handlers;
  }

  void Press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QTest::keyClick(window->windowHandle(), key, modifiers);
  }

  QtApplication app{qt_test::testArgc, qt_test::testArgv};
  std::unique_ptr<ui::Form> form;
  QMainWindow* window = nullptr;
  std::vector<KeySeen> keys;
  std::vector<std::string> clicks;
  std::uint16_t swallow = 0xffff;
};

TEST_F(QtKeys, EscapeReachesTheFormWhicheverButtonHasTheFocusAndWhateverTheModifiers) {
  const std::pair<Qt::KeyboardModifiers, ui::ShiftState> modifiers[] = {
      {Qt::NoModifier, ui::kShiftNone},
      {Qt::ShiftModifier, ui::kShift},
      {Qt::ControlModifier, ui::kCtrl},
      {Qt::AltModifier, ui::kAlt},
      {Qt::ShiftModifier | Qt::ControlModifier,
       static_cast<ui::ShiftState>(ui::kShift | ui::kCtrl)},
  };
  for (const char* name : {"btnA", "btnB", "btnC"}) {
    AsQt(*form).Find(name).SetFocus();
    ASSERT_TRUE(AsQt(*form).Find(name).Focused()) << name;
    for (const auto& [qtModifiers, shift] : modifiers) {
      keys.clear();
      Press(Qt::Key_Escape, qtModifiers);
      // The modifier keys themselves come first, as on a real keyboard.
      std::vector<KeySeen> escapes;
      for (const auto& seen : keys) {
        if (seen.key == ui::kKeyEscape)
          escapes.push_back(seen);
      }
      EXPECT_EQ(escapes, (std::vector<KeySeen>{{"fKeys", ui::kKeyEscape, shift}}))
          << name << " focused, modifiers " << qtModifiers.toInt();
    }
  }
  EXPECT_TRUE(clicks.empty());
}

TEST_F(QtKeys, TheFormSeesKeysWhenNoControlHasTheFocus) {
  form.reset();
  auto description = KeyForm();
  for (auto& control : description.controls)
    control.visible = false;
  auto empty = app.CreateForm(description, RecordingHandlers());
  AsQt(*empty).Show();
  ASSERT_TRUE(QTest::qWaitForWindowActive(AsQt(*empty).Window()));
  EXPECT_EQ(AsQt(*empty).Window()->focusWidget(), nullptr);
  QTest::keyClick(AsQt(*empty).Window()->windowHandle(), Qt::Key_Escape);
  EXPECT_EQ(keys, (std::vector<KeySeen>{{"fKeys", ui::kKeyEscape, ui::kShiftNone}}));
}

TEST_F(QtKeys, AKeyTheHandlerClearsNeverReachesTheFocusedControl) {
  AsQt(*form).Find("btnB").SetFocus();
  Press(Qt::Key_Space);
  EXPECT_EQ(clicks, std::vector<std::string>{"btnB"}) << "Space clicks the focused button";
  swallow = 32;
  Press(Qt::Key_Space);
  EXPECT_EQ(clicks, std::vector<std::string>{"btnB"}) << "a cleared Space clicks nothing";
  EXPECT_EQ(keys.size(), 2u);
}

TEST_F(QtKeys, EnterClicksNoButton) {
  AsQt(*form).Find("btnA").SetFocus();
  Press(Qt::Key_Return);
  Press(Qt::Key_Enter, Qt::KeypadModifier);
  EXPECT_TRUE(clicks.empty());
  ASSERT_EQ(keys.size(), 2u);
  EXPECT_EQ(keys[0].key, 13);
  for (const char* name : {"btnA", "btnB", "btnC"}) {
    auto* button = static_cast<QPushButton*>(AsQt(*form).Find(name).Widget());
    EXPECT_FALSE(button->isDefault());
    EXPECT_FALSE(button->autoDefault());
  }
}

TEST_F(QtKeys, EachKeyPressReachesTheFormOnce) {
  AsQt(*form).Find("btnC").SetFocus();
  Press(Qt::Key_F5);
  Press(Qt::Key_X, Qt::ShiftModifier);
  Press(Qt::Key_7);
  const std::vector<KeySeen> expected = {{"fKeys", 116, ui::kShiftNone},
                                         {"fKeys", 16, ui::kShift},  // the Shift key itself
                                         {"fKeys", 'X', ui::kShift},
                                         {"fKeys", '7', ui::kShiftNone}};
  EXPECT_EQ(keys, expected);
}

TEST_F(QtKeys, TabFollowsTheDesignedTabOrder) {
  AsQt(*form).Find("btnC").SetFocus();  // tab order 0
  Press(Qt::Key_Tab);
  EXPECT_TRUE(AsQt(*form).Find("btnB").Focused());
  Press(Qt::Key_Tab);
  EXPECT_TRUE(AsQt(*form).Find("btnA").Focused());
}

TEST_F(QtKeys, AFormWithoutKeyPreviewSeesNoKeys) {
  auto description = KeyForm();
  description.name = "fNoPreview";
  description.keyPreview = false;
  auto other = app.CreateForm(description, RecordingHandlers());
  AsQt(*other).Show();
  ASSERT_TRUE(QTest::qWaitForWindowActive(AsQt(*other).Window()));
  QTest::keyClick(AsQt(*other).Window()->windowHandle(), Qt::Key_Escape);
  EXPECT_TRUE(keys.empty());
}

// The same form serves the controls' own behaviour.
using QtControls = QtKeys;

TEST_F(QtControls, ProgressBarsKeepTheirRangeAndClampPositions) {
  auto& bar = AsQt(*form).Find("bar");
  auto* native = static_cast<QProgressBar*>(bar.Widget());
  EXPECT_EQ(native->minimum(), 10);
  EXPECT_EQ(native->maximum(), 50);
  EXPECT_EQ(bar.Position(), 20);
  EXPECT_FALSE(native->isTextVisible());
  bar.SetPosition(45);
  EXPECT_EQ(native->value(), 45);
  bar.SetPosition(80);
  EXPECT_EQ(bar.Position(), 50);
  bar.SetPosition(-3);
  EXPECT_EQ(bar.Position(), 10);
}

TEST(QtKeyCodes, AreWindowsVirtualKeys) {
  using ui::qt::VirtualKeyFromQt;
  EXPECT_EQ(VirtualKeyFromQt(Qt::Key_Escape, Qt::NoModifier), 27);
  EXPECT_EQ(VirtualKeyFromQt(Qt::Key_Return, Qt::NoModifier), 13);
  EXPECT_EQ(VirtualKeyFromQt(Qt::Key_Enter, Qt::KeypadModifier), 13);
  EXPECT_EQ(VirtualKeyFromQt(Qt::Key_Space, Qt::NoModifier), 32);
  EXPECT_EQ(VirtualKeyFromQt(Qt::Key_Tab, Qt::NoModifier), 9);
  EXPECT_EQ(VirtualKeyFromQt(Qt::Key_Backtab, Qt::ShiftModifier), 9);
  EXPECT_EQ(VirtualKeyFromQt(Qt::Key_A, Qt::NoModifier), 'A');
  EXPECT_EQ(VirtualKeyFromQt(Qt::Key_Z, Qt::ShiftModifier), 'Z');
  EXPECT_EQ(VirtualKeyFromQt(Qt::Key_0, Qt::NoModifier), '0');
  EXPECT_EQ(VirtualKeyFromQt(Qt::Key_9, Qt::KeypadModifier), 105);
  EXPECT_EQ(VirtualKeyFromQt(Qt::Key_F1, Qt::NoModifier), 112);
  EXPECT_EQ(VirtualKeyFromQt(Qt::Key_F12, Qt::NoModifier), 123);
  EXPECT_EQ(VirtualKeyFromQt(Qt::Key_Left, Qt::NoModifier), 37);
  EXPECT_EQ(VirtualKeyFromQt(Qt::Key_Delete, Qt::NoModifier), 46);
  EXPECT_EQ(VirtualKeyFromQt(Qt::Key_Eacute, Qt::NoModifier), 0);
  EXPECT_EQ(ui::qt::ShiftStateFromQt(Qt::ShiftModifier | Qt::AltModifier | Qt::ControlModifier),
            ui::kShift | ui::kAlt | ui::kCtrl);
  EXPECT_EQ(ui::qt::ShiftStateFromQt(Qt::MetaModifier | Qt::KeypadModifier), ui::kShiftNone);
}

// Anchors and auto-sized labels.
ui::FormDescription AnchorForm() {
  ui::FormDescription form;
  form.name = "fAnchors";
  form.caption = "fAnchors";
  form.bounds = {10, 10, 200, 100};
  form.controls.push_back(
      {.name = "topLeft", .kind = ui::ControlKind::ProgressBar, .bounds = {10, 10, 50, 10}});
  form.controls.push_back({.name = "bottomLeft",
                           .kind = ui::ControlKind::ProgressBar,
                           .bounds = {10, 70, 50, 10},
                           .anchors = ui::kAnchorLeft | ui::kAnchorBottom});
  form.controls.push_back({.name = "right",
                           .kind = ui::ControlKind::ProgressBar,
                           .bounds = {140, 10, 50, 10},
                           .anchors = ui::kAnchorRight | ui::kAnchorTop});
  form.controls.push_back({.name = "stretched",
                           .kind = ui::ControlKind::ProgressBar,
                           .bounds = {10, 40, 180, 10},
                           .anchors = ui::kAnchorLeft | ui::kAnchorRight | ui::kAnchorTop});
  return form;
}

TEST(QtAnchors, ControlsFollowTheEdgesTheyAreAnchoredTo) {
  QtApplication app(qt_test::testArgc, qt_test::testArgv);
  auto form = app.CreateForm(AnchorForm(), {});
  auto& qt = AsQt(*form);
  qt.Show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(qt.Window()));
  const QSize client = qt.ClientArea()->size();
  ASSERT_EQ(client, QSize(200, 100));
  qt.Window()->resize(qt.Window()->width() + 30, qt.Window()->height() + 40);
  QTest::qWait(20);
  ASSERT_EQ(qt.ClientArea()->size(), QSize(230, 140));
  EXPECT_EQ(AsQt(*form).Find("topLeft").CurrentBounds(), (ui::Bounds{10, 10, 50, 10}));
  EXPECT_EQ(AsQt(*form).Find("bottomLeft").CurrentBounds(), (ui::Bounds{10, 110, 50, 10}));
  EXPECT_EQ(AsQt(*form).Find("right").CurrentBounds(), (ui::Bounds{170, 10, 50, 10}));
  EXPECT_EQ(AsQt(*form).Find("stretched").CurrentBounds(), (ui::Bounds{10, 40, 210, 10}));
}

TEST(QtWindow, HasAResizableFrameWithOnlyTheSystemMenuAndTheCloseBox) {
  QtApplication app(qt_test::testArgc, qt_test::testArgv);
  auto form = app.CreateForm(AnchorForm(), {});
  const Qt::WindowFlags flags = AsQt(*form).Window()->windowFlags();
  EXPECT_TRUE(flags & Qt::WindowTitleHint);
  EXPECT_TRUE(flags & Qt::WindowSystemMenuHint);
  EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);
  EXPECT_FALSE(flags & Qt::WindowMinimizeButtonHint);
  EXPECT_FALSE(flags & Qt::WindowMaximizeButtonHint);
  EXPECT_NE(AsQt(*form).Window()->minimumSize(), AsQt(*form).Window()->maximumSize());
  auto fixed = AnchorForm();
  fixed.sizeable = false;
  fixed.minimizeBox = true;
  auto other = app.CreateForm(fixed, {});
  EXPECT_EQ(AsQt(*other).Window()->minimumSize(), AsQt(*other).Window()->maximumSize());
  EXPECT_TRUE(AsQt(*other).Window()->windowFlags() & Qt::WindowMinimizeButtonHint);
}

TEST(QtWindow, IsPlacedByItsOuterTopLeftCorner) {
  QtApplication app(qt_test::testArgc, qt_test::testArgv);
  auto form = app.CreateForm(AnchorForm(), {});
  EXPECT_EQ(form->Left(), 10);
  EXPECT_EQ(form->Top(), 10);
  form->SetPosition(200, 150);
  AsQt(*form).Show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(AsQt(*form).Window()));
  EXPECT_EQ(AsQt(*form).Window()->frameGeometry().topLeft(), QPoint(200, 150));
  EXPECT_EQ(form->Left(), 200);
  EXPECT_EQ(form->Top(), 150);
}

TEST(QtWindow, CaptionsAreUtf8) {
  QtApplication app(qt_test::testArgc, qt_test::testArgv);
  auto form = app.CreateForm(AnchorForm(), {});
  form->SetCaption("Atualização de Versão");
  EXPECT_EQ(AsQt(*form).Window()->windowTitle(), QString::fromUtf8("Atualização de Versão"));
  EXPECT_EQ(form->Caption(), "Atualização de Versão");
}

ui::FormDescription LabelForm() {
  ui::FormDescription form;
  form.name = "fLabels";
  form.caption = "fLabels";
  form.bounds = {10, 10, 400, 200};
  form.controls.push_back({.name = "wrapped",
                           .kind = ui::ControlKind::Label,
                           .bounds = {24, 48, 34, 15},
                           .text = "Label1",
                           .autoSize = true,
                           .wordWrap = true,
                           .wrapWidth = 320});
  form.controls.push_back({.name = "single",
                           .kind = ui::ControlKind::Label,
                           .bounds = {24, 106, 230, 15},
                           .text = "uma linha só",
                           .autoSize = true});
  form.controls.push_back({.name = "bold",
                           .kind = ui::ControlKind::Label,
                           .bounds = {64, 33, 38, 15},
                           .text = "ERRO !",
                           .bold = true,
                           .autoSize = true,
                           .wordWrap = true});
  form.controls.push_back({.name = "fixed",
                           .kind = ui::ControlKind::Label,
                           .bounds = {5, 150, 60, 15},
                           .text = "a fixed size label"});
  return form;
}

TEST(QtLabels, AutoSizedLabelsFitTheirText) {
  QtApplication app(qt_test::testArgc, qt_test::testArgv);
  auto form = app.CreateForm(LabelForm(), {});
  for (const char* name : {"wrapped", "single", "bold"}) {
    SCOPED_TRACE(name);
    auto* label = static_cast<QLabel*>(AsQt(*form).Find(name).Widget());
    EXPECT_EQ(label->size(), label->sizeHint());
    EXPECT_EQ(label->textFormat(), Qt::PlainText);
  }
  EXPECT_TRUE(AsQt(*form).Find("bold").Widget()->font().bold());
  EXPECT_FALSE(AsQt(*form).Find("single").Widget()->font().bold());
  EXPECT_EQ(AsQt(*form).Find("fixed").CurrentBounds(), (ui::Bounds{5, 150, 60, 15}));
  // An empty auto-sized label keeps the height of one line.
  auto& single = AsQt(*form).Find("single");
  const int lineHeight = single.CurrentBounds().height;
  single.SetText("");
  EXPECT_EQ(single.CurrentBounds().height, lineHeight);
  EXPECT_GT(single.CurrentBounds().width, 0);
  EXPECT_LT(single.CurrentBounds().width, 10);
}

TEST(QtLabels, AWrappedLabelBreaksAtItsWrapWidthAndGrowsDownward) {
  QtApplication app(qt_test::testArgc, qt_test::testArgv);
  auto form = app.CreateForm(LabelForm(), {});
  auto& wrapped = AsQt(*form).Find("wrapped");
  wrapped.SetText("curto");
  const ui::Bounds shortText = wrapped.CurrentBounds();
  EXPECT_EQ(shortText.left, 24);
  EXPECT_EQ(shortText.top, 48);
  EXPECT_LT(shortText.width, 100);

  wrapped.SetText(
      "O serviço de versões respondeu com uma mensagem de erro bem comprida, que não cabe "
      "numa linha só e por isso precisa ser quebrada em várias linhas dentro da janela.");
  const ui::Bounds longText = wrapped.CurrentBounds();
  EXPECT_EQ(longText.left, 24);
  EXPECT_EQ(longText.top, 48) << "grows downward";
  EXPECT_LE(longText.width, 320);
  EXPECT_GT(longText.width, 250);
  EXPECT_GE(longText.height, 3 * shortText.height);
  auto* label = static_cast<QLabel*>(wrapped.Widget());
  EXPECT_TRUE(label->wordWrap());
  EXPECT_LE(label->heightForWidth(longText.width), longText.height) << "the whole text shows";

  wrapped.SetText("linha um\r\nlinha dois");
  EXPECT_EQ(wrapped.CurrentBounds().height, 2 * shortText.height);
}

TEST(QtMenus, MenusAreBuiltFromTheirItems) {
  QtApplication app(qt_test::testArgc, qt_test::testArgv);
  ui::FormDescription description = AnchorForm();
  description.controls.push_back({.name = "Menu", .kind = ui::ControlKind::MainMenu});
  description.controls.push_back(
      {.name = "File", .kind = ui::ControlKind::MenuItem, .text = "&File", .parent = "Menu"});
  description.controls.push_back({.name = "Quit",
                                  .kind = ui::ControlKind::MenuItem,
                                  .text = "&Quit",
                                  .parent = "File",
                                  .onClick = "Quit"});
  description.controls.push_back({.name = "Help",
                                  .kind = ui::ControlKind::MenuItem,
                                  .text = "&Help",
                                  .enabled = false,
                                  .parent = "Menu",
                                  .onClick = "Quit"});
  int quits = 0;
  ui::Handlers handlers;
  handlers.notify["Quit"] = [&](ui::Sender sender) {
    EXPECT_EQ(sender, "Quit");
    ++quits;
  };
  auto form = app.CreateForm(description, handlers);
  QMenuBar* bar = AsQt(*form).MenuBar();
  ASSERT_NE(bar, nullptr);
  ASSERT_EQ(bar->actions().size(), 2);
  EXPECT_EQ(bar->actions()[0]->text(), "&File");
  EXPECT_EQ(bar->actions()[1]->text(), "&Help");
  EXPECT_FALSE(AsQt(*form).Find("Help").Enabled());
  QMenu* file = bar->actions()[0]->menu();
  ASSERT_NE(file, nullptr);
  ASSERT_EQ(file->actions().size(), 1);
  EXPECT_TRUE(file->actions()[0]->shortcut().isEmpty());
  file->actions()[0]->trigger();
  EXPECT_EQ(quits, 1);
  AsQt(*form).Find("Quit").SetText("Sai&r");
  EXPECT_EQ(file->actions()[0]->text(), "Sai&r");
}

}  // namespace
