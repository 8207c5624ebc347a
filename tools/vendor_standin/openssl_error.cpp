#include <openssl/err.h>

#include "vendor_standin/openssl_handles.h"

namespace standin {

std::string OpenSslErrorText(const std::string& what) {
  std::string text = what;
  unsigned long code = ERR_get_error();
  if (code != 0) {
    char buffer[256];
    ERR_error_string_n(code, buffer, sizeof buffer);
    text += ": ";
    text += buffer;
  }
  ERR_clear_error();
  return text;
}

}  // namespace standin
