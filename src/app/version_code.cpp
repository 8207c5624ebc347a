#include "app/version_code.h"

#include <array>
#include <optional>

#include "formats/conversion.h"

#include "formats/pe_version.h"
#ifdef _WIN32
#include "platform/file_version.h"
#endif

namespace app {

namespace {

std::string ZeroPadded(unsigned value, std::size_t width) {
  std::string digits = std::to_string(value);
  if (digits.size() < width)
    digits.insert(0, width - digits.size(), '0');
  return digits;
}

// Byte offset of the UTF-8 character with the given 0-based index, or the text's size.
std::size_t CharacterOffset(std::string_view text, std::size_t index) {
  std::size_t offset = 0;
  for (std::size_t seen = 0; offset < text.size(); ++offset) {
    if ((static_cast<unsigned char>(text[offset]) & 0xC0) == 0x80)
      continue;
    if (seen++ == index)
      return offset;
  }
  return text.size();
}

// Characters first..last (1-based, inclusive) of the text, as far as they exist.
std::string_view Slice(std::string_view text, std::size_t first, std::size_t last) {
  const std::size_t from = CharacterOffset(text, first - 1);
  const std::size_t to = CharacterOffset(text, last);
  return text.substr(from, to - from);
}

std::optional<std::array<std::uint16_t, 4>> ReadFileVersion(const std::string& path) {
  // Our bounds-checked reader sees the file first everywhere: a damaged or hostile
  // executable must give the fallback, and some implementations of the system's version
  // API (Wine's) crash on such files instead. Windows then answers with its own API.
  const auto parsed = formats::ReadPeFileVersionFromFile(path);
#ifdef _WIN32
  if (!parsed)
    return std::nullopt;
  return platform::ReadFileVersionFromSystem(path);
#else
  return parsed;
#endif
}

}  // namespace

std::string VersionCodeFromFileVersion(std::uint16_t major, std::uint16_t minor,
                                       std::uint16_t release) {
  return ZeroPadded(major, 2) + ZeroPadded(minor, 3) + ZeroPadded(release, 3);
}

std::string FormatVersionCode(std::string_view Code) {
  const std::int32_t major = formats::TextToInt32(Slice(Code, 1, 2));
  const std::int32_t minor = formats::TextToInt32(Slice(Code, 3, 5));
  const std::int32_t release = formats::TextToInt32(Slice(Code, 6, 8));
  return std::to_string(major) + "." + std::to_string(minor) + "." + std::to_string(release);
}

bool VersionCodesMatch(std::string_view a, std::string_view b) {
  return a == b;
}

std::string GetBuildInfo(const std::string& Prog) {
  try {
    if (const auto version = ReadFileVersion(Prog))
      return VersionCodeFromFileVersion((*version)[0], (*version)[1], (*version)[2]);
  } catch (...) {
    // Whatever went wrong (even memory), the installed version is simply unknown.
  }
  return kFallbackVersionCode;
}

}  // namespace app
