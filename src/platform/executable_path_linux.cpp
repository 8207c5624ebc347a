#include <unistd.h>

#include <cerrno>
#include <stdexcept>
#include <string>
#include <system_error>

#include "platform/executable_path.h"

namespace platform {

std::string ExecutablePath() {
  // readlink does not say whether it truncated, so grow until the result fits.
  std::string buffer(256, '\0');
  for (;;) {
    const ssize_t n = ::readlink("/proc/self/exe", buffer.data(), buffer.size());
    if (n < 0)
      throw std::system_error(errno, std::generic_category(), "readlink /proc/self/exe");
    if (static_cast<size_t>(n) < buffer.size()) {
      buffer.resize(static_cast<size_t>(n));
      return buffer;
    }
    buffer.resize(buffer.size() * 2);
  }
}

}  // namespace platform
