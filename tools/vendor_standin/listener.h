// The listening TCP socket of the stand-in.
#pragma once

#include <cstdint>
#include <string>

#include "vendor_standin/unique_fd.h"

namespace standin {

// Binds address:port (port 0: an ephemeral one) and listens. Throws std::runtime_error.
UniqueFd Listen(const std::string& address, std::uint16_t port);

// The port the socket is bound to.
std::uint16_t LocalPort(const UniqueFd& socket);

// The next connection, or an invalid descriptor when none arrived within timeoutMilliseconds.
// The accepted socket is non-blocking.
UniqueFd AcceptWithin(const UniqueFd& listening, int timeoutMilliseconds);

}  // namespace standin
