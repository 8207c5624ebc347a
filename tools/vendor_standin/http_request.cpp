#include "vendor_standin/http_request.h"

#include <algorithm>
#include <cctype>
#include <optional>

namespace standin {
namespace {

constexpr std::string_view kHeadEnd = "\r\n\r\n";

struct Head {
  std::string method;
  std::string target;
  std::size_t contentLength = 0;
  bool tooLarge = false;
};

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    return std::tolower(static_cast<unsigned char>(x)) ==
           std::tolower(static_cast<unsigned char>(y));
  });
}

std::string_view Trim(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
    text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
    text.remove_suffix(1);
  return text;
}

// "METHOD SP TARGET SP HTTP/x.y" and the header lines after it; nullopt when malformed.
std::optional<Head> ParseHead(std::string_view head) {
  std::size_t lineEnd = head.find("\r\n");
  std::string_view line = head.substr(0, lineEnd);
  std::size_t firstBlank = line.find(' ');
  std::size_t lastBlank = line.rfind(' ');
  if (firstBlank == std::string_view::npos || firstBlank == 0 || lastBlank == firstBlank + 1 ||
      lastBlank == firstBlank || line.substr(lastBlank + 1).rfind("HTTP/", 0) != 0) {
    return std::nullopt;
  }
  Head parsed;
  parsed.method = line.substr(0, firstBlank);
  parsed.target = line.substr(firstBlank + 1, lastBlank - firstBlank - 1);

  std::optional<std::size_t> contentLength;
  while (lineEnd != std::string_view::npos) {
    std::size_t start = lineEnd + 2;
    lineEnd = head.find("\r\n", start);
    line = head.substr(start, lineEnd == std::string_view::npos ? head.npos : lineEnd - start);
    std::size_t colon = line.find(':');
    if (colon == std::string_view::npos ||
        !EqualsIgnoringCase(line.substr(0, colon), "Content-Length")) {
      continue;
    }
    std::string_view value = Trim(line.substr(colon + 1));
    if (value.empty() ||
        !std::all_of(value.begin(), value.end(), [](char c) { return c >= '0' && c <= '9'; })) {
      return std::nullopt;
    }
    // Longer than the limit's digits: too large, whatever the number.
    std::size_t length = value.size() > 8 ? kMaxBodyBytes + 1 : std::stoul(std::string(value));
    if (contentLength && *contentLength != length)
      return std::nullopt;
    contentLength = length;
  }
  parsed.contentLength = contentLength.value_or(0);
  parsed.tooLarge = parsed.contentLength > kMaxBodyBytes;
  return parsed;
}

}  // namespace

Request ReadRequest(const std::function<std::size_t(char*, std::size_t)>& read) {
  Request request;
  char buffer[16 * 1024];
  std::size_t headEnd = std::string::npos;
  while (headEnd == std::string::npos) {
    if (request.raw.size() > kMaxHeadBytes) {
      request.status = Request::Status::kTooLarge;
      return request;
    }
    std::size_t count = read(buffer, sizeof buffer);
    if (count == 0)
      return request;
    // Search only the new bytes and the three before them for the end of the head.
    std::size_t from = request.raw.size() >= 3 ? request.raw.size() - 3 : 0;
    request.raw.append(buffer, count);
    headEnd = request.raw.find(kHeadEnd, from);
  }
  headEnd += kHeadEnd.size();

  std::optional<Head> head = ParseHead(std::string_view(request.raw).substr(0, headEnd - 2));
  if (!head) {
    request.status = Request::Status::kMalformed;
    return request;
  }
  request.method = std::move(head->method);
  request.target = std::move(head->target);
  if (head->tooLarge) {
    request.status = Request::Status::kTooLarge;
    return request;
  }
  const std::size_t total = headEnd + head->contentLength;
  while (request.raw.size() < total) {
    std::size_t count = read(buffer, std::min(sizeof buffer, total - request.raw.size()));
    if (count == 0)
      return request;
    request.raw.append(buffer, count);
  }
  // Bytes past the body belong to no request of ours (one request per connection).
  request.raw.resize(total);
  request.status = Request::Status::kComplete;
  return request;
}

}  // namespace standin
