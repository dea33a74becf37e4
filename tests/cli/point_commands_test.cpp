// merilon-cli import and points, run as a separate process.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "platform/cp1250.h"
#include "support/test_program.h"

namespace merilon {
namespace {

using testing::crlf;
using testing::TempFolder;
using testing::writeBytes;

struct CliResult {
  int status = -1;
  std::string out;
  std::string err;
};

CliResult runCli(const TempFolder& dir, const std::string& args, const std::string& prefix = "") {
  const std::string errFile = (dir / "stderr.txt").string();
  const std::string cmd = std::string("cd '") + dir.path().string() + "' && " + prefix + "'" +
                          MERILON_CLI + "' --program-folder . " + args + " 2>'" + errFile + "'";
  CliResult r;
  FILE* p = popen(cmd.c_str(), "r");
  char buf[4096];
  std::size_t n = 0;
  while ((n = fread(buf, 1, sizeof buf, p)) > 0) r.out.append(buf, n);
  const int raw = pclose(p);
  r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  r.err = testing::readBytes(errFile);
  return r;
}

TEST(CliImport, ImportsWritesAndReportsTheCount) {
  TempFolder dir;
  writeBytes(dir / "a.txt", "Nr;X;Y;Z\n1;10.004;20;30\n2;11;21;31\n");
  writeBytes(dir / "b.txt", "3;12;22;32\n1;10;20;30.002\n");
  CliResult r =
      runCli(dir, "import a.txt b.txt -o wynik.dat --separator ';' --x 2 --y 3 --z 4 --symbol 1");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out,
            "---- Wczytywanie dodatkowych danych (punkty) z pliku: " + (dir / "a.txt").string() +
                "\n"
                "Pominięte wiersze bez współrzędnych X, Y: 1\n"
                "Liczba punktów: 3\n");
  EXPECT_EQ(testing::readBytes(dir / "wynik.meri"),
            crlf({"@MERI_PUNKT_1.0,", ",", "10,20,30,\"1\",0,1", "11,21,31,\"2\",0,2",
                  "12,22,32,\"3\",0,3"}));
  EXPECT_NE(r.err.find("Operacja dodawania punktów: Liczba dopisanych punktów: 3 Zapisać punkty?"),
            std::string::npos);

  // The output exists: status 3 without --force, written with it.
  r = runCli(dir, "import a.txt -o wynik.meri --separator ';' --x 2 --y 3 --z 4 --symbol 1");
  EXPECT_EQ(r.status, 3);
  r = runCli(dir,
             "import b.txt -o wynik.meri --append wynik.meri --separator ';' --x 2 --y 3 --z 4 "
             "--symbol 1 --force");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find("Liczba punktów: 3\n"), std::string::npos);  // both records were there
  r = runCli(dir, "points wynik.meri");
  ASSERT_EQ(r.status, 0);
  EXPECT_EQ(r.out,
            "1\t10\t20\t30\t1\t0\n2\t11\t21\t31\t2\t0\n3\t12\t22\t32\t3\t0\n"
            "Wczytywanie danych Merilonu\nLiczba wczytanych punktów: 3\n");
}

TEST(CliImport, StatusesForWrongUse) {
  TempFolder dir;
  writeBytes(dir / "a.txt", "1\t2\t3\n");
  EXPECT_EQ(runCli(dir, "import a.txt").status, 1);
  EXPECT_EQ(runCli(dir, "import a.txt -o x --bogus 1").status, 1);
  EXPECT_EQ(runCli(dir, "nosuchcommand").status, 1);
  EXPECT_EQ(runCli(dir, "import missing.txt -o x").status, 2);
  EXPECT_EQ(runCli(dir, "points missing.meri").status, 2);
  CliResult r = runCli(dir, "import a.txt -o x --x 1 --y 1");
  EXPECT_EQ(r.status, 2);
  EXPECT_NE(r.err.find("Błąd: Błędnie podane parametry dla pliku z danymi (struktura, separator)"),
            std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(dir / "x.meri"));
  // The unusable structure is not remembered for a.txt: the next run uses the defaults.
  r = runCli(dir, "import a.txt -o x --separator t");
  EXPECT_EQ(r.status, 0) << r.err;
  // Remembered under the full name, though the command was given a relative one.
  EXPECT_NE(
      testing::readBytes(dir / "MERI_PARAM.knf").find(upperCase((dir / "a.txt").string()) + ","),
      std::string::npos);
  EXPECT_EQ(runCli(dir, "--help").status, 0);
  // Nothing to import: no file is written, and the command says so.
  writeBytes(dir / "empty.txt", "Nr,X,Y\n");
  r = runCli(dir, "import empty.txt -o pusty");
  EXPECT_EQ(r.status, 2);
  EXPECT_FALSE(std::filesystem::exists(dir / "pusty.meri"));
  // A point file that cannot be read to its end (a folder in its place) is no success.
  std::filesystem::create_directory(dir / "folder.meri");
  EXPECT_EQ(runCli(dir, "points folder.meri").status, 2);
}

TEST(CliImport, LeavesTheOutputAloneWhenThereIsNothingToWrite) {
  TempFolder dir;
  writeBytes(dir / "old.meri", "stary");
  writeBytes(dir / "empty.txt", "Nr,X,Y\n");
  const CliResult r = runCli(dir, "import empty.txt -o old.meri --force");
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(testing::readBytes(dir / "old.meri"), "stary");
}

TEST(CliImport, RefusesInputsThatAreNoRegularFilesAndSurvivesExhaustedMemory) {
  TempFolder dir;
  ASSERT_EQ(mkfifo((dir / "fifo.txt").c_str(), 0600), 0);
  for (const std::string input : {"/dev/zero", "fifo.txt", "."}) {
    const CliResult r = runCli(dir, "import " + input + " -o x");
    EXPECT_EQ(r.status, 2) << input;
    EXPECT_NE(r.err.find("merilon-cli: "), std::string::npos) << input;
  }
  // Every command that reads a file refuses them before reading (a FIFO would hang it).
  for (const std::string command :
       {"points /dev/zero", "export-txt fifo.txt -o y.txt", "dxf2txt fifo.txt -o y.txt",
        "export-dxf fifo.txt -o y.dxf", "render fifo.txt -o y.png"}) {
    const CliResult r = runCli(dir, command);
    EXPECT_EQ(r.status, 2) << command;
    EXPECT_NE(r.err.find("nie jest zwykłym plikiem"), std::string::npos) << command << r.err;
  }
#ifdef __SANITIZE_ADDRESS__
  GTEST_SKIP() << "the sanitizer's shadow memory does not fit under the memory limit";
#endif
  // A sparse file larger than the memory the process may take.
  {
    std::FILE* f = std::fopen((dir / "huge.txt").c_str(), "wb");
    ASSERT_NE(f, nullptr);
    ASSERT_EQ(ftruncate(fileno(f), 8ll << 30), 0);
    std::fclose(f);
  }
  const CliResult r = runCli(dir, "import huge.txt -o x", "ulimit -v 1000000; ");
  EXPECT_EQ(r.status, 2) << r.err;
  EXPECT_NE(r.err.find("brak pamięci"), std::string::npos) << r.err;
}

TEST(CliExportTxt, CountsThePointsWritten) {
  TempFolder dir;
  writeBytes(dir / "p.meri", "@MERI_PUNKT_1.0,\r\n,\r\n1,2,3,\"A\",9,1\r\n");
  CliResult r = runCli(dir, "export-txt p.meri -o a.txt");
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out,
            "Wczytywanie danych Merilonu\nLiczba wczytanych punktów: 1\nLiczba punktów: 0\n");
  EXPECT_EQ(testing::readBytes(dir / "a.txt"), "");
  writeBytes(dir / "q.meri", "@MERI_PUNKT_1.0,\r\n,\r\n1,2,3,\"A\",9,1\r\n4,5,6,\"B\",0,2\r\n");
  r = runCli(dir, "export-txt q.meri -o b.txt");
  EXPECT_NE(r.out.find("Liczba punktów: 1\n"), std::string::npos);
}

}  // namespace
}  // namespace merilon
