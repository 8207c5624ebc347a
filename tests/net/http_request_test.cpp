#include "net/http_request.h"

#include <gtest/gtest.h>

namespace {

// The version query's body, 106 bytes.
const std::string kQueryBody =
    "{\r\n  \"ID_UNIDADE_ESTACAO\" : 0,\r\n  \"ID_UNIDADE_DATABASE\" : 0,\r\n  \"OP_FIRST_SYNC\" : "
    "0,\r\n  \"ID_MODULO\" : 2\r\n}";

TEST(QueryRequest, IsTheFormRequestWithSixHeaderLinesAndTheBodyAsIs) {
  ASSERT_EQ(kQueryBody.size(), 106u);
  EXPECT_EQ(
      net::QueryRequest(net::ParseUrl("https://vendor.example/ws/infoVersion.php"), kQueryBody),
      "POST /ws/infoVersion.php HTTP/1.0\r\n"
      "Host: vendor.example\r\n"
      "Keep-Alive: 300\r\n"
      "Connection: keep-alive\r\n"
      "User-Agent: DOSTRA_UPDATE\r\n"
      "Content-Type: application/x-www-form-urlencoded\r\n"
      "Content-Length: 106\r\n"
      "\r\n" +
          kQueryBody);
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
