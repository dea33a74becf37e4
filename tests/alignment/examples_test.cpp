// The example data a newcomer starts from (examples/, written by scripts/make_examples.py): the
// alignment's main points lie where the program puts the end of each element, the survey's axis
// points lie on the axis, and merilon-cli makes a section every 10 m along the whole road from
// them and reads the map's points and texts.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cmath>
#include <cstdio>
#include <set>
#include <sstream>

#include "alignment/alignment.h"
#include "alignment/alignment_geometry.h"
#include "support/test_program.h"

namespace merilon {
namespace {

const std::filesystem::path kExamples = std::filesystem::path(MERILON_SOURCE_DIR) / "examples";

std::vector<std::string> fileLines(const std::filesystem::path& file) {
  std::vector<std::string> lines;
  std::istringstream in(testing::readBytes(file));
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

std::vector<std::string> split(const std::string& line) {
  std::vector<std::string> fields;
  std::istringstream in(line);
  for (std::string f; std::getline(in, f, ',');) fields.push_back(f);
  return fields;
}

int runCli(const testing::TempFolder& folder, const std::string& arguments) {
  const std::string command = std::string(MERILON_CLI) + " --program-folder '" +
                              folder.path().string() + "' " + arguments + " >/dev/null 2>&1";
  const int status = std::system(command.c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

struct ExampleData : ::testing::Test {
  testing::TestProgram tp;
  Alignment& alignment = tp.program->alignment;

  void SetUp() override {
    std::vector<std::string> lines;
    std::string error;
    ASSERT_EQ(readAlignmentFile(kExamples / "droga_trasa.TRS", tp.program->parser, alignment,
                                tp.platform, lines, error),
              AlignmentReadStatus::Ok)
        << error;
  }
};

TEST_F(ExampleData, AlignmentElementsJoinAndTurnBothWays) {
  ASSERT_EQ(alignment.count, 10);
  std::set<std::string> kinds;
  for (int k = 1; k < alignment.count; ++k) {
    const double r = alignment.radius[k], a = alignment.clothoidParameter[k];
    if (a != 0) kinds.insert(std::string("clothoid ") + (a > 0 ? "in " : "out ") +
                             ((r < 0 || (r == 0 && a < 0)) ? "left" : "right"));
    else if (std::abs(r) > 0.0002) kinds.insert(r > 0 ? "arc right" : "arc left");
    else kinds.insert("straight");
    // The element from record k ends on record k + 1, to a tenth of a millimetre.
    double x = 0, y = 0, az = 0;
    pointAtChainage(alignment, alignment.chainage[k + 1] - 0.0001, x, y, az);
    const double along = 0.0001;
    EXPECT_NEAR(x + along * std::sin(az), alignment.x[k + 1], 2e-4) << "record " << k + 1;
    EXPECT_NEAR(y + along * std::cos(az), alignment.y[k + 1], 2e-4) << "record " << k + 1;
    EXPECT_NEAR(az, alignment.azimuth[k + 1], 1e-6) << "record " << k + 1;
  }
  EXPECT_EQ(kinds, (std::set<std::string>{"straight", "arc right", "arc left", "clothoid in right",
                                          "clothoid out right", "clothoid in left",
                                          "clothoid out left"}));
  EXPECT_GT(alignment.chainage[alignment.count], 1500.0);
}

TEST_F(ExampleData, SurveyAxisPointsLieOnTheAxisEveryTenMetres) {
  const auto lines = fileLines(kExamples / "droga_pomiar.txt");
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines[0], "NR,X,Y,Z,KOD");
  std::set<std::string> codes;
  int axisPoints = 0;
  for (std::size_t l = 1; l < lines.size(); ++l) {
    const auto f = split(lines[l]);
    ASSERT_EQ(f.size(), 5u) << lines[l];
    codes.insert(f[4]);
    if (f[4] != "S") continue;
    ++axisPoints;
    // As the import keeps them: to the centimetre.
    const double px = std::round(std::stod(f[1]) * 100) / 100;
    const double py = std::round(std::stod(f[2]) * 100) / 100;
    double chainage = 0, offset = -99999999, footX = 0, footY = 0;
    ASSERT_TRUE(projectOnAlignment(alignment, px, py, chainage, offset, footX, footY));
    EXPECT_LT(std::abs(offset), 0.01) << lines[l];
    EXPECT_EQ(std::lround(chainage * 100), 1000L * axisPoints) << lines[l];
  }
  EXPECT_EQ(lines.size() - 1, 3000u);
  EXPECT_EQ(axisPoints, 150);
  // The codes of the default record structure, and terrain codes that hold none of them.
  EXPECT_EQ(codes, (std::set<std::string>{"S", "NA", "NB", "HA", "HB", "KR", "ROW", "SK", "T"}));
}

TEST(ExampleDataCli, SectionsAlongTheWholeRoadAndTheMapsRecords) {
  testing::TempFolder dir;
  const std::string survey = (kExamples / "droga_pomiar.txt").string();
  const std::string trs = (kExamples / "droga_trasa.TRS").string();
  ASSERT_EQ(runCli(dir, "import '" + survey + "' -o " + (dir / "d.meri").string() +
                            " --x 2 --y 3 --z 4 --symbol 5"),
            0);
  ASSERT_EQ(runCli(dir, "sections " + (dir / "d.meri").string() + " '" + trs + "' -o " +
                            (dir / "d.TER").string()),
            0);
  const auto ter = fileLines(dir / "d.TER");
  ASSERT_GT(ter.size(), 2u);
  EXPECT_EQ(ter[1], "Teren z Merilonu,0,10.00,1500.00,149");
  // Section headers, then four lines a point: offset, height, layer value, "".
  int sections = 0;
  std::set<std::string> layerValues;
  for (std::size_t l = 2; l < ter.size();) {
    const auto head = split(ter[l]);
    ASSERT_EQ(head.size(), 2u) << "line " << l + 1;
    ++sections;
    char expected[32];
    std::snprintf(expected, sizeof expected, "%d.00", 10 * sections);
    EXPECT_EQ(head[0], expected);
    EXPECT_EQ(head[1], "60") << "20 points at " << head[0];
    const int points = std::stoi(head[1]) / 3;
    bool axis = false;
    for (int p = 0; p < points; ++p) {
      // Staked to the centimetre: the offset, to two decimals, is at most 0.01.
      axis = axis || std::abs(std::stod(ter[l + 1 + 4 * p])) <= 0.011;
      layerValues.insert(ter[l + 3 + 4 * p]);
    }
    EXPECT_TRUE(axis) << "the axis point of " << head[0];
    l += 1 + 4 * points;
  }
  EXPECT_EQ(sections, 150);
  EXPECT_EQ(layerValues, (std::set<std::string>{"0.00", "-0.50", "-0.30", "0.50", "0.30",
                                                "-9999999.00"}));

  ASSERT_EQ(runCli(dir, "dxf2txt '" + (kExamples / "droga_mapa.dxf").string() + "' -o " +
                            (dir / "mapa.txt").string()),
            0);
  const auto records = fileLines(dir / "mapa.txt");
  int starts = 0, spotHeights = 0;
  for (const auto& r : records) {
    const auto f = split(r);
    starts += f.size() == 4 && f[3] == "1";
    spotHeights += f.size() == 3;
  }
  // 150 kerb LINEs (two records each), one kerb POLYLINE of 151 vertices, 13 buildings of four
  // corners, 61 × 4 spot heights.
  EXPECT_EQ(records.size(), 300u + 151 + 13 * 4 + 61 * 4);
  EXPECT_EQ(starts, 150 + 1 + 13);
  EXPECT_EQ(spotHeights, 61 * 4);
}

}  // namespace
}  // namespace merilon
