// merilon-cli export-dxf and dxf2txt: the same files as the dialogs write, the transformation
// accepted with a note, existing outputs respected, and a drawing turned back into records.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>

#include "support/test_program.h"

namespace merilon {
namespace {

using testing::readBytes;
using testing::TempFolder;
using testing::writeBytes;

struct CliRun {
  int status = -1;
  std::string out, err;
};

CliRun runCli(const TempFolder& folder, const std::string& arguments) {
  const std::string command = std::string(MERILON_CLI) + " --program-folder '" +
                              folder.path().string() + "' " + arguments + " 2>'" +
                              (folder / "stderr").string() + "'";
  CliRun r;
  if (FILE* p = popen(command.c_str(), "r")) {
    char buf[4096];
    while (std::size_t n = std::fread(buf, 1, sizeof buf, p)) r.out.append(buf, n);
    const int status = pclose(p);
    r.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
  r.err = readBytes(folder / "stderr");
  return r;
}

std::string q(const std::filesystem::path& p) { return "'" + p.string() + "' "; }

TEST(CliDxf, ExportAndReadBack) {
  TempFolder folder;
  writeBytes(folder / "pomiar.meri",
             "@MERI_PUNKT_1.0,\r\n,\r\n"
             "100,200,5.5,\"P1\",0,1\r\n"
             "-12.345,7.005,-0.125,\"S\xB3up\",0,2\r\n");
  const std::filesystem::path data(MERILON_TEST_DATA);
  const auto out = folder / "rys.dxf";
  CliRun r =
      runCli(folder, "export-dxf " + q(folder / "pomiar.meri") + "-o " + q(out) +
                         "--points --heights --sections " + q(data / "alignment" / "teren.TER") +
                         "--alignment " + q(data / "alignment" / "prosta_luk.TRS"));
  ASSERT_EQ(r.status, 0) << r.err;
  const std::string bytes = readBytes(out);
  EXPECT_NE(bytes.find("POINT\r\n  8\r\nPUNKTY\r\n"), std::string::npos);
  EXPECT_NE(bytes.find("RZEDNE\r\n 6\r\nCONTINUOUS\r\n  62\r\n2\r\n"), std::string::npos);
  EXPECT_NE(bytes.find("LINE\r\n  8\r\nPOPRZECZ\r\n"), std::string::npos);
  EXPECT_EQ(bytes.find("SYMBOLE\r\n 6"), std::string::npos);

  // An existing output needs --force; --sections needs its alignment.
  EXPECT_EQ(runCli(folder, "export-dxf " + q(folder / "pomiar.meri") + "-o " + q(out)).status, 3);
  EXPECT_EQ(runCli(folder, "export-dxf " + q(folder / "pomiar.meri") + "-o " + q(out) +
                               "--sections x.TER --force")
                .status,
            1);

  // A DXFWY transformation is applied without a question and said so.
  writeBytes(folder / "merilon.knf", "DXFWY,1,0,0,100,0,1\r\n");
  r = runCli(folder,
             "export-dxf " + q(folder / "pomiar.meri") + "-o " + q(out) + "--points --force");
  EXPECT_EQ(r.status, 0);
  EXPECT_NE(r.err.find("merilon.knf"), std::string::npos) << r.err;
  EXPECT_NE(readBytes(out).find(" 10\r\n0.00\r\n 20\r\n200.00\r\n"), std::string::npos);
  std::filesystem::remove(folder / "merilon.knf");

  // dxf2txt: the records of the points, the log on standard output.
  const auto txt = folder / "rekordy.txt";
  r = runCli(folder, "dxf2txt " + q(out) + "-o " + q(folder / "rekordy.csv"));
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(readBytes(txt), "0.00,200.00,5.50\r\n-112.35,7.01,-0.13\r\n");
  EXPECT_NE(r.out.find("Liczba wybranych punktów z pliku: 2"), std::string::npos) << r.out;
  EXPECT_EQ(runCli(folder, "dxf2txt " + q(out) + "-o " + q(txt)).status, 3);
  EXPECT_EQ(runCli(folder, "dxf2txt " + q(folder / "brak.dxf") + "-o " + q(txt) + "--force").status,
            2);
}

}  // namespace
}  // namespace merilon
