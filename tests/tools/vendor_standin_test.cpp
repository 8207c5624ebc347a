#include "vendor_standin/vendor_standin.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "tools/temporary_folder.h"
#include "tools/tls_test_client.h"
#include "version_query_wire.h"

namespace {

using namespace std::chrono_literals;
using tools_test::BodyOf;
using tools_test::ClientSettings;
using tools_test::Exchange;
using tools_test::HeaderValue;
using tools_test::StatusLine;

using wire_test::kQueryBody;

std::string QueryHead(std::uint16_t port, std::size_t contentLength) {
  return "POST /ws/infoVersion.php HTTP/1.0\r\nHost: localhost:" + std::to_string(port) +
         "\r\nKeep-Alive: 300\r\nConnection: keep-alive\r\nUser-Agent: test\r\n"
         "Content-Type: application/x-www-form-urlencoded\r\nContent-Length: " +
         std::to_string(contentLength) + "\r\n\r\n";
}

std::string Get(const std::string& method, const std::string& target) {
  return method + " " + target + " HTTP/1.1\r\nHost: localhost\r\nConnection: close\r\n\r\n";
}

using tools_test::ReadFile;
using tools_test::WriteFile;

class VendorStandInTest : public testing::Test {
 protected:
  standin::Options BaseOptions() const {
    standin::Options options;
    options.caCertificatePath = folder_.File("ca.pem");
    return options;
  }
  ClientSettings Verifying(const std::string& hostName = "localhost") const {
    ClientSettings settings;
    settings.caCertificatePath = folder_.File("ca.pem");
    settings.hostName = hostName;
    return settings;
  }

  tools_test::TemporaryFolder folder_;
};

TEST_F(VendorStandInTest, AnswersTheVersionQueryAndRecordsTheRequestByteForByte) {
  standin::Options options = BaseOptions();
  options.versionReplyBody = R"([[{"ID_ERRO":0,"DS_ERRO":"","VERSAO_ATUAL":"03012005"}]])";
  standin::VendorStandIn server(options);
  server.Start();
  ASSERT_NE(server.Port(), 0);
  EXPECT_EQ(server.Url(), "https://localhost:" + std::to_string(server.Port()));

  // Head and body in separate writes, the body itself split: the server must join them.
  const std::string head = QueryHead(server.Port(), kQueryBody.size());
  auto result =
      Exchange(server.Port(), {head, kQueryBody.substr(0, 10), kQueryBody.substr(10)}, Verifying());

  ASSERT_TRUE(result.handshakeDone) << result.verifyError;
  EXPECT_TRUE(result.closedByServer);
  EXPECT_EQ(StatusLine(result.reply), "HTTP/1.1 200 OK");
  EXPECT_EQ(HeaderValue(result.reply, "Connection"), "close");
  EXPECT_EQ(HeaderValue(result.reply, "Content-Length"),
            std::to_string(options.versionReplyBody.size()));
  EXPECT_EQ(BodyOf(result.reply), options.versionReplyBody);
  EXPECT_EQ(server.RecordedRequests(), std::vector<std::string>{head + kQueryBody});
}

TEST_F(VendorStandInTest, VersionReplyCarriesTheConfiguredStatus) {
  struct Case {
    int status;
    const char* statusLine;
    const char* body;
  };
  const Case cases[] = {
      {404, "HTTP/1.1 404 Not Found", ""},
      {500, "HTTP/1.1 500 Internal Server Error", "<html><body>oops</body></html>"},
      {302, "HTTP/1.1 302 Found", "moved"},
  };
  for (const Case& c : cases) {
    standin::Options options = BaseOptions();
    options.versionReplyStatus = c.status;
    options.versionReplyBody = c.body;
    standin::VendorStandIn server(options);
    server.Start();
    auto result = Exchange(server.Port(), {QueryHead(server.Port(), 2) + "{}"}, Verifying());
    EXPECT_EQ(StatusLine(result.reply), c.statusLine);
    EXPECT_EQ(BodyOf(result.reply), c.body) << c.status;
  }
}

TEST_F(VendorStandInTest, CertificateIsCheckedAgainstTheWrittenCaAndTheHostName) {
  struct Case {
    const char* hostName;
    bool untrusted;
    bool passes;
  };
  const Case cases[] = {
      {"localhost", false, true},
      {"127.0.0.1", false, true},
      {"updates.dostra-vendor.invalid", false, false},
      {"localhost", true, false},
  };
  for (const Case& c : cases) {
    standin::Options options = BaseOptions();
    options.untrustedCertificate = c.untrusted;
    standin::VendorStandIn server(options);
    server.Start();
    auto result = Exchange(server.Port(), {Get("GET", "/")}, Verifying(c.hostName));
    EXPECT_EQ(result.handshakeDone, c.passes) << c.hostName << " " << result.verifyError;
    EXPECT_EQ(result.verifyError.empty(), c.passes) << c.hostName;
  }
}

TEST_F(VendorStandInTest, UntrustedCertificateStillServesClientsThatDoNotVerify) {
  standin::Options options = BaseOptions();
  options.untrustedCertificate = true;
  options.versionReplyBody = "[]";
  standin::VendorStandIn server(options);
  server.Start();
  auto result = Exchange(server.Port(), {QueryHead(server.Port(), 2) + "{}"});
  ASSERT_TRUE(result.handshakeDone);
  EXPECT_EQ(BodyOf(result.reply), "[]");
}

TEST_F(VendorStandInTest, ReusesAnExistingCa) {
  std::string firstCa;
  {
    standin::VendorStandIn first(BaseOptions());
    firstCa = ReadFile(folder_.File("ca.pem"));
  }
  ASSERT_NE(firstCa.find("BEGIN CERTIFICATE"), std::string::npos);
  standin::VendorStandIn second(BaseOptions());
  second.Start();
  EXPECT_EQ(ReadFile(folder_.File("ca.pem")), firstCa);
  auto result = Exchange(second.Port(), {Get("GET", "/")}, Verifying());
  EXPECT_TRUE(result.handshakeDone) << result.verifyError;
}

TEST_F(VendorStandInTest, ConstructionFailsWithoutACaPath) {
  EXPECT_THROW(standin::VendorStandIn(standin::Options{}), std::runtime_error);
}

TEST_F(VendorStandInTest, ScriptedRepliesAreReplayedPerConnectionThenNormalHandlingResumes) {
  const std::string raw = "HTTP/1.1 200 OK\r\nContent-Length: 100\r\n\r\nshort";
  standin::Options options = BaseOptions();
  options.scriptedReplies = {raw, "<close>", "<silent>"};
  options.versionReplyBody = "normal";
  standin::VendorStandIn server(options);
  server.Start();
  const std::string query = QueryHead(server.Port(), 2) + "{}";

  auto first = Exchange(server.Port(), {query});
  EXPECT_EQ(first.reply, raw);
  EXPECT_TRUE(first.closedByServer);

  auto second = Exchange(server.Port(), {query});
  EXPECT_EQ(second.reply, "");
  EXPECT_TRUE(second.closedByServer);

  ClientSettings patient;
  patient.readLimit = std::chrono::milliseconds(300);
  auto third = Exchange(server.Port(), {query}, patient);
  EXPECT_TRUE(third.handshakeDone);
  EXPECT_EQ(third.reply, "");
  EXPECT_FALSE(third.closedByServer);

  // The silent connection ends when its client leaves, so the next one is served.
  auto fourth = Exchange(server.Port(), {query});
  EXPECT_EQ(BodyOf(fourth.reply), "normal");
  EXPECT_EQ(server.RecordedRequests(), std::vector<std::string>(4, query));
}

TEST_F(VendorStandInTest, StopEndsASilentConnection) {
  standin::Options options = BaseOptions();
  options.scriptedReplies = {"<silent>"};
  standin::VendorStandIn server(options);
  server.Start();
  std::thread stopper([&] {
    while (server.RecordedRequests().empty())
      std::this_thread::sleep_for(10ms);
    server.Stop();
  });
  auto result = Exchange(server.Port(), {Get("GET", "/")});
  stopper.join();
  EXPECT_TRUE(result.handshakeDone);
  EXPECT_EQ(result.reply, "");
}

class DownloadTest : public VendorStandInTest {
 protected:
  void SetUp() override {
    std::filesystem::create_directories(folder_.Path() / "packages" / "sub");
    std::mt19937 random(7);
    package_.resize(300 * 1024 + 17);
    for (char& byte : package_)
      byte = static_cast<char>(random());
    WriteFile(folder_.File("packages/DOSTRA_03012005.zip"), package_);
    // Contents that no reply names, so that a leak of either shows in any reply.
    WriteFile(folder_.File("packages/sub/inner.zip"), "contents of the inner package");
    WriteFile(folder_.File("secret.txt"), "contents of the secret file");
    standin::Options options = BaseOptions();
    options.downloadFolder = folder_.File("packages");
    server_ = std::make_unique<standin::VendorStandIn>(options);
    server_->Start();
  }

  std::string package_;
  std::unique_ptr<standin::VendorStandIn> server_;
};

TEST_F(DownloadTest, HeadAnnouncesTheLengthAndGetStreamsThePackage) {
  const std::string target = "/download/dostra/DOSTRA_03012005.zip";
  auto head = Exchange(server_->Port(), {Get("HEAD", target)}, Verifying());
  EXPECT_EQ(StatusLine(head.reply), "HTTP/1.1 200 OK");
  EXPECT_EQ(HeaderValue(head.reply, "Content-Length"), std::to_string(package_.size()));
  EXPECT_EQ(BodyOf(head.reply), "");

  auto get = Exchange(server_->Port(), {Get("GET", target)}, Verifying());
  EXPECT_EQ(HeaderValue(get.reply, "Content-Length"), std::to_string(package_.size()));
  EXPECT_TRUE(BodyOf(get.reply) == package_) << "body of " << BodyOf(get.reply).size();
  EXPECT_TRUE(get.closedByServer);
}

TEST_F(DownloadTest, AnythingButAPackageInTheFolderIsNotFound) {
  const char* targets[] = {
      "/download/dostra/DOSTRA_99999999.zip",
      "/download/dostra/../secret.txt",
      "/download/dostra/..%2Fsecret.txt",
      "/download/dostra/..\\secret.txt",
      "/download/dostra/sub/inner.zip",
      "/download/dostra/",
      "/download/dostra/..",
      "/download/other/DOSTRA_03012005.zip",
      "/ws/infoVersion.php",
  };
  for (const char* target : targets) {
    for (const char* method : {"HEAD", "GET"}) {
      auto result = Exchange(server_->Port(), {Get(method, target)});
      EXPECT_EQ(StatusLine(result.reply), "HTTP/1.1 404 Not Found") << method << " " << target;
      EXPECT_EQ(result.reply.find("contents of"), std::string::npos) << method << " " << target;
    }
  }
}

TEST_F(VendorStandInTest, RefusesOversizedAndMalformedRequests) {
  standin::Options options = BaseOptions();
  options.versionReplyBody = "ok";
  standin::VendorStandIn server(options);
  server.Start();
  const std::size_t limit = 1024 * 1024;

  auto atLimit =
      Exchange(server.Port(), {QueryHead(server.Port(), limit), std::string(limit, 'x')});
  EXPECT_EQ(BodyOf(atLimit.reply), "ok");

  // The body is never sent: the refusal must come from the announced length alone.
  auto overLimit = Exchange(server.Port(), {QueryHead(server.Port(), limit + 1)});
  EXPECT_EQ(StatusLine(overLimit.reply), "HTTP/1.1 413 Content Too Large");

  for (const std::string& request :
       {std::string("NONSENSE\r\n\r\n"),
        std::string("POST /ws/infoVersion.php HTTP/1.0\r\nContent-Length: 1x\r\n\r\n")}) {
    auto malformed = Exchange(server.Port(), {request});
    EXPECT_EQ(StatusLine(malformed.reply), "HTTP/1.1 400 Bad Request") << request;
  }
}

}  // namespace
