#include "net/http_response.h"

#include <algorithm>
#include <array>

#include "net/ascii.h"
#include "net/chunked_decoder.h"
#include "net/http_error.h"

namespace net {

namespace {

constexpr std::size_t kMaxHeaderLineLength = 8192;
constexpr std::size_t kMaxHeaderBlockSize = 65536;

using ascii::EqualsIgnoringCase;
using ascii::IsBlank;

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && IsBlank(text.front()))
    text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back()))
    text.remove_suffix(1);
  return text;
}

// The next word separated by blanks, taken off the front of `text`.
std::string_view NextWord(std::string_view& text) {
  while (!text.empty() && IsBlank(text.front()))
    text.remove_prefix(1);
  std::size_t end = 0;
  while (end < text.size() && !IsBlank(text[end]))
    ++end;
  const std::string_view word = text.substr(0, end);
  text.remove_prefix(end);
  return word;
}

bool AllDigits(std::string_view text) {
  return !text.empty() && std::all_of(text.begin(), text.end(), ascii::IsDigit);
}

int ParseStatusLine(std::string_view line) {
  const std::string_view protocol = NextWord(line);
  if (protocol.size() < 5 || !EqualsIgnoringCase(protocol.substr(0, 5), "HTTP/"))
    throw errors::InvalidProtocol(protocol);
  const std::string_view code = NextWord(line);
  // Nine digits still fit an int; no real status has more than three.
  if (!AllDigits(code) || code.size() > 9)
    throw errors::InvalidStatusCode(code);
  int status = 0;
  for (char c : code)
    status = status * 10 + (c - '0');
  return status;
}

std::uint64_t ParseContentLength(std::string_view value) {
  // 18 digits stay below 2^63 whatever they are.
  if (!AllDigits(value) || value.size() > 18)
    throw errors::InvalidContentLength(value);
  std::uint64_t length = 0;
  for (char c : value)
    length = length * 10 + static_cast<std::uint64_t>(c - '0');
  return length;
}

}  // namespace

ResponseHead ReadResponseHead(BufferedReader& reader) {
  ResponseHead head;
  const std::string statusLine = reader.ReadLine(kMaxHeaderLineLength);
  head.status = ParseStatusLine(statusLine);
  std::size_t total = statusLine.size() + 2;
  for (;;) {
    std::string line = reader.ReadLine(kMaxHeaderLineLength);
    if (line.empty())
      return head;
    total += line.size() + 2;
    if (total > kMaxHeaderBlockSize)
      throw errors::HeaderTooLarge();
    head.headerLines.push_back(std::move(line));
  }
}

std::optional<std::string> FirstHeaderValue(const ResponseHead& head, std::string_view name) {
  for (const std::string& line : head.headerLines) {
    const std::size_t colon = line.find(':');
    if (colon == std::string::npos)
      continue;
    if (EqualsIgnoringCase(TrimBlanks(std::string_view(line).substr(0, colon)), name))
      return std::string(TrimBlanks(std::string_view(line).substr(colon + 1)));
  }
  return std::nullopt;
}

BodyFraming BodyFramingOf(const ResponseHead& head) {
  using Kind = BodyFraming::Kind;
  if ((head.status >= 100 && head.status < 200) || head.status == 204 || head.status == 304)
    return {Kind::kNone, 0};
  if (const auto coding = FirstHeaderValue(head, "Transfer-Encoding");
      coding && EqualsIgnoringCase(*coding, "chunked"))
    return {Kind::kChunked, 0};
  if (const auto length = FirstHeaderValue(head, "Content-Length"))
    return {Kind::kLength, ParseContentLength(*length)};
  return {Kind::kUntilClose, 0};
}

void ReadBody(BufferedReader& reader, const BodyFraming& framing, BodySink& sink) {
  using Kind = BodyFraming::Kind;
  if (framing.kind == Kind::kNone)
    return;
  if (framing.kind == Kind::kChunked) {
    ReadChunkedBody(reader, sink);
    return;
  }
  std::array<char, kBodyBlockSize> block;
  std::uint64_t left = framing.length;
  while (framing.kind == Kind::kUntilClose || left > 0) {
    std::size_t want = block.size();
    if (framing.kind == Kind::kLength)
      want = static_cast<std::size_t>(std::min<std::uint64_t>(left, want));
    const std::size_t n = reader.ReadSome(block.data(), want);
    if (n == 0) {
      if (framing.kind == Kind::kLength)
        throw errors::ResponseCutShort();
      return;
    }
    sink.Write(std::string_view(block.data(), n));
    left -= std::min<std::uint64_t>(left, n);
  }
}

}  // namespace net
