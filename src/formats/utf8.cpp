#include "formats/utf8.h"

namespace formats {

std::size_t Utf8SequenceLength(std::string_view text, std::size_t at) {
  const auto byte = [&](std::size_t i) -> unsigned {
    return at + i < text.size() ? static_cast<unsigned char>(text[at + i]) : 0u;
  };
  const unsigned lead = byte(0);
  if (at < text.size() && lead < 0x80)
    return 1;
  unsigned low = 0x80, high = 0xBF;  // range of the second byte
  std::size_t length = 0;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    if (lead == 0xE0)
      low = 0xA0;
    if (lead == 0xED)
      high = 0x9F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    if (lead == 0xF0)
      low = 0x90;
    if (lead == 0xF4)
      high = 0x8F;
  } else {
    return 0;
  }
  if (byte(1) < low || byte(1) > high)
    return 0;
  for (std::size_t i = 2; i < length; ++i) {
    if (byte(i) < 0x80 || byte(i) > 0xBF)
      return 0;
  }
  return length;
}

std::string Utf8WithReplacements(std::string_view bytes) {
  std::string text;
  text.reserve(bytes.size());
  for (std::size_t at = 0; at < bytes.size();) {
    if (const std::size_t n = Utf8SequenceLength(bytes, at)) {
      text.append(bytes.substr(at, n));
      at += n;
    } else {
      text += "\xEF\xBF\xBD";
      ++at;
    }
  }
  return text;
}

}  // namespace formats
