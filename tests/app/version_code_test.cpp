#include "app/version_code.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>

#include "formats/conversion.h"
#include "pe_builder/pe_builder.h"
#include "platform/file_path.h"

namespace {

TEST(VersionCode, PadsEachFieldAndNeverCuts) {
  struct Case {
    std::uint16_t major, minor, release;
    const char* code;
  };
  const Case cases[] = {
      {3, 12, 5, "03012005"},    {0, 0, 0, "00000000"},    {10, 100, 100, "10100100"},
      {1, 1234, 5, "011234005"}, {100, 0, 0, "100000000"}, {65535, 65535, 65535, "655356553565535"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(app::VersionCodeFromFileVersion(c.major, c.minor, c.release), c.code) << c.code;
}

TEST(VersionCode, DisplaysSlicesOfFixedPositions) {
  struct Case {
    const char* code;
    const char* display;  // or the conversion error's message
  };
  const Case cases[] = {
      {"03012005", "3.12.5"},
      {"10100100", "10.100.100"},
      {"00000000", "0.0.0"},
      {"0312005", "3.120.5"},      // slices 03, 120, 05
      {"030120059999", "3.12.5"},  // characters after the 8th are ignored
      {"-1-12-12", "-1.-12.-12"},  // a sign is part of the number
      {"03A12005", "\"A12\" is an invalid integer"},
      {"", "\"\" is an invalid integer"},
      {"0301", "\"\" is an invalid integer"},  // no third slice
      {"1.0.0", "\"1.\" is an invalid integer"},
      {"03 12005", "\" 12\" is an invalid integer"},
      {"ção12345", "\"çã\" is an invalid integer"},  // slices count characters, not bytes
  };
  for (const auto& c : cases) {
    std::string outcome;
    try {
      outcome = app::FormatVersionCode(c.code);
    } catch (const formats::ConversionError& e) {
      outcome = e.what();
    }
    EXPECT_EQ(outcome, c.display) << c.code;
  }
}

TEST(VersionCode, CodesMatchOnlyAsIdenticalTexts) {
  EXPECT_TRUE(app::VersionCodesMatch("03012005", "03012005"));
  EXPECT_FALSE(app::VersionCodesMatch("3012005", "03012005"));
  EXPECT_FALSE(app::VersionCodesMatch("03012005 ", "03012005"));
  EXPECT_FALSE(app::VersionCodesMatch(app::kFallbackVersionCode, "01000000"));
  EXPECT_FALSE(app::VersionCodesMatch("", "03012005"));
}

class GetBuildInfo : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = std::filesystem::temp_directory_path() /
              platform::PathFromUtf8("dostra-versão-" + std::to_string(std::random_device()()));
    std::filesystem::create_directories(folder_);
  }
  void TearDown() override { std::filesystem::remove_all(folder_); }

  std::string Write(const pe_builder::Options& options) {
    const std::filesystem::path path = folder_ / "Velmira.exe";
    pe_builder::WritePe(path, options);
    return platform::Utf8FromPath(path);
  }

  std::filesystem::path folder_;
};

TEST_F(GetBuildInfo, ReadsTheInstalledCodeWithoutTheBuild) {
  for (const bool plus : {false, true}) {
    pe_builder::Options options;
    options.fileVersion = {3, 12, 5, 7};
    options.pe32plus = plus;
    EXPECT_EQ(app::GetBuildInfo(Write(options)), "03012005") << plus;
  }
}

TEST_F(GetBuildInfo, FallsBackWhenTheVersionCannotBeRead) {
  EXPECT_EQ(app::GetBuildInfo(platform::Utf8FromPath(folder_ / "Velmira.exe")), "1.0.0");
  EXPECT_EQ(app::GetBuildInfo(platform::Utf8FromPath(folder_)), "1.0.0");
  EXPECT_EQ(app::GetBuildInfo(""), "1.0.0");
  for (const pe_builder::Fault fault : pe_builder::kAllFaults) {
    pe_builder::Options options;
    options.fileVersion = {3, 12, 5, 7};
    options.fault = fault;
    EXPECT_EQ(app::GetBuildInfo(Write(options)), "1.0.0") << pe_builder::FaultName(fault);
  }
}

}  // namespace
