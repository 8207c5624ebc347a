#pragma once
// Text at the boundary between the updater (UTF-8) and the wide Win32 API.
#include <windows.h>

#include <string>
#include <string_view>

namespace ui::win32 {

std::wstring Wide(std::string_view utf8);
std::string Utf8(std::wstring_view wide);

// The text of a window (caption, control text), UTF-8.
std::string WindowText(HWND window);

}  // namespace ui::win32
