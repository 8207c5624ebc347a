#pragma once
// TLS over a connected socket, through OpenSSL loaded at run time. OpenSSL works on memory
// buffers only; every byte to and from the server goes through Socket, so each wait is
// bounded by the socket's limits.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "net/byte_stream.h"
#include "net/openssl_library.h"
#include "net/socket.h"

namespace net {

class TlsConnection : public ByteSource {
 public:
  // Runs the handshake, naming the host to the server (SNI), and verifies the server's
  // certificate chain and that it is issued for `host`. Throws errors::ConnectFailed
  // when the handshake fails or the certificate is not trusted.
  TlsConnection(const openssl::Api& api, Socket socket, const std::string& host,
                std::uint16_t port);
  // Says goodbye to the server (close_notify) when the connection is still sound.
  ~TlsConnection() override;
  TlsConnection(const TlsConnection&) = delete;
  TlsConnection& operator=(const TlsConnection&) = delete;

  // Sends every byte; throws errors::WriteFailed or WriteTimedOut.
  void Write(std::string_view bytes);
  // Up to `size` bytes of the server's data; 0 once it has ended. Throws
  // errors::ReadFailed or ReadTimedOut.
  std::size_t ReadSome(char* buffer, std::size_t size) override;

 private:
  template <typename T, auto Free>
  struct Deleter {
    const openssl::Api* api;
    void operator()(T* object) const { (api->*Free)(object); }
  };
  using ContextPtr =
      std::unique_ptr<openssl::SSL_CTX, Deleter<openssl::SSL_CTX, &openssl::Api::SSL_CTX_free>>;
  using BioPtr = std::unique_ptr<openssl::BIO, Deleter<openssl::BIO, &openssl::Api::BIO_free>>;
  using SessionPtr = std::unique_ptr<openssl::SSL, Deleter<openssl::SSL, &openssl::Api::SSL_free>>;

  bool Handshake();
  bool PeerIsTrusted() const;
  bool ReceiveMore();
  void FlushOutput();

  const openssl::Api& api_;
  Socket socket_;
  std::string host_;
  ContextPtr context_;
  SessionPtr session_;
  openssl::BIO* incoming_ = nullptr;  // owned by session_
  openssl::BIO* outgoing_ = nullptr;  // owned by session_
  bool serverClosed_ = false;
  bool sound_ = false;
};

}  // namespace net
