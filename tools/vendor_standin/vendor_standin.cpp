#include "vendor_standin/vendor_standin.h"

#include <openssl/err.h>
#include <pthread.h>
#include <signal.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <stdexcept>
#include <thread>

#include "vendor_standin/certificates.h"
#include "vendor_standin/http_request.h"
#include "vendor_standin/listener.h"
#include "vendor_standin/responses.h"
#include "vendor_standin/tls_connection.h"

namespace standin {
namespace {

constexpr std::string_view kSilent = "<silent>";
constexpr std::string_view kClose = "<close>";
constexpr int kAcceptSliceMilliseconds = 50;

UniqueSslContext NewServerContext(const KeyAndCertificate& server) {
  UniqueSslContext context(SSL_CTX_new(TLS_server_method()));
  if (!context || SSL_CTX_use_certificate(context.get(), server.certificate.get()) != 1 ||
      SSL_CTX_use_PrivateKey(context.get(), server.key.get()) != 1 ||
      SSL_CTX_check_private_key(context.get()) != 1) {
    ThrowOpenSslError("cannot set up the TLS server");
  }
  return context;
}

// A client that hangs up early must not kill the process with SIGPIPE; blocking it in the
// serving thread turns it into a failed write there and leaves the rest of the process alone.
void BlockSigpipeInThisThread() {
  sigset_t signals;
  sigemptyset(&signals);
  sigaddset(&signals, SIGPIPE);
  pthread_sigmask(SIG_BLOCK, &signals, nullptr);
}

}  // namespace

struct VendorStandIn::Impl {
  explicit Impl(Options chosen) : options(std::move(chosen)) {
    ca = LoadOrCreateCa(options.caCertificatePath);
    server = CreateServerCertificate(options.certificateNames,
                                     options.untrustedCertificate ? nullptr : &ca);
    context = NewServerContext(server);
  }

  void Serve() {
    BlockSigpipeInThisThread();
    while (!stopping) {
      UniqueFd socket = AcceptWithin(listening, kAcceptSliceMilliseconds);
      if (!socket.Valid())
        continue;
      try {
        HandleConnection(std::move(socket));
      } catch (const std::exception&) {
        // One failed connection is the client's business; the server goes on.
      }
      ERR_clear_error();
    }
  }

  void HandleConnection(UniqueFd socket) {
    TlsConnection connection(context.get(), std::move(socket), stopping);
    if (!connection.Handshake())
      return;
    const std::size_t index = connections++;
    Request request =
        ReadRequest([&](char* buffer, std::size_t size) { return connection.Read(buffer, size); });
    Record(request.raw);

    if (index < options.scriptedReplies.size()) {
      const std::string& reply = options.scriptedReplies[index];
      if (reply == kSilent) {
        connection.WaitForPeerToLeave();
        return;
      }
      if (reply != kClose)
        connection.Write(reply);
      connection.Close();
      return;
    }
    Answer(connection, request);
    connection.Close();
  }

  void Record(const std::string& raw) {
    if (raw.empty())
      return;
    {
      std::lock_guard lock(mutex);
      recorded.push_back(raw);
    }
    if (options.requestObserver)
      options.requestObserver(raw);
  }

  void Answer(TlsConnection& connection, const Request& request) {
    using Status = Request::Status;
    switch (request.status) {
      case Status::kIncomplete:
        return;
      case Status::kMalformed:
        connection.Write(TextReply(400, "bad request\n"));
        return;
      case Status::kTooLarge:
        connection.Write(TextReply(413, "request too large\n"));
        return;
      case Status::kComplete:
        break;
    }
    const bool head = request.method == "HEAD";
    if (request.method == "POST" && request.target == kVersionQueryPath) {
      connection.Write(ReplyHead(options.versionReplyStatus, options.versionReplyBody.size(),
                                 "application/json") +
                       options.versionReplyBody);
      return;
    }
    if ((head || request.method == "GET") && request.target.starts_with(kDownloadPrefix)) {
      if (ServeFile(connection, request.target.substr(kDownloadPrefix.size()), head))
        return;
    }
    const std::string_view notFound = "not found\n";
    connection.Write(ReplyHead(404, notFound.size()) + (head ? "" : std::string(notFound)));
  }

  // False when there is no such package to serve.
  bool ServeFile(TlsConnection& connection, const std::string& name, bool headOnly) {
    if (options.downloadFolder.empty() || !IsServableFileName(name))
      return false;
    const std::filesystem::path path = std::filesystem::path(options.downloadFolder) / name;
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error))
      return false;
    const std::uintmax_t size = std::filesystem::file_size(path, error);
    std::ifstream file(path, std::ios::binary);
    if (error || !file)
      return false;
    if (!connection.Write(ReplyHead(200, size, "application/zip")) || headOnly)
      return true;
    std::string block(64 * 1024, '\0');
    while (file) {
      file.read(block.data(), static_cast<std::streamsize>(block.size()));
      const auto count = static_cast<std::size_t>(file.gcount());
      if (count == 0 || !connection.Write(std::string_view(block.data(), count)))
        break;
    }
    return true;
  }

  Options options;
  KeyAndCertificate ca;
  KeyAndCertificate server;
  UniqueSslContext context;
  UniqueFd listening;
  std::uint16_t port = 0;
  std::atomic<bool> stopping{false};
  std::thread thread;
  std::size_t connections = 0;  // touched by the serving thread only
  mutable std::mutex mutex;
  std::vector<std::string> recorded;
};

VendorStandIn::VendorStandIn(Options options) : impl_(std::make_unique<Impl>(std::move(options))) {}

VendorStandIn::~VendorStandIn() {
  Stop();
}

void VendorStandIn::Start() {
  if (impl_->thread.joinable())
    throw std::logic_error("the stand-in is already running");
  impl_->listening = Listen(impl_->options.bindAddress, impl_->options.port);
  impl_->port = LocalPort(impl_->listening);
  impl_->stopping = false;
  impl_->thread = std::thread([impl = impl_.get()] { impl->Serve(); });
}

void VendorStandIn::Stop() {
  impl_->stopping = true;
  if (impl_->thread.joinable())
    impl_->thread.join();
  impl_->listening.Reset();
}

std::uint16_t VendorStandIn::Port() const {
  return impl_->port;
}

std::string VendorStandIn::Url() const {
  return "https://localhost:" + std::to_string(impl_->port);
}

std::vector<std::string> VendorStandIn::RecordedRequests() const {
  std::lock_guard lock(impl_->mutex);
  return impl_->recorded;
}

}  // namespace standin
