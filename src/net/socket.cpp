#include "net/socket.h"

#ifdef _WIN32
#include <winsock2.h>
#include <ws2tcpip.h>
#else
#include <fcntl.h>
#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#endif

#include <algorithm>
#include <climits>
#include <utility>

#include "net/http_error.h"

namespace net {

namespace {

using Clock = std::chrono::steady_clock;
using Milliseconds = std::chrono::milliseconds;
using Native = Socket::Native;

enum class Direction { kRead, kWrite };
enum class WaitResult { kReady, kTimedOut, kFailed };

// The few places where Winsock and POSIX sockets differ.
#ifdef _WIN32
constexpr Native kNoSocket = INVALID_SOCKET;

void StartSockets() {
  // Once per process; the matching WSACleanup is left to process exit.
  static const bool started = [] {
    WSADATA data;
    return ::WSAStartup(MAKEWORD(2, 2), &data) == 0;
  }();
  (void)started;
}

Native OpenSocket(const addrinfo& address) {
  // Not inherited: the updater starts another program later on.
  return ::WSASocketW(address.ai_family, address.ai_socktype, address.ai_protocol, nullptr, 0,
                      WSA_FLAG_OVERLAPPED | WSA_FLAG_NO_HANDLE_INHERIT);
}

void CloseSocket(Native socket) {
  ::closesocket(socket);
}

bool MakeNonBlocking(Native socket) {
  u_long on = 1;
  return ::ioctlsocket(socket, FIONBIO, &on) == 0;
}

int StartConnect(Native socket, const addrinfo& address) {
  return ::connect(socket, address.ai_addr, static_cast<int>(address.ai_addrlen));
}

int LastError() {
  return ::WSAGetLastError();
}

bool InProgress(int error) {
  return error == WSAEWOULDBLOCK || error == WSAEINPROGRESS;
}

bool WouldBlock(int error) {
  return error == WSAEWOULDBLOCK;
}

bool Interrupted(int error) {
  return error == WSAEINTR;
}

long SendSome(Native socket, const char* data, std::size_t size) {
  return ::send(socket, data, static_cast<int>(std::min<std::size_t>(size, INT_MAX)), 0);
}

long ReceiveSome(Native socket, char* buffer, std::size_t size) {
  return ::recv(socket, buffer, static_cast<int>(std::min<std::size_t>(size, INT_MAX)), 0);
}

int PendingError(Native socket) {
  int error = 0;
  int length = sizeof error;
  if (::getsockopt(socket, SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&error), &length) != 0)
    return LastError();
  return error;
}

// select rather than WSAPoll: WSAPoll does not report a failed connect on older Windows.
// One socket per set, so FD_SETSIZE is no concern.
WaitResult WaitOnce(Native socket, Direction direction, std::optional<Milliseconds> limit) {
  fd_set ready;
  fd_set failed;
  FD_ZERO(&ready);
  FD_ZERO(&failed);
  FD_SET(socket, &ready);
  FD_SET(socket, &failed);
  timeval time{};
  if (limit) {
    time.tv_sec = static_cast<long>(limit->count() / 1000);
    time.tv_usec = static_cast<long>((limit->count() % 1000) * 1000);
  }
  const int n =
      ::select(0, direction == Direction::kRead ? &ready : nullptr,
               direction == Direction::kWrite ? &ready : nullptr, &failed, limit ? &time : nullptr);
  if (n < 0)
    return Interrupted(LastError()) ? WaitResult::kTimedOut : WaitResult::kFailed;
  // A failure shows in the second set; the call that follows the wait reports it.
  return n == 0 ? WaitResult::kTimedOut : WaitResult::kReady;
}
#else
constexpr Native kNoSocket = -1;

void StartSockets() {}

Native OpenSocket(const addrinfo& address) {
  // Not inherited: the updater starts another program later on.
  return ::socket(address.ai_family, address.ai_socktype | SOCK_CLOEXEC, address.ai_protocol);
}

void CloseSocket(Native socket) {
  ::close(socket);
}

bool MakeNonBlocking(Native socket) {
  const int flags = ::fcntl(socket, F_GETFL, 0);
  return flags >= 0 && ::fcntl(socket, F_SETFL, flags | O_NONBLOCK) == 0;
}

int StartConnect(Native socket, const addrinfo& address) {
  return ::connect(socket, address.ai_addr, address.ai_addrlen);
}

int LastError() {
  return errno;
}

bool InProgress(int error) {
  return error == EINPROGRESS;
}

bool WouldBlock(int error) {
  return error == EAGAIN || error == EWOULDBLOCK;
}

bool Interrupted(int error) {
  return error == EINTR;
}

long SendSome(Native socket, const char* data, std::size_t size) {
  // MSG_NOSIGNAL: a server that has gone away must not end the process with SIGPIPE.
  return static_cast<long>(::send(socket, data, size, MSG_NOSIGNAL));
}

long ReceiveSome(Native socket, char* buffer, std::size_t size) {
  return static_cast<long>(::recv(socket, buffer, size, 0));
}

int PendingError(Native socket) {
  int error = 0;
  socklen_t length = sizeof error;
  if (::getsockopt(socket, SOL_SOCKET, SO_ERROR, &error, &length) != 0)
    return errno;
  return error;
}

WaitResult WaitOnce(Native socket, Direction direction, std::optional<Milliseconds> limit) {
  pollfd entry{};
  entry.fd = socket;
  entry.events = direction == Direction::kRead ? POLLIN : POLLOUT;
  const int timeout =
      limit ? static_cast<int>(std::min<Milliseconds::rep>(limit->count(), INT_MAX)) : -1;
  const int n = ::poll(&entry, 1, timeout);
  if (n < 0)
    return errno == EINTR ? WaitResult::kTimedOut : WaitResult::kFailed;
  // An error or hang-up counts as ready: the call that follows the wait reports it.
  return n == 0 ? WaitResult::kTimedOut : WaitResult::kReady;
}
#endif

// Waits until the socket is ready or the deadline passes; an interrupted wait resumes with
// what is left of the time.
WaitResult WaitUntil(Native socket, Direction direction,
                     std::optional<Clock::time_point> deadline) {
  for (;;) {
    std::optional<Milliseconds> left;
    if (deadline) {
      // Rounded up, so that a wait is never shorter than asked for.
      left = std::chrono::ceil<Milliseconds>(*deadline - Clock::now());
      if (left->count() < 0)
        left = Milliseconds(0);
    }
    const WaitResult result = WaitOnce(socket, direction, left);
    if (result != WaitResult::kTimedOut)
      return result;
    if (deadline && Clock::now() >= *deadline)
      return WaitResult::kTimedOut;
  }
}

std::optional<Clock::time_point> DeadlineAfter(std::optional<Milliseconds> limit) {
  if (!limit)
    return std::nullopt;
  return Clock::now() + *limit;
}

// Frees the list that getaddrinfo returned.
class AddressList {
 public:
  explicit AddressList(addrinfo* list) : list_(list) {}
  ~AddressList() { ::freeaddrinfo(list_); }
  AddressList(const AddressList&) = delete;
  AddressList& operator=(const AddressList&) = delete;
  const addrinfo* First() const { return list_; }

 private:
  addrinfo* list_;
};

}  // namespace

Socket::Socket(Native native, std::optional<Milliseconds> eachWait)
    : native_(native), eachWait_(eachWait) {}

Socket::Socket(Socket&& other) noexcept
    : native_(std::exchange(other.native_, kNoSocket)), eachWait_(other.eachWait_) {}

Socket& Socket::operator=(Socket&& other) noexcept {
  if (this != &other) {
    if (native_ != kNoSocket)
      CloseSocket(native_);
    native_ = std::exchange(other.native_, kNoSocket);
    eachWait_ = other.eachWait_;
  }
  return *this;
}

Socket::~Socket() {
  if (native_ != kNoSocket)
    CloseSocket(native_);
}

Socket Socket::Connect(const std::string& host, std::uint16_t port, const TimeLimits& limits) {
  StartSockets();
  addrinfo hints{};
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = SOCK_STREAM;
  hints.ai_flags = AI_NUMERICSERV;
  addrinfo* list = nullptr;
  if (::getaddrinfo(host.c_str(), std::to_string(port).c_str(), &hints, &list) != 0 ||
      list == nullptr)
    throw errors::HostNotResolved(host);
  const AddressList addresses(list);

  // One deadline for all addresses: a host with many dead addresses must not multiply it.
  const auto deadline = DeadlineAfter(limits.connect);
  for (const addrinfo* address = addresses.First(); address != nullptr;
       address = address->ai_next) {
    const Native native = OpenSocket(*address);
    if (native == kNoSocket)
      continue;
    Socket candidate(native, limits.eachWait);
    if (!MakeNonBlocking(native))
      continue;
    if (StartConnect(native, *address) == 0)
      return candidate;
    if (!InProgress(LastError()))
      continue;
    const WaitResult waited = WaitUntil(native, Direction::kWrite, deadline);
    if (waited == WaitResult::kTimedOut)
      throw errors::ConnectTimedOut(host, port);
    if (waited == WaitResult::kReady && PendingError(native) == 0)
      return candidate;
  }
  throw errors::ConnectFailed(host, port);
}

void Socket::SendAll(std::string_view bytes) {
  while (!bytes.empty()) {
    const long sent = SendSome(native_, bytes.data(), bytes.size());
    if (sent > 0) {
      bytes.remove_prefix(static_cast<std::size_t>(sent));
      continue;
    }
    const int error = LastError();
    if (sent < 0 && Interrupted(error))
      continue;
    if (sent == 0 || !WouldBlock(error))
      throw errors::WriteFailed();
    switch (WaitUntil(native_, Direction::kWrite, DeadlineAfter(eachWait_))) {
      case WaitResult::kReady:
        break;
      case WaitResult::kTimedOut:
        throw errors::WriteTimedOut();
      case WaitResult::kFailed:
        throw errors::WriteFailed();
    }
  }
}

std::size_t Socket::Receive(char* buffer, std::size_t size) {
  for (;;) {
    const long received = ReceiveSome(native_, buffer, size);
    if (received >= 0)
      return static_cast<std::size_t>(received);
    const int error = LastError();
    if (Interrupted(error))
      continue;
    if (!WouldBlock(error))
      throw errors::ReadFailed();
    switch (WaitUntil(native_, Direction::kRead, DeadlineAfter(eachWait_))) {
      case WaitResult::kReady:
        break;
      case WaitResult::kTimedOut:
        throw errors::ReadTimedOut();
      case WaitResult::kFailed:
        throw errors::ReadFailed();
    }
  }
}

}  // namespace net
