#include "net/url.h"

#include <gtest/gtest.h>

#include "net/failure_of.h"

namespace {

TEST(ParseUrl, TakesHostPortAndPathAsWritten) {
  struct Case {
    const char* url;
    const char* host;
    int namedPort;  // 0: none
    int port;       // the one connected to
    const char* path;
    const char* hostForHeader;
  };
  const Case cases[] = {
      {"https://updates.example.com/ws/infoVersion.php", "updates.example.com", 0, 443,
       "/ws/infoVersion.php", "updates.example.com"},
      {"HTTPS://localhost:8443/ws/infoVersion.php", "localhost", 8443, 8443, "/ws/infoVersion.php",
       "localhost"},
      {"https://localhost:443/x", "localhost", 443, 443, "/x", "localhost"},
      {"https://localhost", "localhost", 0, 443, "/", "localhost"},
      {"https://localhost?a=1", "localhost", 0, 443, "/?a=1", "localhost"},
      {"https://h/download/dostra/DOSTRA_03012005.zip#part", "h", 0, 443,
       "/download/dostra/DOSTRA_03012005.zip", "h"},
      {"https://h/a%20b?q=1&r=%2F", "h", 0, 443, "/a%20b?q=1&r=%2F", "h"},
      {"https://127.0.0.1:65535/", "127.0.0.1", 65535, 65535, "/", "127.0.0.1"},
      {"https://[::1]:8443/ws", "::1", 8443, 8443, "/ws", "[::1]"},
  };
  for (const auto& c : cases) {
    const net::Url url = net::ParseUrl(c.url);
    EXPECT_EQ(url.host, c.host) << c.url;
    EXPECT_EQ(url.namedPort.value_or(0), c.namedPort) << c.url;
    EXPECT_EQ(url.Port(), c.port) << c.url;
    EXPECT_EQ(url.path, c.path) << c.url;
    EXPECT_EQ(url.HostForHeader(), c.hostForHeader) << c.url;
  }
}

TEST(ParseUrl, RefusesWhatCannotGoIntoARequestSafely) {
  const char* const refused[] = {
      "http://localhost/ws",          // not TLS
      "ftp://localhost/",             //
      "localhost/ws",                 //
      "https://",                     // no host
      "https:///ws",                  //
      "https://:8443/ws",             //
      "https://localhost:/ws",        // empty port
      "https://localhost:0/ws",       //
      "https://localhost:65536/ws",   //
      "https://localhost:84x3/ws",    //
      "https://user:pw@localhost/",   // credentials are never sent
      "https://local host/",          //
      "https://localhost\r\nX: y/",   // header injection through the host
      "https://localhost/a b",        // request line injection through the path
      "https://localhost/a\r\nX: y",  //
      "https://[::1/ws",              //
      "https://[zz::1]/ws",           //
      "https://[::1]8443/ws",         //
  };
  for (const char* url : refused) {
    EXPECT_EQ(net_test::FailureOf([&] { net::ParseUrl(url); }),
              "Invalid URL: \"" + std::string(url) + "\"");
  }
}

TEST(IsIpLiteral, TellsAddressesFromNames) {
  EXPECT_TRUE(net::IsIpLiteral("127.0.0.1"));
  EXPECT_TRUE(net::IsIpLiteral("::1"));
  EXPECT_TRUE(net::IsIpLiteral("::ffff:10.0.0.1"));
  EXPECT_FALSE(net::IsIpLiteral("localhost"));
  EXPECT_FALSE(net::IsIpLiteral("1.2.3"));
  EXPECT_FALSE(net::IsIpLiteral("1.2.3.256"));
  EXPECT_FALSE(net::IsIpLiteral("1.2.3.4.example"));
  EXPECT_FALSE(net::IsIpLiteral("cafe.example"));
}

}  // namespace
