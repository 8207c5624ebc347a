#include "net/openssl_library.h"

#include <exception>

#include "net/http_error.h"
#include "platform/dynamic_library.h"
#include "platform/executable_path.h"

namespace net::openssl {

namespace {

template <typename Function>
void Resolve(const platform::DynamicLibrary& library, const char* name, Function& function) {
  function = reinterpret_cast<Function>(library.Find(name));
  if (function == nullptr)
    throw errors::TlsLibraryUnavailable();
}

std::unique_ptr<platform::DynamicLibrary> Load(const std::string& path) {
  try {
    return std::make_unique<platform::DynamicLibrary>(path);
  } catch (const std::exception&) {
    throw errors::TlsLibraryUnavailable();
  }
}

struct LibraryPaths {
  std::string crypto;
  std::string ssl;
};

LibraryPaths PathsOfThisPlatform() {
#ifdef _WIN32
  // OpenSSL's 64-bit Windows build names its DLLs with a suffix.
#ifdef _WIN64
  constexpr char kSuffix[] = "-x64";
#else
  constexpr char kSuffix[] = "";
#endif
  // Only the copies shipped beside the program: a DLL of the same name in the download
  // folder, the working directory or on PATH could have been planted there.
  try {
    const std::string folder = platform::ApplicationFolder();
    return {folder + "libcrypto-3" + kSuffix + ".dll", folder + "libssl-3" + kSuffix + ".dll"};
  } catch (const std::exception&) {
    throw errors::TlsLibraryUnavailable();
  }
#else
  return {"libcrypto.so.3", "libssl.so.3"};
#endif
}

}  // namespace

// Every function by its own name, so that the list above and the lookups cannot drift apart.
#define DOSTRA_RESOLVE(library, function) Resolve(*library, #function, api_.function)

LoadedLibraries::LoadedLibraries(const std::string& cryptoPath, const std::string& sslPath)
    : crypto_(Load(cryptoPath)), ssl_(Load(sslPath)) {
  DOSTRA_RESOLVE(crypto_, ERR_clear_error);
  DOSTRA_RESOLVE(crypto_, BIO_s_mem);
  DOSTRA_RESOLVE(crypto_, BIO_new);
  DOSTRA_RESOLVE(crypto_, BIO_free);
  DOSTRA_RESOLVE(crypto_, BIO_read);
  DOSTRA_RESOLVE(crypto_, BIO_write);
  DOSTRA_RESOLVE(crypto_, BIO_ctrl);
  DOSTRA_RESOLVE(crypto_, BIO_ctrl_pending);
  DOSTRA_RESOLVE(crypto_, X509_VERIFY_PARAM_set1_ip_asc);
  DOSTRA_RESOLVE(crypto_, X509_free);
  DOSTRA_RESOLVE(crypto_, i2d_X509);
  DOSTRA_RESOLVE(crypto_, OPENSSL_sk_num);
  DOSTRA_RESOLVE(crypto_, OPENSSL_sk_value);
  DOSTRA_RESOLVE(ssl_, TLS_client_method);
  DOSTRA_RESOLVE(ssl_, SSL_CTX_new);
  DOSTRA_RESOLVE(ssl_, SSL_CTX_free);
  DOSTRA_RESOLVE(ssl_, SSL_CTX_set_options);
  DOSTRA_RESOLVE(ssl_, SSL_CTX_set_default_verify_paths);
  DOSTRA_RESOLVE(ssl_, SSL_CTX_set_verify);
  DOSTRA_RESOLVE(ssl_, SSL_new);
  DOSTRA_RESOLVE(ssl_, SSL_free);
  DOSTRA_RESOLVE(ssl_, SSL_set_bio);
  DOSTRA_RESOLVE(ssl_, SSL_ctrl);
  DOSTRA_RESOLVE(ssl_, SSL_set1_host);
  DOSTRA_RESOLVE(ssl_, SSL_get0_param);
  DOSTRA_RESOLVE(ssl_, SSL_connect);
  DOSTRA_RESOLVE(ssl_, SSL_read);
  DOSTRA_RESOLVE(ssl_, SSL_write);
  DOSTRA_RESOLVE(ssl_, SSL_shutdown);
  DOSTRA_RESOLVE(ssl_, SSL_get_error);
  DOSTRA_RESOLVE(ssl_, SSL_get_verify_result);
  DOSTRA_RESOLVE(ssl_, SSL_get1_peer_certificate);
  DOSTRA_RESOLVE(ssl_, SSL_get_peer_cert_chain);
}

#undef DOSTRA_RESOLVE

LoadedLibraries::~LoadedLibraries() = default;

const Api& OpenSsl() {
  // Loaded by the first caller while other threads wait; a load that throws is tried
  // again by the next call. Never unloaded: OpenSSL's own exit handlers live in it.
  static const LoadedLibraries* const libraries = [] {
    const LibraryPaths paths = PathsOfThisPlatform();
    return new LoadedLibraries(paths.crypto, paths.ssl);
  }();
  return libraries->Functions();
}

}  // namespace net::openssl
