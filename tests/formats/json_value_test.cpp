#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <type_traits>

#include "formats/conversion.h"
#include "formats/json.h"

namespace {

using formats::JsonMember;
using formats::JsonValue;

JsonValue Parsed(std::string_view text) {
  auto value = formats::ParseJson(text);
  if (!value)
    throw std::logic_error("no value in the test's text");
  return std::move(*value);
}

// The message raised by `read`, or "= " followed by what it returned.
template <class Read>
std::string Outcome(Read read) {
  try {
    if constexpr (std::is_same_v<decltype(read()), std::string>)
      return "= " + read();
    else
      return "= " + std::to_string(read());
  } catch (const formats::JsonError& e) {
    return std::string("JsonError: ") + e.what();
  } catch (const formats::ConversionError& e) {
    return std::string("ConversionError: ") + e.what();
  }
}

TEST(JsonValue, ItemsByPositionAndMembersByExactName) {
  const JsonValue array = Parsed(R"([10, 20])");
  const JsonValue object = Parsed(R"({"first": 1, "ID_ERRO": 2})");
  const JsonValue scalar = Parsed("7");

  EXPECT_EQ(array.Item(1).AsInteger(), 20);
  EXPECT_EQ(object.Item(0).AsInteger(), 1);  // an object's items: its members' values
  EXPECT_EQ(object.Member("ID_ERRO").AsInteger(), 2);
  EXPECT_EQ(object.Find("id_erro"), nullptr);

  EXPECT_EQ(Outcome([&] { return array.Item(2).AsInteger(); }),
            "JsonError: List index (2) out of bounds");
  EXPECT_EQ(Outcome([&] { return Parsed("{}").Item(0).AsInteger(); }),
            "JsonError: List index (0) out of bounds");
  EXPECT_EQ(Outcome([&] { return scalar.Item(0).AsInteger(); }),
            "JsonError: List index (0) out of bounds");
  // Names match exactly, case included; a value that is no object has no members.
  EXPECT_EQ(Outcome([&] { return object.Member("id_erro").AsInteger(); }),
            "JsonError: Path \"id_erro\" invalid: element \"id_erro\" not found.");
  EXPECT_EQ(Outcome([&] { return array.Member("ID_ERRO").AsInteger(); }),
            "JsonError: Path \"ID_ERRO\" invalid: element \"ID_ERRO\" not found.");
}

TEST(JsonValue, ConvertsToInteger) {
  struct Case {
    const char* json;
    const char* outcome;
  };
  const Case cases[] = {
      {R"("7")", "= 7"},
      {R"("-12")", "= -12"},
      {R"("+5")", "= 5"},
      {R"("007")", "= 7"},
      {R"("2147483647")", "= 2147483647"},
      {R"("-2147483648")", "= -2147483648"},
      {R"("2147483648")", "ConversionError: \"2147483648\" is an invalid integer"},
      {R"("99999999999999999999999")",
       "ConversionError: \"99999999999999999999999\" is an invalid integer"},
      {R"(" 7")", "ConversionError: \" 7\" is an invalid integer"},
      {R"("7a")", "ConversionError: \"7a\" is an invalid integer"},
      {R"("$1F")", "ConversionError: \"$1F\" is an invalid integer"},
      {R"("-")", "ConversionError: \"-\" is an invalid integer"},
      {R"("")", "ConversionError: \"\" is an invalid integer"},
      {"42", "= 42"},
      {"-0", "= 0"},
      {"-2147483648", "= -2147483648"},
      {"3000000000", "ConversionError: \"3000000000\" is an invalid integer"},
      // Halves go to the even neighbour.
      {"0.5", "= 0"},
      {"1.5", "= 2"},
      {"2.5", "= 2"},
      {"-2.5", "= -2"},
      {"2.4999", "= 2"},
      {"2.5001", "= 3"},
      {"1E2", "= 100"},
      {"2147483647.4", "= 2147483647"},
      {"2147483647.5", "ConversionError: \"2147483647.5\" is an invalid integer"},
      {"1e300", "ConversionError: \"1e300\" is an invalid integer"},
      {"true", "= 1"},
      {"false", "= 0"},
      {"null", "JsonError: Cannot convert data from Null value"},
      {"[1]", "JsonError: Cannot convert data from array value"},
      {R"({"a":1})", "JsonError: Cannot convert data from object value"},
  };
  for (const auto& c : cases) {
    const JsonValue value = Parsed(c.json);
    EXPECT_EQ(Outcome([&] { return value.AsInteger(); }), c.outcome) << c.json;
  }
}

TEST(JsonValue, ConvertsToText) {
  struct Case {
    const char* json;
    const char* outcome;
  };
  const Case cases[] = {
      {R"("03012005")", "= 03012005"},
      {R"("")", "= "},
      {"3012005", "= 3012005"},  // a code sent as a number loses its leading zero
      {"-0", "= 0"},
      {"1.5", "= 1.5000000000000000E+000"},
      {"-250.0", "= -2.5000000000000000E+002"},
      {"1e-3", "= 1.0000000000000000E-003"},
      {"0.0", "= 0.0000000000000000E+000"},
      {"1.7976931348623157e308", "= 1.7976931348623157E+308"},
      {"true", "= True"},
      {"false", "= False"},
      {"null", "JsonError: Cannot convert data from Null value"},
      {"[]", "JsonError: Cannot convert data from array value"},
      {"{}", "JsonError: Cannot convert data from object value"},
  };
  for (const auto& c : cases) {
    const JsonValue value = Parsed(c.json);
    EXPECT_EQ(Outcome([&] { return value.AsText(); }), c.outcome) << c.json;
  }
}

TEST(JsonWriter, WritesIndentedLinesJoinedByCrLf) {
  const JsonValue value = JsonValue::Object({
      {"n", JsonValue::Integer(-3)},
      {"s", JsonValue::String("a\"b\\c\nd\x01 ção")},
      {"l", JsonValue::Array({JsonValue::Boolean(true), JsonValue::Null(), JsonValue::Object({})})},
      {"e", JsonValue::Array({})},
  });
  const std::string expected =
      "{\r\n"
      "  \"n\" : -3,\r\n"
      "  \"s\" : \"a\\\"b\\\\c\\nd\\u0001 ção\",\r\n"
      "  \"l\" : [\r\n"
      "    true,\r\n"
      "    null,\r\n"
      "    {}\r\n"
      "  ],\r\n"
      "  \"e\" : []\r\n"
      "}";
  EXPECT_EQ(formats::FormatJson(value), expected);

  // What the writer writes, the reader reads back.
  const JsonValue back = Parsed(expected);
  EXPECT_EQ(back.Member("s").AsText(), "a\"b\\c\nd\x01 ção");
  EXPECT_EQ(formats::FormatJson(back), expected);
}

}  // namespace
