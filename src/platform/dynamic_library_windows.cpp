#include <windows.h>

#include <filesystem>
#include <stdexcept>
#include <system_error>

#include "platform/dynamic_library.h"
#include "platform/utf16.h"

namespace platform {

DynamicLibrary::DynamicLibrary(const std::string& path) {
  const std::wstring widePath = WideFromUtf8(path);
  if (!std::filesystem::path(widePath).is_absolute())
    throw std::invalid_argument("not a full path: " + path);
  // With a full path, LOAD_WITH_ALTERED_SEARCH_PATH makes the library's own imports come
  // from its folder first rather than from the folder of the working directory.
  HMODULE module = ::LoadLibraryExW(widePath.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
  if (module == nullptr)
    throw std::system_error(static_cast<int>(::GetLastError()), std::system_category(),
                            "LoadLibraryExW " + path);
  handle_ = module;
}

DynamicLibrary::~DynamicLibrary() {
  ::FreeLibrary(static_cast<HMODULE>(handle_));
}

DynamicLibrary::Symbol DynamicLibrary::Find(const char* name) const {
  return reinterpret_cast<Symbol>(::GetProcAddress(static_cast<HMODULE>(handle_), name));
}

}  // namespace platform
