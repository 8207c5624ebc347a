#pragma once
// A form as a top-level Win32 window with a menu bar, built from its description.
#include <windows.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "ui/form.h"
#include "ui/handlers.h"
#include "ui/win32/gui_fonts.h"
#include "ui/win32/win32_handles.h"

namespace ui::win32 {

class Win32Application;
class Win32Control;

class Win32Form : public Form {
 public:
  Win32Form(Win32Application& app, const FormDescription& description, Handlers handlers);
  ~Win32Form() override;

  const FormDescription& Description() const override { return description_; }
  Control& Find(std::string_view name) override;
  std::string Caption() const override;
  void SetCaption(std::string_view caption) override;
  void SetPosition(int left, int top) override;
  int Left() const override;
  int Top() const override;
  bool Visible() const override;

  // Toolkit side.
  HWND Window() const { return window_.Get(); }
  HINSTANCE Instance() const;
  HFONT Font() const { return fonts_.regular.Get(); }
  HFONT BoldFont() const { return fonts_.bold.Get(); }
  const wchar_t* PictureClassName() const;
  // Shows the form and makes it the active window, which raises its activation handler.
  void ShowAndActivate();
  // The form's key handler, when it sees keys before its controls. Returns false
  // when the form takes no preview.
  bool PreviewKey(std::uint16_t& key, ShiftState shift);

  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

 private:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  void CreateControls();
  void ApplyTabOrder();
  void FitClientArea();
  void OnCommand(WPARAM wParam);
  void OnActivate(WPARAM wParam);
  void OnSize(int clientWidth, int clientHeight);
  bool OnSetCursor(LPARAM lParam);
  void Raise(const std::string& handlerName, std::string_view sender);

  Win32Application& app_;
  const FormDescription description_;
  Handlers handlers_;
  // Declared before the window so that they outlive it: the controls use them to paint.
  GuiFonts fonts_;
  WindowHandle window_;
  std::vector<std::unique_ptr<Control>> controls_;  // in description order
  std::vector<Win32Control*> childControls_;
  HWND focusBeforeDeactivation_ = nullptr;
};

}  // namespace ui::win32
