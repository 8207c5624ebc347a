#include "ui/win32/win32_text.h"

#include "platform/utf16.h"

namespace ui::win32 {

std::wstring Wide(std::string_view utf8) {
  return platform::WideFromUtf8(utf8);
}

std::string Utf8(std::wstring_view wide) {
  return platform::Utf8FromWide(wide);
}

std::string WindowText(HWND window) {
  const int length = ::GetWindowTextLengthW(window);
  if (length <= 0)
    return {};
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  const int copied = ::GetWindowTextW(window, text.data(), length + 1);
  text.resize(static_cast<size_t>(copied > 0 ? copied : 0));
  return Utf8(text);
}

}  // namespace ui::win32
