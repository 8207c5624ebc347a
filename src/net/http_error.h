#pragma once
// The failures of the HTTP client, its connections and its TLS layer. Every message of
// this family is formatted here and nowhere else.
#include <cstdint>
#include <stdexcept>
#include <string_view>

namespace net {

class HttpError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The largest chunk of a chunked body that is accepted.
inline constexpr std::uint64_t kMaxChunkSize = 268435455;

namespace errors {

HttpError TlsLibraryUnavailable();
HttpError InvalidUrl(std::string_view url);
HttpError HostNotResolved(std::string_view host);
HttpError ConnectTimedOut(std::string_view host, std::uint16_t port);
HttpError ConnectFailed(std::string_view host, std::uint16_t port);
HttpError ReadFailed();
HttpError ReadTimedOut();
HttpError WriteFailed();
HttpError WriteTimedOut();
HttpError ResponseCutShort();
HttpError LineTooLong();
HttpError HeaderTooLarge();
HttpError TooManyInterimResponses();
HttpError BodyTooLarge();
HttpError InvalidProtocol(std::string_view word);
HttpError InvalidStatusCode(std::string_view word);
HttpError InvalidContentLength(std::string_view value);
HttpError InvalidChunkSize(std::string_view line);
HttpError ChunkTooBig(std::uint64_t size);
HttpError ChunkLineEndMissing();

}  // namespace errors
}  // namespace net
