#pragma once
// UTF-8 <-> UTF-16 at the Windows system-call boundary; inside, all text is UTF-8.
#include <string>
#include <string_view>

namespace platform {

std::wstring WideFromUtf8(std::string_view utf8);
std::string Utf8FromWide(std::wstring_view wide);

}  // namespace platform
