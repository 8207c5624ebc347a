#pragma once
// The file version of an executable through Windows' own version API (Windows only;
// elsewhere the formats layer reads the file itself).
#ifdef _WIN32
#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

namespace platform {

// Major, minor, release and build of the file version (not the product version) of the
// file at a UTF-8 path, or nothing when the file has no readable version resource.
std::optional<std::array<std::uint16_t, 4>> ReadFileVersionFromSystem(std::string_view utf8Path);

}  // namespace platform
#endif
