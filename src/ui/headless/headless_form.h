#pragma once
#include <memory>
#include <string>
#include <vector>

#include "ui/form.h"
#include "ui/handlers.h"

namespace ui::headless {

class HeadlessApplication;
class HeadlessForm;

class HeadlessControl : public Control {
 public:
  HeadlessControl(HeadlessForm& form, const ControlDescription& description);

  const ControlDescription& Description() const override { return description_; }
  bool Visible() const override { return visible_; }
  void SetVisible(bool visible) override { visible_ = visible; }
  bool Enabled() const override { return enabled_; }
  void SetEnabled(bool enabled) override { enabled_ = enabled; }
  std::string Text() const override { return text_; }
  void SetText(std::string_view text) override { text_ = std::string(text); }
  int Position() const override { return position_; }
  void SetPosition(int position) override;
  void SetFocus() override;
  bool Focused() const override;
  void Repaint() override { ++repaints_; }
  Bounds CurrentBounds() const override { return description_.bounds; }

  int Repaints() const { return repaints_; }

 private:
  HeadlessForm& form_;
  const ControlDescription& description_;  // owned by the form
  bool visible_;
  bool enabled_;
  std::string text_;
  int position_;
  int repaints_ = 0;
};

class HeadlessForm : public Form {
 public:
  HeadlessForm(HeadlessApplication& app, const FormDescription& description, Handlers handlers);
  ~HeadlessForm() override;

  const FormDescription& Description() const override { return description_; }
  HeadlessControl& Find(std::string_view name) override;
  std::string Caption() const override { return caption_; }
  void SetCaption(std::string_view caption) override { caption_ = std::string(caption); }
  void SetPosition(int left, int top) override;
  int Left() const override { return left_; }
  int Top() const override { return top_; }
  bool Visible() const override { return visible_; }

  // Toolkit side: what a native window would do on these events.
  void Show();
  void Activate();
  void PressKey(std::uint16_t key, ShiftState shift);
  // Returns false when the control cannot be clicked (hidden or disabled).
  bool Click(std::string_view controlName);
  void ChooseMenu(std::string_view itemName);

  const std::string& FocusedControl() const { return focused_; }
  void SetFocused(std::string name) { focused_ = std::move(name); }
  int Activations() const { return activations_; }

 private:
  void Raise(const std::string& handlerName, std::string_view sender);

  HeadlessApplication& app_;
  const FormDescription description_;
  Handlers handlers_;
  std::vector<std::unique_ptr<HeadlessControl>> controls_;
  std::string caption_;
  int left_;
  int top_;
  bool visible_ = false;
  std::string focused_;
  int activations_ = 0;
};

}  // namespace ui::headless
