#include "platform/environment.h"

#include <cstdlib>

#ifdef _WIN32
#include "platform/utf16.h"
#endif

namespace platform {

std::optional<std::string> EnvironmentVariable(const std::string& name) {
#ifdef _WIN32
  const wchar_t* value = ::_wgetenv(WideFromUtf8(name).c_str());
  if (value == nullptr)
    return std::nullopt;
  return Utf8FromWide(value);
#else
  const char* value = std::getenv(name.c_str());
  if (value == nullptr)
    return std::nullopt;
  return std::string(value);
#endif
}

}  // namespace platform
