#pragma once
// The controls of a form that are child windows: pictures, labels, progress bars and
// push buttons. The form's window owns their windows and destroys them with itself.
#include <windows.h>

#include <memory>

#include "ui/form.h"
#include "ui/win32/png_image.h"

namespace ui::win32 {

class Win32Form;

class Win32Control : public Control {
 public:
  Win32Control(const ControlDescription& description, HWND window);

  const ControlDescription& Description() const override { return description_; }
  bool Visible() const override;
  void SetVisible(bool visible) override;
  bool Enabled() const override;
  void SetEnabled(bool enabled) override;
  std::string Text() const override;
  void SetText(std::string_view text) override;
  int Position() const override { return 0; }
  void SetPosition(int) override {}
  void SetFocus() override;
  bool Focused() const override;
  void Repaint() override;
  Bounds CurrentBounds() const override;

  HWND Window() const { return window_; }
  // Keeps the distance to each anchored edge of the client area, which has grown by
  // dx, dy since the design.
  void FollowAnchors(int dx, int dy);

 protected:
  const ControlDescription& description_;  // owned by the form
  HWND window_;
};

// Auto-sized labels follow their text: at most wrapWidth wide when set, growing
// downward line by line.
class Win32Label : public Win32Control {
 public:
  Win32Label(const ControlDescription& description, HWND window);
  void SetText(std::string_view text) override;

 private:
  void FitToText();
};

class Win32ProgressBar : public Win32Control {
 public:
  Win32ProgressBar(const ControlDescription& description, HWND window);
  int Position() const override;
  void SetPosition(int position) override;
};

class Win32Picture : public Win32Control {
 public:
  Win32Picture(const ControlDescription& description, HWND window, PngImage image);
  ~Win32Picture() override;

  // The window procedure of the picture window class.
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

 private:
  PngImage image_;
};

// Creates the child window and control object for one control of a description.
std::unique_ptr<Win32Control> CreateChildControl(Win32Form& form,
                                                 const ControlDescription& description, int id);

}  // namespace ui::win32
