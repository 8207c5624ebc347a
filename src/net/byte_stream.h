#pragma once
// The two ends of a transfer: where response bytes come from, and where a body goes.
#include <cstddef>
#include <string_view>

namespace net {

class ByteSource {
 public:
  virtual ~ByteSource() = default;
  // Waits for data and returns up to `size` (> 0) bytes of it; 0 once the data has ended.
  virtual std::size_t ReadSome(char* buffer, std::size_t size) = 0;
};

class BodySink {
 public:
  virtual ~BodySink() = default;
  // Takes the next block of the body, in the order received.
  virtual void Write(std::string_view block) = 0;
};

// The largest block handed to a BodySink at once.
inline constexpr std::size_t kBodyBlockSize = 4096;

}  // namespace net
