#include "ui/line_breaks.h"

namespace ui {

std::string WithLineBreaks(std::string_view text, std::string_view lineBreak) {
  std::string result;
  result.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\r' || c == '\n') {
      result += lineBreak;
      if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
        ++i;
    } else {
      result += c;
    }
  }
  return result;
}

}  // namespace ui
