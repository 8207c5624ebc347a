#pragma once
// Helpers of the Qt tests: timed steps inside a running loop, modal boxes answered as
// a person would, and the native objects behind a form.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QCursor>
#include <QMessageBox>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <string>
#include <vector>

#include "ui/qt/qt_application.h"
#include "ui/qt/qt_form.h"

namespace qt_test {

// What a modal message box showed.
struct SeenBox {
  std::string title;
  std::string text;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  std::vector<std::string> buttons;
  bool hourglass = false;  // the application's cursor was the hourglass meanwhile
};

// Presses OK on every modal message box shortly after it opens, recording it first.
class BoxCloser {
 public:
  BoxCloser() {
    timer_.setInterval(10);
    QObject::connect(&timer_, &QTimer::timeout, [this] { Poll(); });
    timer_.start();
  }
  const std::vector<SeenBox>& Boxes() const { return boxes_; }

 private:
  void Poll() {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (box == nullptr || !box->isVisible())
      return;
    SeenBox seen;
    seen.title = box->windowTitle().toStdString();
    seen.text = box->text().toStdString();
    seen.icon = box->icon();
    for (QAbstractButton* button : box->buttons())
      seen.buttons.push_back(button->text().toStdString());
    const QCursor* cursor = QApplication::overrideCursor();
    seen.hourglass = cursor != nullptr && cursor->shape() == Qt::WaitCursor;
    boxes_.push_back(seen);
    if (QAbstractButton* ok = box->button(QMessageBox::Ok))
      ok->click();
    else
      box->reject();
  }

  QTimer timer_;
  std::vector<SeenBox> boxes_;
};

// Runs a step inside the event loop after the given time; steps still pending when
// the Steps object goes away never run.
class Steps {
 public:
  void After(int milliseconds, std::function<void()> step) {
    QTimer::singleShot(milliseconds, &context_, std::move(step));
  }
  // Runs a step as soon as the condition holds, looking every 10 ms (machines under
  // load or sanitizers take their time to show and activate a window).
  void When(std::function<bool()> condition, std::function<void()> step) {
    After(10, [this, condition = std::move(condition), step = std::move(step)]() mutable {
      if (condition())
        step();
      else
        When(std::move(condition), std::move(step));
    });
  }
  // Ends a loop that a test forgot to end, so that no test hangs.
  void Watchdog(ui::Application& app, int milliseconds = 15000) {
    After(milliseconds, [&app] {
      ADD_FAILURE() << "the watchdog ended the loop";
      app.Terminate();
    });
  }

 private:
  QObject context_;
};

inline ui::qt::QtForm& AsQt(ui::Form& form) {
  return static_cast<ui::qt::QtForm&>(form);
}

// The QtApplication of a test: the test program's QApplication already exists.
inline int testArgc = 1;
inline char testArgv0[] = "ui_qt_tests";
inline char* testArgv[] = {testArgv0, nullptr};

}  // namespace qt_test
