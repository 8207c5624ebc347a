#pragma once
// A connected TCP socket whose every wait for the server is bounded.
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "net/time_limits.h"

namespace net {

class Socket {
 public:
#ifdef _WIN32
  using Native = std::uintptr_t;  // SOCKET
#else
  using Native = int;
#endif

  // Resolves the host and connects to the first of its addresses that answers, within
  // limits.connect over all of them. Throws errors::HostNotResolved, ConnectTimedOut or
  // ConnectFailed.
  static Socket Connect(const std::string& host, std::uint16_t port, const TimeLimits& limits);

  Socket(Socket&& other) noexcept;
  Socket& operator=(Socket&& other) noexcept;
  ~Socket();
  Socket(const Socket&) = delete;
  Socket& operator=(const Socket&) = delete;

  // Sends every byte; throws errors::WriteFailed or WriteTimedOut.
  void SendAll(std::string_view bytes);
  // Waits for data and returns up to `size` bytes of it; 0 once the server has closed.
  // Throws errors::ReadFailed or ReadTimedOut.
  std::size_t Receive(char* buffer, std::size_t size);

 private:
  Socket(Native native, std::optional<std::chrono::milliseconds> eachWait);

  Native native_;
  std::optional<std::chrono::milliseconds> eachWait_;
};

}  // namespace net
