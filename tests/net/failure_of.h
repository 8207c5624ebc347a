// The message of the HTTP error an action raises, or "(no error)".
#pragma once

#include <functional>
#include <string>

#include "net/http_error.h"

namespace net_test {

inline std::string FailureOf(const std::function<void()>& action) {
  try {
    action();
  } catch (const net::HttpError& error) {
    return error.what();
  }
  return "(no error)";
}

}  // namespace net_test
