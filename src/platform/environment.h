#pragma once
#include <optional>
#include <string>

namespace platform {

// The value of an environment variable as UTF-8, or nothing when it is not set.
std::optional<std::string> EnvironmentVariable(const std::string& name);

}  // namespace platform
