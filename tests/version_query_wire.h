#pragma once
// The version query as the vendor's service receives it: the oracle the tests of the
// JSON writer, the HTTP client, the stand-in and the whole update check compare against.
#include <string>
#include <string_view>

namespace wire_test {

// The request body: the query object, indented, CR LF between lines.
inline constexpr std::string_view kQueryBodyText =
    "{\r\n"
    "  \"ID_UNIDADE_ESTACAO\" : 0,\r\n"
    "  \"ID_UNIDADE_DATABASE\" : 0,\r\n"
    "  \"OP_FIRST_SYNC\" : 0,\r\n"
    "  \"ID_MODULO\" : 2\r\n"
    "}";
// The request's Content-Length below says so.
static_assert(kQueryBodyText.size() == 106);
inline const std::string kQueryBody(kQueryBodyText);

// The whole request for the given Host value ("vendor.example", "localhost:8443").
inline std::string QueryRequest(const std::string& host) {
  return "POST /ws/infoVersion.php HTTP/1.0\r\n"
         "Host: " +
         host +
         "\r\n"
         "Keep-Alive: 300\r\n"
         "Connection: keep-alive\r\n"
         "User-Agent: DOSTRA_UPDATE\r\n"
         "Content-Type: application/x-www-form-urlencoded\r\n"
         "Content-Length: 106\r\n"
         "\r\n" +
         kQueryBody;
}

}  // namespace wire_test
