#pragma once
// The HTTP client over TLS. Each request opens its own connection and closes it when the
// response has been read.
#include <optional>
#include <string>
#include <string_view>

#include "net/time_limits.h"

namespace net {

class HttpClient {
 public:
  explicit HttpClient(TimeLimits limits = {}) : limits_(limits) {}

  // POSTs `body` to the https `url` as an HTTP/1.0 form request and returns the reply's
  // body, whatever its status (a 404 page or a redirect's body included; redirects are not
  // followed). Every transport failure is no reply: a name that does not resolve, a
  // refused connection, TLS that cannot be set up or a certificate that does not verify,
  // a wait beyond the limit, a reply cut short or not readable as HTTP.
  std::optional<std::string> PostForBody(const std::string& url, std::string_view body);

  // Why the last request came to nothing; empty after a request that succeeded.
  const std::string& LastFailure() const { return lastFailure_; }

 private:
  TimeLimits limits_;
  std::string lastFailure_;
};

}  // namespace net
