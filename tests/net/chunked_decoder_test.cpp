#include "net/chunked_decoder.h"

#include <gtest/gtest.h>

#include "net/failure_of.h"
#include "net/string_source.h"

namespace {

using net_test::CollectingSink;
using net_test::FailureOf;
using net_test::StringSource;

// Every case is read with the bytes arriving one at a time and all at once, so that no
// boundary between two reads can hide a fault.
constexpr std::size_t kReadSizes[] = {1, 3, 65536};

TEST(ReadChunkedBody, DecodesTheChunkDataAndStopsAfterTheTrailer) {
  struct Case {
    const char* what;
    std::string body;
    std::string data;
  };
  const Case cases[] = {
      {"two chunks", "5\r\nhello\r\n6\r\n world\r\n0\r\n\r\n", "hello world"},
      {"no data", "0\r\n\r\n", ""},
      {"hex sizes in any case", "a\r\n0123456789\r\nA\r\nabcdefghij\r\n0\r\n\r\n",
       "0123456789abcdefghij"},
      {"leading zeros", "0005\r\nhello\r\n000\r\n\r\n", "hello"},
      {"extensions", "5;name=value\r\nhello\r\n5 ; x=\"a;b\"\r\nworld\r\n0;last\r\n\r\n",
       "helloworld"},
      {"trailer fields", "2\r\nok\r\n0\r\nExpires: never\r\nX-Sum: 1\r\n\r\n", "ok"},
      {"bare LF in size and trailer lines", "2\nok\r\n0\n\n", "ok"},
      {"data holding CR LF and digits", "6\r\n\r\n0\r\n\r\r\n0\r\n\r\n", "\r\n0\r\n\r"},
  };
  for (const auto& c : cases) {
    for (const std::size_t readSize : kReadSizes) {
      StringSource source(c.body + "NEXT", readSize);
      net::BufferedReader reader(source);
      CollectingSink sink;
      net::ReadChunkedBody(reader, sink);
      EXPECT_EQ(sink.text, c.data) << c.what << ", read size " << readSize;
      // Nothing after the body is taken: it belongs to whatever comes next.
      EXPECT_EQ(net_test::Rest(reader), "NEXT") << c.what << ", read size " << readSize;
    }
  }
}

TEST(ReadChunkedBody, HandsOverLargeChunksInBlocksOfAtMost4096Bytes) {
  const std::string data(10000, 'z');
  StringSource source("2710\r\n" + data + "\r\n0\r\n\r\n", 65536);
  net::BufferedReader reader(source);
  CollectingSink sink;
  net::ReadChunkedBody(reader, sink);
  EXPECT_EQ(sink.text, data);
  EXPECT_EQ(sink.largestBlock, net::kBodyBlockSize);
}

TEST(ReadChunkedBody, RefusesMalformedOrTruncatedBodies) {
  struct Case {
    const char* what;
    std::string body;
    std::string message;
  };
  const Case cases[] = {
      {"largest size plus one", "10000000\r\n",
       "Chunk too big: Got 268435456, maximum allowed size: 268435455"},
      {"size beyond 64 bits", "fffffffffffffffffffff\r\n",
       "Chunk too big: Got 18446744073709551615, maximum allowed size: 268435455"},
      {"data not followed by CR LF", "5\r\nhelloX\r\n0\r\n\r\n", "Chunk line end missing"},
      {"data followed by LF only", "5\r\nhello\n0\r\n\r\n", "Chunk line end missing"},
      {"no size", "\r\nhello\r\n", "Invalid chunk size: \"\""},
      {"not hex", "z\r\n", "Invalid chunk size: \"z\""},
      {"negative", "-5\r\n", "Invalid chunk size: \"-5\""},
      {"junk after the size", "5 x\r\nhello\r\n", "Invalid chunk size: \"5 x\""},
      {"cut in a size line", "5", "Connection closed before the end of the response"},
      {"cut in the data", "a\r\n01234", "Connection closed before the end of the response"},
      {"cut before the data's line end", "5\r\nhello",
       "Connection closed before the end of the response"},
      {"cut before the last chunk", "5\r\nhello\r\n",
       "Connection closed before the end of the response"},
      {"cut in the trailer", "0\r\nX: 1\r\n", "Connection closed before the end of the response"},
      {"endless size line", "1" + std::string(5000, '0'), "Response line too long"},
      {"endless trailer", "0\r\n" + std::string(9000, 'x') + "\r\n\r\n", "Response line too long"},
  };
  for (const auto& c : cases) {
    for (const std::size_t readSize : kReadSizes) {
      StringSource source(c.body, readSize);
      net::BufferedReader reader(source);
      CollectingSink sink;
      EXPECT_EQ(FailureOf([&] { net::ReadChunkedBody(reader, sink); }), c.message)
          << c.what << ", read size " << readSize;
    }
  }
}

TEST(ReadChunkedBody, BoundsTheTrailerAsAWhole) {
  std::string trailer;
  for (int i = 0; i < 100; ++i)
    trailer += "X-Field-" + std::to_string(i) + ": " + std::string(1000, 'v') + "\r\n";
  StringSource source("0\r\n" + trailer + "\r\n", 65536);
  net::BufferedReader reader(source);
  CollectingSink sink;
  EXPECT_EQ(FailureOf([&] { net::ReadChunkedBody(reader, sink); }), "Response header too large");
}

}  // namespace
