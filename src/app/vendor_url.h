#pragma once
#include <string>

namespace app {

// Name of the environment variable that overrides the built-in vendor address (tests,
// demo, staging).
inline constexpr char kVendorUrlVariable[] = "DOSTRA_VENDOR_URL";

// The vendor's web server, "https://host[:port]" without a trailing slash: the
// environment variable when it is set to an https address, else the address built in.
std::string VendorUrl();

// The same choice, with the inputs given: an override that is not an https address is
// ignored, since the package fetched from this server is executed.
std::string ChooseVendorUrl(const std::string& builtIn, const std::string* environmentOverride);

}  // namespace app
