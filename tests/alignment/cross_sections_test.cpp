// Section building on a straight axis along +Y (chainage = Y, offset = X), where every expected
// number can be read off the input.
#include "alignment/cross_sections.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "platform/number_text.h"
#include "points/no_value.h"
#include "support/scripted_platform.h"

namespace merilon {
namespace {

const std::string kQuotes = "\"\"";

class SectionsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(points.initialise());
    ASSERT_TRUE(alignment.initialise(platform));
    ASSERT_TRUE(alignment.setRecords(platform, {{0, 0, 0, 0, 0, 0}, {1000, 0, 1000, 0, 0, 0}}));
    params.startChainage = 0;
    params.endChainage = 1000;
  }
  int add(double chainage, double offset, double z = 100, const std::string& name = "",
          int type = 0) {
    EXPECT_TRUE(points.reservePoint());
    const int i = points.pointCount();
    points.setPoint(i, offset, chainage, z, PointName::fromText(name), type);
    return i;
  }
  std::vector<std::string> run() {
    std::vector<std::string> text;
    CrossSectionReport report;
    report.log = [this](const std::string& s) { log.push_back(s); };
    generateCrossSections(points, alignment, params, text, report);
    return text;
  }
  // The lines of one point.
  static std::vector<std::string> pointLines(const char* offset, const char* z, const char* layer) {
    return {offset, z, layer, kQuotes};
  }
  testing::ScriptedPlatform platform;
  PointStore points{platform};
  Alignment alignment;
  CrossSectionParams params;
  std::vector<std::string> log;
};

std::vector<std::string> join(std::initializer_list<std::vector<std::string>> parts) {
  std::vector<std::string> out;
  for (const auto& p : parts) out.insert(out.end(), p.begin(), p.end());
  return out;
}

TEST_F(SectionsTest, ProjectionClassifiesAxisLayerAndExcludedPoints) {
  const int axis = add(5, 0.2, 100, "S");
  const int notAxis = add(5, 0.2, 100, "SS");  // the whole name must occur in the axis code
  const int unnamed = add(5, 0.2, 100, "");
  const int both = add(6, 1, 100, "HANA");  // pavement 1 overrides humus 1
  const int humus2 = add(6, 1, 100, "xHB");
  const int pavement2 = add(6, 1, 100, "NB7");
  const int farLeft = add(7, -50.01, 100);
  const int farRight = add(7, 50.5, 100);
  const int beyond = add(1000.5, 0, 100);
  const int typed = add(8, 1, 100, "", 3);
  ASSERT_TRUE(projectAllPoints(points, alignment, params));
  EXPECT_EQ(points.pointAxisFlag[axis], 1);
  EXPECT_EQ(points.pointAxisFlag[notAxis], 0);
  EXPECT_EQ(points.pointAxisFlag[unnamed], 0);
  EXPECT_NEAR(points.pointChainage[axis], 5, 0.001);
  EXPECT_NEAR(points.pointOffset[axis], 0.2, 1e-9);
  EXPECT_EQ(points.pointLayerDepth[both], 0.5);
  EXPECT_EQ(points.pointUseFlag[both], -1);
  EXPECT_EQ(points.pointLayerDepth[humus2], -0.3);
  EXPECT_EQ(points.pointLayerDepth[pavement2], 0.3);
  EXPECT_EQ(points.pointUseFlag[axis], 1);
  for (int i : {farLeft, farRight, beyond}) {
    EXPECT_EQ(points.pointUseFlag[i], 0) << i;
    EXPECT_EQ(points.pointChainage[i], NO_VALUE_F) << i;
  }
  EXPECT_EQ(points.pointUseFlag[typed], 0);
  EXPECT_NEAR(points.pointChainage[typed], 8, 0.001);

  // Bounds of -99999999 are not applied; an emptied code field marks no point.
  params.leftLimit = NO_VALUE_F;
  params.endChainage = NO_VALUE_F;
  params.pavementCodes[0] = "";
  ASSERT_TRUE(projectAllPoints(points, alignment, params));
  EXPECT_EQ(points.pointUseFlag[farLeft], 1);
  EXPECT_EQ(points.pointUseFlag[farRight], 0);
  EXPECT_EQ(points.pointUseFlag[beyond], 1);
  EXPECT_EQ(points.pointLayerDepth[both], -0.5);

  Alignment empty;
  empty.initialise(platform);
  EXPECT_FALSE(projectAllPoints(points, empty, params));
}

TEST_F(SectionsTest, NearbyChainagesFormOneSectionSortedByOffset) {
  add(10, -1, 100);
  add(15, 0.5, 102);
  add(12, 2, 101);
  EXPECT_EQ(run(), join({{"\"&IBMVORDPOW\",\"\"", "PUSTA DO WPISANIA", "10.00,6"},
                         pointLines("-1.00", "100.00", "0.00"),
                         pointLines("2.00", "101.00", "-9999999.00"),
                         {"15.00,3"},
                         pointLines("0.50", "102.00", "-9999999.00")}));
  EXPECT_TRUE(log.empty());  // two sections: no summary
}

TEST_F(SectionsTest, ReferenceChainageAndAccuracy) {
  add(11, 1.2);
  add(12.346, 0.3);
  add(13, -0.5);
  auto text = run();
  EXPECT_EQ(text[2], "12.35,9");  // the point nearest the axis
  // An accuracy below 0.01 becomes half the range.
  params.chainageAccuracy = 0;
  EXPECT_EQ(run()[2], "12.00,9");
  params.chainageAccuracy = 0.5;
  EXPECT_EQ(run()[2], "12.50,9");
  // An axis point sets the reference wherever it lies.
  params.chainageAccuracy = 0.01;
  add(13.5, 4, 100, "S");
  EXPECT_EQ(run()[2], "13.50,12");
}

TEST_F(SectionsTest, DistantSinglePointSectionsAreDropped) {
  add(10, 3);    // alone and 3 from the axis: dropped
  add(20, 1.5);  // alone but close: kept
  add(30, -4);
  add(31, 6);  // two points: kept however far
  add(40, 0);
  const auto text = run();
  EXPECT_EQ(text[1], "Teren z Merilonu,0,20.00,40.00,2");
  EXPECT_EQ(text[2], "20.00,3");
  EXPECT_EQ(text[7], "30.00,6");
  EXPECT_EQ(text[16], "40.00,3");
  EXPECT_EQ(text.size(), 21u);
  EXPECT_EQ(log, (std::vector<std::string>{"Wygenerowano teren", "Zakres pikietaży: 20.00 - 40.00",
                                           "Liczba poprzeczek: 3"}));
  params.singlePointMaxDistance = NO_VALUE_F;  // not applied
  EXPECT_EQ(run()[2], "10.00,3");
}

TEST_F(SectionsTest, AFullWindowLeavesTheRestForTheNextSection) {
  for (int k = 0; k <= 120; ++k) add(50 + k * 0.001, (k - 60) * 0.01);
  const auto text = run();
  ASSERT_EQ(log.size(), 1u);
  EXPECT_EQ(log[0], "W pikietażu 50.12 przekroczono zakres punktów dla jednej poprzeczki 120");
  EXPECT_EQ(text[2], "50.06,360");
  EXPECT_EQ(text[3], "-0.60");
  EXPECT_EQ(text[2 + 1 + 480], "50.12,3");
  EXPECT_EQ(text[2 + 1 + 480 + 1], "0.60");
}

TEST_F(SectionsTest, LayerValuesWithAndWithoutBoundaryCodes) {
  add(5, -3, 100);
  add(5, -2, 100, "NA1");  // pavement 1: 0.5 deep, written -0.50
  add(5, -1, 100);
  add(5, 1, 100, "HA");  // humus 1: written 0.50
  add(5, 2, 100);
  add(5, 3, 100);
  auto layers = [](const std::vector<std::string>& text) {
    std::vector<std::string> out;
    for (std::size_t k = 5; k < text.size(); k += 4) out.push_back(text[k]);
    return out;
  };
  EXPECT_EQ(layers(run()),
            (std::vector<std::string>{"0.00", "-0.50", "0.00", "0.50", "0.00", "-9999999.00"}));
  params.boundaryCodesOnly = true;
  EXPECT_EQ(layers(run()),
            (std::vector<std::string>{"0.00", "-0.50", "-0.50", "0.50", "0.50", "-9999999.00"}));
}

TEST_F(SectionsTest, TheRunStopsAt2000SectionsAndSaysSo) {
  params.sectionRange = 0.01;
  for (int k = 1; k <= 2005; ++k) add(0.1 * k, 0);
  const auto text = run();
  EXPECT_EQ(text.size(), 2u + 2000u * 5u);
  EXPECT_EQ(text[1], "Teren z Merilonu,0,0.10,200.00,1999");
  EXPECT_EQ(log, (std::vector<std::string>{
                     "Przekroczono limit 2000 poprzeczek w pikietażu 200.10, pozostałe punkty "
                     "pominięto",
                     "Wygenerowano teren", "Zakres pikietaży: 0.10 - 200.00",
                     "Liczba poprzeczek: 2000"}));
}

// The documented walk, searched from the start of the chainage order for every section: the
// section headers and member offsets it gives.
std::vector<std::string> documentedWalk(PointStore& points, const CrossSectionParams& p) {
  std::vector<std::string> out;
  const int n = points.pointCount();
  std::vector<int> flag(points.pointUseFlag.begin(), points.pointUseFlag.begin() + n + 1);
  int sections = 0;
  for (;;) {
    int start = 0;
    for (int k = 1; k <= n && !start; ++k) {
      const int i = points.pointOrder[k];
      if (points.pointChainage[i] != NO_VALUE_F && flag[i] != 0) start = i;
    }
    if (!start) break;
    const double cmin = points.pointChainage[start];
    std::vector<double> offsets;
    for (int k = 1; k <= n; ++k) {
      const int i = points.pointOrder[k];
      const double c = points.pointChainage[i];
      if (flag[i] != 0 && c > cmin - 0.01 && c < cmin + 0.01 + p.sectionRange &&
          offsets.size() < 120) {
        offsets.push_back(points.pointOffset[i]);
        flag[i] = 0;
      }
    }
    std::sort(offsets.begin(), offsets.end());
    if (offsets.size() == 1 && std::fabs(offsets[0]) > p.singlePointMaxDistance) continue;
    if (++sections > 2000) break;
    out.push_back(formatInt(3 * static_cast<int>(offsets.size())));
    for (double o : offsets) out.push_back(formatFixed(o, 2));
  }
  return out;
}

TEST_F(SectionsTest, WindowsAreThoseOfTheDocumentedWalk) {
  std::mt19937 random(3);
  std::uniform_real_distribution<double> chainage(0, 120), offset(-60, 60);
  std::uniform_int_distribution<int> type(-2, 8);
  for (int k = 0; k < 6000; ++k) {
    // Coarse chainages make ties and full windows; some points are excluded by type or width.
    add(std::round(chainage(random) * 20) / 20, offset(random), 100, "",
        std::min(type(random), 0) + (type(random) == 8));
  }
  for (double range : {4.0, 0.3}) {
    params.sectionRange = range;
    const auto text = run();
    std::vector<std::string> written;
    for (std::size_t k = 2; k < text.size();) {
      const auto comma = text[k].find(',');
      const int lines = std::stoi(text[k].substr(comma + 1));
      written.push_back(text[k].substr(comma + 1));
      for (int j = 0; j < lines / 3; ++j) written.push_back(text[k + 1 + 4 * j]);
      k += 1 + 4 * (lines / 3);
    }
    // The generation leaves the classification and the order of its run in the store.
    ASSERT_TRUE(projectAllPoints(points, alignment, params));
    EXPECT_EQ(written, documentedWalk(points, params)) << "range " << range;
  }
}

}  // namespace
}  // namespace merilon
