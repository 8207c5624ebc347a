#pragma once
// Reading an HTTP response: its head, and its body by whichever framing the head announces.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "net/buffered_reader.h"
#include "net/byte_stream.h"

namespace net {

struct ResponseHead {
  int status = 0;
  // Each header line as received, without its line end; the status line is not among them.
  std::vector<std::string> headerLines;
};

// Reads the status line and the header lines up to the empty line. Throws
// errors::InvalidProtocol, InvalidStatusCode, LineTooLong, HeaderTooLarge or
// ResponseCutShort.
ResponseHead ReadResponseHead(BufferedReader& reader);

// The value of the first header line of that name (any case), without surrounding blanks.
std::optional<std::string> FirstHeaderValue(const ResponseHead& head, std::string_view name);

struct BodyFraming {
  enum class Kind { kNone, kChunked, kLength, kUntilClose };
  Kind kind = Kind::kNone;
  std::uint64_t length = 0;  // kLength only
};

// How the body of a response to a request other than HEAD is delimited. 1xx, 204 and 304
// have none; then chunked coding, then Content-Length, else the body runs until the
// server closes. Throws errors::InvalidContentLength.
BodyFraming BodyFramingOf(const ResponseHead& head);

// Reads the body to its end, handing it to the sink in blocks of at most kBodyBlockSize.
// Throws errors::ResponseCutShort when the server closes before the announced end, and
// the errors of ReadChunkedBody.
void ReadBody(BufferedReader& reader, const BodyFraming& framing, BodySink& sink);

}  // namespace net
