#include "net/socket.h"

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <vector>

#include "net/failure_of.h"

namespace {

// A loopback listener whose accept queue is full: further connection attempts get no
// answer at all, as from a host that drops them.
class FullListener {
 public:
  FullListener() {
    listening_ = Open();
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (::bind(listening_, reinterpret_cast<sockaddr*>(&address), length) != 0 ||
        ::listen(listening_, 0) != 0 ||
        ::getsockname(listening_, reinterpret_cast<sockaddr*>(&address), &length) != 0)
      throw std::runtime_error("cannot listen");
    port_ = ntohs(address.sin_port);
    for (int i = 0; i < 3; ++i) {
      const int filler = Open();
      ::connect(filler, reinterpret_cast<sockaddr*>(&address), sizeof address);
      fillers_.push_back(filler);
    }
  }
  ~FullListener() {
    for (int filler : fillers_)
      ::close(filler);
    ::close(listening_);
  }
  FullListener(const FullListener&) = delete;
  FullListener& operator=(const FullListener&) = delete;
  std::uint16_t Port() const { return port_; }

 private:
  static int Open() {
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK, 0);
    if (fd < 0)
      throw std::runtime_error("socket");
    return fd;
  }

  int listening_ = -1;
  std::vector<int> fillers_;
  std::uint16_t port_ = 0;
};

TEST(SocketConnect, GivesUpAtTheConnectLimit) {
  const FullListener listener;
  net::TimeLimits limits;
  limits.connect = std::chrono::milliseconds(300);
  EXPECT_EQ(
      net_test::FailureOf([&] { net::Socket::Connect("127.0.0.1", listener.Port(), limits); }),
      "Connection to 127.0.0.1:" + std::to_string(listener.Port()) + " timed out.");
}

}  // namespace
