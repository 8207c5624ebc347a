// Response bytes from memory, handed out a few at a time as a network would.
#pragma once

#include <algorithm>
#include <cstring>
#include <string>
#include <string_view>

#include "net/buffered_reader.h"
#include "net/byte_stream.h"

namespace net_test {

class StringSource : public net::ByteSource {
 public:
  StringSource(std::string data, std::size_t bytesPerRead)
      : data_(std::move(data)), bytesPerRead_(bytesPerRead) {}
  std::size_t ReadSome(char* buffer, std::size_t size) override {
    const std::size_t n = std::min({size, bytesPerRead_, data_.size() - offset_});
    std::memcpy(buffer, data_.data() + offset_, n);
    offset_ += n;
    return n;
  }
  std::size_t Left() const { return data_.size() - offset_; }

 private:
  std::string data_;
  std::size_t bytesPerRead_;
  std::size_t offset_ = 0;
};

class CollectingSink : public net::BodySink {
 public:
  void Write(std::string_view block) override {
    largestBlock = std::max(largestBlock, block.size());
    text.append(block);
  }
  std::string text;
  std::size_t largestBlock = 0;
};

// Everything the reader has not handed out yet.
inline std::string Rest(net::BufferedReader& reader) {
  std::string rest;
  char buffer[64];
  while (const std::size_t n = reader.ReadSome(buffer, sizeof buffer))
    rest.append(buffer, n);
  return rest;
}

}  // namespace net_test
