#include "vendor_standin/certificates.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <openssl/err.h>
#include <openssl/pem.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <stdexcept>
#include <system_error>

namespace standin {
namespace {

constexpr long kOneHour = 60 * 60;
constexpr int kTenYearsInDays = 10 * 365 + 3;

UniqueKey NewKey() {
  UniqueKey key(EVP_EC_gen("P-256"));
  if (!key)
    ThrowOpenSslError("cannot create an EC key");
  return key;
}

bool IsIpAddress(const std::string& name) {
  unsigned char address[16];
  return inet_pton(AF_INET, name.c_str(), address) == 1 ||
         inet_pton(AF_INET6, name.c_str(), address) == 1;
}

void AddExtension(X509* certificate, X509* issuer, int nid, const std::string& value) {
  X509V3_CTX context;
  X509V3_set_ctx_nodb(&context);
  X509V3_set_ctx(&context, issuer, certificate, nullptr, nullptr, 0);
  UniqueExtension extension(X509V3_EXT_conf_nid(nullptr, &context, nid, value.c_str()));
  if (!extension || X509_add_ext(certificate, extension.get(), -1) != 1) {
    ThrowOpenSslError("cannot add the certificate extension " + value);
  }
}

// A certificate for subjectKey named commonName, valid from an hour ago for ten years, with a
// random serial; the issuer's name is taken from issuer (itself when null).
UniqueCertificate NewCertificate(EVP_PKEY* subjectKey, const std::string& commonName,
                                 X509* issuer) {
  UniqueCertificate certificate(X509_new());
  if (!certificate || X509_set_version(certificate.get(), X509_VERSION_3) != 1) {
    ThrowOpenSslError("cannot create a certificate");
  }
  UniqueBignum serial(BN_new());
  // Distinct serials keep clients that cache certificates by issuer and serial honest.
  if (!serial || BN_rand(serial.get(), 63, BN_RAND_TOP_ANY, BN_RAND_BOTTOM_ANY) != 1 ||
      BN_to_ASN1_INTEGER(serial.get(), X509_get_serialNumber(certificate.get())) == nullptr) {
    ThrowOpenSslError("cannot set the certificate serial");
  }
  X509_NAME* name = X509_get_subject_name(certificate.get());
  if (X509_NAME_add_entry_by_txt(name, "O", MBSTRING_UTF8,
                                 reinterpret_cast<const unsigned char*>("Dostra test"), -1, -1,
                                 0) != 1 ||
      X509_NAME_add_entry_by_txt(name, "CN", MBSTRING_UTF8,
                                 reinterpret_cast<const unsigned char*>(commonName.c_str()), -1, -1,
                                 0) != 1) {
    ThrowOpenSslError("cannot set the certificate subject");
  }
  X509_NAME* issuerName = issuer != nullptr ? X509_get_subject_name(issuer) : name;
  if (X509_set_issuer_name(certificate.get(), issuerName) != 1 ||
      X509_gmtime_adj(X509_getm_notBefore(certificate.get()), -kOneHour) == nullptr ||
      X509_time_adj_ex(X509_getm_notAfter(certificate.get()), kTenYearsInDays, 0, nullptr) ==
          nullptr ||
      X509_set_pubkey(certificate.get(), subjectKey) != 1) {
    ThrowOpenSslError("cannot fill in the certificate");
  }
  return certificate;
}

void Sign(X509* certificate, EVP_PKEY* signerKey) {
  if (X509_sign(certificate, signerKey, EVP_sha256()) <= 0) {
    ThrowOpenSslError("cannot sign the certificate");
  }
}

KeyAndCertificate CreateCa() {
  KeyAndCertificate ca{NewKey(), nullptr};
  ca.certificate = NewCertificate(ca.key.get(), "Dostra test CA", nullptr);
  X509* certificate = ca.certificate.get();
  AddExtension(certificate, certificate, NID_basic_constraints, "critical,CA:TRUE");
  AddExtension(certificate, certificate, NID_key_usage, "critical,keyCertSign,cRLSign");
  AddExtension(certificate, certificate, NID_subject_key_identifier, "hash");
  Sign(certificate, ca.key.get());
  return ca;
}

UniqueBio OpenFile(const std::string& path, const char* mode) {
  UniqueBio file(BIO_new_file(path.c_str(), mode));
  if (!file)
    ThrowOpenSslError("cannot open " + path);
  return file;
}

// Writes through a temporary file and a rename, so a concurrent reader never sees half a PEM.
template <typename Write>
void WriteAtomically(const std::string& path, Write write) {
  const std::string temporary = path + ".tmp" + std::to_string(getpid());
  {
    UniqueBio file = OpenFile(temporary, "w");
    if (!write(file.get()))
      ThrowOpenSslError("cannot write " + temporary);
  }
  std::error_code error;
  std::filesystem::rename(temporary, path, error);
  if (error)
    throw std::runtime_error("cannot write " + path + ": " + error.message());
}

void WriteCa(const KeyAndCertificate& ca, const std::string& certificatePath) {
  WriteAtomically(certificatePath + ".key", [&](BIO* file) {
    return PEM_write_bio_PrivateKey(file, ca.key.get(), nullptr, nullptr, 0, nullptr, nullptr) == 1;
  });
  WriteAtomically(certificatePath,
                  [&](BIO* file) { return PEM_write_bio_X509(file, ca.certificate.get()) == 1; });
}

bool ReadCa(const std::string& certificatePath, KeyAndCertificate& ca) {
  std::error_code error;
  if (!std::filesystem::exists(certificatePath, error) ||
      !std::filesystem::exists(certificatePath + ".key", error)) {
    return false;
  }
  UniqueBio certificateFile(BIO_new_file(certificatePath.c_str(), "r"));
  UniqueBio keyFile(BIO_new_file((certificatePath + ".key").c_str(), "r"));
  if (!certificateFile || !keyFile)
    return false;
  ca.certificate.reset(PEM_read_bio_X509(certificateFile.get(), nullptr, nullptr, nullptr));
  ca.key.reset(PEM_read_bio_PrivateKey(keyFile.get(), nullptr, nullptr, nullptr));
  bool usable = ca.certificate && ca.key &&
                X509_check_private_key(ca.certificate.get(), ca.key.get()) == 1 &&
                X509_check_ca(ca.certificate.get()) != 0;
  ERR_clear_error();
  return usable;
}

class FileLock {
 public:
  explicit FileLock(const std::string& path)
      : descriptor_(open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600)) {
    if (descriptor_ < 0 || flock(descriptor_, LOCK_EX) != 0) {
      std::error_code error(errno, std::generic_category());
      if (descriptor_ >= 0)
        close(descriptor_);
      throw std::runtime_error("cannot lock " + path + ": " + error.message());
    }
  }
  ~FileLock() { close(descriptor_); }
  FileLock(const FileLock&) = delete;
  FileLock& operator=(const FileLock&) = delete;

 private:
  int descriptor_;
};

}  // namespace

KeyAndCertificate LoadOrCreateCa(const std::string& certificatePath) {
  if (certificatePath.empty()) {
    throw std::runtime_error("the path of the CA certificate is required");
  }
  // Stand-ins started together with the same path agree on one CA.
  FileLock lock(certificatePath + ".lock");
  KeyAndCertificate ca;
  if (ReadCa(certificatePath, ca))
    return ca;
  ca = CreateCa();
  WriteCa(ca, certificatePath);
  return ca;
}

KeyAndCertificate CreateServerCertificate(const std::vector<std::string>& names,
                                          const KeyAndCertificate* ca) {
  if (names.empty())
    throw std::runtime_error("the server certificate needs a name");
  std::string alternativeNames;
  for (const std::string& name : names) {
    if (!alternativeNames.empty())
      alternativeNames += ',';
    alternativeNames += (IsIpAddress(name) ? "IP:" : "DNS:") + name;
  }
  KeyAndCertificate server{NewKey(), nullptr};
  X509* issuer = ca != nullptr ? ca->certificate.get() : nullptr;
  server.certificate = NewCertificate(server.key.get(), names.front(), issuer);
  X509* certificate = server.certificate.get();
  X509* extensionIssuer = issuer != nullptr ? issuer : certificate;
  AddExtension(certificate, extensionIssuer, NID_basic_constraints, "critical,CA:FALSE");
  AddExtension(certificate, extensionIssuer, NID_key_usage, "critical,digitalSignature");
  AddExtension(certificate, extensionIssuer, NID_ext_key_usage, "serverAuth");
  AddExtension(certificate, extensionIssuer, NID_subject_alt_name, alternativeNames);
  AddExtension(certificate, extensionIssuer, NID_subject_key_identifier, "hash");
  if (issuer != nullptr) {
    AddExtension(certificate, issuer, NID_authority_key_identifier, "keyid:always");
  }
  Sign(certificate, ca != nullptr ? ca->key.get() : server.key.get());
  return server;
}

}  // namespace standin
