#pragma once
// The fixed file version of a Windows executable, read from its bytes: our own reader
// for systems without Windows' version API. The file is hostile until read: every
// offset and size is checked, and any fault just means "no version".
#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace formats {

// Major, minor, release, build: the four 16-bit numbers of a file version.
using FileVersion = std::array<std::uint16_t, 4>;

// Files larger than this are not read for their version.
inline constexpr std::uint64_t kMaxPeFileSize = 256u * 1024 * 1024;

// The file version (dwFileVersionMS/LS of VS_FIXEDFILEINFO, not the product version)
// of a PE32 or PE32+ image: the first name and first language of the RT_VERSION
// resource. Nothing when the bytes hold no readable version.
std::optional<FileVersion> ReadPeFileVersion(std::span<const std::uint8_t> image);

// The same for the file at a UTF-8 path. Nothing when the file cannot be opened or read,
// is larger than kMaxPeFileSize, or holds no readable version.
std::optional<FileVersion> ReadPeFileVersionFromFile(std::string_view utf8Path);

}  // namespace formats
