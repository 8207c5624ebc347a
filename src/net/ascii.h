#pragma once
// Character classes of the wire forms (HTTP, URLs), which are ASCII whatever the
// user's locale: <cctype> would follow the locale.
#include <algorithm>
#include <string_view>

namespace net::ascii {

inline bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

// The digit's value, or -1 for a character that is no hex digit.
inline int HexValue(char c) {
  if (IsDigit(c))
    return c - '0';
  if (c >= 'a' && c <= 'f')
    return c - 'a' + 10;
  if (c >= 'A' && c <= 'F')
    return c - 'A' + 10;
  return -1;
}

// Space or tab: what HTTP allows between words and around field values.
inline bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}

inline char Lower(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

inline bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                            [](char x, char y) { return Lower(x) == Lower(y); });
}

}  // namespace net::ascii
