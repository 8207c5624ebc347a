#include "app/vendor_url.h"

#include <gtest/gtest.h>

namespace {

TEST(VendorUrl, TheEnvironmentOverridesOnlyWithAnHttpsAddress) {
  const std::string builtIn = "https://updates.example.invalid";
  struct Case {
    const char* override;  // nullptr: not set
    const char* expected;
  };
  const Case cases[] = {
      {nullptr, "https://updates.example.invalid"},
      {"https://127.0.0.1:8443", "https://127.0.0.1:8443"},
      {"https://127.0.0.1:8443/", "https://127.0.0.1:8443"},
      {"http://127.0.0.1:8080", "https://updates.example.invalid"},
      {"", "https://updates.example.invalid"},
      {"https://", "https://updates.example.invalid"},
  };
  for (const auto& c : cases) {
    const std::string value = c.override ? c.override : "";
    EXPECT_EQ(app::ChooseVendorUrl(builtIn, c.override ? &value : nullptr), c.expected)
        << (c.override ? c.override : "(unset)");
  }
}

}  // namespace
