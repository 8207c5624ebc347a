#include "app/vendor_url.h"

#include "platform/environment.h"

#ifndef DOSTRA_VENDOR_URL_DEFAULT
#error "DOSTRA_VENDOR_URL_DEFAULT must be set by the build"
#endif

namespace app {

namespace {

bool IsHttpsAddress(const std::string& url) {
  constexpr std::string_view scheme = "https://";
  return url.size() > scheme.size() && url.compare(0, scheme.size(), scheme) == 0;
}

std::string WithoutTrailingSlash(std::string url) {
  while (!url.empty() && url.back() == '/')
    url.pop_back();
  return url;
}

}  // namespace

std::string ChooseVendorUrl(const std::string& builtIn, const std::string* environmentOverride) {
  if (environmentOverride != nullptr && IsHttpsAddress(*environmentOverride)) {
    return WithoutTrailingSlash(*environmentOverride);
  }
  return WithoutTrailingSlash(builtIn);
}

std::string VendorUrl() {
  const auto value = platform::EnvironmentVariable(kVendorUrlVariable);
  return ChooseVendorUrl(DOSTRA_VENDOR_URL_DEFAULT, value ? &*value : nullptr);
}

}  // namespace app
