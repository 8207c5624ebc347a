// The query form against the vendor stand-in: real TLS on loopback, scripted replies.
#include "net/http_client.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <memory>

#include "tools/temporary_folder.h"
#include "vendor_standin/vendor_standin.h"
#include "version_query_wire.h"

namespace {

using wire_test::kQueryBody;
constexpr char kQueryPath[] = "/ws/infoVersion.php";

class HttpClientTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    folder_ = new tools_test::TemporaryFolder();
    // The production path trusts OpenSSL's default store; the stand-in's CA joins it here.
    setenv("SSL_CERT_FILE", CaPath().c_str(), 1);
  }
  static void TearDownTestSuite() {
    unsetenv("SSL_CERT_FILE");
    delete folder_;
    folder_ = nullptr;
  }

  static std::string CaPath() { return folder_->File("test-ca.pem"); }

  static standin::Options Options() {
    standin::Options options;
    options.caCertificatePath = CaPath();
    return options;
  }

  static std::unique_ptr<standin::VendorStandIn> Started(standin::Options options) {
    auto server = std::make_unique<standin::VendorStandIn>(std::move(options));
    server->Start();
    return server;
  }

  // Short enough that a hang fails the test quickly, long enough for a loaded machine.
  static net::TimeLimits TestLimits() {
    net::TimeLimits limits;
    limits.connect = std::chrono::seconds(10);
    limits.eachWait = std::chrono::seconds(10);
    return limits;
  }

 private:
  static tools_test::TemporaryFolder* folder_;
};

tools_test::TemporaryFolder* HttpClientTest::folder_ = nullptr;

TEST_F(HttpClientTest, PostsTheQueryInItsWireFormAndReturnsTheReplyBody) {
  standin::Options options = Options();
  options.versionReplyBody = "[[{\"ID_ERRO\":0,\"DS_ERRO\":\"\",\"VERSAO_ATUAL\":\"03012005\"}]]";
  const auto server = Started(options);
  net::HttpClient client(TestLimits());

  const auto reply = client.PostForBody(server->Url() + kQueryPath, kQueryBody);

  ASSERT_TRUE(reply) << client.LastFailure();
  EXPECT_EQ(*reply, options.versionReplyBody);
  EXPECT_EQ(client.LastFailure(), "");
  ASSERT_EQ(server->RecordedRequests().size(), 1u);
  EXPECT_EQ(server->RecordedRequests()[0],
            wire_test::QueryRequest("localhost:" + std::to_string(server->Port())));
}

TEST_F(HttpClientTest, VerifiesAnAddressAgainstTheCertificatesAddresses) {
  const auto server = Started(Options());  // names localhost and 127.0.0.1
  net::HttpClient client(TestLimits());
  const std::string url = "https://127.0.0.1:" + std::to_string(server->Port()) + kQueryPath;

  EXPECT_TRUE(client.PostForBody(url, kQueryBody)) << client.LastFailure();
  ASSERT_EQ(server->RecordedRequests().size(), 1u);
  EXPECT_NE(server->RecordedRequests()[0].find(
                "\r\nHost: 127.0.0.1:" + std::to_string(server->Port()) + "\r\n"),
            std::string::npos);
}

TEST_F(HttpClientTest, TakesTheBodyOfEveryReplyShapeWhateverTheStatus) {
  struct Case {
    const char* what;
    std::string reply;
    std::string body;
  };
  const std::string large(20000, 'L');
  const Case cases[] = {
      {"Content-Length", "HTTP/1.1 200 OK\r\nContent-Length: 5\r\n\r\nhello", "hello"},
      {"bytes beyond Content-Length", "HTTP/1.1 200 OK\r\nContent-Length: 2\r\n\r\nhello", "he"},
      {"header names in any case", "HTTP/1.1 200 OK\r\ncontent-length: 3\r\n\r\nabcdef", "abc"},
      {"large body", "HTTP/1.1 200 OK\r\nContent-Length: 20000\r\n\r\n" + large, large},
      {"chunked with extensions and trailer",
       "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n"
       "5;name=value\r\nhello\r\n1\r\n \r\n5\r\nworld\r\n0\r\nX-Trailer: yes\r\n\r\n",
       "hello world"},
      {"chunked wins over Content-Length",
       "HTTP/1.1 200 OK\r\nContent-Length: 1\r\nTransfer-Encoding: Chunked\r\n\r\n"
       "3\r\nabc\r\n0\r\n\r\n",
       "abc"},
      {"to the close", "HTTP/1.0 200 OK\r\nContent-Type: text/plain\r\n\r\n" + large, large},
      {"interim 100 first",
       "HTTP/1.1 100 Continue\r\n\r\nHTTP/1.1 100 Continue\r\nX: y\r\n\r\n"
       "HTTP/1.1 200 OK\r\nContent-Length: 2\r\n\r\nok",
       "ok"},
      {"204 has no body", "HTTP/1.1 204 No Content\r\nContent-Length: 4\r\n\r\njunk", ""},
      {"304 has no body", "HTTP/1.1 304 Not Modified\r\n\r\njunk", ""},
      {"404 body", "HTTP/1.1 404 Not Found\r\nContent-Length: 0\r\n\r\n", ""},
      {"404 page", "HTTP/1.1 404 Not Found\r\nContent-Length: 9\r\n\r\nnot found", "not found"},
      {"500 page to the close", "HTTP/1.1 500 Internal Server Error\r\n\r\n<html>oops</html>",
       "<html>oops</html>"},
      {"302 body, not followed",
       "HTTP/1.1 302 Found\r\nLocation: https://localhost:1/elsewhere\r\nContent-Length: 5\r\n\r\n"
       "moved",
       "moved"},
      {"bare LF line ends", "HTTP/1.1 200 OK\nContent-Length: 2\n\nok", "ok"},
  };
  standin::Options options = Options();
  for (const auto& c : cases)
    options.scriptedReplies.push_back(c.reply);
  const auto server = Started(options);

  for (const auto& c : cases) {
    net::HttpClient client(TestLimits());
    const auto reply = client.PostForBody(server->Url() + kQueryPath, kQueryBody);
    ASSERT_TRUE(reply) << c.what << ": " << client.LastFailure();
    EXPECT_EQ(*reply, c.body) << c.what;
  }
  // One connection per query: the redirect was not followed.
  EXPECT_EQ(server->RecordedRequests().size(), std::size(cases));
}

TEST_F(HttpClientTest, EveryTransportFailureIsNoReply) {
  standin::Options untrustedOptions = Options();
  untrustedOptions.untrustedCertificate = true;
  const auto untrusted = Started(untrustedOptions);

  standin::Options otherHostOptions = Options();
  otherHostOptions.certificateNames = {"other.example"};
  const auto otherHost = Started(otherHostOptions);

  standin::Options nameOnlyOptions = Options();
  nameOnlyOptions.certificateNames = {"localhost"};
  const auto nameOnly = Started(nameOnlyOptions);

  auto stopped = Started(Options());
  const std::uint16_t refusedPort = stopped->Port();
  stopped->Stop();

  standin::Options scriptedOptions = Options();
  scriptedOptions.scriptedReplies = {
      "<silent>",
      "HTTP/1.1 200 OK\r\nContent-Length: 100\r\n\r\n0123456789",
      "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\na\r\n01234",
      "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n5\r\nhello",
      "<close>",
      "HTTP/1.1 200 OK\r\nContent-Len",
      "<html>not http</html>\r\n\r\n",
      "HTTP/1.1 OK\r\n\r\n",
      "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n5\r\nhello!!0\r\n\r\n",
      "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\nFFFFFFFF\r\n",
      "HTTP/1.1 200 OK\r\nContent-Length: 12x\r\n\r\n",
  };
  const auto scripted = Started(scriptedOptions);

  const auto url = [](const standin::VendorStandIn& server) { return server.Url() + kQueryPath; };
  const auto at = [](std::uint16_t port) { return "localhost:" + std::to_string(port); };
  const std::string cutShort = "Connection closed before the end of the response";
  struct Case {
    const char* what;
    std::string url;
    std::string failure;
  };
  // The scripted cases meet the scripted replies in order, one connection each.
  const Case cases[] = {
      {"refused", "https://localhost:" + std::to_string(refusedPort) + kQueryPath,
       "Connect to " + at(refusedPort) + " failed."},
      {"unknown host", std::string("https://nonexistent.invalid") + kQueryPath,
       "Host name resolution for \"nonexistent.invalid\" failed."},
      {"untrusted certificate", url(*untrusted),
       "Connect to " + at(untrusted->Port()) + " failed."},
      {"certificate for another host", url(*otherHost),
       "Connect to " + at(otherHost->Port()) + " failed."},
      {"address not in the certificate",
       "https://127.0.0.1:" + std::to_string(nameOnly->Port()) + kQueryPath,
       "Connect to 127.0.0.1:" + std::to_string(nameOnly->Port()) + " failed."},
      {"not https", "http://localhost:" + std::to_string(scripted->Port()) + kQueryPath,
       "Invalid URL: \"http://localhost:" + std::to_string(scripted->Port()) + kQueryPath + "\""},
      {"silent server", url(*scripted), "Read timed out"},
      {"Content-Length 100, 10 bytes", url(*scripted), cutShort},
      {"chunked, cut in a chunk", url(*scripted), cutShort},
      {"chunked, cut before the last chunk", url(*scripted), cutShort},
      {"closed without a reply", url(*scripted), cutShort},
      {"closed in the header", url(*scripted), cutShort},
      {"not HTTP", url(*scripted), "Invalid protocol version in response: \"<HTML>NOT\""},
      {"no status code", url(*scripted), "Invalid response status code: OK"},
      {"chunk without its line end", url(*scripted), "Chunk line end missing"},
      {"chunk too big", url(*scripted),
       "Chunk too big: Got 4294967295, maximum allowed size: 268435455"},
      {"bad Content-Length", url(*scripted), "Invalid Content-Length in response: \"12x\""},
  };
  net::TimeLimits limits = TestLimits();
  for (const auto& c : cases) {
    // The silent server is the only one that needs the short wait.
    limits.eachWait = std::string(c.what) == "silent server" ? std::chrono::milliseconds(300)
                                                             : TestLimits().eachWait;
    net::HttpClient client(limits);
    EXPECT_EQ(client.PostForBody(c.url, kQueryBody), std::nullopt) << c.what;
    EXPECT_EQ(client.LastFailure(), c.failure) << c.what;
  }
  EXPECT_EQ(untrusted->RecordedRequests().size(), 0u);  // nothing sent to an unverified peer
  EXPECT_EQ(otherHost->RecordedRequests().size(), 0u);
  EXPECT_EQ(scripted->RecordedRequests().size(), scriptedOptions.scriptedReplies.size());
}

}  // namespace
