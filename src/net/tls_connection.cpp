#include "net/tls_connection.h"

#include <algorithm>
#include <array>
#include <climits>
#include <utility>
#include <vector>

#include "net/http_error.h"
#include "net/url.h"

#ifdef _WIN32
#include "net/windows_certificate_check.h"
#endif

namespace net {

namespace {

using namespace openssl;

// One TLS record's worth, so a record rarely needs two trips.
constexpr std::size_t kTransferSize = 16384;

#ifdef _WIN32
// The server's chain as it sent it, leaf first, each certificate in DER.
std::vector<std::string> PeerChain(const Api& api, SSL* session) {
  constexpr int kMaxCertificates = 16;
  std::vector<std::string> chain;
  const OPENSSL_STACK* stack = api.SSL_get_peer_cert_chain(session);
  if (stack == nullptr)
    return chain;
  const int count = std::min(api.OPENSSL_sk_num(stack), kMaxCertificates);
  for (int i = 0; i < count; ++i) {
    const auto* certificate = static_cast<const X509*>(api.OPENSSL_sk_value(stack, i));
    const int length = api.i2d_X509(certificate, nullptr);
    if (length <= 0)
      return {};
    std::string der(static_cast<std::size_t>(length), '\0');
    auto* out = reinterpret_cast<unsigned char*>(der.data());
    if (api.i2d_X509(certificate, &out) != length)
      return {};
    chain.push_back(std::move(der));
  }
  return chain;
}
#endif

}  // namespace

TlsConnection::TlsConnection(const Api& api, Socket socket, const std::string& host,
                             std::uint16_t port)
    : api_(api),
      socket_(std::move(socket)),
      host_(host),
      context_(nullptr, {&api}),
      session_(nullptr, {&api}) {
  const auto fail = [&] { return errors::ConnectFailed(host, port); };
  api_.ERR_clear_error();
  context_.reset(api_.SSL_CTX_new(api_.TLS_client_method()));
  if (!context_)
    throw fail();
  // Servers often close without close_notify; where the body ends is HTTP's business.
  api_.SSL_CTX_set_options(context_.get(), kOpIgnoreUnexpectedEof);
  // The system's trust store (SSL_CERT_FILE and SSL_CERT_DIR are honoured). A failure
  // here leaves the store empty, and the verification below then fails closed.
  (void)api_.SSL_CTX_set_default_verify_paths(context_.get());
#ifdef _WIN32
  // OpenSSL's verdict is taken after the handshake, where Windows' own chain engine can
  // still accept a chain that OpenSSL's store does not know.
  api_.SSL_CTX_set_verify(context_.get(), kSslVerifyNone, nullptr);
#else
  api_.SSL_CTX_set_verify(context_.get(), kSslVerifyPeer, nullptr);
#endif

  session_.reset(api_.SSL_new(context_.get()));
  if (!session_)
    throw fail();
  BioPtr incoming(api_.BIO_new(api_.BIO_s_mem()), {&api});
  BioPtr outgoing(api_.BIO_new(api_.BIO_s_mem()), {&api});
  if (!incoming || !outgoing)
    throw fail();
  api_.SSL_set_bio(session_.get(), incoming.get(), outgoing.get());
  // The session owns both buffers from here on.
  incoming_ = incoming.release();
  outgoing_ = outgoing.release();

  if (IsIpLiteral(host)) {
    // Server name indication carries names only; an address is checked as an address.
    if (api_.X509_VERIFY_PARAM_set1_ip_asc(api_.SSL_get0_param(session_.get()), host.c_str()) != 1)
      throw fail();
  } else {
    if (api_.SSL_ctrl(session_.get(), kCtrlSetTlsextHostname, kTlsextNametypeHostName,
                      const_cast<char*>(host.c_str())) != 1 ||
        api_.SSL_set1_host(session_.get(), host.c_str()) != 1)
      throw fail();
  }

  bool shookHands = false;
  try {
    shookHands = Handshake();
  } catch (const HttpError&) {
    // A wait that timed out or a socket error during the handshake is a failed connect.
  }
  if (!shookHands || !PeerIsTrusted())
    throw fail();
  sound_ = true;
}

TlsConnection::~TlsConnection() {
  if (!sound_)
    return;
  try {
    api_.ERR_clear_error();
    api_.SSL_shutdown(session_.get());
    FlushOutput();
  } catch (const HttpError&) {
    // The exchange is over; a server that no longer listens changes nothing.
  }
}

bool TlsConnection::Handshake() {
  for (;;) {
    api_.ERR_clear_error();
    const int result = api_.SSL_connect(session_.get());
    FlushOutput();
    if (result == 1)
      return true;
    if (api_.SSL_get_error(session_.get(), result) != kSslErrorWantRead || !ReceiveMore())
      return false;
  }
}

bool TlsConnection::PeerIsTrusted() const {
  X509* peer = api_.SSL_get1_peer_certificate(session_.get());
  if (peer == nullptr)
    return false;
  api_.X509_free(peer);
  // Chain and host name, as checked during the handshake against OpenSSL's store.
  if (api_.SSL_get_verify_result(session_.get()) == kX509VOk)
    return true;
#ifdef _WIN32
  // Windows' chain engine knows the roots that Windows Update keeps current.
  return WindowsTrustsChain(PeerChain(api_, session_.get()), host_);
#else
  return false;
#endif
}

bool TlsConnection::ReceiveMore() {
  if (serverClosed_)
    return false;
  std::array<char, kTransferSize> buffer;
  const std::size_t n = socket_.Receive(buffer.data(), buffer.size());
  if (n == 0) {
    // From now on OpenSSL sees the end of the data instead of "try again".
    serverClosed_ = true;
    api_.BIO_ctrl(incoming_, kBioCtrlSetMemEofReturn, 0, nullptr);
    return true;
  }
  if (api_.BIO_write(incoming_, buffer.data(), static_cast<int>(n)) != static_cast<int>(n))
    throw errors::ReadFailed();
  return true;
}

void TlsConnection::FlushOutput() {
  std::array<char, kTransferSize> buffer;
  while (api_.BIO_ctrl_pending(outgoing_) > 0) {
    const int n = api_.BIO_read(outgoing_, buffer.data(), static_cast<int>(buffer.size()));
    if (n <= 0)
      throw errors::WriteFailed();
    socket_.SendAll(std::string_view(buffer.data(), static_cast<std::size_t>(n)));
  }
}

void TlsConnection::Write(std::string_view bytes) {
  while (!bytes.empty()) {
    const int size = static_cast<int>(std::min(bytes.size(), kTransferSize));
    api_.ERR_clear_error();
    const int result = api_.SSL_write(session_.get(), bytes.data(), size);
    FlushOutput();
    if (result > 0) {
      bytes.remove_prefix(static_cast<std::size_t>(result));
      continue;
    }
    if (api_.SSL_get_error(session_.get(), result) == kSslErrorWantRead && ReceiveMore())
      continue;
    sound_ = false;
    throw errors::WriteFailed();
  }
}

std::size_t TlsConnection::ReadSome(char* buffer, std::size_t size) {
  for (;;) {
    api_.ERR_clear_error();
    const int result = api_.SSL_read(session_.get(), buffer,
                                     static_cast<int>(std::min<std::size_t>(size, INT_MAX)));
    if (result > 0)
      return static_cast<std::size_t>(result);
    switch (api_.SSL_get_error(session_.get(), result)) {
      case kSslErrorWantRead:
        // Whatever OpenSSL has to answer (a key update, say) goes out before we wait.
        FlushOutput();
        if (ReceiveMore())
          continue;
        return 0;
      case kSslErrorZeroReturn:
        return 0;
      default:
        sound_ = false;
        throw errors::ReadFailed();
    }
  }
}

}  // namespace net
