// Owning handles for the OpenSSL objects the stand-in creates; move-only, freed once.
#pragma once

#include <openssl/bio.h>
#include <openssl/bn.h>
#include <openssl/evp.h>
#include <openssl/ssl.h>
#include <openssl/x509.h>
#include <openssl/x509v3.h>

#include <memory>
#include <stdexcept>
#include <string>

namespace standin {

template <typename T, void (*Free)(T*)>
struct OpenSslDeleter {
  void operator()(T* object) const { Free(object); }
};

template <typename T, void (*Free)(T*)>
using OpenSslPtr = std::unique_ptr<T, OpenSslDeleter<T, Free>>;

using UniqueBio = OpenSslPtr<BIO, BIO_free_all>;
using UniqueBignum = OpenSslPtr<BIGNUM, BN_free>;
using UniqueKey = OpenSslPtr<EVP_PKEY, EVP_PKEY_free>;
using UniqueCertificate = OpenSslPtr<X509, X509_free>;
using UniqueExtension = OpenSslPtr<X509_EXTENSION, X509_EXTENSION_free>;
using UniqueSslContext = OpenSslPtr<SSL_CTX, SSL_CTX_free>;
using UniqueSsl = OpenSslPtr<SSL, SSL_free>;

// The message of the most recent OpenSSL error, behind `what`; clears the error queue.
std::string OpenSslErrorText(const std::string& what);

[[noreturn]] inline void ThrowOpenSslError(const std::string& what) {
  throw std::runtime_error(OpenSslErrorText(what));
}

}  // namespace standin
