#include "net/windows_certificate_check.h"

#include <windows.h>
// After windows.h, whose types it uses.
#include <wincrypt.h>

#include "platform/utf16.h"

namespace net {

namespace {

class CertificateStore {
 public:
  CertificateStore()
      : store_(::CertOpenStore(CERT_STORE_PROV_MEMORY, 0, 0, CERT_STORE_CREATE_NEW_FLAG, nullptr)) {
  }
  ~CertificateStore() {
    if (store_ != nullptr)
      ::CertCloseStore(store_, 0);
  }
  CertificateStore(const CertificateStore&) = delete;
  CertificateStore& operator=(const CertificateStore&) = delete;
  HCERTSTORE Get() const { return store_; }

 private:
  HCERTSTORE store_;
};

class CertificateContext {
 public:
  CertificateContext() = default;
  ~CertificateContext() {
    if (context_ != nullptr)
      ::CertFreeCertificateContext(context_);
  }
  CertificateContext(const CertificateContext&) = delete;
  CertificateContext& operator=(const CertificateContext&) = delete;
  PCCERT_CONTEXT* Out() { return &context_; }
  PCCERT_CONTEXT Get() const { return context_; }

 private:
  PCCERT_CONTEXT context_ = nullptr;
};

class CertificateChain {
 public:
  CertificateChain() = default;
  ~CertificateChain() {
    if (chain_ != nullptr)
      ::CertFreeCertificateChain(chain_);
  }
  CertificateChain(const CertificateChain&) = delete;
  CertificateChain& operator=(const CertificateChain&) = delete;
  PCCERT_CHAIN_CONTEXT* Out() { return &chain_; }
  PCCERT_CHAIN_CONTEXT Get() const { return chain_; }

 private:
  PCCERT_CHAIN_CONTEXT chain_ = nullptr;
};

bool AddToStore(HCERTSTORE store, const std::string& der, PCCERT_CONTEXT* added) {
  return ::CertAddEncodedCertificateToStore(store, X509_ASN_ENCODING | PKCS_7_ASN_ENCODING,
                                            reinterpret_cast<const BYTE*>(der.data()),
                                            static_cast<DWORD>(der.size()), CERT_STORE_ADD_ALWAYS,
                                            added) != FALSE;
}

}  // namespace

bool WindowsTrustsChain(const std::vector<std::string>& chain, const std::string& host) {
  if (chain.empty())
    return false;
  CertificateStore intermediates;
  if (intermediates.Get() == nullptr)
    return false;
  CertificateContext server;
  if (!AddToStore(intermediates.Get(), chain.front(), server.Out()))
    return false;
  for (std::size_t i = 1; i < chain.size(); ++i) {
    if (!AddToStore(intermediates.Get(), chain[i], nullptr))
      return false;
  }

  char serverAuthentication[] = szOID_PKIX_KP_SERVER_AUTH;
  LPSTR usages[] = {serverAuthentication};
  CERT_CHAIN_PARA chainParameters{};
  chainParameters.cbSize = sizeof chainParameters;
  chainParameters.RequestedUsage.dwType = USAGE_MATCH_TYPE_AND;
  chainParameters.RequestedUsage.Usage.cUsageIdentifier = 1;
  chainParameters.RequestedUsage.Usage.rgpszUsageIdentifier = usages;
  CertificateChain built;
  if (!::CertGetCertificateChain(nullptr, server.Get(), nullptr, intermediates.Get(),
                                 &chainParameters, 0, nullptr, built.Out()))
    return false;
  // The chain's own verdict first: Wine's SSL policy passes a chain that ends short of
  // any root (an issuer nobody knows). Time nesting is no longer checked by Windows.
  const DWORD chainErrors =
      built.Get()->TrustStatus.dwErrorStatus & ~static_cast<DWORD>(CERT_TRUST_IS_NOT_TIME_NESTED);
  if (chainErrors != CERT_TRUST_NO_ERROR)
    return false;

  std::wstring serverName = platform::WideFromUtf8(host);
  SSL_EXTRA_CERT_CHAIN_POLICY_PARA sslParameters{};
  sslParameters.cbSize = sizeof sslParameters;
  sslParameters.dwAuthType = AUTHTYPE_SERVER;
  sslParameters.pwszServerName = serverName.data();
  CERT_CHAIN_POLICY_PARA policyParameters{};
  policyParameters.cbSize = sizeof policyParameters;
  policyParameters.pvExtraPolicyPara = &sslParameters;
  CERT_CHAIN_POLICY_STATUS status{};
  status.cbSize = sizeof status;
  if (!::CertVerifyCertificateChainPolicy(CERT_CHAIN_POLICY_SSL, built.Get(), &policyParameters,
                                          &status))
    return false;
  return status.dwError == 0;
}

}  // namespace net
