#include "ui/win32/gui_fonts.h"

#include <stdexcept>

namespace ui::win32 {

namespace {

LOGFONTW MessageFont() {
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof(metrics);
  if (::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0))
    return metrics.lfMessageFont;
  // Older systems reject the Vista-sized structure; the stock GUI font is close enough.
  LOGFONTW font{};
  ::GetObjectW(::GetStockObject(DEFAULT_GUI_FONT), sizeof(font), &font);
  return font;
}

FontHandle Create(const LOGFONTW& description) {
  FontHandle font(::CreateFontIndirectW(&description));
  if (!font)
    throw std::runtime_error("CreateFontIndirect failed");
  return font;
}

}  // namespace

GuiFonts CreateGuiFonts() {
  LOGFONTW description = MessageFont();
  GuiFonts fonts;
  fonts.regular = Create(description);
  description.lfWeight = FW_BOLD;
  fonts.bold = Create(description);
  return fonts;
}

}  // namespace ui::win32
