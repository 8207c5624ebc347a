#include "app/version_query.h"

#include <gtest/gtest.h>

#include <string>

#include "version_query_wire.h"

namespace {

// The outcome of reading a reply, as one comparable text.
std::string Outcome(std::string_view reply) {
  try {
    const auto info = app::ReadVersionReply(reply);
    if (!info)
      return "no reply";
    return std::to_string(info->errorNumber) + "|" + info->errorText + "|" + info->versionCode;
  } catch (const std::exception& e) {
    return std::string("raises: ") + e.what();
  }
}

TEST(VersionQuery, TheBodyIsTheIndentedQueryObject) {
  const std::string body = app::VersionQueryBody();
  EXPECT_EQ(body, wire_test::kQueryBody);
}

TEST(VersionQuery, BlankRepliesAreNoReply) {
  for (const char* reply : {"", "   ", "\r\n\t \r\n", "\x01\x1F "})
    EXPECT_EQ(Outcome(reply), "no reply") << reply;
}

TEST(VersionQuery, ReadsTheRecordOfEveryAcceptedShape) {
  const std::string record = R"({"ID_ERRO": 0, "DS_ERRO": "", "VERSAO_ATUAL": "03012005"})";
  struct Case {
    std::string reply;
    const char* outcome;
  };
  const Case cases[] = {
      {"[[" + record + "]]", "0||03012005"},
      {R"({"qualquer": [)" + record + "]}", "0||03012005"},
      {R"([{"registro": )" + record + "}]", "0||03012005"},
      {"\r\n [ [ " + record + R"(, 1], "x"] <trailing text is not read)", "0||03012005"},
      {R"([[{"x": 1, "VERSAO_ATUAL": "1", "DS_ERRO": "ok", "ID_ERRO": "0"}]])", "0|ok|1"},
      // With an error, VERSAO_ATUAL is not read at all.
      {R"([[{"ID_ERRO": 5, "DS_ERRO": "Sem licença."}]])", "5|Sem licença.|"},
      {R"([[{"ID_ERRO": 5, "DS_ERRO": "x", "VERSAO_ATUAL": null}]])", "5|x|"},
      {R"([[{"ID_ERRO": "7", "DS_ERRO": 12}]])", "7|12|"},
      {R"([[{"ID_ERRO": true, "DS_ERRO": false}]])", "1|False|"},
      {R"([[{"ID_ERRO": 0.4, "DS_ERRO": "", "VERSAO_ATUAL": 3012005}]])", "0||3012005"},
      // Bytes that are not UTF-8 are taken as U+FFFD, not refused.
      {"[[{\"ID_ERRO\": 2, \"DS_ERRO\": \"Vers\xE3o\"}]]", "2|Vers\xEF\xBF\xBDo|"},
      // Backslash-n from the service becomes a line break; a real line feed stays.
      {R"([[{"ID_ERRO": 3, "DS_ERRO": "Primeira.\\nSegunda.\nTerceira.\\\\n"}]])",
       "3|Primeira.\rSegunda.\nTerceira.\\\r|"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(Outcome(c.reply), c.outcome) << c.reply;
}

TEST(VersionQuery, UnreadableRepliesRaiseTheFirstFaultMet) {
  const std::string path = "raises: Path \"%s\" invalid: element \"%s\" not found.";
  const auto pathError = [&](const std::string& name) {
    std::string message = path;
    message.replace(message.find("%s"), 2, name);
    message.replace(message.find("%s"), 2, name);
    return message;
  };
  struct Case {
    const char* reply;
    std::string outcome;
  };
  const Case cases[] = {
      {"<html><body>500 Internal Server Error</body></html>",
       "raises: Invalid character at line 1, pos 1: '<'"},
      {"\r\n\r\n  <html>", "raises: Invalid character at line 3, pos 3: '<'"},
      {"[[{\"ID_ERRO\": 0,",
       "raises: Error at line 1, Pos 17:Expected element name, got token "
       "\"EOF\""},
      {"[]", "raises: List index (0) out of bounds"},
      {"{}", "raises: List index (0) out of bounds"},
      {"[[]]", "raises: List index (0) out of bounds"},
      {R"({"r": {}})", "raises: List index (0) out of bounds"},
      {"/* nothing */", "raises: Unexpected reply from the version service: no JSON value."},
      {R"("03012005")",
       "raises: Unexpected reply from the version service: the top-level value is neither an "
       "array nor an object."},
      {"[1]",
       "raises: Unexpected reply from the version service: the first item is neither an array "
       "nor an object."},
      {"[[1]]", pathError("ID_ERRO")},  // a record that is no object
      {R"([["ID_ERRO"]])", pathError("ID_ERRO")},
      {R"([[{"id_erro": 0, "DS_ERRO": "", "VERSAO_ATUAL": "1"}]])", pathError("ID_ERRO")},
      {R"([[{"ID_ERRO": 0, "VERSAO_ATUAL": "03012005"}]])", pathError("DS_ERRO")},
      {R"([[{"ID_ERRO": 0, "DS_ERRO": ""}]])", pathError("VERSAO_ATUAL")},
      {R"([[{"DS_ERRO": null}]])", pathError("ID_ERRO")},
      {R"([[{"ID_ERRO": null}]])", "raises: Cannot convert data from Null value"},
      {R"([[{"ID_ERRO": "x", "DS_ERRO": ""}]])", "raises: \"x\" is an invalid integer"},
      {R"([[{"ID_ERRO": 5, "DS_ERRO": [], "VERSAO_ATUAL": "1"}]])",
       "raises: Cannot convert data from array value"},
      {R"([[{"ID_ERRO": 0, "DS_ERRO": "", "VERSAO_ATUAL": {}}]])",
       "raises: Cannot convert data from object value"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(Outcome(c.reply), c.outcome) << c.reply;
}

}  // namespace
