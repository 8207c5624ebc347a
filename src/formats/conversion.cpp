#include "formats/conversion.h"

#include <string>

namespace formats {

void ThrowInvalidInteger(std::string_view text) {
  throw ConversionError("\"" + std::string(text) + "\" is an invalid integer");
}

std::int32_t TextToInt32(std::string_view text) {
  std::size_t i = 0;
  bool negative = false;
  if (!text.empty() && (text[0] == '+' || text[0] == '-')) {
    negative = text[0] == '-';
    i = 1;
  }
  if (i == text.size())
    ThrowInvalidInteger(text);
  // Accumulated as a magnitude so that -2147483648 fits; stops as soon as it is too big,
  // so any number of digits is safe.
  const std::int64_t limit = negative ? 2147483648LL : 2147483647LL;
  std::int64_t magnitude = 0;
  for (; i < text.size(); ++i) {
    const char c = text[i];
    if (c < '0' || c > '9')
      ThrowInvalidInteger(text);
    magnitude = magnitude * 10 + (c - '0');
    if (magnitude > limit)
      ThrowInvalidInteger(text);
  }
  return static_cast<std::int32_t>(negative ? -magnitude : magnitude);
}

}  // namespace formats
