#include "platform/executable_path.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/file_path.h"

namespace {

TEST(FolderOf, KeepsTheTrailingSeparator) {
  struct Case {
    const char* path;
    const char* folder;
  };
  const Case cases[] = {
      {"/opt/dostra/DOSTRA_UPDATE", "/opt/dostra/"},
      {"/DOSTRA_UPDATE", "/"},
      {"DOSTRA_UPDATE", ""},
      {"/opt/dostra/", "/opt/dostra/"},
      {"/home/usuário/Área de Trabalho/DOSTRA_UPDATE", "/home/usuário/Área de Trabalho/"},
#ifdef _WIN32
      {"C:\\Dostra\\DOSTRA_UPDATE.exe", "C:\\Dostra\\"},
      {"C:/Dostra/DOSTRA_UPDATE.exe", "C:/Dostra/"},
      {"\\\\server\\share\\DOSTRA_UPDATE.exe", "\\\\server\\share\\"},
#endif
  };
  for (const auto& c : cases)
    EXPECT_EQ(platform::FolderOf(c.path), c.folder) << c.path;
}

TEST(ExecutablePath, NamesThisTestProgramWhateverTheWorkingDirectory) {
  const auto before = std::filesystem::current_path();
  std::filesystem::current_path(std::filesystem::temp_directory_path());
  const std::string path = platform::ExecutablePath();
  std::filesystem::current_path(before);

  const auto file = platform::PathFromUtf8(path);
  EXPECT_TRUE(file.is_absolute()) << path;
  EXPECT_TRUE(std::filesystem::exists(file)) << path;
  EXPECT_EQ(file.stem().string(), "platform_tests");
  // The folder, separator included: the program's file name completes it.
  EXPECT_EQ(platform::ApplicationFolder() + file.filename().string(), path);
}

}  // namespace
