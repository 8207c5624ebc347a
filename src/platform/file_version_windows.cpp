#include <windows.h>
#include <winver.h>

#include <vector>

#include "platform/file_version.h"
#include "platform/utf16.h"

namespace platform {

std::optional<std::array<std::uint16_t, 4>> ReadFileVersionFromSystem(std::string_view utf8Path) {
  // The wide forms: the application folder may have a non-ASCII name.
  const std::wstring path = WideFromUtf8(utf8Path);
  DWORD ignored = 0;
  const DWORD size = ::GetFileVersionInfoSizeW(path.c_str(), &ignored);
  if (size == 0)
    return std::nullopt;
  std::vector<unsigned char> data(size);
  if (!::GetFileVersionInfoW(path.c_str(), 0, size, data.data()))
    return std::nullopt;
  void* root = nullptr;
  UINT length = 0;
  if (!::VerQueryValueW(data.data(), L"\\", &root, &length) || root == nullptr ||
      length < sizeof(VS_FIXEDFILEINFO))
    return std::nullopt;
  const auto* info = static_cast<const VS_FIXEDFILEINFO*>(root);
  // The same check our own reader makes, so both sides refuse the same files.
  if (info->dwSignature != 0xFEEF04BD)
    return std::nullopt;
  return std::array<std::uint16_t, 4>{HIWORD(info->dwFileVersionMS), LOWORD(info->dwFileVersionMS),
                                      HIWORD(info->dwFileVersionLS), LOWORD(info->dwFileVersionLS)};
}

}  // namespace platform
