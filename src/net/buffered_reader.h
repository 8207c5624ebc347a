#pragma once
// Reads lines and bytes from a ByteSource, the response's header block and body alike.
#include <array>
#include <cstddef>
#include <string>

#include "net/byte_stream.h"

namespace net {

class BufferedReader {
 public:
  explicit BufferedReader(ByteSource& source) : source_(source) {}
  BufferedReader(const BufferedReader&) = delete;
  BufferedReader& operator=(const BufferedReader&) = delete;

  // The next line without its end (LF, or CR LF). Throws errors::LineTooLong beyond
  // maxLength characters and errors::ResponseCutShort when the data ends first.
  std::string ReadLine(std::size_t maxLength);

  // Up to `size` (> 0) bytes: what is buffered, else what one read of the source brings.
  // 0 once the data has ended.
  std::size_t ReadSome(char* buffer, std::size_t size);

  // Exactly `size` bytes; throws errors::ResponseCutShort when the data ends first.
  void ReadExactly(char* buffer, std::size_t size);

 private:
  bool Fill();

  ByteSource& source_;
  std::array<char, 16384> buffer_{};
  std::size_t begin_ = 0;
  std::size_t end_ = 0;
};

}  // namespace net
