// merilon-cli export-txt writes the point text file exactly as "Zapisz Punkty do txt" does.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>

#include "support/test_program.h"

namespace merilon {
namespace {

using testing::readBytes;
using testing::TempFolder;
using testing::writeBytes;

int runCli(const TempFolder& folder, const std::string& arguments) {
  const std::string command = std::string(MERILON_CLI) + " --program-folder '" +
                              folder.path().string() + "' " + arguments + " >/dev/null 2>&1";
  const int status = std::system(command.c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(CliExportTxt, WritesThePointTextFileAndRespectsExistingFiles) {
  TempFolder folder;
  // The points of the golden file, as a point file (code page 1250).
  writeBytes(folder / "pomiar.meri",
             "@MERI_PUNKT_1.0,\r\n,\r\n"
             "7452101.234,5602345.5,112.345,\"P00001\",0,1\r\n"
             "5,-12.5,-99999999,\"SKRAJ\",3,2\r\n"
             "1,2,3,\"ZNAK\",9,3\r\n"
             "0.005,100,0,\"NA,1\",12,4\r\n"
             "-0.5,1000000,99.999,\"\xA3\xB9ka-\xBF\xF3\xB3ta\",-1,5\r\n");
  const std::string in = "'" + (folder / "pomiar.meri").string() + "'";
  const auto out = folder / "wynik.txt";
  EXPECT_EQ(runCli(folder, "export-txt " + in + " -o '" + (folder / "wynik.csv").string() + "'"),
            0);
  testing::expectGolden(out, "point_text.txt");

  writeBytes(out, "stary\r\n");
  EXPECT_EQ(runCli(folder, "export-txt " + in + " -o '" + out.string() + "'"), 3);
  EXPECT_EQ(readBytes(out), "stary\r\n");
  EXPECT_EQ(runCli(folder, "export-txt " + in + " -o '" + out.string() + "' --force"), 0);
  testing::expectGolden(out, "point_text.txt");

  EXPECT_EQ(runCli(folder, "export-txt '" + (folder / "brak.meri").string() + "' -o x.txt"), 2);
  EXPECT_EQ(runCli(folder, "export-txt " + in), 1);
  // A point file without points writes nothing.
  writeBytes(folder / "pusty.meri", "@MERI_PUNKT_1.0,\r\n,\r\n");
  EXPECT_EQ(runCli(folder, "export-txt '" + (folder / "pusty.meri").string() + "' -o '" +
                               (folder / "pusty.txt").string() + "'"),
            2);
  EXPECT_FALSE(std::filesystem::exists(folder / "pusty.txt"));
}

}  // namespace
}  // namespace merilon
