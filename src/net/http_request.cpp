#include "net/http_request.h"

namespace net {

std::string QueryRequest(const Url& url, std::string_view body) {
  std::string host = url.HostForHeader();
  if (url.Port() != 443)
    host += ":" + std::to_string(url.Port());
  std::string request;
  request += "POST " + url.path + " HTTP/1.0\r\n";
  request += "Host: " + host + "\r\n";
  request += "Keep-Alive: 300\r\n";
  request += "Connection: keep-alive\r\n";
  request += std::string("User-Agent: ") + kUserAgent + "\r\n";
  request += "Content-Type: application/x-www-form-urlencoded\r\n";
  request += "Content-Length: " + std::to_string(body.size()) + "\r\n";
  request += "\r\n";
  request += body;
  return request;
}

}  // namespace net
