#include "ui/win32/label_size.h"

#include <string>

#include "ui/win32/win32_handles.h"

namespace ui::win32 {

SIZE MeasureLabelText(HFONT font, std::wstring_view text, int wrapWidth) {
  const std::wstring measured = text.empty() ? std::wstring(L" ") : std::wstring(text);
  ScreenDeviceContext screen;
  SelectedObject selected(screen.Get(), font);
  RECT rect{0, 0, wrapWidth > 0 ? wrapWidth : 0x7fff, 0};
  UINT format = DT_CALCRECT | DT_LEFT | DT_EXPANDTABS | DT_NOCLIP;
  if (wrapWidth > 0)
    format |= DT_WORDBREAK;
  ::DrawTextW(screen.Get(), measured.c_str(), static_cast<int>(measured.size()), &rect, format);
  return {rect.right - rect.left, rect.bottom - rect.top};
}

}  // namespace ui::win32
