#include "vendor_standin/tls_connection.h"

#include <openssl/err.h>
#include <poll.h>
#include <sys/socket.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <stdexcept>

namespace standin {
namespace {

constexpr int kPollSliceMilliseconds = 50;

}  // namespace

TlsConnection::TlsConnection(SSL_CTX* context, UniqueFd socket, const std::atomic<bool>& stopping)
    : socket_(std::move(socket)), ssl_(SSL_new(context)), stopping_(stopping) {
  if (!ssl_ || SSL_set_fd(ssl_.get(), socket_.Get()) != 1) {
    ThrowOpenSslError("cannot set up a TLS connection");
  }
}

bool TlsConnection::WaitUntilReady(short events) {
  const auto deadline = std::chrono::steady_clock::now() + idleLimit_;
  while (!stopping_) {
    pollfd waiting{socket_.Get(), events, 0};
    int ready = poll(&waiting, 1, kPollSliceMilliseconds);
    if (ready > 0)
      return true;
    if (ready < 0 && errno != EINTR)
      return false;
    if (std::chrono::steady_clock::now() >= deadline)
      return false;
  }
  return false;
}

bool TlsConnection::RetryAfter(int result) {
  switch (SSL_get_error(ssl_.get(), result)) {
    case SSL_ERROR_WANT_READ:
      return WaitUntilReady(POLLIN);
    case SSL_ERROR_WANT_WRITE:
      return WaitUntilReady(POLLOUT);
    default:
      // The thread's error queue is left clean for the next connection.
      ERR_clear_error();
      return false;
  }
}

bool TlsConnection::Handshake() {
  for (;;) {
    int result = SSL_accept(ssl_.get());
    if (result == 1)
      return true;
    if (!RetryAfter(result))
      return false;
  }
}

std::size_t TlsConnection::Read(char* buffer, std::size_t size) {
  const int wanted = static_cast<int>(std::min<std::size_t>(size, INT_MAX));
  for (;;) {
    int result = SSL_read(ssl_.get(), buffer, wanted);
    if (result > 0)
      return static_cast<std::size_t>(result);
    if (!RetryAfter(result))
      return 0;
  }
}

bool TlsConnection::Write(std::string_view bytes) {
  while (!bytes.empty()) {
    const int chunk = static_cast<int>(std::min<std::size_t>(bytes.size(), INT_MAX));
    int result = SSL_write(ssl_.get(), bytes.data(), chunk);
    if (result > 0) {
      bytes.remove_prefix(static_cast<std::size_t>(result));
    } else if (!RetryAfter(result)) {
      return false;
    }
  }
  return true;
}

void TlsConnection::WaitForPeerToLeave() {
  char scratch[4096];
  while (!stopping_) {
    pollfd waiting{socket_.Get(), POLLIN, 0};
    int ready = poll(&waiting, 1, kPollSliceMilliseconds);
    if (ready < 0 && errno != EINTR)
      return;
    if (ready <= 0)
      continue;
    int result = SSL_read(ssl_.get(), scratch, sizeof scratch);
    if (result <= 0 && SSL_get_error(ssl_.get(), result) != SSL_ERROR_WANT_READ) {
      ERR_clear_error();
      return;
    }
  }
}

void TlsConnection::Close() {
  SSL_shutdown(ssl_.get());
  ERR_clear_error();
  // Closing with unread bytes from the peer would reset the connection and could destroy
  // the reply before the peer has read it; so the write side ends first and what the peer
  // still sends is drained for a moment.
  shutdown(socket_.Get(), SHUT_WR);
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(500);
  char scratch[4096];
  while (!stopping_ && std::chrono::steady_clock::now() < deadline) {
    pollfd waiting{socket_.Get(), POLLIN, 0};
    if (poll(&waiting, 1, kPollSliceMilliseconds) <= 0)
      continue;
    if (recv(socket_.Get(), scratch, sizeof scratch, 0) <= 0)
      break;
  }
  socket_.Reset();
}

}  // namespace standin
