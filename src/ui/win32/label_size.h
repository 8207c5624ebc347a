#pragma once
// The size of an auto-sized label: its text laid out as the label draws it.
#include <windows.h>

#include <string_view>

namespace ui::win32 {

// wrapWidth > 0: words wrap at that width and the label grows downward; 0: one line per
// line break. Empty text measures as one line, so an empty label keeps its height.
SIZE MeasureLabelText(HFONT font, std::wstring_view text, int wrapWidth);

}  // namespace ui::win32
