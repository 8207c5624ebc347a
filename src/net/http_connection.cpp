#include "net/http_connection.h"

#include <utility>

#include "net/openssl_library.h"
#include "net/socket.h"

namespace net {

namespace {

TlsConnection Connect(const Url& url, const TimeLimits& limits) {
  // The library first: when it is missing, nothing goes on the wire.
  const openssl::Api& api = openssl::OpenSsl();
  Socket socket = Socket::Connect(url.host, url.Port(), limits);
  return TlsConnection(api, std::move(socket), url.host, url.Port());
}

}  // namespace

HttpConnection::HttpConnection(const Url& url, const TimeLimits& limits)
    : tls_(Connect(url, limits)) {}

}  // namespace net
