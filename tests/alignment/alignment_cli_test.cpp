// merilon-cli station and project on a small alignment: a straight north, a quarter circle of
// radius 100 turning right, and a straight east.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <string>

#include "support/test_program.h"

namespace {

struct CliRun {
  int status = -1;
  std::string out;
};

CliRun runCli(const std::string& arguments) {
  CliRun run;
  const std::string command = std::string(MERILON_CLI) + " " + arguments + " 2>/dev/null";
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return run;
  std::array<char, 4096> buffer{};
  std::size_t n;
  while ((n = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0)
    run.out.append(buffer.data(), n);
  const int raw = pclose(pipe);
  run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  return run;
}

const std::string kAlignment = std::string(MERILON_TEST_DATA) + "/alignment/prosta_luk.TRS";

TEST(AlignmentCli, StationPrintsOneLinePerChainageInTheOrderGiven) {
  const auto run = runCli("station " + kAlignment + " 178.5398163 -10 400 50");
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out,
            "178.539816\t29.289322\t170.710678\t0.785398\n"   // the middle of the arc
            "-10.000000\t0.000000\t-10.000000\t0.000000\n"    // before the start
            "400.000000\t242.920367\t200.000000\t1.570796\n"  // beyond the end
            "50.000000\t0.000000\t50.000000\t0.000000\n");
}

TEST(AlignmentCli, ProjectPrintsChainageOffsetAndFoot) {
  auto run = runCli("project " + kAlignment + " 150 250");
  EXPECT_EQ(run.status, 0);
  // 50 left of the last straight; the iteration stops within 0.0001 of the foot.
  EXPECT_EQ(run.out, "307.079539\t-50.000000\t149.999906\t200.000000\n");
  run = runCli("project " + kAlignment + " 1e300 250");
  EXPECT_EQ(run.status, 2);
  EXPECT_EQ(run.out, "");
}

TEST(AlignmentCli, RefusesMissingFilesAndBadNumbers) {
  EXPECT_EQ(runCli("station /nonexistent/OS.TRS 10").status, 2);
  EXPECT_EQ(runCli("station " + kAlignment + " 1,5").status, 2);
  EXPECT_EQ(runCli("project " + kAlignment + " 1").status, 1);
  EXPECT_EQ(runCli("station").status, 1);
}

// The survey along the test axis as a point file.
int importSurvey(const merilon::testing::TempFolder& folder, const std::string& points) {
  return runCli("import " + std::string(MERILON_TEST_DATA) + "/alignment/pomiar_trasa.txt -o " +
                points + " --program-folder " + folder.path().string())
      .status;
}

TEST(AlignmentCli, SectionsFromAPointFileWithTheGivenFields) {
  merilon::testing::TempFolder folder;
  const std::string points = (folder / "pomiar.meri").string();
  ASSERT_EQ(importSurvey(folder, points), 0);
  const std::string common = "sections " + points + " " + kAlignment + " --program-folder " +
                             folder.path().string() + " -o " + (folder / "teren.txt").string();
  auto run = runCli(common +
                    " --pavement2 X --pavement2-thickness 0.25 --humus1 K "
                    "--boundary-codes --range 3");
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out, "Wygenerowano teren\nZakres pikietaży: 20.00 - 81.00\nLiczba poprzeczek: 3\n");
  merilon::testing::expectGolden(folder / "teren.TER", "../alignment/sekcje_cli.TER");

  // The file exists now: only --force replaces it; a reversed range writes nothing.
  EXPECT_EQ(runCli(common).status, 3);
  EXPECT_EQ(runCli(common + " --force --from 100 --to 50").status, 2);
  merilon::testing::expectGolden(folder / "teren.TER", "../alignment/sekcje_cli.TER");
  EXPECT_EQ(runCli("sections " + points + " /nonexistent.TRS -o x.TER").status, 2);
}

}  // namespace

namespace {

// The same axis as a LandXML file, after a ramp that comes first in the file.
const std::string kLandXml = std::string(MERILON_TEST_DATA) + "/alignment/prosta_luk.xml";

TEST(AlignmentCli, LandXmlAlignmentsAreChosenByName) {
  auto run = runCli("station " + kLandXml + " --alignment-name 'Prosta i łuk' 178.5398163 400");
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out,
            "178.539816\t29.289322\t170.710678\t0.785398\n"
            "400.000000\t242.920367\t200.000000\t1.570796\n");
  run = runCli("station " + kLandXml + " --alignment-name Łącznica 20");
  EXPECT_EQ(run.out, "20.000000\t10.000000\t0.000000\t1.570796\n");
  run = runCli("project --alignment-name 'Prosta i łuk' " + kLandXml + " 150 250");
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out, "307.079539\t-50.000000\t149.999906\t200.000000\n");
  EXPECT_EQ(runCli("station " + kLandXml + " 20").status, 1);  // which of the two?
  EXPECT_EQ(runCli("station " + kLandXml + " --alignment-name Brak 20").status, 2);
  EXPECT_EQ(runCli("station " + kAlignment + " --alignment-name Oś 20").status, 1);
}

TEST(AlignmentCli, SectionsAlongALandXmlAlignmentMatchThoseAlongTheTrsFile) {
  merilon::testing::TempFolder folder;
  const std::string points = (folder / "pomiar.meri").string();
  ASSERT_EQ(importSurvey(folder, points), 0);
  auto run = runCli("sections " + points + " " + kLandXml + " --alignment-name 'Prosta i łuk'" +
                    " --program-folder " + folder.path().string() + " -o " +
                    (folder / "teren.txt").string() +
                    " --pavement2 X --pavement2-thickness 0.25 --humus1 K "
                    "--boundary-codes --range 3");
  EXPECT_EQ(run.status, 0);
  merilon::testing::expectGolden(folder / "teren.TER", "../alignment/sekcje_cli.TER");
}

}  // namespace
