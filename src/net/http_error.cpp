#include "net/http_error.h"

#include <string>

namespace net::errors {

namespace {

std::string Quoted(std::string_view text) {
  return "\"" + std::string(text) + "\"";
}

std::string HostAndPort(std::string_view host, std::uint16_t port) {
  return std::string(host) + ":" + std::to_string(port);
}

std::string UpperAscii(std::string_view text) {
  std::string upper(text);
  for (char& c : upper) {
    if (c >= 'a' && c <= 'z')
      c = static_cast<char>(c - 'a' + 'A');
  }
  return upper;
}

}  // namespace

HttpError TlsLibraryUnavailable() {
  return HttpError("Could not initialize OpenSSL library");
}

HttpError InvalidUrl(std::string_view url) {
  return HttpError("Invalid URL: " + Quoted(url));
}

HttpError HostNotResolved(std::string_view host) {
  return HttpError("Host name resolution for " + Quoted(host) + " failed.");
}

HttpError ConnectTimedOut(std::string_view host, std::uint16_t port) {
  return HttpError("Connection to " + HostAndPort(host, port) + " timed out.");
}

HttpError ConnectFailed(std::string_view host, std::uint16_t port) {
  return HttpError("Connect to " + HostAndPort(host, port) + " failed.");
}

HttpError ReadFailed() {
  return HttpError("Error reading data from socket");
}

HttpError ReadTimedOut() {
  return HttpError("Read timed out");
}

HttpError WriteFailed() {
  return HttpError("Error writing data to socket");
}

HttpError WriteTimedOut() {
  return HttpError("Write timed out");
}

HttpError ResponseCutShort() {
  return HttpError("Connection closed before the end of the response");
}

HttpError LineTooLong() {
  return HttpError("Response line too long");
}

HttpError HeaderTooLarge() {
  return HttpError("Response header too large");
}

HttpError TooManyInterimResponses() {
  return HttpError("Too many interim responses");
}

HttpError BodyTooLarge() {
  return HttpError("Response body too large");
}

HttpError InvalidProtocol(std::string_view word) {
  return HttpError("Invalid protocol version in response: " + Quoted(UpperAscii(word)));
}

HttpError InvalidStatusCode(std::string_view word) {
  return HttpError("Invalid response status code: " + std::string(word));
}

HttpError InvalidContentLength(std::string_view value) {
  return HttpError("Invalid Content-Length in response: " + Quoted(value));
}

HttpError InvalidChunkSize(std::string_view line) {
  return HttpError("Invalid chunk size: " + Quoted(line));
}

HttpError ChunkTooBig(std::uint64_t size) {
  return HttpError("Chunk too big: Got " + std::to_string(size) +
                   ", maximum allowed size: " + std::to_string(kMaxChunkSize));
}

HttpError ChunkLineEndMissing() {
  return HttpError("Chunk line end missing");
}

}  // namespace net::errors
