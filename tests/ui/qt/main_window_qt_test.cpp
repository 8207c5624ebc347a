// The updater's main window on Qt, read back from the live widgets: its phase before
// the first activation, its layout, and the ways the program ends.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "app/DOSTRA_UPDATE.h"
#include "app/u_dm.h"
#include "app/u_fmain.h"
#include "qt_test_support.h"
#include "ui/qt/qt_application.h"
#include "ui/qt/qt_form.h"
#include "ui/run_ends_process.h"

namespace {

using qt_test::AsQt;
using qt_test::Steps;
using ui::qt::QtApplication;
using ui::qt::QtForm;
using ui_test::ExpectRunEndsTheProcess;

constexpr char kActiveCaption[] = "Dostra - Atualização de Versão";

class QtMainWindow : public ::testing::Test {
 protected:
  void SetUp() override { ui::CreateComponent(app, app::fMain); }
  QtForm& form() { return AsQt(app::fMain->Form()); }
  QMainWindow* window() { return form().Window(); }
  template <class T>
  T* widget(const char* name) {
    return static_cast<T*>(form().Find(name).Widget());
  }
  // Shows the window as Run does and waits for its first activation to have run.
  void ShowAndActivate() {
    form().Show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window()));
    ASSERT_TRUE(QTest::qWaitFor([&] { return form().Caption() == kActiveCaption; }));
  }

  QtApplication app{qt_test::testArgc, qt_test::testArgv};
  Steps steps;
};

TEST_F(QtMainWindow, IsCreatedInPhaseA) {
  EXPECT_EQ(window()->windowTitle().toStdString(), "fMain");
  EXPECT_EQ(form().Caption(), "fMain");
  EXPECT_EQ(window()->pos(), QPoint(200, 200));
  EXPECT_FALSE(window()->isVisible()) << "shown only when the loop starts";
  EXPECT_EQ(app.MainForm(), &form());

  std::vector<std::string> visible;
  for (const auto& control : form().Description().controls) {
    if (form().Find(control.name).Visible())
      visible.push_back(control.name);
  }
  EXPECT_THAT(visible, ::testing::ElementsAre("Image1", "MainMenu1", "MenuItem1", "MenuItem2"));
  // The same, straight from the widgets.
  std::vector<std::string> visibleWidgets;
  for (QWidget* child : form().ClientArea()->findChildren<QWidget*>()) {
    if (child->isVisibleTo(window()))
      visibleWidgets.push_back(child->objectName().toStdString());
  }
  EXPECT_THAT(visibleWidgets, ::testing::ElementsAre("Image1"));
  EXPECT_EQ(widget<QLabel>("Label1")->text(), "");
  EXPECT_FALSE(widget<QPushButton>("btn_Close")->isEnabled());
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(QtMainWindow, ItsControlsCarryTheirDesignValues) {
  struct Expected {
    const char* name;
    const char* type;
    ui::Bounds bounds;  // auto-sized labels: only the position is fixed
    const char* text;
    bool enabled;
    bool bold;
  };
  const Expected table[] = {
      {"Image1", "QLabel", {168, 8, 34, 34}, "", true, false},
      {"img_alert", "QLabel", {24, 16, 32, 32}, "", true, false},
      {"lbl_alert", "QLabel", {64, 33, 0, 0}, "ERRO !", true, true},
      {"Label1", "QLabel", {24, 48, 0, 0}, "", true, false},
      {"ProgressBar1", "QProgressBar", {24, 64, 328, 16}, "", true, false},
      {"lbl_aviso",
       "QLabel",
       {24, 106, 0, 0},
       "A nova versão está pronta para ser instalada",
       true,
       false},
      {"btn_Instalar", "QPushButton", {24, 128, 72, 25}, "Instalar", true, false},
      {"ProgressBar4", "QProgressBar", {99, 129, 102, 23}, "", true, false},
      {"btn_Abrir", "QPushButton", {203, 128, 72, 25}, "Acessar", true, false},
      {"btn_Close", "QPushButton", {277, 128, 75, 25}, "Fecha&r", false, false},
  };
  ASSERT_EQ(form().ClientArea()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly).size(),
            static_cast<qsizetype>(std::size(table)));
  for (const auto& want : table) {
    SCOPED_TRACE(want.name);
    QWidget* native = form().Find(want.name).Widget();
    ASSERT_NE(native, nullptr);
    EXPECT_STREQ(native->metaObject()->className(), want.type);
    EXPECT_EQ(native->parentWidget(), form().ClientArea());
    const QRect geometry = native->geometry();
    EXPECT_EQ(geometry.topLeft(), QPoint(want.bounds.left, want.bounds.top));
    if (want.bounds.width != 0) {
      EXPECT_EQ(geometry.size(), QSize(want.bounds.width, want.bounds.height));
    }
    EXPECT_EQ(native->isEnabled(), want.enabled);
    EXPECT_EQ(native->font().bold(), want.bold);
    if (auto* label = qobject_cast<QLabel*>(native); label && label->pixmap().isNull()) {
      EXPECT_EQ(label->text().toStdString(), want.text);
      if (!label->text().isEmpty())
        EXPECT_EQ(label->size(), label->sizeHint()) << "auto-sized to its text";
      else
        EXPECT_EQ(label->height(), label->fontMetrics().height()) << "one empty line";
    }
    if (auto* button = qobject_cast<QPushButton*>(native)) {
      EXPECT_EQ(button->text().toStdString(), want.text);
      EXPECT_FALSE(button->isDefault());
      EXPECT_FALSE(button->autoDefault());
    }
    if (auto* bar = qobject_cast<QProgressBar*>(native)) {
      EXPECT_EQ(bar->minimum(), 0);
      EXPECT_EQ(bar->maximum(), 100);
      EXPECT_EQ(bar->value(), 0);
    }
  }
  for (const char* picture : {"Image1", "img_alert"}) {
    auto* label = widget<QLabel>(picture);
    EXPECT_EQ(label->pixmap().size(), QSize(32, 32)) << picture << ": drawn unscaled";
    EXPECT_FALSE(label->hasScaledContents());
    EXPECT_EQ(label->alignment(), Qt::AlignLeft | Qt::AlignTop);
  }
  EXPECT_FALSE(widget<QLabel>("Label1")->font().bold());
  EXPECT_EQ(widget<QLabel>("lbl_aviso")->height(), widget<QLabel>("lbl_alert")->height());
}

TEST_F(QtMainWindow, TheTabOrderIsCloseThenAcessarThenInstalar) {
  std::vector<std::string> order;
  QWidget* start = widget<QWidget>("btn_Close");
  QWidget* next = start;
  do {
    if (qobject_cast<QPushButton*>(next))
      order.push_back(next->objectName().toStdString());
    next = next->nextInFocusChain();
  } while (next != start);
  EXPECT_THAT(order, ::testing::ElementsAre("btn_Close", "btn_Abrir", "btn_Instalar"));
  for (const char* name : {"Image1", "Label1", "ProgressBar1", "ProgressBar4"})
    EXPECT_EQ(widget<QWidget>(name)->focusPolicy(), Qt::NoFocus) << name;
}

TEST_F(QtMainWindow, ItsMenuIsArquivoWithSair) {
  QMenuBar* bar = form().MenuBar();
  ASSERT_NE(bar, nullptr);
  EXPECT_EQ(window()->menuBar(), bar);
  ASSERT_EQ(bar->actions().size(), 1);
  QAction* arquivo = bar->actions()[0];
  EXPECT_EQ(arquivo->text().toStdString(), "&Arquivo");
  ASSERT_NE(arquivo->menu(), nullptr);
  ASSERT_EQ(arquivo->menu()->actions().size(), 1);
  QAction* sair = arquivo->menu()->actions()[0];
  EXPECT_EQ(sair->text().toStdString(), "Sai&r");
  EXPECT_TRUE(sair->shortcut().isEmpty()) << "no shortcut keys";
  EXPECT_TRUE(sair->isEnabled());
  EXPECT_TRUE(sair->isVisible());
}

TEST_F(QtMainWindow, WhenShownItsClientAreaIs373By182BelowTheMenuBarAt200200) {
  ShowAndActivate();
  EXPECT_EQ(window()->frameGeometry().topLeft(), QPoint(200, 200));
  EXPECT_EQ(form().Left(), 200);
  EXPECT_EQ(form().Top(), 200);
  const QRect bar = form().MenuBar()->geometry();
  EXPECT_EQ(bar.topLeft(), QPoint(0, 0));
  EXPECT_EQ(bar.width(), 373);
  EXPECT_EQ(form().ClientArea()->geometry(), QRect(0, bar.height(), 373, 182));
  EXPECT_EQ(window()->size(), QSize(373, bar.height() + 182));
  // After the first activation.
  EXPECT_EQ(form().Caption(), kActiveCaption);
  EXPECT_TRUE(widget<QWidget>("btn_Close")->isVisible());
  EXPECT_TRUE(widget<QWidget>("btn_Close")->isEnabled());
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
  EXPECT_FALSE(window()->windowIcon().isNull());
  EXPECT_FALSE(QApplication::windowIcon().isNull());
  EXPECT_THAT(QApplication::windowIcon().availableSizes(), ::testing::Contains(QSize(256, 256)));
}

TEST_F(QtMainWindow, Label1WrapsAt320PixelsAndGrowsDownward) {
  auto& label1 = form().Find("Label1");
  label1.Show();
  label1.SetText("Erro ao acessar web. Tente novamente mais tarde");
  const ui::Bounds oneLine = label1.CurrentBounds();
  label1.SetText(
      "O serviço informou um erro: a versão solicitada não está disponível para este "
      "cliente no momento, entre em contato com o suporte técnico da Dostra para mais "
      "informações sobre a atualização.");
  const ui::Bounds wrapped = label1.CurrentBounds();
  EXPECT_EQ(wrapped.left, 24);
  EXPECT_EQ(wrapped.top, 48);
  EXPECT_LE(wrapped.width, 320);
  EXPECT_GE(wrapped.height, 3 * oneLine.height);
  EXPECT_LE(widget<QLabel>("Label1")->heightForWidth(wrapped.width), wrapped.height);
}

TEST_F(QtMainWindow, MakingTheWindowTallerMovesOnlyTheBottomRowDown) {
  ShowAndActivate();
  std::map<std::string, QRect> before;
  for (const auto& control : form().Description().controls) {
    if (QWidget* native = form().Find(control.name).Widget(); native && control.bounds.width)
      before[control.name] = native->geometry();
  }
  window()->resize(window()->width() + 40, window()->height() + 50);
  ASSERT_TRUE(QTest::qWaitFor([&] { return form().ClientArea()->height() == 232; }));
  for (const auto& [name, old] : before) {
    SCOPED_TRACE(name);
    const bool bottomRow = name == "btn_Instalar" || name == "ProgressBar4" ||
                           name == "btn_Abrir" || name == "btn_Close";
    EXPECT_EQ(form().Find(name).Widget()->geometry(), old.translated(0, bottomRow ? 50 : 0));
  }
}

TEST(QtShell, RunsTheUpdaterAndTheCloseBoxEndsItWithExitCodeZero) {
  QtApplication app(qt_test::testArgc, qt_test::testArgv);
  Steps steps;
  steps.Watchdog(app);
  bool checked = false;
  steps.When([&] { return app::fMain && app::fMain->Form().Caption() == kActiveCaption; },
             [&] {
               ASSERT_NE(app::dm, nullptr);
               auto& form = AsQt(app::fMain->Form());
               EXPECT_TRUE(form.Visible());
               EXPECT_EQ(form.Caption(), kActiveCaption);
               EXPECT_EQ(form.Window()->frameGeometry().topLeft(), QPoint(200, 200));
               checked = true;
               form.Window()->close();  // the close box
             });
  EXPECT_EQ(app::RunUpdater(app), 0);
  EXPECT_TRUE(checked);
  EXPECT_TRUE(app.Terminated());
  EXPECT_EQ(app::fMain, nullptr) << "destroyed at shutdown";
  EXPECT_EQ(app::dm, nullptr);
}

// The immediate exit, from inside Qt's handling of a key, a menu or a click.
using QtMainWindowDeathTest = QtMainWindow;

TEST_F(QtMainWindowDeathTest, EscapeEndsTheUpdaterWhateverTheModifiers) {
  const Qt::KeyboardModifiers modifiers[] = {
      Qt::NoModifier, Qt::ShiftModifier, Qt::ControlModifier,
      Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier};
  for (const auto modifier : modifiers) {
    for (const bool closeFocused : {false, true}) {
      SCOPED_TRACE(testing::Message() << "modifiers " << modifier.toInt() << ", btn_Close "
                                      << (closeFocused ? "focused" : "not focused"));
      ExpectRunEndsTheProcess(app, [&] {
        steps.Watchdog(app, 5000);
        steps.When([&] { return form().Caption() == kActiveCaption; },
                   [&] {
                     if (closeFocused)
                       form().Find("btn_Close").SetFocus();
                     QTest::keyClick(window()->windowHandle(), Qt::Key_Escape, modifier);
                   });
      });
    }
  }
}

TEST_F(QtMainWindowDeathTest, SairEndsTheUpdater) {
  ExpectRunEndsTheProcess(app, [&] {
    steps.Watchdog(app, 5000);
    steps.When([&] { return form().Caption() == kActiveCaption; },
               [&] { QTest::keyClick(window()->windowHandle(), Qt::Key_A, Qt::AltModifier); });
    steps.When([] { return QApplication::activePopupWidget() != nullptr; },
               [] { QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_R); });
  });
}

TEST_F(QtMainWindowDeathTest, FecharEndsTheUpdater) {
  ExpectRunEndsTheProcess(app, [&] {
    steps.Watchdog(app, 5000);
    steps.When([&] { return widget<QWidget>("btn_Close")->isEnabled(); },
               [&] { QTest::mouseClick(widget<QWidget>("btn_Close"), Qt::LeftButton); });
  });
}

}  // namespace
