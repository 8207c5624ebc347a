// Reading one HTTP request: the head up to the empty line, then Content-Length body bytes.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace standin {

inline constexpr std::size_t kMaxHeadBytes = 64 * 1024;
inline constexpr std::size_t kMaxBodyBytes = 1024 * 1024;

struct Request {
  enum class Status {
    kComplete,
    kIncomplete,  // the peer left (or was given up on) before the request was complete
    kMalformed,   // no valid request line or Content-Length
    kTooLarge,    // the head or the announced body exceeds its limit; the body was not read
  };
  Status status = Status::kIncomplete;
  std::string raw;  // the bytes of the request exactly as received (head and body)
  std::string method;
  std::string target;
};

// Reads with read(buffer, size), which returns the number of bytes read, 0 at the end.
Request ReadRequest(const std::function<std::size_t(char*, std::size_t)>& read);

}  // namespace standin
