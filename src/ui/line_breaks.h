#pragma once
// Texts reach the windows with line breaks of any kind (the version service sends CR
// alone); each toolkit wants its own.
#include <string>
#include <string_view>

namespace ui {

// Carriage return, line feed, and the two together each become one `lineBreak`.
std::string WithLineBreaks(std::string_view text, std::string_view lineBreak);

}  // namespace ui
