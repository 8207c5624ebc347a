#include "net/chunked_decoder.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "net/ascii.h"
#include "net/http_error.h"

namespace net {

namespace {

// A size line holds a few hex digits and perhaps extensions; a trailer is a few fields.
constexpr std::size_t kMaxSizeLineLength = 4096;
constexpr std::size_t kMaxTrailerLineLength = 8192;
constexpr std::size_t kMaxTrailerSize = 65536;

using ascii::HexValue;
using ascii::IsBlank;

// "1a3f", then optionally blanks and ";extension...". The value saturates rather than
// wrapping, so that any oversized announcement is reported as too big.
std::uint64_t ParseChunkSize(std::string_view line) {
  std::size_t i = 0;
  std::uint64_t size = 0;
  for (; i < line.size() && HexValue(line[i]) >= 0; ++i) {
    const auto digit = static_cast<std::uint64_t>(HexValue(line[i]));
    size = size > (UINT64_MAX - digit) / 16 ? UINT64_MAX : size * 16 + digit;
  }
  if (i == 0)
    throw errors::InvalidChunkSize(line);
  while (i < line.size() && IsBlank(line[i]))
    ++i;
  if (i < line.size() && line[i] != ';')
    throw errors::InvalidChunkSize(line);
  if (size > kMaxChunkSize)
    throw errors::ChunkTooBig(size);
  return size;
}

void CopyChunkData(BufferedReader& reader, std::uint64_t size, BodySink& sink) {
  std::array<char, kBodyBlockSize> block;
  while (size > 0) {
    const std::size_t n = reader.ReadSome(
        block.data(), static_cast<std::size_t>(std::min<std::uint64_t>(size, block.size())));
    if (n == 0)
      throw errors::ResponseCutShort();
    sink.Write(std::string_view(block.data(), n));
    size -= n;
  }
  char lineEnd[2];
  reader.ReadExactly(lineEnd, sizeof lineEnd);
  if (lineEnd[0] != '\r' || lineEnd[1] != '\n')
    throw errors::ChunkLineEndMissing();
}

void SkipTrailer(BufferedReader& reader) {
  std::size_t total = 0;
  for (;;) {
    const std::string line = reader.ReadLine(kMaxTrailerLineLength);
    if (line.empty())
      return;
    total += line.size();
    if (total > kMaxTrailerSize)
      throw errors::HeaderTooLarge();
  }
}

}  // namespace

void ReadChunkedBody(BufferedReader& reader, BodySink& sink) {
  for (;;) {
    const std::uint64_t size = ParseChunkSize(reader.ReadLine(kMaxSizeLineLength));
    if (size == 0)
      break;
    CopyChunkData(reader, size, sink);
  }
  SkipTrailer(reader);
}

}  // namespace net
