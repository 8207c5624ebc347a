#pragma once
// Text to number conversions whose failures the user sees. One place words the
// failure, whoever converts: the JSON reader's integer conversion and the version
// code display share it.
#include <cstdint>
#include <stdexcept>
#include <string_view>

namespace formats {

class ConversionError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Raises ConversionError with the message: the text in double quotation marks, then
// " is an invalid integer".
[[noreturn]] void ThrowInvalidInteger(std::string_view text);

// A signed 32-bit decimal integer: an optional leading '+' or '-', then at least one
// digit 0-9 (leading zeros allowed), and nothing else. Blanks and "$" hexadecimal are
// refused: version codes and error numbers are plain decimal. Raises ConversionError
// for anything else, including a value outside the 32-bit range.
std::int32_t TextToInt32(std::string_view text);

}  // namespace formats
