// The test CA and the server certificates the stand-in presents.
#pragma once

#include <string>
#include <vector>

#include "vendor_standin/openssl_handles.h"

namespace standin {

struct KeyAndCertificate {
  UniqueKey key;
  UniqueCertificate certificate;
};

// Reads the CA from certificatePath and certificatePath + ".key" when both exist and belong
// together; otherwise creates a new CA and writes both files. Throws std::runtime_error.
KeyAndCertificate LoadOrCreateCa(const std::string& certificatePath);

// A server certificate for the given names (DNS names or IP addresses), signed by the CA,
// or self-signed when ca is null. Throws std::runtime_error.
KeyAndCertificate CreateServerCertificate(const std::vector<std::string>& names,
                                          const KeyAndCertificate* ca);

}  // namespace standin
