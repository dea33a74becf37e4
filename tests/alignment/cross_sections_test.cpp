// Section building on a straight axis along +Y (chainage = Y, offset = X), where every expected
// number can be read off the input; the retry of lost points on a U-shaped axis.
#include "alignment/cross_sections.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
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

// A U-shaped axis: north along X = 0 to chainage 100, a right half circle of radius 50 about
// (50, 100), south along X = 100 to its end. A point between the legs projects on the leg the
// walk starts nearest to.
TEST_F(SectionsTest, PointsLostFromTheStartAreTriedAgainFromTheEnd) {
  const double arcEnd = 100 + 50 * M_PI;
  ASSERT_TRUE(alignment.setRecords(platform, {{0, 0, 0, 0, 0, 0},
                                              {100, 0, 100, 0, 50, 0},
                                              {arcEnd, 100, 100, M_PI, 0, 0},
                                              {arcEnd + 100, 100, 0, M_PI, 0, 0}}));
  params.startChainage = 20;
  params.endChainage = arcEnd + 90;
  params.rightLimit = 60;
  auto at = [this](double x, double y, const std::string& name = "", int type = 0) {
    EXPECT_TRUE(points.reservePoint());
    const int i = points.pointCount();
    points.setPoint(i, x, y, 100, PointName::fromText(name), type);
    return i;
  };
  // From the start these fall on the first leg 90 to the right (beyond the width); from the end
  // on the second leg 10 to the right.
  const int recovered = at(90, 40);
  const int coded = at(90, 45, "NA");
  const int typed = at(90, 50, "", 2);
  // 30 to the right of the first leg: within the bounds at once, so not tried again (from the
  // end it would lie 70 to the right of the second leg, beyond the width).
  const int kept = at(30, 60);
  const int typedKept = at(30, 61, "", 2);
  // Before the start chainage on the first leg; from the end on the second leg within the widths.
  const int early = at(55, 15);
  // Beyond the width from both ends.
  const int lost = at(160, 40);
  ASSERT_TRUE(projectAllPoints(points, alignment, params));

  EXPECT_EQ(points.pointUseFlag[recovered], 1);
  EXPECT_NEAR(points.pointChainage[recovered], arcEnd + 60, 0.001);
  EXPECT_NEAR(points.pointOffset[recovered], 10, 1e-6);
  EXPECT_EQ(points.pointUseFlag[coded], -1);
  EXPECT_NEAR(points.pointChainage[coded], arcEnd + 55, 0.001);
  EXPECT_EQ(points.pointUseFlag[early], 1);
  EXPECT_NEAR(points.pointChainage[early], arcEnd + 85, 0.001);
  EXPECT_NEAR(points.pointOffset[early], 45, 1e-6);

  EXPECT_EQ(points.pointUseFlag[kept], 1);
  EXPECT_NEAR(points.pointChainage[kept], 60, 0.001);
  EXPECT_NEAR(points.pointOffset[kept], 30, 1e-6);

  // A typed point is kept out of the sections either way, but keeps its chainage only when the
  // first try placed it.
  EXPECT_EQ(points.pointUseFlag[typedKept], 0);
  EXPECT_NEAR(points.pointChainage[typedKept], 61, 0.001);
  EXPECT_EQ(points.pointUseFlag[typed], 0);
  EXPECT_EQ(points.pointChainage[typed], NO_VALUE_F);

  EXPECT_EQ(points.pointUseFlag[lost], 0);
  EXPECT_EQ(points.pointChainage[lost], NO_VALUE_F);
}

TEST_F(SectionsTest, ARangeBelowOneCentimetreBecomesOneCentimetre) {
  add(10, 1);
  add(10.015, 2);   // within 10 + 0.01 + 0.01
  add(10.03, 1.5);  // beyond it
  for (double range : {0.0, 0.004}) {
    params.sectionRange = range;
    const auto text = run();
    ASSERT_EQ(text.size(), 2u + 9u + 5u) << range;
    EXPECT_EQ(text[2], "10.00,6") << range;
    EXPECT_EQ(text[3], "1.00") << range;
    EXPECT_EQ(text[7], "2.00") << range;
    EXPECT_EQ(text[11], "10.03,3") << range;
  }
}

TEST_F(SectionsTest, EachWrittenSectionIsAnnouncedOnTheStatusLine) {
  add(10, 1);
  add(20, 5);  // alone and far from the axis: dropped, nothing announced
  add(30.344, -0.5);
  add(31, 1);
  std::vector<std::string> status;
  CrossSectionReport report;
  report.status = [&status](const std::string& s) { status.push_back(s); };
  std::vector<std::string> text;
  generateCrossSections(points, alignment, params, text, report);
  EXPECT_EQ(status, (std::vector<std::string>{"Wygenerowano poprzeczkę w pikietażu 10.00",
                                              "Wygenerowano poprzeczkę w pikietażu 30.34"}));
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

// Chainages where a centimetre is below the precision of the numbers (a broken alignment): the
// run ends, and every point lands in a section.
TEST_F(SectionsTest, HugeChainagesEndTheRunWithEveryPointInASection) {
  for (double at : {1e14, 2.4e15, 1e17}) {
    points.clearPoints();
    ASSERT_TRUE(alignment.setRecords(platform, {{0, 0, 0, 0, 0, 0}, {2 * at, 0, 2 * at, 0, 0, 0}}));
    params.endChainage = 2 * at;
    for (double offset : {-1.0, 1.0, 2.0}) add(at, offset);
    add(at + 100, 0);
    const std::vector<std::string> text = run();
    // Only a section's first line, "chainage,3m", holds a comma.
    int written = 0;
    for (std::size_t k = 2; k < text.size(); ++k) {
      const auto comma = text[k].find(',');
      if (comma != std::string::npos) written += std::stoi(text[k].substr(comma + 1)) / 3;
    }
    EXPECT_EQ(written, 4) << at;
  }
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

// The chainage order as documented for the point store: a recursive quicksort with Hoare
// partitioning about the middle entry's key. Equal chainages end up in the order it leaves them,
// which decides the members of a full window.
void documentedSort(const std::vector<double>& key, std::vector<int>& order, int lo, int hi) {
  const double pivot = key[order[(lo + hi) / 2]];
  int i = lo, j = hi;
  do {
    while (key[order[i]] < pivot) ++i;
    while (pivot < key[order[j]]) --j;
    if (i <= j) std::swap(order[i++], order[j--]);
  } while (i <= j);
  if (lo < j) documentedSort(key, order, lo, j);
  if (i < hi) documentedSort(key, order, i, hi);
}

// The documented walk over points already classified, searched from the start of the chainage
// order for every section: the second line of the file, then per section its header line and the
// offsets of its members.
std::vector<std::string> documentedWalk(const PointStore& points, CrossSectionParams p) {
  if (p.sectionRange < 0.01) p.sectionRange = 0.01;
  if (p.chainageAccuracy < 0.01) p.chainageAccuracy = 0.5 * p.sectionRange;
  const int n = points.pointCount();
  const std::vector<double> chainage(points.pointChainage.begin(),
                                     points.pointChainage.begin() + n + 1);
  std::vector<int> flag(points.pointUseFlag.begin(), points.pointUseFlag.begin() + n + 1);
  std::vector<int> order(n + 1);
  for (int k = 1; k <= n; ++k) order[k] = k;
  if (n > 1) documentedSort(chainage, order, 1, n);

  std::vector<std::string> sections;
  int s = -1;
  double first = 0, last = 0;
  for (;;) {
    int start = 0;
    for (int k = 1; k <= n && !start; ++k) {
      const int i = order[k];
      if (chainage[i] != NO_VALUE_F && (flag[i] == 1 || flag[i] == -1)) start = i;
    }
    if (!start) break;
    const double cmin = chainage[start];
    std::vector<double> offsets;
    double reference = 0, nearest = 1e300;
    bool axis = false;
    for (int k = 1; k <= n && offsets.size() < 120; ++k) {
      const int i = order[k];
      const double c = chainage[i], o = points.pointOffset[i];
      const bool inWindow = c > cmin - 0.01 && c < cmin + 0.01 + p.sectionRange;
      if (!(flag[i] == 1 || flag[i] == -1) || !inWindow) continue;
      if (points.pointAxisFlag[i] == 1) {
        reference = c;
        axis = true;
      } else if (!axis && std::fabs(o) < nearest) {
        nearest = std::fabs(o);
        reference = c;
      }
      offsets.push_back(o);
      flag[i] = 0;
    }
    std::sort(offsets.begin(), offsets.end());
    const double cs = std::floor((reference + 0.5 * p.chainageAccuracy) / p.chainageAccuracy) *
                      p.chainageAccuracy;
    if (offsets.size() == 1 && std::fabs(offsets[0]) > p.singlePointMaxDistance) continue;
    if (++s == 2000) break;
    if (s == 0) first = cs;
    last = cs;
    sections.push_back(formatFixed(cs, 2) + "," + formatInt(3 * static_cast<int>(offsets.size())));
    for (double o : offsets) sections.push_back(formatFixed(o, 2));
  }
  std::vector<std::string> out;
  out.push_back(s >= 2 ? "Teren z Merilonu,0," + formatFixed(first, 2) + "," +
                             formatFixed(last, 2) + "," + formatInt(s)
                       : "PUSTA DO WPISANIA");
  out.insert(out.end(), sections.begin(), sections.end());
  return out;
}

TEST_F(SectionsTest, WindowsAreThoseOfTheDocumentedWalk) {
  std::mt19937 random(3);
  std::uniform_real_distribution<double> chainage(0, 120), offset(-60, 60), axisOffset(-3, 3);
  std::uniform_int_distribution<int> type(-2, 8), kind(0, 99);
  for (int k = 0; k < 6000; ++k) {
    // Coarse chainages make ties and full windows, coarse offsets points equally near the axis;
    // some points are excluded by type or width. Axis points only in the first half, so that
    // later sections take the point nearest the axis; a few coded points take part with their
    // own flag.
    const double c = std::round(chainage(random) * 20) / 20;
    const int what = kind(random);
    const bool axis = what < 2 && c < 60;
    add(c, axis ? axisOffset(random) : std::round(offset(random) * 2) / 2, 100,
        axis ? "S" : (what < 6 ? "NA" : (what < 9 ? "HB" : "")),
        std::min(type(random), 0) + (type(random) == 8));
  }
  struct Run {
    double range, accuracy;
  };
  for (const Run r : {Run{4.0, 0.01}, Run{0.3, 0.01}, Run{4.0, 0.0}, Run{1.0, 0.25}}) {
    params.sectionRange = r.range;
    params.chainageAccuracy = r.accuracy;
    const auto text = run();
    std::vector<std::string> written{text[1]};
    for (std::size_t k = 2; k < text.size();) {
      const auto comma = text[k].find(',');
      const int lines = std::stoi(text[k].substr(comma + 1));
      written.push_back(text[k]);
      for (int j = 0; j < lines / 3; ++j) written.push_back(text[k + 1 + 4 * j]);
      k += 1 + 4 * (lines / 3);
    }
    // The classification of the run, made again: the run itself consumes the use flags.
    ASSERT_TRUE(projectAllPoints(points, alignment, params));
    const auto expected = documentedWalk(points, params);
    EXPECT_GT(expected.size(), 100u);
    EXPECT_EQ(written, expected) << "range " << r.range << " accuracy " << r.accuracy;
  }
}

}  // namespace
}  // namespace merilon
