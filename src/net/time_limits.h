#pragma once
// How long a connection waits for its server. Tests inject short limits.
#include <chrono>
#include <optional>

namespace net {

struct TimeLimits {
  // Establishing the TCP connection, over all addresses of the host; nothing: no limit.
  std::optional<std::chrono::milliseconds> connect = std::chrono::seconds(90);
  // Each single wait for data from (or room towards) the server; nothing: no limit.
  std::optional<std::chrono::milliseconds> eachWait = std::chrono::seconds(90);
};

}  // namespace net
