#pragma once
// Paths are UTF-8 text inside the updater; this turns them into the system's form.
#include <filesystem>
#include <string>
#include <string_view>

namespace platform {

inline std::filesystem::path PathFromUtf8(std::string_view utf8) {
  return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

inline std::string Utf8FromPath(const std::filesystem::path& path) {
  const std::u8string u8 = path.u8string();
  return std::string(u8.begin(), u8.end());
}

}  // namespace platform
