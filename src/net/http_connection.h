#pragma once
// One connection to an https server: TLS set up, a request sent, the response read. Both
// wire forms of the client (the query's POST, the download's HEAD and GET) are built on it.
#include <string_view>

#include "net/buffered_reader.h"
#include "net/time_limits.h"
#include "net/tls_connection.h"
#include "net/url.h"

namespace net {

class HttpConnection {
 public:
  // Loads OpenSSL before any traffic, then connects to the URL's host and port and sets up
  // TLS. Throws errors::TlsLibraryUnavailable, HostNotResolved, ConnectTimedOut or
  // ConnectFailed.
  HttpConnection(const Url& url, const TimeLimits& limits);
  // Closes the connection.
  ~HttpConnection() = default;
  HttpConnection(const HttpConnection&) = delete;
  HttpConnection& operator=(const HttpConnection&) = delete;

  void Send(std::string_view bytes) { tls_.Write(bytes); }
  BufferedReader& Reader() { return reader_; }

 private:
  TlsConnection tls_;
  BufferedReader reader_{tls_};
};

}  // namespace net
