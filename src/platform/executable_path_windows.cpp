#include <windows.h>

#include <string>
#include <system_error>

#include "platform/executable_path.h"
#include "platform/utf16.h"

namespace platform {

std::string ExecutablePath() {
  // The wide API with a growing buffer: the 8-bit form loses characters outside the
  // code page and cuts paths longer than MAX_PATH.
  std::wstring buffer(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n = ::GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (n == 0)
      throw std::system_error(static_cast<int>(::GetLastError()), std::system_category(),
                              "GetModuleFileNameW");
    if (n < buffer.size()) {
      buffer.resize(n);
      return Utf8FromWide(buffer);
    }
    buffer.resize(buffer.size() * 2);
  }
}

}  // namespace platform
