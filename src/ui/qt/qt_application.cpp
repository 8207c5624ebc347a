#include "ui/qt/qt_application.h"

#include <QApplication>
#include <QEventLoop>
#include <QIcon>
#include <QMessageBox>

#include <exception>

#include "platform/executable_path.h"
#include "platform/waits.h"
#include "ui/application_title.h"
#include "ui/line_breaks.h"
#include "ui/qt/qt_form.h"

// Resources compiled into a static library are registered by name, from outside any
// namespace.
static void RegisterQtResources() {
  Q_INIT_RESOURCE(qt_resources);
}

namespace ui::qt {

namespace {

std::string ExecutableTitle() {
  try {
    return ApplicationTitle(platform::ExecutablePath());
  } catch (const std::exception&) {
    return QCoreApplication::applicationName().toStdString();
  }
}

void ShowBox(QMessageBox::Icon icon, const std::string& title, std::string_view text,
             QWidget* owner) {
  QMessageBox box(icon, FromUtf8(title), FromUtf8(text), QMessageBox::Ok, owner);
  box.setTextFormat(Qt::PlainText);
  box.exec();
}

}  // namespace

QString FromUtf8(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QtApplication::QtApplication(int& argc, char** argv) {
  RegisterQtResources();
  if (QApplication::instance() == nullptr)
    ownedApplication_ = std::make_unique<QApplication>(argc, argv);
  title_ = ExecutableTitle();
  if (ownedApplication_)
    QCoreApplication::setApplicationName(FromUtf8(title_));
  // Closing windows never ends anything by itself: the main form's close box is a
  // termination request, honoured by Run.
  QApplication::setQuitOnLastWindowClosed(false);
  QIcon icon;
  icon.addFile(QStringLiteral(":/icons/app_icon.ico"));
  icon.addFile(QStringLiteral(":/icons/app_icon_256.png"));
  QApplication::setWindowIcon(icon);
}

// The forms are Qt widgets: destroy them while the QApplication is still there.
QtApplication::~QtApplication() {
  DestroyComponents();
  SetCursor(Cursor::Default);
}

std::unique_ptr<Form> QtApplication::CreateForm(const FormDescription& description,
                                                const Handlers& handlers) {
  auto form = std::make_unique<QtForm>(*this, description, handlers);
  if (mainForm_ == nullptr)
    mainForm_ = form.get();
  return form;
}

void QtApplication::FormDestroyed(QtForm* form) {
  if (mainForm_ == form)
    mainForm_ = nullptr;
}

// Qt's own loop (exec) cannot end on a flag looked at between passes, so the loop is
// ours: each pass handles every event pending at that moment, waiting for one first
// when none is; the loop ends after the first pass that finds termination requested.
void QtApplication::Run() {
  if (mainForm_ == nullptr)
    return;
  mainForm_->Show();
  while (mainForm_ != nullptr) {
    QEventLoop::ProcessEventsFlags flags = QEventLoop::AllEvents;
    if (!Terminated())
      flags |= QEventLoop::WaitForMoreEvents;
    QCoreApplication::processEvents(flags);
    // Objects Qt deletes later are deleted here, outside every handler.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    if (Terminated())
      break;
  }
}

void QtApplication::ProcessMessages() {
  QCoreApplication::processEvents(QEventLoop::AllEvents);
}

// One override cursor at most: setting the hourglass twice needs one restore.
void QtApplication::SetCursor(Cursor cursor) {
  if (cursor == cursor_)
    return;
  if (cursor == Cursor::Hourglass)
    QApplication::setOverrideCursor(Qt::WaitCursor);
  else
    QApplication::restoreOverrideCursor();
  cursor_ = cursor;
}

QWidget* QtApplication::BoxOwner() {
  QWidget* active = QApplication::activeWindow();
  return active != nullptr && active->isVisible() ? active : nullptr;
}

void QtApplication::ShowMessage(std::string_view text) {
  ShowBox(QMessageBox::Information, title_, WithLineBreaks(text, "\n"), BoxOwner());
}

void QtApplication::ShowException(std::string_view message) {
  ShowBox(QMessageBox::Critical, title_, message, BoxOwner());
}

// The window does not respond during a fixed wait, on purpose.
void QtApplication::Wait(int milliseconds) {
  platform::SleepMilliseconds(milliseconds);
}

}  // namespace ui::qt

namespace ui {

std::unique_ptr<Application> MakeNativeApplication(int& argc, char** argv) {
  return std::make_unique<qt::QtApplication>(argc, argv);
}

}  // namespace ui
