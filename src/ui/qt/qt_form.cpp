#include "ui/qt/qt_form.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPixmap>
#include <QProgressBar>
#include <QPushButton>
#include <QResizeEvent>

#include <algorithm>
#include <stdexcept>

#include "ui/line_breaks.h"
#include "ui/qt/qt_application.h"
#include "ui/qt/qt_keys.h"

namespace ui::qt {

namespace {

std::string ToUtf8(const QString& text) {
  return text.toUtf8().toStdString();
}

// Labels break lines at CR, LF and CR LF alike, as Windows labels do; their Text() is
// the text as it was set.
QString LabelText(std::string_view text) {
  return FromUtf8(WithLineBreaks(text, "\n"));
}

bool IsMenu(ControlKind kind) {
  return kind == ControlKind::MainMenu || kind == ControlKind::MenuItem;
}

}  // namespace

// The top-level window. Its form pointer is cleared before the form deletes it, so
// nothing reaches a form that is going away.
class FormWindow : public QMainWindow {
 public:
  explicit FormWindow(QtForm& form) : form_(&form) {
    // Key preview: the window sees every key press before the focused control does.
    qApp->installEventFilter(this);
  }
  ~FormWindow() override {
    if (QCoreApplication::instance() != nullptr)
      QCoreApplication::instance()->removeEventFilter(this);
  }

  void Detach() { form_ = nullptr; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (form_ != nullptr && event->type() == QEvent::KeyPress && watched->isWidgetType()) {
      auto* widget = static_cast<QWidget*>(watched);
      // A key press reaches the focused control first and then, when ignored, each of
      // its parents: only that first delivery is the key press the form previews. Open
      // menus and message boxes are windows of their own and keep their keys.
      QWidget* first = focusWidget() != nullptr ? focusWidget() : this;
      if (widget->window() == this && widget == first)
        return form_->PreviewKey(*static_cast<QKeyEvent*>(event));
    }
    return QMainWindow::eventFilter(watched, event);
  }

  void changeEvent(QEvent* event) override {
    QMainWindow::changeEvent(event);
    if (form_ != nullptr && event->type() == QEvent::ActivationChange && isActiveWindow())
      form_->Activated();
  }

  void closeEvent(QCloseEvent* event) override {
    if (form_ != nullptr)
      form_->CloseRequested(*event);
    else
      event->accept();
  }

 private:
  QtForm* form_;
};

// The client area below the menu bar: controls sit at their client positions and
// follow their anchors when it is resized.
class ClientWidget : public QWidget {
 public:
  ClientWidget(QtForm& form, QWidget* parent) : QWidget(parent), form_(&form) {}
  void Detach() { form_ = nullptr; }

 protected:
  void resizeEvent(QResizeEvent* event) override {
    QWidget::resizeEvent(event);
    if (form_ != nullptr)
      form_->LayoutControls(event->size());
  }

 private:
  QtForm* form_;
};

// ---------------------------------------------------------------------------------
// QtControl

QtControl::QtControl(QtForm& form, const ControlDescription& description, QWidget* widget,
                     QAction* action)
    : form_(form),
      description_(description),
      widget_(widget),
      action_(action),
      base_(description.bounds),
      text_(description.text),
      position_(description.ClampedPosition(description.position)) {}

bool QtControl::Visible() const {
  if (action_ != nullptr)
    return action_->isVisible();
  // The control's own flag, as on Windows: true for a shown control of a hidden window.
  return widget_->isVisibleTo(widget_->window());
}

void QtControl::SetVisible(bool visible) {
  if (action_ != nullptr)
    action_->setVisible(visible);
  else
    widget_->setVisible(visible);
}

bool QtControl::Enabled() const {
  return action_ != nullptr ? action_->isEnabled() : widget_->isEnabled();
}

void QtControl::SetEnabled(bool enabled) {
  if (action_ != nullptr)
    action_->setEnabled(enabled);
  else
    widget_->setEnabled(enabled);
}

std::string QtControl::Text() const {
  switch (description_.kind) {
    case ControlKind::Button:
      return ToUtf8(static_cast<QPushButton*>(widget_)->text());
    case ControlKind::MenuItem:
      return ToUtf8(action_->text());
    default:
      return text_;
  }
}

void QtControl::SetText(std::string_view text) {
  switch (description_.kind) {
    case ControlKind::Label:
      text_ = std::string(text);
      static_cast<QLabel*>(widget_)->setText(LabelText(text));
      if (description_.autoSize) {
        FitToText();
        Place(form_.growX_, form_.growY_);
      }
      break;
    case ControlKind::Button:
      static_cast<QPushButton*>(widget_)->setText(FromUtf8(text));
      break;
    case ControlKind::MenuItem:
      action_->setText(FromUtf8(text));
      break;
    default:
      text_ = std::string(text);
      break;
  }
}

int QtControl::Position() const {
  if (description_.kind == ControlKind::ProgressBar)
    return static_cast<QProgressBar*>(widget_)->value();
  return position_;
}

void QtControl::SetPosition(int position) {
  // Clamped to the range, as a native progress bar does (QProgressBar ignores values
  // outside its range).
  position_ = description_.ClampedPosition(position);
  if (description_.kind == ControlKind::ProgressBar)
    static_cast<QProgressBar*>(widget_)->setValue(position_);
}

void QtControl::SetFocus() {
  if (widget_ != nullptr && !IsMenu(description_.kind))
    widget_->setFocus(Qt::OtherFocusReason);
}

bool QtControl::Focused() const {
  return widget_ != nullptr && !IsMenu(description_.kind) && widget_->hasFocus();
}

void QtControl::Repaint() {
  if (description_.kind == ControlKind::MenuItem) {
    if (form_.menuBar_ != nullptr)
      form_.menuBar_->repaint();
  } else {
    widget_->repaint();
  }
}

Bounds QtControl::CurrentBounds() const {
  if (description_.kind == ControlKind::MenuItem)
    return description_.bounds;
  const QRect rect = widget_->geometry();
  return {rect.x(), rect.y(), rect.width(), rect.height()};
}

// An auto-sized label is as wide as its widest line and as tall as its lines. A
// word-wrapped one with a wrap width breaks its text at that width and grows downward;
// without one, only the text's own line breaks start new lines. An empty text is
// measured as one space, as Windows labels do.
void QtControl::FitToText() {
  auto* label = static_cast<QLabel*>(widget_);
  QString text = label->text();
  if (text.isEmpty())
    text = QStringLiteral(" ");
  const QFontMetrics metrics(label->font());
  constexpr int kUnbounded = 1 << 20;
  const bool wraps = description_.wordWrap && description_.wrapWidth > 0;
  const int width = wraps ? description_.wrapWidth : kUnbounded;
  const int flags = Qt::AlignLeft | Qt::AlignTop | (wraps ? Qt::TextWordWrap : 0);
  const QRect needed = metrics.boundingRect(QRect(0, 0, width, kUnbounded), flags, text);
  base_.width = needed.width();
  base_.height = std::max(needed.height(), metrics.height());
}

void QtControl::Place(int growX, int growY) {
  if (widget_ == nullptr || IsMenu(description_.kind))
    return;
  const unsigned anchors = description_.anchors;
  const bool stretches = !description_.autoSize;
  int left = base_.left;
  int width = base_.width;
  if (anchors & kAnchorRight) {
    if (!(anchors & kAnchorLeft))
      left += growX;
    else if (stretches)
      width += growX;
  }
  int top = base_.top;
  int height = base_.height;
  if (anchors & kAnchorBottom) {
    if (!(anchors & kAnchorTop))
      top += growY;
    else if (stretches)
      height += growY;
  }
  widget_->setGeometry(left, top, std::max(width, 0), std::max(height, 0));
}

// ---------------------------------------------------------------------------------
// QtForm

QtForm::QtForm(QtApplication& app, const FormDescription& description, Handlers handlers)
    : app_(app), description_(description), handlers_(std::move(handlers)) {
  handlers_.CheckBindings(description_);

  window_ = new FormWindow(*this);
  try {
    // A resizable frame whose caption bar has the system menu and the close box, and
    // the minimise and maximise boxes only when the design asks for them.
    Qt::WindowFlags flags = Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                            Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    if (description_.minimizeBox)
      flags |= Qt::WindowMinimizeButtonHint;
    if (description_.maximizeBox)
      flags |= Qt::WindowMaximizeButtonHint;
    window_->setWindowFlags(flags);
    window_->setWindowTitle(FromUtf8(description_.caption));
    window_->setObjectName(FromUtf8(description_.name));

    auto* client = new ClientWidget(*this, window_);
    client_ = client;
    window_->setCentralWidget(client_);
    BuildControls();
    SetTabOrder();

    // The client area is exactly the designed size, below the menu bar.
    const int clientWidth = description_.bounds.width;
    const int clientHeight = description_.bounds.height;
    int menuHeight = 0;
    if (menuBar_ != nullptr) {
      menuHeight = menuBar_->heightForWidth(clientWidth);
      if (menuHeight <= 0)
        menuHeight = menuBar_->sizeHint().height();
    }
    window_->resize(clientWidth, clientHeight + menuHeight);
    if (!description_.sizeable)
      window_->setFixedSize(clientWidth, clientHeight + menuHeight);
    window_->move(description_.bounds.left, description_.bounds.top);
    LayoutControls(QSize(clientWidth, clientHeight));
  } catch (...) {
    window_->Detach();
    client_ = nullptr;
    delete window_;
    throw;
  }
}

// Plain deletion, never deleteLater: the immediate exit destroys the form from inside
// one of its own event handlers and ends the process right after, so the widgets must
// be gone before that and nothing may be left for a later pass of the loop.
QtForm::~QtForm() {
  app_.FormDestroyed(this);
  window_->Detach();
  static_cast<ClientWidget*>(client_)->Detach();
  delete window_;
}

void QtForm::BuildControls() {
  for (const auto& description : description_.controls) {
    QWidget* widget = nullptr;
    switch (description.kind) {
      case ControlKind::Picture: {
        auto* label = new QLabel(client_);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        if (!description.picture.empty()) {
          // Drawn unscaled at the control's top-left.
          const QPixmap picture(QStringLiteral(":/pictures/") + FromUtf8(description.picture));
          if (picture.isNull()) {
            delete label;
            throw std::invalid_argument("Picture \"" + description.picture + "\" of " +
                                        description.name + " is not embedded");
          }
          label->setPixmap(picture);
        }
        widget = label;
        break;
      }
      case ControlKind::Label: {
        auto* label = new QLabel(client_);
        label->setTextFormat(Qt::PlainText);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        // Auto-sized labels without a wrap width keep their text on its own lines.
        label->setWordWrap(description.wordWrap &&
                           (!description.autoSize || description.wrapWidth > 0));
        if (description.bold) {
          QFont font = label->font();
          font.setBold(true);
          label->setFont(font);
        }
        label->setText(LabelText(description.text));
        widget = label;
        break;
      }
      case ControlKind::ProgressBar: {
        auto* bar = new QProgressBar(client_);
        bar->setTextVisible(false);
        bar->setRange(description.minimum, std::max(description.minimum, description.maximum));
        widget = bar;
        break;
      }
      case ControlKind::Button: {
        auto* button = new QPushButton(FromUtf8(description.text), client_);
        // Enter never clicks a button: there is no default button.
        button->setAutoDefault(false);
        button->setDefault(false);
        button->setFocusPolicy(description.tabOrder >= 0 ? Qt::StrongFocus : Qt::NoFocus);
        QObject::connect(button, &QPushButton::clicked, button,
                         [this, &description] { Raise(description.onClick, description.name); });
        widget = button;
        break;
      }
      case ControlKind::MainMenu:
        if (menuBar_ == nullptr)
          menuBar_ = window_->menuBar();
        widget = menuBar_;
        break;
      case ControlKind::MenuItem:
        BuildMenuItem(description);
        continue;
    }
    auto control = std::make_unique<QtControl>(*this, description, widget, nullptr);
    if (description.kind == ControlKind::ProgressBar)
      static_cast<QProgressBar*>(widget)->setValue(control->position_);
    if (description.kind == ControlKind::Label && description.autoSize)
      control->FitToText();
    widget->setObjectName(FromUtf8(description.name));
    widget->setEnabled(description.enabled);
    widget->setVisible(description.visible);
    controls_.push_back(std::move(control));
  }
}

// Items are built after the menu or item they belong to. An item that holds items is a
// menu; the others are actions that raise their click handler.
void QtForm::BuildMenuItem(const ControlDescription& description) {
  QtControl* parent = FindOrNull(description.parent);
  if (parent == nullptr || parent->widget_ == nullptr) {
    throw std::invalid_argument("Menu item " + description.name + " belongs to \"" +
                                description.parent + "\", which is not a menu built before it");
  }
  QWidget* container = parent->widget_;
  const bool holdsItems =
      std::any_of(description_.controls.begin(), description_.controls.end(),
                  [&](const ControlDescription& other) {
                    return other.kind == ControlKind::MenuItem && other.parent == description.name;
                  });
  QWidget* widget = nullptr;
  QAction* action = nullptr;
  if (holdsItems) {
    auto* menu = new QMenu(FromUtf8(description.text), container);
    menu->setObjectName(FromUtf8(description.name));
    action = menu->menuAction();
    widget = menu;
  } else {
    action = new QAction(FromUtf8(description.text), container);
  }
  // No shortcut keys: the "&" letter works while the menu is open.
  action->setObjectName(FromUtf8(description.name));
  action->setEnabled(description.enabled);
  action->setVisible(description.visible);
  container->addAction(action);
  if (!holdsItems) {
    QObject::connect(action, &QAction::triggered, action,
                     [this, &description] { Raise(description.onClick, description.name); });
  }
  controls_.push_back(std::make_unique<QtControl>(*this, description, widget, action));
}

void QtForm::SetTabOrder() {
  std::vector<QtControl*> order;
  for (auto& control : controls_) {
    if (control->description_.tabOrder >= 0 && !IsMenu(control->description_.kind))
      order.push_back(control.get());
  }
  std::stable_sort(order.begin(), order.end(), [](const QtControl* a, const QtControl* b) {
    return a->description_.tabOrder < b->description_.tabOrder;
  });
  for (size_t i = 1; i < order.size(); ++i)
    QWidget::setTabOrder(order[i - 1]->widget_, order[i]->widget_);
}

QtControl* QtForm::FindOrNull(std::string_view name) {
  for (auto& control : controls_) {
    if (control->Name() == name)
      return control.get();
  }
  return nullptr;
}

QtControl& QtForm::Find(std::string_view name) {
  if (QtControl* control = FindOrNull(name))
    return *control;
  throw ComponentNotFound(name, description_.name);
}

std::string QtForm::Caption() const {
  return ToUtf8(window_->windowTitle());
}

void QtForm::SetCaption(std::string_view caption) {
  window_->setWindowTitle(FromUtf8(caption));
}

// The outer top-left corner: for a window, Qt's position includes the frame.
void QtForm::SetPosition(int left, int top) {
  window_->move(left, top);
}

int QtForm::Left() const {
  return window_->pos().x();
}

int QtForm::Top() const {
  return window_->pos().y();
}

bool QtForm::Visible() const {
  return window_->isVisible();
}

void QtForm::Show() {
  window_->show();
  // Without a window manager nothing activates a window that is shown.
  window_->activateWindow();
}

QMainWindow* QtForm::Window() const {
  return window_;
}

QWidget* QtForm::ClientArea() const {
  return client_;
}

void QtForm::Activated() {
  Raise(description_.onActivate, description_.name);
}

// The close box, Alt+F4 or Close in the system menu. Nothing objects; closing the main
// form is a termination request, and its window stays until the event loop has ended.
void QtForm::CloseRequested(QCloseEvent& event) {
  if (app_.MainForm() == this) {
    app_.Terminate();
    event.ignore();
  } else {
    event.accept();
  }
}

bool QtForm::PreviewKey(QKeyEvent& event) {
  if (!description_.keyPreview)
    return false;
  const KeyHandler* handler = handlers_.FindKey(description_.onKeyDown);
  if (handler == nullptr)
    return false;
  std::uint16_t key = VirtualKeyFromQt(event.key(), event.modifiers());
  if (key == 0)
    return false;
  const ShiftState shift = ShiftStateFromQt(event.modifiers());
  app_.Dispatch([&] { (*handler)(description_.name, key, shift); });
  return key == 0;  // a handler that cleared the key keeps it from the focused control
}

void QtForm::LayoutControls(const QSize& clientSize) {
  growX_ = clientSize.width() - description_.bounds.width;
  growY_ = clientSize.height() - description_.bounds.height;
  for (auto& control : controls_)
    control->Place(growX_, growY_);
}

void QtForm::Raise(const std::string& handlerName, Sender sender) {
  if (const NotifyHandler* handler = handlers_.FindNotify(handlerName)) {
    app_.Dispatch([&] { (*handler)(sender); });
  }
}

}  // namespace ui::qt
