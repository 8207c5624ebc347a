#pragma once
// The parts of an https address that a request needs.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace net {

struct Url {
  std::string host;                        // without the brackets of an IPv6 literal
  std::optional<std::uint16_t> namedPort;  // the port when the address names one
  std::string path;                        // as written, from the first '/' ("/" when none)

  std::uint16_t Port() const { return namedPort.value_or(443); }
  // The host as written in a Host header: an IPv6 literal goes back into brackets.
  std::string HostForHeader() const;
};

// Parses "https://host[:port][/path]" (scheme in any case). A fragment is dropped; user
// information, other schemes, and text that cannot stand in a request line or a Host
// header are refused with errors::InvalidUrl.
Url ParseUrl(std::string_view url);

// Whether the host is an address rather than a name (IPv4 dotted quad or IPv6).
bool IsIpLiteral(std::string_view host);

}  // namespace net
