#include <dlfcn.h>

#include <stdexcept>

#include "platform/dynamic_library.h"

namespace platform {

DynamicLibrary::DynamicLibrary(const std::string& path)
    : handle_(::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL)) {
  if (handle_ == nullptr) {
    const char* reason = ::dlerror();
    throw std::runtime_error(reason != nullptr ? reason : "dlopen " + path);
  }
}

DynamicLibrary::~DynamicLibrary() {
  ::dlclose(handle_);
}

DynamicLibrary::Symbol DynamicLibrary::Find(const char* name) const {
  return reinterpret_cast<Symbol>(::dlsym(handle_, name));
}

}  // namespace platform
