#include "net/http_client.h"

#include <exception>
#include <utility>

#include "net/byte_stream.h"
#include "net/http_connection.h"
#include "net/http_error.h"
#include "net/http_request.h"
#include "net/http_response.h"
#include "net/url.h"

namespace net {

namespace {

// The version service answers a few hundred bytes; anything near this is not its answer.
constexpr std::size_t kMaxReplySize = 4 * 1024 * 1024;
// A server that keeps sending interim responses is not going to answer.
constexpr int kMaxInterimResponses = 16;

class ReplyText : public BodySink {
 public:
  void Write(std::string_view block) override {
    if (block.size() > kMaxReplySize - text_.size())
      throw errors::BodyTooLarge();
    text_.append(block);
  }
  std::string Take() { return std::move(text_); }

 private:
  std::string text_;
};

// The final response's head; interim (1xx) responses before it are read and dropped.
ResponseHead ReadFinalHead(BufferedReader& reader) {
  for (int interim = 0;; ++interim) {
    ResponseHead head = ReadResponseHead(reader);
    if (head.status < 100 || head.status >= 200)
      return head;
    if (interim == kMaxInterimResponses)
      throw errors::TooManyInterimResponses();
  }
}

}  // namespace

std::optional<std::string> HttpClient::PostForBody(const std::string& url, std::string_view body) {
  lastFailure_.clear();
  try {
    const Url target = ParseUrl(url);
    HttpConnection connection(target, limits_);
    connection.Send(QueryRequest(target, body));
    const ResponseHead head = ReadFinalHead(connection.Reader());
    ReplyText reply;
    ReadBody(connection.Reader(), BodyFramingOf(head), reply);
    return reply.Take();
  } catch (const std::exception& failure) {
    // Whatever went wrong on the way, the caller sees no reply.
    lastFailure_ = failure.what();
    return std::nullopt;
  }
}

}  // namespace net
