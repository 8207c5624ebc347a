#include "platform/executable_path.h"

namespace platform {

std::string FolderOf(std::string_view path) {
#ifdef _WIN32
  const auto cut = path.find_last_of("\\/");
#else
  const auto cut = path.find_last_of('/');
#endif
  if (cut == std::string_view::npos)
    return {};
  return std::string(path.substr(0, cut + 1));
}

std::string ApplicationFolder() {
  return FolderOf(ExecutablePath());
}

}  // namespace platform
