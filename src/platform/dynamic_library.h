#pragma once
// A shared library loaded at run time and unloaded when its owner goes away.
#include <string>

namespace platform {

class DynamicLibrary {
 public:
  // A function's address as found in the library; callers cast it to the function's type.
  using Symbol = void (*)();

  // Loads the library. On Windows `path` must be a full path: the system's search order
  // would also look in the working directory, where a planted DLL could wait. Elsewhere a
  // bare name is looked up in the system's library folders. Throws std::runtime_error with
  // the system's reason when the library cannot be loaded.
  explicit DynamicLibrary(const std::string& path);
  ~DynamicLibrary();
  DynamicLibrary(const DynamicLibrary&) = delete;
  DynamicLibrary& operator=(const DynamicLibrary&) = delete;

  // The exported function of that name, or nullptr when the library has none.
  Symbol Find(const char* name) const;

 private:
  void* handle_;
};

}  // namespace platform
