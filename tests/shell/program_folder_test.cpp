// The program folder of a build tree (files beside the executable) and of an installed program
// (<prefix>/share/merilon beside <prefix>/bin).
#include "shell/program_folder.h"

#include <gtest/gtest.h>

#include "support/test_program.h"

namespace merilon {
namespace {

TEST(ProgramFolder, BesideTheExecutableElseTheInstalledShareFolder) {
  testing::TempFolder root;
  const auto build = root / "build" / "bin";
  const auto prefix = root / "usr";
  std::filesystem::create_directories(build);
  std::filesystem::create_directories(prefix / "bin");
  std::filesystem::create_directories(prefix / "share" / "merilon");
  std::filesystem::create_directories(root / "bare" / "bin");
  testing::writeBytes(build / "merilon.knf", "RYSIAT,0\r\n");
  // A build tree that also has a share/merilon above it keeps its own files.
  std::filesystem::create_directories(root / "build" / "share" / "merilon");

  struct Case {
    std::filesystem::path executableFolder;
    std::filesystem::path expected;
  };
  const Case cases[] = {
      {build, build},
      {prefix / "bin", prefix / "share" / "merilon"},
      {root / "bare" / "bin", root / "bare" / "bin"},  // nothing anywhere: the executable's
  };
  for (const auto& c : cases) {
    EXPECT_EQ(findProgramFolder(c.executableFolder), c.expected) << c.executableFolder;
  }
}

}  // namespace
}  // namespace merilon
