#include "support/test_program.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <random>

namespace merilon::testing {

TempFolder::TempFolder() {
  std::random_device rd;
  for (;;) {
    path_ = std::filesystem::temp_directory_path() /
            ("merilon-test-" + std::to_string(rd()) + std::to_string(rd()));
    if (std::filesystem::create_directory(path_)) break;
  }
}

TempFolder::~TempFolder() {
  std::error_code ec;
  std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                               std::filesystem::perm_options::add, ec);
  std::filesystem::remove_all(path_, ec);
}

TestProgram::TestProgram(bool startNow) {
  if (startNow) start();
}

void TestProgram::start() {
  ProgramOptions options;
  options.programFolder = folder.path();
  options.userSettingsFolder = folder.path() / "user-config";
  program = std::make_unique<Program>(platform, options);
  EXPECT_TRUE(program->start());
}

std::string readBytes(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void writeBytes(const std::filesystem::path& file, const std::string& bytes) {
  std::ofstream out(file, std::ios::binary);
  out << bytes;
}

std::string crlf(const std::vector<std::string>& lines) {
  std::string s;
  for (const auto& l : lines) s += l + "\r\n";
  return s;
}

void expectGolden(const std::filesystem::path& written, const std::string& goldenName) {
  const auto golden = std::filesystem::path(MERILON_TEST_DATA) / "golden" / goldenName;
  const std::string actual = readBytes(written);
  if (std::getenv("MERILON_UPDATE_GOLDEN")) {
    std::filesystem::create_directories(golden.parent_path());
    writeBytes(golden, actual);
    return;
  }
  ASSERT_TRUE(std::filesystem::exists(golden)) << "missing golden file " << golden;
  EXPECT_EQ(actual, readBytes(golden)) << "differs from " << golden;
}

}  // namespace merilon::testing
