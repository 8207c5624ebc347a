// A stand-in for the vendor's web server: HTTPS on loopback with a test CA, the version
// query, package downloads and scripted raw replies, recording every request it reads.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace standin {

struct Options {
  std::string bindAddress = "127.0.0.1";
  std::uint16_t port = 0;  // 0: an ephemeral port, see Port()
  // Server certificate subject alternative names (DNS names or IP addresses).
  std::vector<std::string> certificateNames = {"localhost", "127.0.0.1"};
  bool untrustedCertificate = false;  // serve a self-signed cert that is NOT from the test CA
  std::string caCertificatePath;      // where the test CA's certificate (PEM) is written; required
  std::string versionReplyBody;       // body answered to POST /ws/infoVersion.php
  int versionReplyStatus = 200;
  std::string downloadFolder;  // serves HEAD/GET /download/dostra/<file> from here
  // When not empty: the n-th connection gets the n-th raw reply bytes verbatim (then the server
  // closes), instead of normal handling. "<silent>" reads the request and never answers (until
  // Stop, or until the client leaves); "<close>" closes right after reading the request.
  // Connections are counted from the first whose TLS handshake succeeded; past the end of the
  // list, connections are handled normally.
  std::vector<std::string> scriptedReplies;
  // Called on the server's thread with each raw request as soon as it is recorded, before it
  // is answered.
  std::function<void(const std::string&)> requestObserver;
};

class VendorStandIn {
 public:
  // Creates the test CA (or reuses it when caCertificatePath and caCertificatePath + ".key"
  // exist) and the server key and certificate; throws std::runtime_error on failure.
  explicit VendorStandIn(Options options);
  ~VendorStandIn();  // stops
  VendorStandIn(const VendorStandIn&) = delete;
  VendorStandIn& operator=(const VendorStandIn&) = delete;

  void Start();  // listens and serves on a background thread, one connection at a time
  void Stop();
  std::uint16_t Port() const;
  std::string Url() const;  // "https://localhost:<port>"
  // Every raw request received (request line, headers and body bytes exactly as received), in
  // order; thread-safe.
  std::vector<std::string> RecordedRequests() const;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace standin
