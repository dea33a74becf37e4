// The program folder of a build tree (files beside the executable) and of an installed program
// (<prefix>/share/merilon beside <prefix>/bin), which is read but never written.
#include "shell/program_folder.h"

#include <gtest/gtest.h>

#include "shell/settings_folders.h"
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
    bool installed;
  };
  const Case cases[] = {
      {build, build, false},
      {prefix / "bin", prefix / "share" / "merilon", true},
      {root / "bare" / "bin", root / "bare" / "bin", false},  // nothing anywhere: the executable's
  };
  for (const auto& c : cases) {
    const ProgramFolder found = findProgramFolder(c.executableFolder);
    EXPECT_EQ(found.path, c.expected) << c.executableFolder;
    EXPECT_EQ(found.installed, c.installed) << c.executableFolder;
  }
}

TEST(ProgramFolder, AnInstalledFolderIsReadButNeverWritten) {
  // Even where the folder is writable (the program run as root), removing the package must
  // leave nothing behind: the settings the program writes go to the user's folder.
  testing::TempFolder root;
  const auto shared = root / "share";
  const auto user = root / "user";
  std::filesystem::create_directories(shared);
  testing::writeBytes(shared / "merilon.knf", "RYSIAT,5\r\n");
  for (const bool installed : {false, true}) {
    const SettingsFolders folders(shared, user, installed);
    EXPECT_EQ(folders.forWriting("MERI_PARAM.knf"),
              (installed ? user : shared) / "MERI_PARAM.knf");
    EXPECT_EQ(folders.forReading("merilon.knf"), shared / "merilon.knf") << "no user copy";
  }
  testing::writeBytes(user / "merilon.knf", "RYSIAT,10\r\n");
  EXPECT_EQ(SettingsFolders(shared, user, true).forReading("merilon.knf"), user / "merilon.knf");
  EXPECT_EQ(SettingsFolders(shared, user, false).forReading("merilon.knf"), shared / "merilon.knf");
}

}  // namespace
}  // namespace merilon
