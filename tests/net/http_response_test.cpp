#include "net/http_response.h"

#include <gtest/gtest.h>

#include "net/failure_of.h"
#include "net/http_error.h"
#include "net/string_source.h"

namespace {

using net_test::CollectingSink;
using net_test::FailureOf;
using net_test::StringSource;
using Kind = net::BodyFraming::Kind;

TEST(ReadResponseHead, TakesTheStatusAndKeepsTheHeaderLinesAsReceived) {
  StringSource source(
      "http/1.1 200 OK\r\nContent-Length:  5 \r\nX-Empty:\r\nserver: stand-in\nweird line\r\n\r\n"
      "hello",
      2);
  net::BufferedReader reader(source);
  const net::ResponseHead head = net::ReadResponseHead(reader);
  EXPECT_EQ(head.status, 200);
  EXPECT_EQ(head.headerLines, (std::vector<std::string>{"Content-Length:  5 ", "X-Empty:",
                                                        "server: stand-in", "weird line"}));
  EXPECT_EQ(net_test::Rest(reader), "hello");  // the body stays for the body reader
}

TEST(ReadResponseHead, ReportsAStatusLineItCannotRead) {
  struct Case {
    std::string response;
    std::string message;
  };
  const Case cases[] = {
      {"HTTP/1.0 404 Not Found\r\n\r\n", "(no error)"},
      {"HTTP/1.1  302\r\n\r\n", "(no error)"},
      {"garbage here\r\n\r\n", "Invalid protocol version in response: \"GARBAGE\""},
      {"<html>\r\n\r\n", "Invalid protocol version in response: \"<HTML>\""},
      {"HTTP 200 OK\r\n\r\n", "Invalid protocol version in response: \"HTTP\""},
      {"\r\n\r\n", "Invalid protocol version in response: \"\""},
      {"HTTP/1.1 OK\r\n\r\n", "Invalid response status code: OK"},
      {"HTTP/1.1 2OO OK\r\n\r\n", "Invalid response status code: 2OO"},
      {"HTTP/1.1\r\n\r\n", "Invalid response status code: "},
      {"HTTP/1.1 2000000000000 Big\r\n\r\n", "Invalid response status code: 2000000000000"},
      {"HTTP/1.1 200 OK\r\nContent-Length: 5\r\n",
       "Connection closed before the end of the response"},
      {"HTTP/1.1 200", "Connection closed before the end of the response"},
      {"", "Connection closed before the end of the response"},
      {"HTTP/1.1 200 OK\r\nX: " + std::string(9000, 'x') + "\r\n\r\n", "Response line too long"},
  };
  for (const auto& c : cases) {
    StringSource source(c.response, 7);
    net::BufferedReader reader(source);
    EXPECT_EQ(FailureOf([&] { net::ReadResponseHead(reader); }), c.message) << c.response;
  }
}

TEST(ReadResponseHead, BoundsTheHeaderBlock) {
  std::string response = "HTTP/1.1 200 OK\r\n";
  for (int i = 0; i < 1000; ++i)
    response += "X-Header-" + std::to_string(i) + ": " + std::string(100, 'v') + "\r\n";
  StringSource source(response + "\r\n", 65536);
  net::BufferedReader reader(source);
  EXPECT_EQ(FailureOf([&] { net::ReadResponseHead(reader); }), "Response header too large");
}

TEST(FirstHeaderValue, FindsTheFirstLineOfThatNameInAnyCase) {
  net::ResponseHead head;
  head.headerLines = {"X-Orig-Content-Length: 10", "content-LENGTH:\t 500 ", "Content-Length: 7",
                      "no colon here", "Empty:"};
  EXPECT_EQ(net::FirstHeaderValue(head, "Content-Length"), "500");
  EXPECT_EQ(net::FirstHeaderValue(head, "empty"), "");
  EXPECT_EQ(net::FirstHeaderValue(head, "Transfer-Encoding"), std::nullopt);
}

TEST(BodyFramingOf, FollowsStatusThenChunkedThenLengthElseTheClose) {
  struct Case {
    int status;
    std::vector<std::string> lines;
    Kind kind;
    std::uint64_t length;
  };
  const Case cases[] = {
      {200, {"Content-Length: 12"}, Kind::kLength, 12},
      {200, {"Content-Length: 0"}, Kind::kLength, 0},
      {404, {"Content-Length: 9"}, Kind::kLength, 9},
      {200, {"Content-Length: 999999999999999999"}, Kind::kLength, 999999999999999999u},
      {200, {"Transfer-Encoding: chunked"}, Kind::kChunked, 0},
      {200, {"Content-Length: 3", "transfer-encoding: CHUNKED"}, Kind::kChunked, 0},
      {200, {"Transfer-Encoding: gzip", "Content-Length: 3"}, Kind::kLength, 3},
      {200, {"Transfer-Encoding: gzip"}, Kind::kUntilClose, 0},
      {200, {}, Kind::kUntilClose, 0},
      {500, {"Connection: close"}, Kind::kUntilClose, 0},
      {100, {}, Kind::kNone, 0},
      {204, {"Content-Length: 4"}, Kind::kNone, 0},
      {304, {"Transfer-Encoding: chunked"}, Kind::kNone, 0},
  };
  for (const auto& c : cases) {
    net::ResponseHead head{c.status, c.lines};
    const net::BodyFraming framing = net::BodyFramingOf(head);
    EXPECT_EQ(framing.kind, c.kind) << c.status << " " << testing::PrintToString(c.lines);
    EXPECT_EQ(framing.length, c.length) << c.status << " " << testing::PrintToString(c.lines);
  }
}

TEST(BodyFramingOf, RefusesALengthThatIsNotADecimalNumber) {
  for (const char* value : {"-1", "12abc", "0x10", "1 2", "", "1234567890123456789"}) {
    net::ResponseHead head{200, {std::string("Content-Length: ") + value}};
    EXPECT_EQ(FailureOf([&] { net::BodyFramingOf(head); }),
              "Invalid Content-Length in response: \"" + std::string(value) + "\"");
  }
}

TEST(ReadBody, ReadsToTheAnnouncedEndOrTheCloseInBlocksOfAtMost4096Bytes) {
  const std::string large(10000, 'b');
  struct Case {
    const char* what;
    net::BodyFraming framing;
    std::string bytes;
    std::string body;
  };
  const Case cases[] = {
      {"length", {Kind::kLength, 5}, "hello, and more", "hello"},
      {"length zero", {Kind::kLength, 0}, "more", ""},
      {"large length", {Kind::kLength, large.size()}, large + "more", large},
      {"until close", {Kind::kUntilClose, 0}, large, large},
      {"none", {Kind::kNone, 0}, "more", ""},
      {"chunked", {Kind::kChunked, 0}, "3\r\nabc\r\n0\r\n\r\nmore", "abc"},
  };
  for (const auto& c : cases) {
    StringSource source(c.bytes, 65536);
    net::BufferedReader reader(source);
    CollectingSink sink;
    net::ReadBody(reader, c.framing, sink);
    EXPECT_EQ(sink.text, c.body) << c.what;
    EXPECT_LE(sink.largestBlock, net::kBodyBlockSize) << c.what;
  }
}

TEST(ReadBody, ReportsABodyCutShortOfItsLength) {
  StringSource source("0123456789", 4);
  net::BufferedReader reader(source);
  CollectingSink sink;
  EXPECT_EQ(FailureOf([&] {
              net::ReadBody(reader, {Kind::kLength, 100}, sink);
            }),
            "Connection closed before the end of the response");
  EXPECT_EQ(sink.text, "0123456789");
}

}  // namespace
