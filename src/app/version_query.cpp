#include "app/version_query.h"

#include "formats/json.h"
#include "formats/utf8.h"

namespace app {

namespace {

[[noreturn]] void ThrowUnexpectedReply(std::string_view what) {
  throw VersionReplyError("Unexpected reply from the version service: " + std::string(what));
}

bool IsBlank(std::string_view text) {
  for (const char c : text) {
    if (static_cast<unsigned char>(c) > 32)
      return false;
  }
  return true;
}

// The first item of an array or object; anything else cannot lead to the record.
const formats::JsonValue& FirstItem(const formats::JsonValue& value, std::string_view what) {
  if (!value.IsContainer())
    ThrowUnexpectedReply(std::string(what) + " is neither an array nor an object.");
  return value.Item(0);
}

// The service writes line breaks as the two characters backslash and n.
std::string ForDisplay(std::string_view text) {
  std::string shown;
  shown.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\\' && i + 1 < text.size() && text[i + 1] == 'n') {
      shown += '\r';
      ++i;
    } else {
      shown += text[i];
    }
  }
  return shown;
}

}  // namespace

std::string VersionQueryBody() {
  using formats::JsonValue;
  return formats::FormatJson(JsonValue::Object({
      {"ID_UNIDADE_ESTACAO", JsonValue::Integer(0)},
      {"ID_UNIDADE_DATABASE", JsonValue::Integer(0)},
      {"OP_FIRST_SYNC", JsonValue::Integer(0)},
      {"ID_MODULO", JsonValue::Integer(2)},
  }));
}

std::optional<VersionInfo> ReadVersionReply(std::string_view replyBody) {
  // Blank only for this test: the whole body is parsed, so positions in messages are
  // those of the body as received.
  if (IsBlank(replyBody))
    return std::nullopt;
  // Taken as UTF-8 text as a decoder would: a byte that is not UTF-8 (a server writing
  // Latin-1, say) becomes U+FFFD instead of failing the whole reply.
  const std::optional<formats::JsonValue> document =
      formats::ParseJson(formats::Utf8WithReplacements(replyBody));
  if (!document)
    ThrowUnexpectedReply("no JSON value.");
  const formats::JsonValue& record =
      FirstItem(FirstItem(*document, "the top-level value"), "the first item");

  // In this order, so that the first fault met decides the message: DS_ERRO is read
  // whatever the error number, VERSAO_ATUAL only without an error.
  VersionInfo info;
  info.errorNumber = record.Member("ID_ERRO").AsInteger();
  info.errorText = ForDisplay(record.Member("DS_ERRO").AsText());
  if (info.errorNumber == 0)
    info.versionCode = record.Member("VERSAO_ATUAL").AsText();
  return info;
}

}  // namespace app
