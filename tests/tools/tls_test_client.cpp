#include "tools/tls_test_client.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <openssl/err.h>
#include <openssl/ssl.h>
#include <sys/socket.h>
#include <sys/time.h>

#include <stdexcept>

#include "vendor_standin/openssl_handles.h"
#include "vendor_standin/unique_fd.h"

namespace tools_test {
namespace {

standin::UniqueFd Connect(std::uint16_t port, std::chrono::milliseconds readLimit) {
  standin::UniqueFd socket(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0));
  if (!socket.Valid())
    throw std::runtime_error("socket");
  timeval limit{};
  limit.tv_sec = static_cast<time_t>(readLimit.count() / 1000);
  limit.tv_usec = static_cast<suseconds_t>(readLimit.count() % 1000 * 1000);
  setsockopt(socket.Get(), SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit);
  setsockopt(socket.Get(), SOL_SOCKET, SO_SNDTIMEO, &limit, sizeof limit);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(port);
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (connect(socket.Get(), reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
    throw std::runtime_error("cannot connect to port " + std::to_string(port));
  }
  return socket;
}

standin::UniqueSslContext NewContext(const ClientSettings& settings) {
  standin::UniqueSslContext context(SSL_CTX_new(TLS_client_method()));
  if (!context)
    throw std::runtime_error("SSL_CTX_new");
  if (!settings.caCertificatePath.empty()) {
    if (SSL_CTX_load_verify_locations(context.get(), settings.caCertificatePath.c_str(), nullptr) !=
        1) {
      throw std::runtime_error("cannot load " + settings.caCertificatePath);
    }
    SSL_CTX_set_verify(context.get(), SSL_VERIFY_PEER, nullptr);
  }
  return context;
}

}  // namespace

ClientResult Exchange(std::uint16_t port, const std::vector<std::string>& pieces,
                      const ClientSettings& settings) {
  ClientResult result;
  standin::UniqueFd socket = Connect(port, settings.readLimit);
  standin::UniqueSslContext context = NewContext(settings);
  standin::UniqueSsl ssl(SSL_new(context.get()));
  if (!ssl || SSL_set_fd(ssl.get(), socket.Get()) != 1)
    throw std::runtime_error("SSL_new");
  SSL_set_tlsext_host_name(ssl.get(), settings.hostName.c_str());
  if (!settings.caCertificatePath.empty())
    SSL_set1_host(ssl.get(), settings.hostName.c_str());

  if (SSL_connect(ssl.get()) != 1) {
    long verdict = SSL_get_verify_result(ssl.get());
    result.verifyError =
        verdict != X509_V_OK ? X509_verify_cert_error_string(verdict) : "handshake failed";
    ERR_clear_error();
    return result;
  }
  result.handshakeDone = true;
  for (const std::string& piece : pieces) {
    if (SSL_write(ssl.get(), piece.data(), static_cast<int>(piece.size())) <= 0) {
      ERR_clear_error();
      return result;
    }
  }
  char buffer[16 * 1024];
  for (;;) {
    int count = SSL_read(ssl.get(), buffer, sizeof buffer);
    if (count > 0) {
      result.reply.append(buffer, static_cast<std::size_t>(count));
      continue;
    }
    result.closedByServer = SSL_get_error(ssl.get(), count) == SSL_ERROR_ZERO_RETURN;
    break;
  }
  ERR_clear_error();
  return result;
}

std::string StatusLine(const std::string& reply) {
  return reply.substr(0, reply.find("\r\n"));
}

std::string HeaderValue(const std::string& reply, const std::string& name) {
  const std::string head = reply.substr(0, reply.find("\r\n\r\n") + 2);
  const std::string key = "\r\n" + name + ": ";
  std::size_t start = head.find(key);
  if (start == std::string::npos)
    return "";
  start += key.size();
  return head.substr(start, head.find("\r\n", start) - start);
}

std::string BodyOf(const std::string& reply) {
  std::size_t end = reply.find("\r\n\r\n");
  return end == std::string::npos ? "" : reply.substr(end + 4);
}

}  // namespace tools_test
