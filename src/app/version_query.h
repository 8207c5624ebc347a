#pragma once
// The version query without its transport: the request body that is posted, and how the
// service's reply is read. The HTTP exchange hands the reply body to ReadVersionReply.
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace app {

// What the version service answered.
struct VersionInfo {
  std::int32_t errorNumber = 0;  // ID_ERRO; 0: no error
  std::string errorText;         // DS_ERRO for display: each backslash-n pair made a CR
  std::string versionCode;       // VERSAO_ATUAL as text; read only when errorNumber is 0
};

// A reply that is JSON but not of the shape the service sends (no value at all, or a
// scalar where the path to the record needs an array or object).
class VersionReplyError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The request body: the query object in indented form, CR LF between lines (106 bytes).
std::string VersionQueryBody();

// The reply body read as the service's answer. Nothing when the body is empty or only
// blanks and control characters (no reply). Raises formats::JsonError,
// formats::ConversionError or VersionReplyError with the message of the first fault.
std::optional<VersionInfo> ReadVersionReply(std::string_view replyBody);

}  // namespace app
