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

// Every line break (CR, LF or CR LF) as CR LF, which every Win32 text control and
// message box breaks on.
std::string WithWindowsLineBreaks(std::string_view text);

}  // namespace ui::win32
