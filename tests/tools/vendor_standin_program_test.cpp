// The stand-in as a separate program, the way the demo and the whole-program tests run it.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "tools/temporary_folder.h"
#include "tools/tls_test_client.h"
#include "vendor_standin/unique_fd.h"

extern char** environ;

namespace {

using namespace std::chrono_literals;

using tools_test::ReadFile;
using tools_test::StatusLine;

// The running program with its standard output on a pipe; killed if a test leaves it behind.
class StandInProcess {
 public:
  explicit StandInProcess(std::vector<std::string> arguments) {
    int ends[2];
    if (pipe2(ends, O_CLOEXEC) != 0)
      throw std::runtime_error("pipe");
    output_ = standin::UniqueFd(ends[0]);
    standin::UniqueFd writeEnd(ends[1]);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, writeEnd.Get(), STDOUT_FILENO);
    arguments.insert(arguments.begin(), VENDOR_STANDIN_PROGRAM);
    std::vector<char*> argv;
    for (std::string& argument : arguments)
      argv.push_back(argument.data());
    argv.push_back(nullptr);
    int failed = posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (failed != 0)
      throw std::runtime_error("cannot start " + arguments[0]);
  }
  ~StandInProcess() {
    if (pid_ > 0) {
      kill(pid_, SIGKILL);
      waitpid(pid_, nullptr, 0);
    }
  }
  StandInProcess(const StandInProcess&) = delete;
  StandInProcess& operator=(const StandInProcess&) = delete;

  // The first line of output, waiting at most the given time.
  std::string FirstLine(std::chrono::milliseconds limit) {
    std::string line;
    const auto deadline = std::chrono::steady_clock::now() + limit;
    char c = 0;
    while (std::chrono::steady_clock::now() < deadline) {
      pollfd waiting{output_.Get(), POLLIN, 0};
      if (poll(&waiting, 1, 50) <= 0)
        continue;
      if (read(output_.Get(), &c, 1) != 1 || c == '\n')
        break;
      line += c;
    }
    return line;
  }

  // The exit status after the signal, or -1 when the program did not end in time.
  int EndWith(int signal, std::chrono::milliseconds limit) {
    kill(pid_, signal);
    return ExitStatusWithin(limit);
  }

  int ExitStatusWithin(std::chrono::milliseconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    int status = 0;
    while (std::chrono::steady_clock::now() < deadline) {
      if (waitpid(pid_, &status, WNOHANG) == pid_) {
        pid_ = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
      }
      std::this_thread::sleep_for(10ms);
    }
    return -1;
  }

 private:
  pid_t pid_ = -1;
  standin::UniqueFd output_;
};

TEST(VendorStandInProgram, ServesRecordsAndEndsCleanlyOnSigterm) {
  tools_test::TemporaryFolder folder;
  std::ofstream(folder.File("reply.json"), std::ios::binary) << "<html>down</html>";
  StandInProcess program({"--ca-out", folder.File("ca.pem"), "--reply-file",
                          folder.File("reply.json"), "--reply-status", "500", "--record-dir",
                          folder.File("records"), "--port-file", folder.File("port")});

  const std::string line = program.FirstLine(10s);
  const std::string prefix = "listening on https://localhost:";
  ASSERT_EQ(line.substr(0, prefix.size()), prefix) << line;
  const std::string port = line.substr(prefix.size());
  EXPECT_EQ(ReadFile(folder.File("port")), port + "\n");

  const std::string request =
      "POST /ws/infoVersion.php HTTP/1.0\r\nHost: localhost\r\nContent-Length: 2\r\n\r\n{}";
  tools_test::ClientSettings settings;
  settings.caCertificatePath = folder.File("ca.pem");
  auto result =
      tools_test::Exchange(static_cast<std::uint16_t>(std::stoi(port)), {request}, settings);
  ASSERT_TRUE(result.handshakeDone) << result.verifyError;
  EXPECT_EQ(StatusLine(result.reply), "HTTP/1.1 500 Internal Server Error");
  EXPECT_EQ(tools_test::BodyOf(result.reply), "<html>down</html>");
  EXPECT_EQ(ReadFile(folder.File("records/request-1.bin")), request);

  EXPECT_EQ(program.EndWith(SIGTERM, 10s), 0);
}

TEST(VendorStandInProgram, RefusesAMissingCaPath) {
  StandInProcess program({"--port", "0"});
  EXPECT_EQ(program.ExitStatusWithin(10s), 2);
}

}  // namespace
