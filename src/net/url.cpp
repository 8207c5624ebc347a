#include "net/url.h"

#include "net/ascii.h"
#include "net/http_error.h"

namespace net {

namespace {

using ascii::EqualsIgnoringCase;
using ascii::IsDigit;

bool IsHexDigit(char c) {
  return ascii::HexValue(c) >= 0;
}

// Letters, digits, '-', '.', '_' : what a DNS name (or an IPv4 literal) is made of.
bool IsNameCharacter(char c) {
  return IsDigit(c) || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '-' || c == '.' ||
         c == '_';
}

// The path goes into the request line verbatim, so blanks and control characters would
// forge another line or header.
bool IsPathCharacter(char c) {
  const auto u = static_cast<unsigned char>(c);
  return u > 0x20 && u != 0x7f;
}

std::optional<std::uint16_t> ParsePort(std::string_view text) {
  if (text.empty() || text.size() > 5)
    return std::nullopt;
  unsigned value = 0;
  for (char c : text) {
    if (!IsDigit(c))
      return std::nullopt;
    value = value * 10 + static_cast<unsigned>(c - '0');
  }
  if (value == 0 || value > 65535)
    return std::nullopt;
  return static_cast<std::uint16_t>(value);
}

bool IsIpv4Literal(std::string_view host) {
  int parts = 0;
  std::size_t start = 0;
  for (;;) {
    const std::size_t dot = host.find('.', start);
    const std::string_view part =
        host.substr(start, dot == std::string_view::npos ? dot : dot - start);
    if (part.empty() || part.size() > 3)
      return false;
    int value = 0;
    for (char c : part) {
      if (!IsDigit(c))
        return false;
      value = value * 10 + (c - '0');
    }
    if (value > 255)
      return false;
    ++parts;
    if (dot == std::string_view::npos)
      return parts == 4;
    start = dot + 1;
  }
}

bool IsIpv6Literal(std::string_view host) {
  if (host.find(':') == std::string_view::npos)
    return false;
  for (char c : host) {
    if (!IsHexDigit(c) && c != ':' && c != '.')
      return false;
  }
  return true;
}

}  // namespace

std::string Url::HostForHeader() const {
  if (host.find(':') != std::string::npos)
    return "[" + host + "]";
  return host;
}

bool IsIpLiteral(std::string_view host) {
  return IsIpv4Literal(host) || IsIpv6Literal(host);
}

Url ParseUrl(std::string_view url) {
  constexpr std::string_view kScheme = "https://";
  if (url.size() < kScheme.size() || !EqualsIgnoringCase(url.substr(0, kScheme.size()), kScheme))
    throw errors::InvalidUrl(url);

  std::string_view rest = url.substr(kScheme.size());
  if (const auto hash = rest.find('#'); hash != std::string_view::npos)
    rest = rest.substr(0, hash);
  const std::size_t authorityEnd = rest.find_first_of("/?");
  const std::string_view authority = rest.substr(0, authorityEnd);

  Url result;
  if (authorityEnd == std::string_view::npos)
    result.path = "/";
  else if (rest[authorityEnd] == '?')
    result.path = "/" + std::string(rest.substr(authorityEnd));
  else
    result.path = std::string(rest.substr(authorityEnd));
  for (char c : result.path) {
    if (!IsPathCharacter(c))
      throw errors::InvalidUrl(url);
  }

  std::string_view host = authority;
  std::string_view portText;
  bool hasPort = false;
  if (!authority.empty() && authority.front() == '[') {
    const std::size_t close = authority.find(']');
    if (close == std::string_view::npos)
      throw errors::InvalidUrl(url);
    host = authority.substr(1, close - 1);
    const std::string_view after = authority.substr(close + 1);
    if (!after.empty()) {
      if (after.front() != ':')
        throw errors::InvalidUrl(url);
      hasPort = true;
      portText = after.substr(1);
    }
    if (!IsIpv6Literal(host))
      throw errors::InvalidUrl(url);
  } else {
    if (const auto colon = authority.find(':'); colon != std::string_view::npos) {
      host = authority.substr(0, colon);
      hasPort = true;
      portText = authority.substr(colon + 1);
    }
    // '@' (user information) and anything else outside a host name is refused here.
    for (char c : host) {
      if (!IsNameCharacter(c))
        throw errors::InvalidUrl(url);
    }
  }
  if (host.empty())
    throw errors::InvalidUrl(url);
  result.host = std::string(host);
  if (hasPort) {
    result.namedPort = ParsePort(portText);
    if (!result.namedPort)
      throw errors::InvalidUrl(url);
  }
  return result;
}

}  // namespace net
