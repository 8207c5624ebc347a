#include "vendor_standin/responses.h"

namespace standin {
namespace {

struct Reason {
  int status;
  std::string_view phrase;
};

constexpr Reason kReasons[] = {
    {100, "Continue"},
    {200, "OK"},
    {201, "Created"},
    {204, "No Content"},
    {301, "Moved Permanently"},
    {302, "Found"},
    {303, "See Other"},
    {304, "Not Modified"},
    {307, "Temporary Redirect"},
    {308, "Permanent Redirect"},
    {400, "Bad Request"},
    {401, "Unauthorized"},
    {403, "Forbidden"},
    {404, "Not Found"},
    {405, "Method Not Allowed"},
    {413, "Content Too Large"},
    {500, "Internal Server Error"},
    {502, "Bad Gateway"},
    {503, "Service Unavailable"},
};

std::string_view ReasonPhrase(int status) {
  for (const Reason& reason : kReasons) {
    if (reason.status == status)
      return reason.phrase;
  }
  return "Status";
}

}  // namespace

std::string ReplyHead(int status, std::uint64_t contentLength, std::string_view contentType) {
  std::string head = "HTTP/1.1 " + std::to_string(status) + " ";
  head += ReasonPhrase(status);
  head += "\r\nContent-Type: ";
  head += contentType;
  head += "\r\nContent-Length: " + std::to_string(contentLength);
  head += "\r\nConnection: close\r\n\r\n";
  return head;
}

std::string TextReply(int status, std::string_view body) {
  return ReplyHead(status, body.size()) + std::string(body);
}

bool IsServableFileName(std::string_view name) {
  return !name.empty() && name.find('/') == name.npos && name.find('\\') == name.npos &&
         name.find("..") == name.npos && name.find('\0') == name.npos;
}

}  // namespace standin
