#pragma once
// The application object over plain Win32 and the common controls: one per process,
// owner of the window classes and the event loop.
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "ui/application.h"
#include "ui/win32/window_class.h"

namespace ui::win32 {

class Win32Form;

class Win32Application : public Application {
 public:
  Win32Application();
  ~Win32Application() override;

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

  // Toolkit side.
  HINSTANCE Instance() const { return instance_; }
  const wchar_t* FormClassName() const { return formClass_->Name(); }
  const wchar_t* PictureClassName() const { return pictureClass_->Name(); }
  bool IsMainForm(const Win32Form* form) const { return form != nullptr && form == mainForm_; }
  void FormDestroyed(Win32Form* form);
  // Passes of the event loop so far.
  int LoopPasses() const { return loopPasses_; }

 private:
  // Handles every message pending now; keys go through the form's preview first.
  void HandlePendingMessages();
  // Shows a key to the form it is meant for first; false when the form kept it from
  // the focused control.
  bool KeyPassesPreview(MSG& message);
  Win32Form* FormOf(HWND window) const;
  // The window that a modal box should belong to.
  HWND MessageBoxOwner() const;
  // A modal box titled with the program's name, with an OK button and this icon.
  void ShowBox(std::string_view text, UINT icon) const;

  HINSTANCE instance_;
  std::string title_;
  std::unique_ptr<WindowClass> formClass_;
  std::unique_ptr<WindowClass> pictureClass_;
  std::vector<Win32Form*> forms_;
  Win32Form* mainForm_ = nullptr;
  Cursor cursor_ = Cursor::Default;
  int loopPasses_ = 0;
};

}  // namespace ui::win32
