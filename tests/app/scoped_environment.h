#pragma once
// Sets an environment variable for the life of the object and restores it afterwards.
#include <cstdlib>
#include <optional>
#include <string>

namespace app_test {

class ScopedEnvironment {
 public:
  ScopedEnvironment(std::string name, const std::string& value) : name_(std::move(name)) {
    if (const char* old = std::getenv(name_.c_str()))
      previous_ = old;
    Set(value);
  }
  ~ScopedEnvironment() {
    if (previous_) {
      Set(*previous_);
    } else {
      Unset();
    }
  }
  ScopedEnvironment(const ScopedEnvironment&) = delete;
  ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

 private:
  void Set(const std::string& value) {
#ifdef _WIN32
    _putenv_s(name_.c_str(), value.c_str());
#else
    setenv(name_.c_str(), value.c_str(), 1);
#endif
  }
  void Unset() {
#ifdef _WIN32
    _putenv_s(name_.c_str(), "");
#else
    unsetenv(name_.c_str());
#endif
  }

  std::string name_;
  std::optional<std::string> previous_;
};

// A vendor address on which nothing listens: the query fails at once with no reply.
inline constexpr char kUnreachableVendor[] = "https://127.0.0.1:1";

}  // namespace app_test
