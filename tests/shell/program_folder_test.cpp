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
    const auto found = findProgramFolder(c.executableFolder);
    EXPECT_EQ(found, c.expected) << c.executableFolder;
    EXPECT_EQ(isInstalledProgramFolder(found), c.installed) << c.executableFolder;
  }
  EXPECT_TRUE(isInstalledProgramFolder(prefix / "share" / "merilon" / ""));
  EXPECT_FALSE(isInstalledProgramFolder(root / "bare" / "share" / "merilon")) << "not there";
}

TEST(ProgramFolder, AnInstalledFolderIsReadButNeverWritten) {
  // Even where the folder is writable (the program run as root), removing the package must
  // leave nothing behind: the settings the program writes go to the user's folder.
  testing::TempFolder root;
  const auto installed = root / "usr" / "share" / "merilon";
  const auto copied = root / "kopia" / "merilon";
  const auto user = root / "user";
  std::filesystem::create_directories(root / "usr" / "bin");
  for (const auto& folder : {installed, copied}) {
    std::filesystem::create_directories(folder);
    testing::writeBytes(folder / "merilon.knf", "RYSIAT,5\r\n");
  }
  EXPECT_EQ(SettingsFolders(installed, user).forWriting("MERI_PARAM.knf"),
            user / "MERI_PARAM.knf");
  EXPECT_EQ(SettingsFolders(copied, user).forWriting("MERI_PARAM.knf"),
            copied / "MERI_PARAM.knf");
  EXPECT_EQ(SettingsFolders(installed, user).forReading("merilon.knf"), installed / "merilon.knf")
      << "no user copy yet";
  testing::writeBytes(user / "merilon.knf", "RYSIAT,10\r\n");
  EXPECT_EQ(SettingsFolders(installed, user).forReading("merilon.knf"), user / "merilon.knf");
  EXPECT_EQ(SettingsFolders(copied, user).forReading("merilon.knf"), copied / "merilon.knf");
}

}  // namespace
}  // namespace merilon
