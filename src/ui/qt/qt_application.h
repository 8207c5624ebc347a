#pragma once
// The application object on Qt 6 Widgets: the Linux program's toolkit.
#include <memory>
#include <string>
#include <string_view>

#include "ui/application.h"

class QApplication;
class QString;
class QWidget;

namespace ui::qt {

class QtForm;

class QtApplication : public Application {
 public:
  // Uses the process's QApplication when there is one (a test program makes one for
  // its whole run); otherwise makes one from the command line and owns it. argc must
  // outlive this object, as QApplication requires.
  QtApplication(int& argc, char** argv);
  ~QtApplication() override;

  std::unique_ptr<Form> CreateForm(const FormDescription& description,
                                   const Handlers& handlers) override;
  void Run() override;
  void ProcessMessages() override;
  void SetCursor(Cursor cursor) override;
  Cursor CurrentCursor() const override { return cursor_; }
  void ShowMessage(std::string_view text) override;
  void ShowException(std::string_view message) override;
  void Wait(int milliseconds) override;
  std::string Title() const override { return title_; }

  QtForm* MainForm() const { return mainForm_; }
  void FormDestroyed(QtForm* form);

 private:
  // The owner of a modal box: the active window, when there is one.
  static QWidget* BoxOwner();

  std::unique_ptr<QApplication> ownedApplication_;
  std::string title_;
  Cursor cursor_ = Cursor::Default;
  QtForm* mainForm_ = nullptr;
};

// Text for Qt, which takes UTF-8 only when told so.
QString FromUtf8(std::string_view text);

}  // namespace ui::qt
