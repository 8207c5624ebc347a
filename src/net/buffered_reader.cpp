#include "net/buffered_reader.h"

#include <algorithm>
#include <cstring>

#include "net/http_error.h"

namespace net {

bool BufferedReader::Fill() {
  begin_ = 0;
  end_ = source_.ReadSome(buffer_.data(), buffer_.size());
  return end_ > 0;
}

std::string BufferedReader::ReadLine(std::size_t maxLength) {
  std::string line;
  for (;;) {
    if (begin_ == end_ && !Fill())
      throw errors::ResponseCutShort();
    const char* start = buffer_.data() + begin_;
    const auto* newline = static_cast<const char*>(std::memchr(start, '\n', end_ - begin_));
    const std::size_t take =
        newline != nullptr ? static_cast<std::size_t>(newline - start) : end_ - begin_;
    // maxLength + 1 leaves room for the CR of a line of exactly maxLength characters.
    if (line.size() + take > maxLength + 1)
      throw errors::LineTooLong();
    line.append(start, take);
    if (newline == nullptr) {
      begin_ = end_;
      continue;
    }
    begin_ += take + 1;
    if (!line.empty() && line.back() == '\r')
      line.pop_back();
    if (line.size() > maxLength)
      throw errors::LineTooLong();
    return line;
  }
}

std::size_t BufferedReader::ReadSome(char* buffer, std::size_t size) {
  if (begin_ == end_) {
    // A large request goes straight to the source rather than through the buffer.
    if (size >= buffer_.size())
      return source_.ReadSome(buffer, size);
    if (!Fill())
      return 0;
  }
  const std::size_t take = std::min(size, end_ - begin_);
  std::memcpy(buffer, buffer_.data() + begin_, take);
  begin_ += take;
  return take;
}

void BufferedReader::ReadExactly(char* buffer, std::size_t size) {
  while (size > 0) {
    const std::size_t n = ReadSome(buffer, size);
    if (n == 0)
      throw errors::ResponseCutShort();
    buffer += n;
    size -= n;
  }
}

}  // namespace net
