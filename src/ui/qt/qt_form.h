#pragma once
// A form on Qt Widgets: a top-level main window with a menu bar and a client area in
// which every control sits at its designed position.
#include <memory>
#include <string>
#include <vector>

#include "ui/form.h"
#include "ui/handlers.h"

class QAction;
class QCloseEvent;
class QKeyEvent;
class QMainWindow;
class QMenuBar;
class QSize;
class QWidget;

namespace ui::qt {

class QtApplication;
class QtForm;
class FormWindow;

class QtControl : public Control {
 public:
  // A control is either a widget (pictures, labels, bars, buttons, the menu bar) or a
  // menu item; for menu items that hold items, both (the menu and its action).
  QtControl(QtForm& form, const ControlDescription& description, QWidget* widget, QAction* action);

  const ControlDescription& Description() const override { return description_; }
  bool Visible() const override;
  void SetVisible(bool visible) override;
  bool Enabled() const override;
  void SetEnabled(bool enabled) override;
  std::string Text() const override;
  void SetText(std::string_view text) override;
  int Position() const override;
  void SetPosition(int position) override;
  void SetFocus() override;
  bool Focused() const override;
  void Repaint() override;
  Bounds CurrentBounds() const override;

  // The native objects, for tests; null where the control has none.
  QWidget* Widget() const { return widget_; }

 private:
  friend class QtForm;
  // Auto-sized labels: the size that fits the text (see the .cpp for the rules).
  void FitToText();
  // Places the widget for the client area's growth over its designed size.
  void Place(int growX, int growY);

  QtForm& form_;
  const ControlDescription& description_;  // owned by the form
  QWidget* widget_;                        // owned by the window
  QAction* action_;                        // owned by its menu
  Bounds base_;       // designed bounds; auto-sized labels: the size their text needs
  std::string text_;  // labels: the text as set; kinds that show no text keep it here
  int position_;      // kinds other than progress bars keep it here
};

class QtForm : public Form {
 public:
  QtForm(QtApplication& app, const FormDescription& description, Handlers handlers);
  ~QtForm() override;
  QtForm(const QtForm&) = delete;
  QtForm& operator=(const QtForm&) = delete;

  const FormDescription& Description() const override { return description_; }
  QtControl& Find(std::string_view name) override;
  std::string Caption() const override;
  void SetCaption(std::string_view caption) override;
  void SetPosition(int left, int top) override;
  int Left() const override;
  int Top() const override;
  bool Visible() const override;

  // Shows the window and makes it the active window (as a window manager would on
  // show); the activation handler runs when the activation arrives.
  void Show();

  // The native objects, for tests.
  QMainWindow* Window() const;
  QWidget* ClientArea() const;
  QMenuBar* MenuBar() const { return menuBar_; }

  // Toolkit side, called by the window.
  void Activated();
  void CloseRequested(QCloseEvent& event);
  // Key preview: returns true when the handler kept the key from the focused control.
  bool PreviewKey(QKeyEvent& event);
  void LayoutControls(const QSize& clientSize);
  void Raise(const std::string& handlerName, Sender sender);

 private:
  void BuildControls();
  void BuildMenuItem(const ControlDescription& description);
  void SetTabOrder();
  QtControl* FindOrNull(std::string_view name);

  friend class QtControl;

  QtApplication& app_;
  const FormDescription description_;
  Handlers handlers_;
  FormWindow* window_;  // owned; deleted plainly (never deleteLater) in the destructor
  QWidget* client_;
  QMenuBar* menuBar_ = nullptr;
  std::vector<std::unique_ptr<QtControl>> controls_;
  // How much the client area is wider and taller than designed (anchors follow it).
  int growX_ = 0;
  int growY_ = 0;
};

}  // namespace ui::qt
