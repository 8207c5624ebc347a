#include "vendor_standin/listener.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>
#include <system_error>

namespace standin {
namespace {

[[noreturn]] void ThrowSystemError(const std::string& what) {
  throw std::runtime_error(what + ": " + std::generic_category().message(errno));
}

}  // namespace

UniqueFd Listen(const std::string& address, std::uint16_t port) {
  sockaddr_storage storage{};
  socklen_t length = 0;
  auto* v4 = reinterpret_cast<sockaddr_in*>(&storage);
  auto* v6 = reinterpret_cast<sockaddr_in6*>(&storage);
  if (inet_pton(AF_INET, address.c_str(), &v4->sin_addr) == 1) {
    v4->sin_family = AF_INET;
    v4->sin_port = htons(port);
    length = sizeof *v4;
  } else if (inet_pton(AF_INET6, address.c_str(), &v6->sin6_addr) == 1) {
    v6->sin6_family = AF_INET6;
    v6->sin6_port = htons(port);
    length = sizeof *v6;
  } else {
    throw std::runtime_error("not a numeric IP address: " + address);
  }
  UniqueFd socket(::socket(storage.ss_family, SOCK_STREAM | SOCK_CLOEXEC, 0));
  if (!socket.Valid())
    ThrowSystemError("socket");
  // A fixed port must be reusable right after a previous stand-in on it has stopped.
  int on = 1;
  setsockopt(socket.Get(), SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
  if (bind(socket.Get(), reinterpret_cast<sockaddr*>(&storage), length) != 0) {
    ThrowSystemError("cannot bind " + address + ":" + std::to_string(port));
  }
  if (listen(socket.Get(), 16) != 0)
    ThrowSystemError("listen");
  return socket;
}

std::uint16_t LocalPort(const UniqueFd& socket) {
  sockaddr_storage storage{};
  socklen_t length = sizeof storage;
  if (getsockname(socket.Get(), reinterpret_cast<sockaddr*>(&storage), &length) != 0) {
    ThrowSystemError("getsockname");
  }
  if (storage.ss_family == AF_INET6) {
    return ntohs(reinterpret_cast<sockaddr_in6*>(&storage)->sin6_port);
  }
  return ntohs(reinterpret_cast<sockaddr_in*>(&storage)->sin_port);
}

UniqueFd AcceptWithin(const UniqueFd& listening, int timeoutMilliseconds) {
  pollfd waiting{listening.Get(), POLLIN, 0};
  if (poll(&waiting, 1, timeoutMilliseconds) <= 0)
    return UniqueFd();
  return UniqueFd(accept4(listening.Get(), nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC));
}

}  // namespace standin
