#pragma once
// The form's menu bar and its items, built from the MainMenu and MenuItem controls of
// the description. Items are addressed by their position in the menu that holds them.
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "ui/form.h"
#include "ui/win32/win32_handles.h"

namespace ui::win32 {

class Win32MenuControl : public Control {
 public:
  explicit Win32MenuControl(const ControlDescription& description)
      : description_(description), visible_(description.visible), text_(description.text) {}

  const ControlDescription& Description() const override { return description_; }
  // Windows has no hidden menu items; the flag is kept for the updater's sake.
  bool Visible() const override { return visible_; }
  void SetVisible(bool visible) override { visible_ = visible; }
  std::string Text() const override { return text_; }
  int Position() const override { return 0; }
  void SetPosition(int) override {}
  void SetFocus() override {}
  bool Focused() const override { return false; }
  Bounds CurrentBounds() const override { return {}; }

 protected:
  const ControlDescription& description_;  // owned by the form
  bool visible_;
  std::string text_;
};

class Win32MainMenu : public Win32MenuControl {
 public:
  explicit Win32MainMenu(const ControlDescription& description) : Win32MenuControl(description) {}
  bool Enabled() const override { return true; }
  void SetEnabled(bool) override {}
  void SetText(std::string_view) override {}
  void Repaint() override {}
};

class Win32MenuItem : public Win32MenuControl {
 public:
  Win32MenuItem(const ControlDescription& description, HWND form, HMENU parent, UINT position);
  bool Enabled() const override;
  void SetEnabled(bool enabled) override;
  void SetText(std::string_view text) override;
  void Repaint() override;

 private:
  HWND form_;
  HMENU parent_;
  UINT position_;
};

// Builds the menu controls of a description. The bar comes back separately, to be set
// on the window; items of a menu whose parent comes later in the description, or that
// names no menu of the form, are rejected with std::invalid_argument.
struct MenuBuild {
  MenuHandle bar;
  std::vector<std::pair<size_t, std::unique_ptr<Control>>> controls;  // description index
};
MenuBuild BuildMenus(const std::vector<ControlDescription>& descriptions, HWND form,
                     int firstCommandId);

}  // namespace ui::win32
