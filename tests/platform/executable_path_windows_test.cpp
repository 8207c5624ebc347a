// The executable's path on Windows, from a folder whose name no 8-bit code page holds:
// this test program runs a copy of itself from there and compares what it reports.
// (Paths longer than MAX_PATH go through the same wide call with a growing buffer;
// Wine starts no program from such a path, so they are not tried here.)
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "platform/executable_path.h"
#include "platform/utf16.h"

namespace {

namespace fs = std::filesystem;

constexpr wchar_t kReportTo[] = L"DOSTRA_TEST_REPORT_EXECUTABLE_PATH";

// Runs inside the copy only: writes ExecutablePath() to the file named by the variable.
TEST(ExecutablePath, ReportsItselfToTheCallingTest) {
  wchar_t report[1024]{};
  if (::GetEnvironmentVariableW(kReportTo, report, 1024) == 0)
    GTEST_SKIP() << "run by ExecutablePath.KeepsNonAsciiPathsWhole";
  std::ofstream(fs::path(report), std::ios::binary) << platform::ExecutablePath();
}

// Runs a copy of this program at `copy` and returns the path the copy reports.
std::string PathReportedByCopy(const fs::path& copy, const std::wstring& applicationName) {
  const fs::path report = fs::temp_directory_path() / L"executable_path_report.txt";
  fs::remove(report);
  std::wstring commandLine =
      L"\"" + copy.native() + L"\" --gtest_filter=ExecutablePath.ReportsItselfToTheCallingTest";
  ::SetEnvironmentVariableW(kReportTo, report.c_str());
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process{};
  const BOOL started = ::CreateProcessW(applicationName.c_str(), commandLine.data(), nullptr,
                                        nullptr, FALSE, 0, nullptr, nullptr, &startup, &process);
  ::SetEnvironmentVariableW(kReportTo, nullptr);
  if (!started) {
    ADD_FAILURE() << "CreateProcess failed: " << ::GetLastError();
    return {};
  }
  ::WaitForSingleObject(process.hProcess, 60000);
  ::CloseHandle(process.hThread);
  ::CloseHandle(process.hProcess);
  std::stringstream reported;
  {
    std::ifstream in(report, std::ios::binary);
    reported << in.rdbuf();
  }
  fs::remove(report);
  return reported.str();
}

TEST(ExecutablePath, KeepsNonAsciiPathsWhole) {
  wchar_t self[1024]{};
  ASSERT_GT(::GetModuleFileNameW(nullptr, self, 1024), 0u);
  // No 8-bit code page holds all of these characters.
  const fs::path top =
      fs::temp_directory_path() / L"Área de Trabalho \u0141\u00f3d\u017a \u65e5\u672c";
  const fs::path copy = top / L"atualização.exe";
  fs::create_directories(top);
  fs::copy_file(self, copy, fs::copy_options::overwrite_existing);
  EXPECT_EQ(PathReportedByCopy(copy, copy.native()), platform::Utf8FromWide(copy.native()));

  std::error_code ignored;
  fs::remove_all(top, ignored);
}

}  // namespace
