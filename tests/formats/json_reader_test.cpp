#include "formats/json.h"

#include <gtest/gtest.h>

#include <iterator>
#include <string>
#include <vector>

namespace {

using formats::JsonError;
using formats::JsonKind;
using formats::ParseJson;

std::string MessageOf(std::string_view text) {
  try {
    ParseJson(text);
  } catch (const JsonError& e) {
    return e.what();
  }
  return "(no error)";
}

TEST(JsonReader, ReportsTheFirstFaultWithItsPlaceAndToken) {
  struct Case {
    std::string_view text;
    const char* message;
  };
  const Case cases[] = {
      // An error page instead of JSON: its first character that is not a blank.
      {"<html><body>500 Internal Server Error</body></html>",
       "Invalid character at line 1, pos 1: '<'"},
      {"\r\n  <!DOCTYPE html>", "Invalid character at line 2, pos 3: '<'"},
      // Structure: the place is the first character of the token met.
      {"[", "Error at line 1, Pos 2:Unexpected EOF encountered."},
      {"[1, 2", "Error at line 1, Pos 6:Expected , or ], got token \"EOF\"."},
      {"[1 2]", "Error at line 1, Pos 4:Expected , or ], got token \"2\"."},
      {"[true false]", "Error at line 1, Pos 7:Expected , or ], got token \"false\"."},
      {"[1,]", "Error at line 1, Pos 4:Unexpected token (]) encountered."},
      {":", "Error at line 1, Pos 1:Unexpected token (:) encountered."},
      {"[tru]", "Error at line 1, Pos 2:Unexpected token (tru) encountered."},
      {"{", "Error at line 1, Pos 2:Expected element name, got token \"EOF\""},
      {"{a:1}", "Error at line 1, Pos 2:Expected element name, got token \"a\""},
      {"{\"a\":1,}", "Error at line 1, Pos 8:Expected element name, got token \"}\""},
      {"{\"a\" 1}", "Error at line 1, Pos 6:Expected colon (:), got token \"1\"."},
      {"{\"a\":1 \"b\":2}", "Error at line 1, Pos 8:Expected , or ], got token \"b\"."},
      {"[1.2.3]", "Error at line 1, Pos 2:Number is not an integer or real number: 1.2.3"},
      {"[01]", "Error at line 1, Pos 2:Number is not an integer or real number: 01"},
      {"[-]", "Error at line 1, Pos 2:Number is not an integer or real number: -"},
      {"[12ab]", "Error at line 1, Pos 2:Number is not an integer or real number: 12ab"},
      {"[1e400]", "Error at line 1, Pos 2:Number is not an integer or real number: 1e400"},
      // Positions count characters, not bytes; CR LF, LF and CR each end one line.
      {"[\"ção\" x]", "Error at line 1, Pos 8:Expected , or ], got token \"x\"."},
      {"[\r\n1\r\n,\r\n]", "Error at line 4, Pos 1:Unexpected token (]) encountered."},
      {"[\r\r}", "Error at line 3, Pos 1:Unexpected token (}) encountered."},
      {"[1,\n /* a\n b */ }", "Error at line 3, Pos 7:Unexpected token (}) encountered."},
      // Characters.
      {"[1 / 2]", "Invalid character at line 1, pos 4: '/'"},
      {"[é]", "Invalid character at line 1, pos 2: 'é'"},
      {"['a']", "Invalid character at line 1, pos 2: '''"},
      {"[\"a\\x\"]", "Invalid character at line 1, pos 5: 'x'"},
      {"[\"\\u12G4\"]", "Invalid character at line 1, pos 7: 'G'"},
      {"[\"\\uD800\"]", "Invalid character at line 1, pos 3: '\\uD800'"},
      {"[\"\\uD800\\u0041\"]", "Invalid character at line 1, pos 3: '\\uD800\\u0041'"},
      {"[\"\\uDC00\"]", "Invalid character at line 1, pos 3: '\\uDC00'"},
      {"[\"\xC3\x28\"]", "Invalid character at line 1, pos 3: '\\xC3'"},
      {"[\"\xED\xA0\x80\"]", "Invalid character at line 1, pos 3: '\\xED'"},  // a surrogate
      {"\xFF", "Invalid character at line 1, pos 1: '\\xFF'"},
      {"/* open", "Unterminated comment at line 1, pos 1: '/* open'"},
      {"[1,\n  /* a\n b", "Unterminated comment at line 2, pos 3: '/* a'"},
      {"[\"abc", "string exceeds end of line 1"},
      {"[\"ab\ncd\"]", "string exceeds end of line 1"},
      {"\n\n[\"ab\\", "string exceeds end of line 3"},
      {"[\"\\u12", "string exceeds end of line 1"},
      // The first fault decides, whatever follows.
      {"{\"a\" 1, <}", "Error at line 1, Pos 6:Expected colon (:), got token \"1\"."},
      {"[1,, \"open", "Error at line 1, Pos 4:Unexpected token (,) encountered."},
  };
  for (const auto& c : cases)
    EXPECT_EQ(MessageOf(c.text), c.message) << c.text;
}

TEST(JsonReader, IgnoresBlanksCommentsAndWhateverFollowsTheValue) {
  const char* const texts[] = {
      "[1,2]",
      "\xEF\xBB\xBF [1, 2]",
      "// lead\r\n[1, /* in\nside */ 2] // tail",
      "[1,2] <html> \"unterminated",
      "\t[\n1\r,\r\n2\n]\n",
  };
  for (const char* text : texts) {
    SCOPED_TRACE(text);
    const auto value = ParseJson(text);
    ASSERT_TRUE(value);
    ASSERT_EQ(value->Kind(), JsonKind::Array);
    ASSERT_EQ(value->Count(), 2u);
    EXPECT_EQ(value->Item(1).AsInteger(), 2);
  }
}

TEST(JsonReader, TextWithoutAValueGivesNothing) {
  for (const char* text : {"", " \r\n\t", "// only a comment", "/* */", "\xEF\xBB\xBF"})
    EXPECT_FALSE(ParseJson(text)) << text;
}

TEST(JsonReader, KeepsKindsNumberTextAndMemberOrder) {
  const auto value =
      ParseJson(R"({"z": -0, "a": 12345678901234567890, "m": 1.50, "e": 2E-3, "s": "x", "t": true,)"
                R"( "f": false, "n": null, "l": [], "o": {}, "a": "second a"})");
  ASSERT_TRUE(value);
  struct Expected {
    const char* name;
    JsonKind kind;
    const char* text;
  };
  const Expected expected[] = {
      {"z", JsonKind::Integer, "-0"},      {"a", JsonKind::Float, "12345678901234567890"},
      {"m", JsonKind::Float, "1.50"},      {"e", JsonKind::Float, "2E-3"},
      {"s", JsonKind::String, "x"},        {"t", JsonKind::True, ""},
      {"f", JsonKind::False, ""},          {"n", JsonKind::Null, ""},
      {"l", JsonKind::Array, ""},          {"o", JsonKind::Object, ""},
      {"a", JsonKind::String, "second a"},
  };
  ASSERT_EQ(value->Count(), std::size(expected));
  for (std::size_t i = 0; i < std::size(expected); ++i) {
    EXPECT_EQ(value->Name(i), expected[i].name) << i;
    EXPECT_EQ(value->Item(i).Kind(), expected[i].kind) << i;
    EXPECT_EQ(value->Item(i).Text(), expected[i].text) << i;
  }
  // A repeated name: the first member counts.
  EXPECT_EQ(value->Member("a").Kind(), JsonKind::Float);
}

TEST(JsonReader, DecodesStringEscapesAndUtf8) {
  struct Case {
    std::string_view text;
    std::string_view decoded;
  };
  const Case cases[] = {
      {R"("a\"b\\c\/d")", "a\"b\\c/d"},
      {R"("\b\f\n\r\t")", "\b\f\n\r\t"},
      {R"("\u00e7\u00C3o \ud83d\ude00")", "çÃo 😀"},
      {R"("\u0000")", std::string_view("\0", 1)},
      {"\"ação 😀\"", "ação 😀"},
      {"\"tab\there\"", "tab\there"},  // a raw control character other than a line break
      {R"("\\n")", "\\n"},
  };
  for (const auto& c : cases) {
    const auto value = ParseJson(c.text);
    ASSERT_TRUE(value) << c.text;
    EXPECT_EQ(value->Text(), c.decoded) << c.text;
  }
}

TEST(JsonReader, LimitsNestingInsteadOfExhaustingTheStack) {
  const auto nested = [](std::size_t depth) {
    return std::string(depth, '[') + std::string(depth, ']');
  };
  EXPECT_TRUE(ParseJson(nested(formats::kJsonMaxDepth)));
  EXPECT_EQ(MessageOf(nested(formats::kJsonMaxDepth + 1)),
            "Error at line 1, Pos 513:Nesting deeper than 512 levels.");
  EXPECT_EQ(MessageOf(std::string(1000000, '[')),
            "Error at line 1, Pos 513:Nesting deeper than 512 levels.");
  std::string objects;
  for (int i = 0; i < 100000; ++i)
    objects += "{\"a\":";
  EXPECT_EQ(MessageOf(objects), "Error at line 1, Pos 2561:Nesting deeper than 512 levels.");
}

// Every prefix of a valid document, and every single-byte change to it, either parses
// or raises JsonError: nothing else escapes, nothing is read past the text.
TEST(JsonReader, SurvivesCutAndDamagedDocuments) {
  const std::string document =
      "\xEF\xBB\xBF{\"a\": [1, -2.5e3, \"x\\u00e7\\ud83d\\ude00\", true, null],\r\n"
      " // c\n \"b\": {\"c\": \"ação\"} /* d */}";
  const auto tryParse = [](std::string_view text) {
    try {
      ParseJson(text);
    } catch (const JsonError&) {
    }
  };
  for (std::size_t n = 0; n <= document.size(); ++n) {
    // Exactly n bytes on the heap, so that the sanitizer sees any read past the end.
    const std::vector<char> bytes(document.begin(), document.begin() + n);
    tryParse(std::string_view(bytes.data(), bytes.size()));
  }
  for (std::size_t i = 0; i < document.size(); ++i) {
    for (const char c : {'\0', '"', '\\', '[', '{', '\n', '\xC3', '\xFF'}) {
      std::string damaged = document;
      damaged[i] = c;
      tryParse(damaged);
    }
  }
}

}  // namespace
