#include "net/http_request.h"

#include <gtest/gtest.h>

#include "version_query_wire.h"

namespace {

using wire_test::kQueryBody;

TEST(QueryRequest, IsTheFormRequestWithSixHeaderLinesAndTheBodyAsIs) {
  EXPECT_EQ(
      net::QueryRequest(net::ParseUrl("https://vendor.example/ws/infoVersion.php"), kQueryBody),
      wire_test::QueryRequest("vendor.example"));
}

TEST(QueryRequest, NamesThePortInTheHostLineOnlyWhenItIsNot443) {
  struct Case {
    const char* url;
    const char* hostLine;
  };
  const Case cases[] = {
      {"https://vendor.example/ws", "Host: vendor.example\r\n"},
      {"https://vendor.example:443/ws", "Host: vendor.example\r\n"},
      {"https://vendor.example:8443/ws", "Host: vendor.example:8443\r\n"},
      {"https://127.0.0.1:80/ws", "Host: 127.0.0.1:80\r\n"},
      {"https://[::1]:8443/ws", "Host: [::1]:8443\r\n"},
      {"https://[::1]/ws", "Host: [::1]\r\n"},
  };
  for (const auto& c : cases) {
    const std::string request = net::QueryRequest(net::ParseUrl(c.url), "x");
    const auto lineStart = request.find("\r\n") + 2;
    EXPECT_EQ(request.substr(lineStart, request.find("\r\n", lineStart) + 2 - lineStart),
              c.hostLine)
        << c.url;
  }
}

}  // namespace
