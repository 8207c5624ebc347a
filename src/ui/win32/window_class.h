#pragma once
// A registered window class, unregistered again when its owner goes.
#include <windows.h>

#include <string>

namespace ui::win32 {

class WindowClass {
 public:
  // Registers the class; a class of the same name registered earlier in this process
  // is reused as it is (and left registered).
  explicit WindowClass(const WNDCLASSEXW& description);
  WindowClass(const WindowClass&) = delete;
  WindowClass& operator=(const WindowClass&) = delete;
  ~WindowClass();

  const wchar_t* Name() const { return name_.c_str(); }

 private:
  std::wstring name_;
  HINSTANCE instance_;
  bool owned_ = false;
};

}  // namespace ui::win32
