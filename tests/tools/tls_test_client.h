// A small verifying (or not) TLS client for talking to the stand-in over loopback.
#pragma once

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

namespace tools_test {

struct ClientSettings {
  std::string caCertificatePath;              // empty: the server's certificate is not verified
  std::string hostName = "localhost";         // sent as SNI and checked against the certificate
  std::chrono::milliseconds readLimit{5000};  // gives up reading after this long without data
};

struct ClientResult {
  bool handshakeDone = false;
  std::string verifyError;      // the certificate check's failure, empty when it passed
  std::string reply;            // everything read until the server closed
  bool closedByServer = false;  // false when reading stopped at the read limit
};

// Connects to 127.0.0.1:port, sends each piece with its own write, and reads the reply.
ClientResult Exchange(std::uint16_t port, const std::vector<std::string>& pieces,
                      const ClientSettings& settings = {});

// The reply's first line, without its line break.
std::string StatusLine(const std::string& reply);

// The header field's value in an HTTP reply head, or "" when absent.
std::string HeaderValue(const std::string& reply, const std::string& name);

// The bytes after the reply head.
std::string BodyOf(const std::string& reply);

}  // namespace tools_test
