#include "formats/json.h"

#include <charconv>
#include <cmath>
#include <system_error>
#include <utility>

#include "formats/conversion.h"
#include "formats/utf8.h"

namespace formats {

namespace {

// ---- Messages ------------------------------------------------------------------------
// Every text the reader and the value access raise is worded here.
//
// Places: lines count from 1; a line ends at LF, CR or CR LF. A position counts the
// characters (UTF-8 sequences, not bytes) of its line from 1. A fault in the structure
// is placed at the first character of the token met (end of text: just after the last
// character); a fault in the characters at the offending character; an unterminated
// comment at its "/*".
//
// Token names: "EOF", "{", "}", "[", "]", ",", ":"; a string, number or bare word
// (true, false and null included) by its text, a string without its quotes.

std::string StructureFault(std::size_t line, std::size_t pos, std::string_view what) {
  return "Error at line " + std::to_string(line) + ", Pos " + std::to_string(pos) + ":" +
         std::string(what);
}

std::string UnexpectedEof() {
  return "Unexpected EOF encountered.";
}

std::string UnexpectedToken(std::string_view token) {
  return "Unexpected token (" + std::string(token) + ") encountered.";
}

std::string ExpectedColon(std::string_view token) {
  return "Expected colon (:), got token \"" + std::string(token) + "\".";
}

std::string ExpectedElementName(std::string_view token) {
  return "Expected element name, got token \"" + std::string(token) + "\"";
}

// Arrays and objects alike report a missing separator with this text.
std::string ExpectedCommaOrClose(std::string_view token) {
  return "Expected , or ], got token \"" + std::string(token) + "\".";
}

std::string InvalidNumber(std::string_view token) {
  return "Number is not an integer or real number: " + std::string(token);
}

std::string TooDeep() {
  return "Nesting deeper than " + std::to_string(kJsonMaxDepth) + " levels.";
}

std::string InvalidCharacter(std::size_t line, std::size_t pos, std::string_view shown) {
  return "Invalid character at line " + std::to_string(line) + ", pos " + std::to_string(pos) +
         ": '" + std::string(shown) + "'";
}

std::string UnterminatedComment(std::size_t line, std::size_t pos, std::string_view shown) {
  return "Unterminated comment at line " + std::to_string(line) + ", pos " + std::to_string(pos) +
         ": '" + std::string(shown) + "'";
}

std::string StringPastEndOfLine(std::size_t line) {
  return "string exceeds end of line " + std::to_string(line);
}

std::string ListIndexOutOfBounds(std::size_t index) {
  return "List index (" + std::to_string(index) + ") out of bounds";
}

std::string PathNotFound(std::string_view name) {
  const std::string quoted = "\"" + std::string(name) + "\"";
  return "Path " + quoted + " invalid: element " + quoted + " not found.";
}

[[noreturn]] void ThrowCannotConvert(JsonKind kind) {
  const char* what = kind == JsonKind::Null ? "Null" : kind == JsonKind::Array ? "array" : "object";
  throw JsonError(std::string("Cannot convert data from ") + what + " value");
}

// ---- Characters ----------------------------------------------------------------------

// The character at text[at] as shown in a message: itself when it is well-formed,
// else its first byte as "\xNN", so that messages stay valid UTF-8.
std::string ShownCharacter(std::string_view text, std::size_t at) {
  const auto lead = static_cast<unsigned char>(text[at]);
  if (lead < 0x80)
    return std::string(1, static_cast<char>(lead));
  if (const std::size_t n = Utf8SequenceLength(text, at))
    return std::string(text.substr(at, n));
  static const char hex[] = "0123456789ABCDEF";
  return std::string{'\\', 'x', hex[lead >> 4], hex[lead & 15]};
}

void AppendUtf8(std::string& out, std::uint32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

bool IsLetter(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_';
}

bool IsLineBreak(char c) {
  return c == '\n' || c == '\r';
}

// JSON's number grammar: -?(0|[1-9][0-9]*)(\.[0-9]+)?([eE][+-]?[0-9]+)?
bool IsJsonNumber(std::string_view s, bool& integral) {
  std::size_t i = 0;
  const auto digits = [&] {
    const std::size_t from = i;
    while (i < s.size() && IsDigit(s[i]))
      ++i;
    return i > from;
  };
  if (i < s.size() && s[i] == '-')
    ++i;
  if (i < s.size() && s[i] == '0')
    ++i;
  else if (!digits())
    return false;
  integral = true;
  if (i < s.size() && s[i] == '.') {
    ++i;
    integral = false;
    if (!digits())
      return false;
  }
  if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
    ++i;
    integral = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-'))
      ++i;
    if (!digits())
      return false;
  }
  return i == s.size();
}

double RoundHalfToEven(double x) {
  const double down = std::floor(x);
  const double rest = x - down;
  if (rest > 0.5)
    return down + 1;
  if (rest < 0.5)
    return down;
  return std::fmod(down, 2.0) == 0 ? down : down + 1;
}

enum class Token {
  Eof,
  BeginObject,
  EndObject,
  BeginArray,
  EndArray,
  Comma,
  Colon,
  String,
  Number,
  True,
  False,
  Null,
  Word,
};

}  // namespace

// ---- Reader --------------------------------------------------------------------------

// One pass over the text: a scanner that keeps one token, and a recursive descent whose
// depth is bounded. Every fault leaves through Fail.
struct JsonParser {
  std::string_view text;
  std::size_t at = 0;  // next byte to read
  std::size_t line = 1;
  std::size_t lineStart = 0;  // byte offset of the current line's first character

  Token token = Token::Eof;
  std::size_t tokenStart = 0;
  std::size_t tokenLine = 1;
  std::size_t tokenLineStart = 0;
  std::string tokenText;  // a string's decoded text, or a number's or word's text

  [[noreturn]] static void Fail(std::string message) { throw JsonError(std::move(message)); }

  // 1-based position of the byte at `offset` in the line starting at `from`, counting
  // UTF-8 sequences: continuation bytes do not count.
  std::size_t Position(std::size_t from, std::size_t offset) const {
    std::size_t pos = 1;
    for (std::size_t i = from; i < offset; ++i) {
      if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80)
        ++pos;
    }
    return pos;
  }

  [[noreturn]] void FailAtToken(std::string_view what) const {
    Fail(StructureFault(tokenLine, Position(tokenLineStart, tokenStart), what));
  }

  [[noreturn]] void FailAtCharacter(std::size_t offset, std::string_view shown) const {
    Fail(InvalidCharacter(line, Position(lineStart, offset), shown));
  }

  std::string TokenName() const {
    switch (token) {
      case Token::Eof:
        return "EOF";
      case Token::BeginObject:
        return "{";
      case Token::EndObject:
        return "}";
      case Token::BeginArray:
        return "[";
      case Token::EndArray:
        return "]";
      case Token::Comma:
        return ",";
      case Token::Colon:
        return ":";
      default:
        return tokenText;
    }
  }

  // Steps over the line break at `at` (LF, CR or CR LF).
  void SkipLineBreak() {
    if (text[at] == '\r' && at + 1 < text.size() && text[at + 1] == '\n')
      ++at;
    ++at;
    ++line;
    lineStart = at;
  }

  void SkipBlanksAndComments() {
    while (at < text.size()) {
      const char c = text[at];
      const char next = at + 1 < text.size() ? text[at + 1] : '\0';
      if (c == ' ' || c == '\t') {
        ++at;
      } else if (IsLineBreak(c)) {
        SkipLineBreak();
      } else if (c == '/' && next == '/') {
        while (at < text.size() && !IsLineBreak(text[at]))
          ++at;
      } else if (c == '/' && next == '*') {
        SkipBlockComment();
      } else {
        return;
      }
    }
  }

  void SkipBlockComment() {
    const std::size_t start = at, startLine = line, startLineStart = lineStart;
    at += 2;
    while (true) {
      if (at >= text.size()) {
        // Shown: the comment from its "/*" to the end of the line it begins on.
        std::size_t end = start;
        while (end < text.size() && !IsLineBreak(text[end]))
          ++end;
        Fail(UnterminatedComment(startLine, Position(startLineStart, start),
                                 text.substr(start, end - start)));
      }
      if (text[at] == '*' && at + 1 < text.size() && text[at + 1] == '/') {
        at += 2;
        return;
      }
      if (IsLineBreak(text[at]))
        SkipLineBreak();
      else
        ++at;
    }
  }

  void Next() {
    SkipBlanksAndComments();
    tokenStart = at;
    tokenLine = line;
    tokenLineStart = lineStart;
    tokenText.clear();
    if (at >= text.size()) {
      token = Token::Eof;
      return;
    }
    const char c = text[at];
    switch (c) {
      case '{':
        token = Token::BeginObject;
        ++at;
        return;
      case '}':
        token = Token::EndObject;
        ++at;
        return;
      case '[':
        token = Token::BeginArray;
        ++at;
        return;
      case ']':
        token = Token::EndArray;
        ++at;
        return;
      case ',':
        token = Token::Comma;
        ++at;
        return;
      case ':':
        token = Token::Colon;
        ++at;
        return;
      case '"':
        ReadString();
        return;
      default:
        break;
    }
    if (c == '-' || IsDigit(c)) {
      // The whole run of number-like characters is the token, so "1.2.3" or "12ab" is
      // reported as one malformed number.
      while (at < text.size() && (IsDigit(text[at]) || IsLetter(text[at]) || text[at] == '.' ||
                                  text[at] == '+' || text[at] == '-'))
        ++at;
      token = Token::Number;
      tokenText.assign(text.substr(tokenStart, at - tokenStart));
      return;
    }
    if (IsLetter(c)) {
      while (at < text.size() && (IsLetter(text[at]) || IsDigit(text[at])))
        ++at;
      tokenText.assign(text.substr(tokenStart, at - tokenStart));
      token = tokenText == "true"    ? Token::True
              : tokenText == "false" ? Token::False
              : tokenText == "null"  ? Token::Null
                                     : Token::Word;
      return;
    }
    FailAtCharacter(at, ShownCharacter(text, at));
  }

  // A string ends on its line: a line break or the end of text before the closing
  // quote is a fault. Other control characters are taken as they stand.
  void ReadString() {
    ++at;
    while (true) {
      if (at >= text.size() || IsLineBreak(text[at]))
        Fail(StringPastEndOfLine(tokenLine));
      const char c = text[at];
      if (c == '"') {
        ++at;
        token = Token::String;
        return;
      }
      if (c == '\\') {
        ReadEscape();
      } else if (static_cast<unsigned char>(c) < 0x80) {
        tokenText += c;
        ++at;
      } else {
        const std::size_t n = Utf8SequenceLength(text, at);
        if (n == 0)
          FailAtCharacter(at, ShownCharacter(text, at));
        tokenText.append(text.substr(at, n));
        at += n;
      }
    }
  }

  void ReadEscape() {
    const std::size_t start = at;
    ++at;
    if (at >= text.size() || IsLineBreak(text[at]))
      Fail(StringPastEndOfLine(tokenLine));
    const char e = text[at];
    const char* simple = "\"\"\\\\//b\bf\fn\nr\rt\t";
    for (const char* p = simple; *p != '\0'; p += 2) {
      if (e == *p) {
        tokenText += p[1];
        ++at;
        return;
      }
    }
    if (e != 'u')
      FailAtCharacter(at, ShownCharacter(text, at));
    ++at;
    std::uint32_t cp = ReadHex4();
    if (cp >= 0xD800 && cp <= 0xDBFF) {
      // A high surrogate counts only with the low surrogate escaped right after it.
      if (at + 1 < text.size() && text[at] == '\\' && text[at + 1] == 'u') {
        at += 2;
        const std::uint32_t low = ReadHex4();
        if (low < 0xDC00 || low > 0xDFFF)
          FailAtCharacter(start, text.substr(start, at - start));
        cp = 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00);
      } else {
        FailAtCharacter(start, text.substr(start, at - start));
      }
    } else if (cp >= 0xDC00 && cp <= 0xDFFF) {
      FailAtCharacter(start, text.substr(start, at - start));
    }
    AppendUtf8(tokenText, cp);
  }

  std::uint32_t ReadHex4() {
    std::uint32_t value = 0;
    for (int i = 0; i < 4; ++i) {
      if (at >= text.size() || IsLineBreak(text[at]))
        Fail(StringPastEndOfLine(tokenLine));
      const char c = text[at];
      std::uint32_t digit;
      if (IsDigit(c))
        digit = static_cast<std::uint32_t>(c - '0');
      else if (c >= 'a' && c <= 'f')
        digit = static_cast<std::uint32_t>(c - 'a' + 10);
      else if (c >= 'A' && c <= 'F')
        digit = static_cast<std::uint32_t>(c - 'A' + 10);
      else
        FailAtCharacter(at, ShownCharacter(text, at));
      value = value * 16 + digit;
      ++at;
    }
    return value;
  }

  // The current token begins a value; on return the current token is its last one.
  JsonValue ParseValue(int depth) {
    JsonValue value;
    switch (token) {
      case Token::BeginArray:
      case Token::BeginObject:
        if (depth >= kJsonMaxDepth)
          FailAtToken(TooDeep());
        return token == Token::BeginArray ? ParseArray(depth + 1) : ParseObject(depth + 1);
      case Token::String:
        value.kind_ = JsonKind::String;
        value.text_ = std::move(tokenText);
        return value;
      case Token::Number:
        return ParseNumber();
      case Token::True:
        value.kind_ = JsonKind::True;
        return value;
      case Token::False:
        value.kind_ = JsonKind::False;
        return value;
      case Token::Null:
        return value;
      case Token::Eof:
        FailAtToken(UnexpectedEof());
      default:
        FailAtToken(UnexpectedToken(TokenName()));
    }
  }

  JsonValue ParseNumber() {
    JsonValue value;
    bool integral = false;
    if (!IsJsonNumber(tokenText, integral))
      FailAtToken(InvalidNumber(tokenText));
    const char* first = tokenText.data();
    const char* last = first + tokenText.size();
    if (integral) {
      const auto [end, ec] = std::from_chars(first, last, value.integer_);
      if (ec == std::errc() && end == last) {
        value.kind_ = JsonKind::Integer;
        value.text_ = std::move(tokenText);
        return value;
      }
      // Beyond 64 bits an integer can only be held as a double.
    }
    // Out of the double's range either way (overflow or underflow) is refused too.
    const auto [end, ec] = std::from_chars(first, last, value.float_);
    if (ec != std::errc() || end != last)
      FailAtToken(InvalidNumber(tokenText));
    value.kind_ = JsonKind::Float;
    value.text_ = std::move(tokenText);
    return value;
  }

  JsonValue ParseArray(int depth) {
    JsonValue array;
    array.kind_ = JsonKind::Array;
    Next();
    if (token == Token::EndArray)
      return array;
    while (true) {
      array.items_.push_back(ParseValue(depth));
      Next();
      if (token == Token::EndArray)
        return array;
      if (token != Token::Comma)
        FailAtToken(ExpectedCommaOrClose(TokenName()));
      Next();
    }
  }

  JsonValue ParseObject(int depth) {
    JsonValue object;
    object.kind_ = JsonKind::Object;
    Next();
    if (token == Token::EndObject)
      return object;
    while (true) {
      if (token != Token::String)
        FailAtToken(ExpectedElementName(TokenName()));
      std::string name = std::move(tokenText);
      Next();
      if (token != Token::Colon)
        FailAtToken(ExpectedColon(TokenName()));
      Next();
      object.members_.push_back(JsonMember{std::move(name), ParseValue(depth)});
      Next();
      if (token == Token::EndObject)
        return object;
      if (token != Token::Comma)
        FailAtToken(ExpectedCommaOrClose(TokenName()));
      Next();
    }
  }

  std::optional<JsonValue> ParseDocument() {
    // A byte order mark, which some servers put before their output, is not a value.
    if (text.substr(0, 3) == "\xEF\xBB\xBF")
      at = lineStart = 3;
    Next();
    if (token == Token::Eof)
      return std::nullopt;
    return ParseValue(0);
  }
};

std::optional<JsonValue> ParseJson(std::string_view text) {
  JsonParser parser;
  parser.text = text;
  return parser.ParseDocument();
}

// ---- Values --------------------------------------------------------------------------

JsonValue JsonValue::Boolean(bool value) {
  JsonValue v;
  v.kind_ = value ? JsonKind::True : JsonKind::False;
  return v;
}

JsonValue JsonValue::Integer(std::int64_t value) {
  JsonValue v;
  v.kind_ = JsonKind::Integer;
  v.integer_ = value;
  v.text_ = std::to_string(value);
  return v;
}

JsonValue JsonValue::String(std::string text) {
  JsonValue v;
  v.kind_ = JsonKind::String;
  v.text_ = std::move(text);
  return v;
}

JsonValue JsonValue::Array(std::vector<JsonValue> items) {
  JsonValue v;
  v.kind_ = JsonKind::Array;
  v.items_ = std::move(items);
  return v;
}

JsonValue JsonValue::Object(std::vector<JsonMember> members) {
  JsonValue v;
  v.kind_ = JsonKind::Object;
  v.members_ = std::move(members);
  return v;
}

std::size_t JsonValue::Count() const {
  return kind_ == JsonKind::Array ? items_.size() : members_.size();
}

const JsonValue& JsonValue::Item(std::size_t i) const {
  if (i >= Count())
    throw JsonError(ListIndexOutOfBounds(i));
  return kind_ == JsonKind::Array ? items_[i] : members_[i].value;
}

const std::string& JsonValue::Name(std::size_t i) const {
  if (i >= members_.size())
    throw JsonError(ListIndexOutOfBounds(i));
  return members_[i].name;
}

const JsonValue* JsonValue::Find(std::string_view name) const {
  for (const JsonMember& member : members_) {
    if (member.name == name)
      return &member.value;
  }
  return nullptr;
}

const JsonValue& JsonValue::Member(std::string_view name) const {
  if (const JsonValue* value = Find(name))
    return *value;
  throw JsonError(PathNotFound(name));
}

std::int32_t JsonValue::AsInteger() const {
  switch (kind_) {
    case JsonKind::String:
      return TextToInt32(text_);
    case JsonKind::Integer:
      if (integer_ < INT32_MIN || integer_ > INT32_MAX)
        ThrowInvalidInteger(text_);
      return static_cast<std::int32_t>(integer_);
    case JsonKind::Float: {
      const double rounded = RoundHalfToEven(float_);
      if (!(rounded >= INT32_MIN && rounded <= INT32_MAX))
        ThrowInvalidInteger(text_);
      return static_cast<std::int32_t>(rounded);
    }
    case JsonKind::True:
      return 1;
    case JsonKind::False:
      return 0;
    default:
      ThrowCannotConvert(kind_);
  }
}

std::string JsonValue::AsText() const {
  switch (kind_) {
    case JsonKind::String:
      return text_;
    case JsonKind::Integer:
      return std::to_string(integer_);
    case JsonKind::Float:
      return FloatText(float_);
    case JsonKind::True:
      return "True";
    case JsonKind::False:
      return "False";
    default:
      ThrowCannotConvert(kind_);
  }
}

std::string FloatText(double value) {
  char buffer[64];
  const auto [end, ec] =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific, 16);
  const std::string plain(buffer, ec == std::errc() ? end : buffer);
  const std::size_t e = plain.find('e');
  if (e == std::string::npos || e + 2 >= plain.size())
    return plain;  // not finite: the reader never makes such a value
  std::string exponent = plain.substr(e + 2);
  if (exponent.size() < 3)
    exponent.insert(0, 3 - exponent.size(), '0');
  return plain.substr(0, e) + "E" + plain[e + 1] + exponent;
}

// ---- Writer --------------------------------------------------------------------------

namespace {

void WriteString(std::string& out, const std::string& text) {
  out += '"';
  for (const char c : text) {
    switch (c) {
      case '"':
        out += "\\\"";
        break;
      case '\\':
        out += "\\\\";
        break;
      case '\b':
        out += "\\b";
        break;
      case '\f':
        out += "\\f";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\t':
        out += "\\t";
        break;
      default:
        if (static_cast<unsigned char>(c) < 0x20) {
          static const char hex[] = "0123456789abcdef";
          out += "\\u00";
          out += hex[(c >> 4) & 15];
          out += hex[c & 15];
        } else {
          out += c;
        }
    }
  }
  out += '"';
}

void WriteValue(std::string& out, const JsonValue& value, std::size_t indent) {
  switch (value.Kind()) {
    case JsonKind::Null:
      out += "null";
      return;
    case JsonKind::True:
      out += "true";
      return;
    case JsonKind::False:
      out += "false";
      return;
    case JsonKind::Integer:
    case JsonKind::Float:
      out += value.Text();
      return;
    case JsonKind::String:
      WriteString(out, value.Text());
      return;
    case JsonKind::Array:
    case JsonKind::Object:
      break;
  }
  const bool object = value.Kind() == JsonKind::Object;
  const std::size_t count = value.Count();
  out += object ? '{' : '[';
  if (count > 0) {
    for (std::size_t i = 0; i < count; ++i) {
      out += "\r\n";
      out.append(indent + 2, ' ');
      if (object) {
        WriteString(out, value.Name(i));
        out += " : ";
      }
      WriteValue(out, value.Item(i), indent + 2);
      if (i + 1 < count)
        out += ',';
    }
    out += "\r\n";
    out.append(indent, ' ');
  }
  out += object ? '}' : ']';
}

}  // namespace

std::string FormatJson(const JsonValue& value) {
  std::string out;
  WriteValue(out, value, 0);
  return out;
}

}  // namespace formats
