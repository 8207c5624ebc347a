// The stand-in as a program, for the demo and the whole-program tests:
//   vendor_standin --ca-out FILE [--port N] [--bind ADDR] [--reply-file FILE]
//                  [--reply-status N] [--download-dir DIR] [--record-dir DIR]
//                  [--untrusted] [--port-file FILE]
// Serves until SIGTERM or SIGINT.
#include <signal.h>

#include <atomic>
#include <charconv>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "vendor_standin/vendor_standin.h"

namespace {

constexpr const char* kUsage =
    "usage: vendor_standin --ca-out FILE [--port N] [--bind ADDR] [--reply-file FILE]\n"
    "                      [--reply-status N] [--download-dir DIR] [--record-dir DIR]\n"
    "                      [--untrusted] [--port-file FILE]\n";

struct CommandLine {
  standin::Options options;
  std::string replyFile;
  std::string recordDirectory;
  std::string portFile;
};

std::optional<int> ParseNumber(std::string_view text, int lowest, int highest) {
  int value = 0;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || value < lowest ||
      value > highest) {
    return std::nullopt;
  }
  return value;
}

std::optional<CommandLine> Parse(int argc, char** argv) {
  CommandLine line;
  for (int i = 1; i < argc; ++i) {
    const std::string_view name = argv[i];
    if (name == "--untrusted") {
      line.options.untrustedCertificate = true;
      continue;
    }
    if (i + 1 >= argc)
      return std::nullopt;
    const std::string value = argv[++i];
    if (name == "--ca-out") {
      line.options.caCertificatePath = value;
    } else if (name == "--port") {
      std::optional<int> port = ParseNumber(value, 0, 65535);
      if (!port)
        return std::nullopt;
      line.options.port = static_cast<std::uint16_t>(*port);
    } else if (name == "--bind") {
      line.options.bindAddress = value;
    } else if (name == "--reply-file") {
      line.replyFile = value;
    } else if (name == "--reply-status") {
      std::optional<int> status = ParseNumber(value, 100, 999);
      if (!status)
        return std::nullopt;
      line.options.versionReplyStatus = *status;
    } else if (name == "--download-dir") {
      line.options.downloadFolder = value;
    } else if (name == "--record-dir") {
      line.recordDirectory = value;
    } else if (name == "--port-file") {
      line.portFile = value;
    } else {
      return std::nullopt;
    }
  }
  if (line.options.caCertificatePath.empty())
    return std::nullopt;
  return line;
}

std::string ReadWholeFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  if (!file)
    throw std::runtime_error("cannot read " + path);
  return std::string(std::istreambuf_iterator<char>(file), {});
}

// Through a temporary file and a rename: whoever waits for the file never reads half of it.
void WriteWholeFile(const std::filesystem::path& path, const std::string& bytes) {
  std::filesystem::path temporary = path;
  temporary += ".tmp";
  {
    std::ofstream file(temporary, std::ios::binary | std::ios::trunc);
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!file.flush())
      throw std::runtime_error("cannot write " + temporary.string());
  }
  std::filesystem::rename(temporary, path);
}

int WaitForTermination(const sigset_t& signals) {
  int received = 0;
  while (sigwait(&signals, &received) != 0) {
  }
  return received;
}

}  // namespace

int main(int argc, char** argv) {
  std::optional<CommandLine> line = Parse(argc, argv);
  if (!line) {
    std::cerr << kUsage;
    return 2;
  }
  // Blocked before any thread starts, so every thread inherits the mask and the signals
  // arrive at sigwait below.
  sigset_t signals;
  sigemptyset(&signals);
  sigaddset(&signals, SIGTERM);
  sigaddset(&signals, SIGINT);
  pthread_sigmask(SIG_BLOCK, &signals, nullptr);

  try {
    if (!line->replyFile.empty())
      line->options.versionReplyBody = ReadWholeFile(line->replyFile);
    if (!line->recordDirectory.empty()) {
      std::filesystem::create_directories(line->recordDirectory);
      auto counter = std::make_shared<std::atomic<int>>(0);
      line->options.requestObserver = [directory = line->recordDirectory,
                                       counter](const std::string& raw) {
        const std::string name = "request-" + std::to_string(++*counter) + ".bin";
        WriteWholeFile(std::filesystem::path(directory) / name, raw);
      };
    }
    standin::VendorStandIn server(line->options);
    server.Start();
    if (!line->portFile.empty()) {
      WriteWholeFile(line->portFile, std::to_string(server.Port()) + "\n");
    }
    std::cout << "listening on " << server.Url() << std::endl;
    WaitForTermination(signals);
    server.Stop();
  } catch (const std::exception& error) {
    std::cerr << "vendor_standin: " << error.what() << "\n";
    return 1;
  }
  return 0;
}
