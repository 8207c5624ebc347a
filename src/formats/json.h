#pragma once
// JSON values, a reader that takes hostile text and either returns a value or raises
// its exact message, and a writer for indented text.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace formats {

// Every fault of the reader and of the access to values (wrong item, missing member,
// impossible conversion). The text of an invalid integer is a ConversionError
// (formats/conversion.h), shared with the other integer conversions.
class JsonError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

enum class JsonKind {
  Null,
  True,
  False,
  Integer,  // a number without fraction and exponent that fits 64 bits
  Float,    // a number with fraction or exponent, or an integer too big for 64 bits
  String,
  Array,
  Object,
};

class JsonValue;
struct JsonMember;

class JsonValue {
 public:
  JsonValue() = default;  // null

  static JsonValue Null() { return {}; }
  static JsonValue Boolean(bool value);
  static JsonValue Integer(std::int64_t value);
  static JsonValue String(std::string text);
  static JsonValue Array(std::vector<JsonValue> items);
  static JsonValue Object(std::vector<JsonMember> members);

  JsonKind Kind() const { return kind_; }
  bool IsContainer() const { return kind_ == JsonKind::Array || kind_ == JsonKind::Object; }

  // A string's text, or a number's text as written in the document; empty otherwise.
  const std::string& Text() const { return text_; }

  // Number of elements of an array or members of an object; 0 for any other value.
  std::size_t Count() const;

  // Element i of an array, or the value of member i of an object in document order.
  // Raises "List index (i) out of bounds" when there is no such item.
  const JsonValue& Item(std::size_t i) const;
  // Name of member i of an object; raises like Item.
  const std::string& Name(std::size_t i) const;

  // The value of the first member with exactly this name, or nullptr (also when this
  // is not an object).
  const JsonValue* Find(std::string_view name) const;
  // As Find, but raises "Path "name" invalid: element "name" not found." when absent.
  const JsonValue& Member(std::string_view name) const;

  // The value as a signed 32-bit integer: a string by its decimal text, a number
  // (a fraction rounded half to even), true 1, false 0. Raises ConversionError for a
  // string or number that gives no 32-bit integer, JsonError for null, array, object.
  std::int32_t AsInteger() const;
  // The value as text: a string as is, an integer in decimal, a fraction or exponent
  // number in exponent notation (FloatText), "True", "False". Raises JsonError for
  // null, array and object.
  std::string AsText() const;

 private:
  friend struct JsonParser;

  JsonKind kind_ = JsonKind::Null;
  std::string text_;
  std::int64_t integer_ = 0;
  double float_ = 0;
  std::vector<JsonValue> items_;     // array elements
  std::vector<JsonMember> members_;  // object members, in document order
};

struct JsonMember {
  std::string name;
  JsonValue value;
};

// Reads the whole text as one JSON value (UTF-8). Text after a complete value is not
// looked at. Returns nothing when the text holds no value at all (only blanks and
// comments). Raises JsonError with the reader's message on the first fault met.
std::optional<JsonValue> ParseJson(std::string_view text);

// Indented multi-line text, lines joined by CR LF, no line break after the last one:
// "{", one line per member (2 spaces per level, "name" : value, a comma after every
// member but the last), "}"; arrays alike with "[" and "]". Empty containers are
// written "{}" and "[]"; numbers as their text, strings with JSON escapes.
std::string FormatJson(const JsonValue& value);

// A double in exponent notation: 17 significant digits, "E", the exponent's sign and
// at least 3 digits ("1.5000000000000000E+000", "-2.5000000000000000E-003").
std::string FloatText(double value);

// Deepest nesting of arrays and objects the reader accepts.
inline constexpr int kJsonMaxDepth = 512;

}  // namespace formats
