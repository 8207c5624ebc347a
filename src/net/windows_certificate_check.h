#pragma once
// Windows only: the system's own verdict on a server's certificate chain.
#include <string>
#include <vector>

namespace net {

// Whether Windows' chain engine builds a trusted chain for a TLS server from `chain`
// (the server's certificate first, then the intermediates it sent, each in DER) and the
// server certificate is issued for `host`. Roots come from the system's store, which
// Windows keeps current by itself.
bool WindowsTrustsChain(const std::vector<std::string>& chain, const std::string& host);

}  // namespace net
