#pragma once
// The fonts of the forms: the system's message font, which the designs were measured
// with (its height gives the 15-pixel labels at 96 dpi), and a bold copy of it.
#include "ui/win32/win32_handles.h"

namespace ui::win32 {

struct GuiFonts {
  FontHandle regular;
  FontHandle bold;
};

GuiFonts CreateGuiFonts();

}  // namespace ui::win32
