#include "net/openssl_library.h"

#include <gtest/gtest.h>

#include "net/http_error.h"

namespace {

std::string FailureOf(const std::string& cryptoPath, const std::string& sslPath) {
  try {
    net::openssl::LoadedLibraries libraries(cryptoPath, sslPath);
  } catch (const net::HttpError& error) {
    return error.what();
  }
  return "(loaded)";
}

#ifdef _WIN32
constexpr char kMissing[] = "C:\\nonexistent\\libcrypto-3.dll";
#else
constexpr char kMissing[] = "/nonexistent/libcrypto.so.3";
#endif

TEST(OpenSslLibraries, AMissingLibraryIsTheLibraryFailure) {
  EXPECT_EQ(FailureOf(kMissing, kMissing), "Could not initialize OpenSSL library");
}

#ifndef _WIN32
TEST(OpenSslLibraries, ALibraryWithoutTheFunctionsIsTheLibraryFailure) {
  // libcrypto in libssl's place: the first libssl function is not found.
  EXPECT_EQ(FailureOf("libcrypto.so.3", "libcrypto.so.3"), "Could not initialize OpenSSL library");
}

TEST(OpenSslLibraries, TheSystemsLibrariesProvideEveryFunction) {
  EXPECT_EQ(FailureOf("libcrypto.so.3", "libssl.so.3"), "(loaded)");
  EXPECT_NE(net::openssl::OpenSsl().SSL_CTX_new, nullptr);
}
#elif defined(DOSTRA_OPENSSL_BESIDE_PROGRAM)
// The names this build looks for (with -x64 on 64-bit Windows) are the ones shipped.
TEST(OpenSslLibraries, TheDllsBesideTheProgramProvideEveryFunction) {
  EXPECT_NE(net::openssl::OpenSsl().SSL_CTX_new, nullptr);
}
#endif

}  // namespace
