#pragma once
// OpenSSL 3, loaded at run time when the first TLS connection is set up and kept until the
// process ends. Only what the client calls is declared here, in our own terms: the
// program builds without OpenSSL's headers and starts without its libraries.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace platform {
class DynamicLibrary;
}

namespace net::openssl {

// OpenSSL's objects, only ever handled through pointers.
struct SSL;
struct SSL_CTX;
struct SSL_METHOD;
struct BIO;
struct BIO_METHOD;
struct X509;
struct X509_VERIFY_PARAM;
struct OPENSSL_STACK;

// Values of OpenSSL's macros and constants that the client needs.
inline constexpr int kSslErrorWantRead = 2;         // SSL_ERROR_WANT_READ
inline constexpr int kSslErrorZeroReturn = 6;       // SSL_ERROR_ZERO_RETURN
inline constexpr int kSslVerifyNone = 0;            // SSL_VERIFY_NONE
inline constexpr int kSslVerifyPeer = 1;            // SSL_VERIFY_PEER
inline constexpr int kCtrlSetTlsextHostname = 55;   // SSL_CTRL_SET_TLSEXT_HOSTNAME
inline constexpr long kTlsextNametypeHostName = 0;  // TLSEXT_NAMETYPE_host_name
inline constexpr std::uint64_t kOpIgnoreUnexpectedEof = std::uint64_t{1} << 7;
inline constexpr long kX509VOk = 0;                  // X509_V_OK
inline constexpr int kBioCtrlSetMemEofReturn = 130;  // BIO_C_SET_BUF_MEM_EOF_RETURN

// The functions, resolved by name from libcrypto and libssl.
struct Api {
  // libcrypto
  void (*ERR_clear_error)();
  const BIO_METHOD* (*BIO_s_mem)();
  BIO* (*BIO_new)(const BIO_METHOD*);
  int (*BIO_free)(BIO*);
  int (*BIO_read)(BIO*, void*, int);
  int (*BIO_write)(BIO*, const void*, int);
  long (*BIO_ctrl)(BIO*, int, long, void*);
  std::size_t (*BIO_ctrl_pending)(BIO*);
  int (*X509_VERIFY_PARAM_set1_ip_asc)(X509_VERIFY_PARAM*, const char*);
  void (*X509_free)(X509*);
  int (*i2d_X509)(const X509*, unsigned char**);
  int (*OPENSSL_sk_num)(const OPENSSL_STACK*);
  void* (*OPENSSL_sk_value)(const OPENSSL_STACK*, int);
  // libssl
  const SSL_METHOD* (*TLS_client_method)();
  SSL_CTX* (*SSL_CTX_new)(const SSL_METHOD*);
  void (*SSL_CTX_free)(SSL_CTX*);
  std::uint64_t (*SSL_CTX_set_options)(SSL_CTX*, std::uint64_t);
  int (*SSL_CTX_set_default_verify_paths)(SSL_CTX*);
  void (*SSL_CTX_set_verify)(SSL_CTX*, int, int (*)(int, void*));
  SSL* (*SSL_new)(SSL_CTX*);
  void (*SSL_free)(SSL*);
  void (*SSL_set_bio)(SSL*, BIO*, BIO*);
  long (*SSL_ctrl)(SSL*, int, long, void*);
  int (*SSL_set1_host)(SSL*, const char*);
  X509_VERIFY_PARAM* (*SSL_get0_param)(SSL*);
  int (*SSL_connect)(SSL*);
  int (*SSL_read)(SSL*, void*, int);
  int (*SSL_write)(SSL*, const void*, int);
  int (*SSL_shutdown)(SSL*);
  int (*SSL_get_error)(const SSL*, int);
  long (*SSL_get_verify_result)(const SSL*);
  X509* (*SSL_get1_peer_certificate)(const SSL*);
  OPENSSL_STACK* (*SSL_get_peer_cert_chain)(const SSL*);
};

// The libraries of this platform, loaded on the first call (thread-safe) and kept; a
// failed load is tried again on the next call. Throws errors::TlsLibraryUnavailable.
// Windows: libcrypto-3.dll and libssl-3.dll from the executable's own folder only.
// Elsewhere: libcrypto.so.3 and libssl.so.3 from the system.
const Api& OpenSsl();

// The libraries at the given locations with every function resolved: the loader behind
// OpenSsl(), kept apart for tests. Throws errors::TlsLibraryUnavailable.
class LoadedLibraries {
 public:
  LoadedLibraries(const std::string& cryptoPath, const std::string& sslPath);
  ~LoadedLibraries();
  LoadedLibraries(const LoadedLibraries&) = delete;
  LoadedLibraries& operator=(const LoadedLibraries&) = delete;
  const Api& Functions() const { return api_; }

 private:
  std::unique_ptr<platform::DynamicLibrary> crypto_;
  std::unique_ptr<platform::DynamicLibrary> ssl_;
  Api api_{};
};

}  // namespace net::openssl
