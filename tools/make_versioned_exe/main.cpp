// make_versioned_exe <out path> <major.minor.release.build> [--pe32plus]
//
// Writes a minimal Windows executable whose version resource carries the given file
// version (the build may be left out: 0), for example the Velmira.exe the updater reads
// its installed version from. It is not meant to be run.
#include <charconv>
#include <cstdio>
#include <exception>
#include <string_view>

#include "pe_builder/pe_builder.h"

namespace {

bool ParseVersion(std::string_view text, pe_builder::Version& version) {
  version = {0, 0, 0, 0};
  std::size_t parts = 0;
  while (true) {
    if (parts == version.size())
      return false;
    const std::size_t dot = text.find('.');
    const std::string_view part = text.substr(0, dot);
    std::uint16_t number = 0;
    const auto [end, ec] = std::from_chars(part.data(), part.data() + part.size(), number);
    if (part.empty() || ec != std::errc() || end != part.data() + part.size())
      return false;
    version[parts++] = number;
    if (dot == std::string_view::npos)
      return parts >= 3;
    text.remove_prefix(dot + 1);
  }
}

int Usage() {
  std::fputs(
      "usage: make_versioned_exe <out path> <major.minor.release[.build]> [--pe32plus]\n"
      "  each number 0-65535\n",
      stderr);
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3 || argc > 4)
    return Usage();
  pe_builder::Options options;
  if (!ParseVersion(argv[2], options.fileVersion))
    return Usage();
  if (argc == 4) {
    if (std::string_view(argv[3]) != "--pe32plus")
      return Usage();
    options.pe32plus = true;
  }
  try {
    // The path as the system's narrow form: the path type converts it where needed.
    pe_builder::WritePe(argv[1], options);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "make_versioned_exe: %s\n", e.what());
    return 1;
  }
  return 0;
}
