// What the stand-in answers: reply heads and the package names it will serve.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace standin {

inline constexpr std::string_view kVersionQueryPath = "/ws/infoVersion.php";
inline constexpr std::string_view kDownloadPrefix = "/download/dostra/";

// "HTTP/1.1 <status> <reason>", Content-Length, "Connection: close" and the empty line.
std::string ReplyHead(int status, std::uint64_t contentLength,
                      std::string_view contentType = "text/plain");

// A whole reply with a short text body.
std::string TextReply(int status, std::string_view body);

// A package name taken from a request path may name only a file inside the download folder.
bool IsServableFileName(std::string_view name);

}  // namespace standin
