#include "formats/pe_version.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "pe_builder/pe_builder.h"
#include "platform/file_path.h"

namespace {

using formats::FileVersion;
using formats::ReadPeFileVersion;

std::optional<FileVersion> Read(const std::vector<std::uint8_t>& image) {
  return ReadPeFileVersion(image);
}

TEST(PeVersion, ReadsTheFileVersionNotTheProductVersion) {
  const pe_builder::Version versions[] = {
      {3, 12, 5, 7}, {0, 0, 0, 0}, {65535, 65535, 65535, 65535}, {10, 100, 100, 1}};
  for (const bool plus : {false, true}) {
    for (const auto& version : versions) {
      pe_builder::Options options;
      options.fileVersion = version;
      options.pe32plus = plus;
      EXPECT_EQ(Read(pe_builder::BuildPe(options)), version)
          << (plus ? "PE32+ " : "PE32 ") << version[0] << "." << version[1];
    }
  }
}

TEST(PeVersion, BrokenImagesHaveNoVersion) {
  for (const bool plus : {false, true}) {
    for (const pe_builder::Fault fault : pe_builder::kAllFaults) {
      pe_builder::Options options;
      options.fileVersion = {3, 12, 5, 7};
      options.pe32plus = plus;
      options.fault = fault;
      EXPECT_EQ(Read(pe_builder::BuildPe(options)), std::nullopt)
          << (plus ? "PE32+ " : "PE32 ") << pe_builder::FaultName(fault);
    }
  }
}

// Every prefix of an intact image, and images with random bytes overwritten, are read
// without a crash or a read past the end; a prefix that ends before the version has
// none.
TEST(PeVersion, SurvivesCutAndDamagedImages) {
  for (const bool plus : {false, true}) {
    pe_builder::Options options;
    options.pe32plus = plus;
    options.fileVersion = {3, 12, 5, 7};
    const std::vector<std::uint8_t> image = pe_builder::BuildPe(options);

    std::size_t shortestReadable = image.size() + 1;
    for (std::size_t n = 0; n <= image.size(); ++n) {
      const std::vector<std::uint8_t> prefix(image.begin(), image.begin() + n);
      if (Read(prefix) && n < shortestReadable)
        shortestReadable = n;
    }
    // The version block is the last resource; its file version ends 56 bytes into it.
    EXPECT_LT(shortestReadable, image.size());
    EXPECT_GT(shortestReadable, 0x200u);

    std::mt19937 random(plus ? 2 : 1);
    for (int round = 0; round < 3000; ++round) {
      std::vector<std::uint8_t> damaged = image;
      for (int k = 0; k < 4; ++k) {
        const std::size_t at = random() % damaged.size();
        const std::uint8_t values[] = {0x00, 0xFF, 0x80, static_cast<std::uint8_t>(random())};
        damaged[at] = values[random() % 4];
      }
      Read(damaged);
    }
  }
}

class PeVersionFile : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = std::filesystem::temp_directory_path() /
              platform::PathFromUtf8("dostra-pé-" + std::to_string(std::random_device()()));
    std::filesystem::create_directories(folder_);
  }
  void TearDown() override { std::filesystem::remove_all(folder_); }

  std::string PathOf(const char* name) const { return platform::Utf8FromPath(folder_ / name); }

  std::filesystem::path folder_;
};

TEST_F(PeVersionFile, ReadsAFileByItsUtf8Path) {
  pe_builder::Options options;
  options.fileVersion = {3, 12, 5, 7};
  const std::string path = PathOf("Velmira.exe");
  pe_builder::WritePe(platform::PathFromUtf8(path), options);
  EXPECT_EQ(formats::ReadPeFileVersionFromFile(path), FileVersion({3, 12, 5, 7}));
}

TEST_F(PeVersionFile, MissingFilesAndFoldersHaveNoVersion) {
  EXPECT_EQ(formats::ReadPeFileVersionFromFile(PathOf("missing.exe")), std::nullopt);
  EXPECT_EQ(formats::ReadPeFileVersionFromFile(platform::Utf8FromPath(folder_)), std::nullopt);
}

}  // namespace
