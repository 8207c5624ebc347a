// One accepted TLS connection over a non-blocking socket. Every wait on the peer gives up
// when the server is stopping or the peer stays idle too long, so a stuck client never
// keeps Stop() waiting.
#pragma once

#include <openssl/ssl.h>

#include <atomic>
#include <chrono>
#include <cstddef>
#include <string_view>

#include "vendor_standin/openssl_handles.h"
#include "vendor_standin/unique_fd.h"

namespace standin {

class TlsConnection {
 public:
  TlsConnection(SSL_CTX* context, UniqueFd socket, const std::atomic<bool>& stopping);
  TlsConnection(const TlsConnection&) = delete;
  TlsConnection& operator=(const TlsConnection&) = delete;

  bool Handshake();
  // Bytes read into buffer; 0 when the peer closed, failed or was given up on.
  std::size_t Read(char* buffer, std::size_t size);
  bool Write(std::string_view bytes);
  // Answers nothing and returns once the peer has closed the connection or the server stops.
  void WaitForPeerToLeave();
  // Sends close_notify and ends the connection, letting the peer read what was sent.
  void Close();

 private:
  bool RetryAfter(int result);
  bool WaitUntilReady(short events);

  UniqueFd socket_;
  UniqueSsl ssl_;
  const std::atomic<bool>& stopping_;
  std::chrono::milliseconds idleLimit_{30000};
};

}  // namespace standin
