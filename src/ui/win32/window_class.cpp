#include "ui/win32/window_class.h"

#include <stdexcept>
#include <string>

namespace ui::win32 {

WindowClass::WindowClass(const WNDCLASSEXW& description)
    : name_(description.lpszClassName), instance_(description.hInstance) {
  if (::RegisterClassExW(&description) != 0) {
    owned_ = true;
  } else if (::GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
    throw std::runtime_error("RegisterClassEx failed: " + std::to_string(::GetLastError()));
  }
}

WindowClass::~WindowClass() {
  if (owned_)
    ::UnregisterClassW(name_.c_str(), instance_);
}

}  // namespace ui::win32
