#pragma once
// Version codes: how a Dostra version is named by the version service and by the
// installed executable, shown to the user, and compared.
#include <cstdint>
#include <string>
#include <string_view>

namespace app {

// The code of an installed version that cannot be read. Not in code form, so no code
// from the service ever equals it and an update follows.
inline constexpr char kFallbackVersionCode[] = "1.0.0";

// Major in at least 2 digits, minor and release in at least 3, zero-padded and never
// cut: 3.12.5 gives "03012005", 1.1234.5 gives "011234005".
std::string VersionCodeFromFileVersion(std::uint16_t major, std::uint16_t minor,
                                       std::uint16_t release);

// The display form "M.m.r" of a code: characters 1-2, 3-5 and 6-8 (counted in UTF-8
// characters; a short code gives short or empty slices, characters after the 8th are
// ignored), each read as a signed 32-bit decimal integer and written without leading
// zeros. A slice that is no integer, an empty one included, raises
// formats::ConversionError ("\"A12\" is an invalid integer").
std::string FormatVersionCode(std::string_view Code);

// Two codes denote the same version only when their texts are identical.
bool VersionCodesMatch(std::string_view a, std::string_view b);

// The version code of the executable at a UTF-8 path (its file version, the build number
// left out), or kFallbackVersionCode when it cannot be read for whatever reason. Never
// raises.
std::string GetBuildInfo(const std::string& Prog);

}  // namespace app
