#pragma once
// Requests as they go on the wire.
#include <string>
#include <string_view>

#include "net/url.h"

namespace net {

// How the client names itself in the User-Agent header.
inline constexpr char kUserAgent[] = "DOSTRA_UPDATE";

// The query's form: a POST over HTTP/1.0 with exactly six header lines, in this order:
// Host (with ":port" only for a port other than 443), Keep-Alive, Connection, User-Agent,
// Content-Type (the form type, which the service expects although the body is JSON) and
// Content-Length; then the body byte for byte.
std::string QueryRequest(const Url& url, std::string_view body);

}  // namespace net
