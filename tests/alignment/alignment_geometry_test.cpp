// The alignment geometry checked against independent arithmetic: the clothoid series against a
// numerically integrated spiral, and a whole alignment against its curvature integrated step by
// step.
#include "alignment/alignment_geometry.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

#include "alignment/cross_sections.h"
#include "points/no_value.h"
#include "support/scripted_platform.h"

namespace merilon {
namespace {

// Simpson's rule over [a, b] with n (even) intervals.
template <typename F>
double simpson(F f, double a, double b, int n = 2000) {
  const double h = (b - a) / n;
  double sum = f(a) + f(b);
  for (int k = 1; k < n; ++k) sum += f(a + k * h) * (k % 2 ? 4 : 2);
  return sum * h / 3;
}

TEST(ClothoidOffsets, SeriesAgreesWithIntegratedSpiralUpToHalfRadian) {
  for (double A : {30.0, 120.0, 450.0}) {
    for (double tau : {0.01, 0.1, 0.25, 0.4, 0.5}) {
      const double R = A / std::sqrt(2 * tau);  // tau = L / 2R with L = A^2 / R
      const double L = A * A / R;
      // Tangent angle s^2 / 2A^2 along the arc length s from the origin.
      const double along = simpson([&](double s) { return std::cos(s * s / (2 * A * A)); }, 0, L);
      const double lateral = simpson([&](double s) { return std::sin(s * s / (2 * A * A)); }, 0, L);
      double len, t, lat, alo;
      clothoidOffsets(A, R, len, t, lat, alo);
      EXPECT_NEAR(len, L, 1e-9) << A << " " << tau;
      EXPECT_NEAR(t, tau, 1e-12);
      EXPECT_NEAR(alo, along, 0.001) << A << " " << tau;
      EXPECT_NEAR(lat, lateral, 0.001) << A << " " << tau;

      // A left turn mirrors the lateral and the angle; a negative A runs back from the origin.
      double lenL, tL, latL, aloL;
      clothoidOffsets(A, -R, lenL, tL, latL, aloL);
      EXPECT_DOUBLE_EQ(lenL, len);
      EXPECT_DOUBLE_EQ(tL, -t);
      EXPECT_DOUBLE_EQ(latL, -lat);
      EXPECT_DOUBLE_EQ(aloL, alo);
      double lenB, tB, latB, aloB;
      clothoidOffsets(-A, R, lenB, tB, latB, aloB);
      EXPECT_DOUBLE_EQ(lenB, -len);
      EXPECT_DOUBLE_EQ(tB, -t);
      EXPECT_DOUBLE_EQ(latB, lat);
      EXPECT_DOUBLE_EQ(aloB, -alo);
    }
  }
  double a = 1, b = 1, c = 1, d = 1;
  clothoidOffsets(0, 100, a, b, c, d);
  EXPECT_EQ(a + b + c + d, 0);
  clothoidOffsets(100, 0, a, b, c, d);
  EXPECT_EQ(a + b + c + d, 0);
}

// An alignment whose main points come from integrating its curvature: straight 0-100, entry
// clothoid 100-150 (A 100), arc R 200 150-250, exit clothoid 250-300, straight 300-400.
struct BuiltAlignment {
  double turn;  // +1 right (azimuth grows), -1 left
  static constexpr double A = 100, R = 200;
  static constexpr double x0 = 5000, y0 = 3000, a0 = 0.7;
  std::vector<double> mainChainages{0, 100, 150, 250, 300, 400};

  double curvature(double s) const {
    if (s < 100 || s > 300) return 0;
    if (s < 150) return turn * (s - 100) / (A * A);
    if (s <= 250) return turn / R;
    return turn * (300 - s) / (A * A);
  }
  // The azimuth at s in closed form (the integral of the curvature).
  double azimuth(double s) const {
    const double k = turn;
    auto clamp = [](double v, double lo, double hi) { return v < lo ? lo : (v > hi ? hi : v); };
    const double s1 = clamp(s, 100, 150) - 100;
    const double s2 = clamp(s, 150, 250) - 150;
    const double s3 = clamp(s, 250, 300) - 250;
    return a0 + k * (s1 * s1 / (2 * A * A) + s2 / R + (50 * s3 - s3 * s3 / 2) / (A * A));
  }
  // The point at s (0 <= s <= 400), integrating the direction numerically.
  void point(double s, double& x, double& y) const {
    x = x0;
    y = y0;
    double from = 0;
    for (double to : {100.0, 150.0, 250.0, 300.0, 400.0}) {
      const double upper = std::min(s, to);
      if (upper > from) {
        x += simpson([&](double u) { return std::sin(azimuth(u)); }, from, upper, 400);
        y += simpson([&](double u) { return std::cos(azimuth(u)); }, from, upper, 400);
      }
      if (s <= to) break;
      from = to;
    }
  }
  std::vector<AlignmentRecord> records() const {
    std::vector<AlignmentRecord> out;
    const double radii[] = {0, turn > 0 ? 0.0 : -0.0001, turn * R, turn * R, 0, 0};
    const double params[] = {0, A, 0, -A, 0, 0};
    for (std::size_t k = 0; k < mainChainages.size(); ++k) {
      AlignmentRecord r;
      r.chainage = mainChainages[k];
      point(r.chainage, r.x, r.y);
      r.azimuth = azimuth(r.chainage);
      r.radius = radii[k];
      r.clothoidParameter = params[k];
      out.push_back(r);
    }
    return out;
  }
};

class BuiltAlignmentTest : public ::testing::TestWithParam<double> {
 protected:
  void SetUp() override {
    built.turn = GetParam();
    alignment.initialise(platform);
    ASSERT_TRUE(alignment.setRecords(platform, built.records()));
  }
  testing::ScriptedPlatform platform;
  Alignment alignment;
  BuiltAlignment built;
};

TEST_P(BuiltAlignmentTest, PointsFollowTheIntegratedAxisAcrossEveryElement) {
  for (double c = 0; c <= 400; c += 2.5) {
    double x, y, a, rx, ry;
    pointAtChainage(alignment, c, x, y, a);
    built.point(c, rx, ry);
    EXPECT_NEAR(x, rx, 0.001) << "chainage " << c;
    EXPECT_NEAR(y, ry, 0.001) << "chainage " << c;
    EXPECT_NEAR(a, built.azimuth(c), 1e-6) << "chainage " << c;
  }
}

TEST_P(BuiltAlignmentTest, ElementsMeetAtTheirMainPoints) {
  for (int i = 2; i <= alignment.count - 1; ++i) {
    const auto r = alignment.record(i);
    // At the main point's own chainage the element before it is evaluated to its end.
    double x, y, a;
    pointAtChainage(alignment, r.chainage, x, y, a);
    EXPECT_NEAR(x, r.x, 1e-6) << "record " << i;
    EXPECT_NEAR(y, r.y, 1e-6) << "record " << i;
    EXPECT_NEAR(a, r.azimuth, 1e-9) << "record " << i;
    // Just past the tolerance the element that starts there takes over, without a jump.
    double xb, yb, ab, xa, ya, aa;
    pointAtChainage(alignment, r.chainage - 0.001, xb, yb, ab);
    pointAtChainage(alignment, r.chainage + 0.001, xa, ya, aa);
    EXPECT_NEAR(std::hypot(xa - xb, ya - yb), 0.002, 1e-6) << "record " << i;
    EXPECT_NEAR(aa, ab, 1e-5) << "record " << i;
  }
}

TEST_P(BuiltAlignmentTest, ExtrapolatesOnTheStraightsBeyondBothEnds) {
  const auto first = alignment.record(1);
  const auto last = alignment.record(alignment.count);
  double x, y, a;
  pointAtChainage(alignment, -30, x, y, a);
  EXPECT_NEAR(x, first.x - 30 * std::sin(first.azimuth), 1e-9);
  EXPECT_NEAR(y, first.y - 30 * std::cos(first.azimuth), 1e-9);
  EXPECT_DOUBLE_EQ(a, first.azimuth);
  pointAtChainage(alignment, 470, x, y, a);
  EXPECT_NEAR(x, last.x + 70 * std::sin(last.azimuth), 1e-9);
  EXPECT_NEAR(y, last.y + 70 * std::cos(last.azimuth), 1e-9);
  EXPECT_DOUBLE_EQ(a, last.azimuth);
}

TEST_P(BuiltAlignmentTest, ProjectionReturnsTheChainageAndOffsetPointsWereMadeAt) {
  std::mt19937 random(7);
  std::uniform_real_distribution<double> chainages(0, 400), offsets(-40, 40);
  for (int k = 0; k < 200; ++k) {
    const double c = chainages(random), o = offsets(random);
    double x, y;
    built.point(c, x, y);
    double px, py;
    offsetPoint(x, y, built.azimuth(c), o, px, py);
    double chainage = 0, offset = NO_VALUE_F, fx = 0, fy = 0;
    ASSERT_TRUE(projectOnAlignment(alignment, px, py, chainage, offset, fx, fy));
    EXPECT_NEAR(chainage, c, 0.001) << c << " " << o;
    EXPECT_NEAR(offset, o, 0.001) << c << " " << o;
    EXPECT_NEAR(fx, x, 0.001);
    EXPECT_NEAR(fy, y, 0.001);
  }
}

// The iteration as documented, step by step on the public point-at-chainage: the projection
// takes the steps on straights at once, and must end where this ends.
bool literalProjection(Alignment& al, double px, double py, double& c, double& offset) {
  const double lo = al.record(1).chainage, hi = al.record(al.count).chainage;
  for (int retries = 0;; ++retries) {
    double x = 0, y = 0, a = 0;
    int step = 0;
    for (; step < 1000; ++step) {
      pointAtChainage(al, c, x, y, a);
      const double along = (px - x) * std::sin(a) + (py - y) * std::cos(a);
      if (std::fabs(along) < 0.0001) break;
      c += along / 10;
    }
    if (step == 1000) return false;
    if ((c < lo || c > hi) && retries < 3) {
      c = c < lo ? hi : lo;
      continue;
    }
    offset = (px - x) * std::cos(a) - (py - y) * std::sin(a);
    return true;
  }
}

TEST_P(BuiltAlignmentTest, ProjectionEndsWhereTheStepByStepIterationEnds) {
  std::mt19937 random(5);
  std::uniform_real_distribution<double> chainages(-80, 480), offsets(-60, 60), guesses(-200, 600);
  for (int k = 0; k < 300; ++k) {
    const double c = chainages(random), o = offsets(random);
    double x, y, a, px, py;
    pointAtChainage(alignment, c, x, y, a);
    offsetPoint(x, y, a, o, px, py);
    const double guess = k % 3 == 0 ? 0 : guesses(random);
    double chainage = guess, offset = k % 3 == 0 ? NO_VALUE_F : 0, fx, fy;
    double expectedChainage = guess, expectedOffset = 0;
    const bool expected = literalProjection(alignment, px, py, expectedChainage, expectedOffset);
    ASSERT_EQ(projectOnAlignment(alignment, px, py, chainage, offset, fx, fy), expected);
    if (!expected) continue;
    EXPECT_NEAR(chainage, expectedChainage, 1e-9) << c << " " << o << " from " << guess;
    EXPECT_NEAR(offset, expectedOffset, 1e-9) << c << " " << o << " from " << guess;
  }
}

TEST_P(BuiltAlignmentTest, ManyProjectionsAtOnceGiveEachPointsOwnResult) {
  std::mt19937 random(9);
  std::uniform_real_distribution<double> chainages(-100, 500), offsets(-80, 80), guesses(-50, 450);
  std::vector<ProjectionTask> tasks;
  for (int k = 0; k < 500; ++k) {
    double x, y, a, px, py;
    pointAtChainage(alignment, chainages(random), x, y, a);
    offsetPoint(x, y, a, offsets(random), px, py);
    if (k % 97 == 0) px = 1e300;  // never converges
    tasks.push_back({px, py, guesses(random), k % 5 == 0 ? NO_VALUE_F : 1.0, false});
  }
  auto expected = tasks;
  projectOnAlignment(alignment, tasks.data(), tasks.size());
  int failures = 0;
  for (std::size_t k = 0; k < tasks.size(); ++k) {
    double fx = 0, fy = 0;
    ProjectionTask& e = expected[k];
    e.ok = projectOnAlignment(alignment, e.px, e.py, e.chainage, e.offset, fx, fy);
    failures += e.ok ? 0 : 1;
    ASSERT_EQ(tasks[k].ok, e.ok) << k;
    EXPECT_EQ(tasks[k].chainage, e.chainage) << k;
    EXPECT_EQ(tasks[k].offset, e.offset) << k;
  }
  EXPECT_EQ(failures, 6);
}

// A large survey is projected partly on a second thread; every point must come out exactly as
// a projection of its own, one at a time, would give it.
TEST_P(BuiltAlignmentTest, ProjectingAWholeSurveyGivesEachPointsOwnResult) {
  PointStore points(platform);
  ASSERT_TRUE(points.initialise());
  std::mt19937 random(21);
  std::uniform_real_distribution<double> chainages(0, 400), offsets(-45, 45);
  const int n = 20000;
  for (int k = 1; k <= n; ++k) {
    double x, y, a, px, py;
    pointAtChainage(alignment, chainages(random), x, y, a);
    offsetPoint(x, y, a, offsets(random), px, py);
    ASSERT_TRUE(points.reservePoint());
    points.setPoint(k, px, py, 100, PointName::fromText("P"), 0);
  }
  CrossSectionParams params;
  params.startChainage = 0;
  params.endChainage = 400;
  ASSERT_TRUE(projectAllPoints(points, alignment, params));
  int compared = 0;
  for (int k = 1; k <= n; ++k) {
    if (points.pointChainage[k] == NO_VALUE_F) continue;  // outside the range or the widths
    double chainage = 0, offset = k == 1 ? NO_VALUE_F : 0, fx = 0, fy = 0;
    ASSERT_TRUE(projectOnAlignment(alignment, points.pointX[k], points.pointY[k], chainage, offset,
                                   fx, fy));
    ASSERT_EQ(points.pointChainage[k], chainage) << k;
    ASSERT_EQ(points.pointOffset[k], offset) << k;
    ++compared;
  }
  EXPECT_GT(compared, n * 9 / 10);
}

TEST_P(BuiltAlignmentTest, ResultsDoNotDependOnWhereTheWalkStands) {
  std::mt19937 random(11);
  std::uniform_real_distribution<double> chainages(-50, 450);
  std::vector<double> cs;
  for (int k = 0; k < 300; ++k) cs.push_back(chainages(random));
  for (double m : built.mainChainages) {
    for (double d : {-0.0006, -0.0005, -0.0004, 0.0, 0.0004, 0.0005, 0.0006}) cs.push_back(m + d);
  }
  for (double c : cs) {
    Alignment fresh;
    fresh.initialise(platform);
    fresh.setRecords(platform, built.records());
    double x1, y1, a1, x2, y2, a2;
    pointAtChainage(fresh, c, x1, y1, a1);
    pointAtChainage(alignment, c, x2, y2, a2);  // the walk stands where the last call left it
    EXPECT_EQ(x1, x2) << c;
    EXPECT_EQ(y1, y2) << c;
    EXPECT_EQ(a1, a2) << c;
  }
}

INSTANTIATE_TEST_SUITE_P(BothTurns, BuiltAlignmentTest, ::testing::Values(1.0, -1.0));

class SmallAlignmentTest : public ::testing::Test {
 protected:
  void load(const std::vector<AlignmentRecord>& records) {
    alignment.initialise(platform);
    ASSERT_TRUE(alignment.setRecords(platform, records));
  }
  testing::ScriptedPlatform platform;
  Alignment alignment;
};

TEST_F(SmallAlignmentTest, TheFirstElementReachesHalfAMillimetreBeforeItsStart) {
  // A very tight arc first, so that the arc and the straight differ visibly at 0.4 mm.
  load({{100, 0, 0, 0, 0.0003, 0}, {100.5, 1, 1, 1, 0, 0}});
  double x, y, a;
  pointAtChainage(alignment, 100 - 0.0004, x, y, a);
  const double h = -0.0004 / (2 * 0.0003);
  EXPECT_NEAR(a, 2 * h, 1e-9);
  EXPECT_NEAR(x, 2 * 0.0003 * std::sin(h) * std::sin(h), 1e-9);
  pointAtChainage(alignment, 100 - 0.0006, x, y, a);
  EXPECT_EQ(a, 0);
  EXPECT_NEAR(x, 0, 1e-15);
  EXPECT_NEAR(y, -0.0006, 1e-12);
}

TEST_F(SmallAlignmentTest, TinyRadiiWithoutParameterAreStraights) {
  load({{0, 10, 20, 0.5, 0.0002, 0}, {50, 0, 0, 0, 0, 0}});
  double x, y, a;
  pointAtChainage(alignment, 30, x, y, a);
  EXPECT_NEAR(x, 10 + 30 * std::sin(0.5), 1e-9);
  EXPECT_NEAR(y, 20 + 30 * std::cos(0.5), 1e-9);
  EXPECT_EQ(a, 0.5);
}

TEST_F(SmallAlignmentTest, ClothoidFromZeroCurvatureStartsAtItsMainPoint) {
  // Radius 0 turns right, radius -0.0001 left; both start at zero curvature.
  for (double r : {0.0, -0.0001}) {
    load({{0, 100, 200, 0, r, 60}, {40, 0, 0, 0, 0, 0}});
    double x, y, a;
    pointAtChainage(alignment, 0, x, y, a);
    EXPECT_EQ(x, 100);
    EXPECT_EQ(y, 200);
    EXPECT_EQ(a, 0);
    pointAtChainage(alignment, 36, x, y, a);
    const double tau = 36.0 * 36.0 / (2 * 60 * 60);
    EXPECT_NEAR(a, r < 0 ? -tau : tau, 1e-12);
    EXPECT_GT(r < 0 ? 100 - x : x - 100, 36 * tau / 3 * 0.99);
  }
}

TEST_F(SmallAlignmentTest, ProjectionAtTheEnds) {
  double c = 5, o = 7, fx = 1, fy = 2;
  alignment.initialise(platform);
  EXPECT_FALSE(projectOnAlignment(alignment, 0, 0, c, o, fx, fy));
  EXPECT_EQ(c, 5);
  EXPECT_EQ(o, 7);

  // A straight along +Y from chainage 100 to 200.
  load({{100, 0, 0, 0, 0, 0}, {200, 0, 100, 0, 0, 0}});
  // Beside the extended straight before the start: after the retries, below the first record.
  o = NO_VALUE_F;
  ASSERT_TRUE(projectOnAlignment(alignment, -3, -20, c, o, fx, fy));
  EXPECT_NEAR(c, 80, 0.001);
  EXPECT_NEAR(o, -3, 1e-9);  // left of the axis
  EXPECT_NEAR(fy, -20, 0.001);
}

TEST_F(SmallAlignmentTest, TheStartingGuessDecidesWhichLegAPointFallsOn) {
  // A U: north along X = 0 to chainage 100, a right half circle of radius 50 about (50, 100),
  // south along X = 100. The point (50, 50) lies 50 to the right of both straights.
  const double arcEnd = 100 + 50 * M_PI;
  load({{0, 0, 0, 0, 0, 0},
        {100, 0, 100, 0, 50, 0},
        {arcEnd, 100, 100, M_PI, 0, 0},
        {arcEnd + 100, 100, 0, M_PI, 0, 0}});
  struct Case {
    double guess, offsetIn, chainage, footX;
  };
  const Case cases[] = {
      {10, 0, 50, 0},              // from the first straight to its own foot
      {250, 0, arcEnd + 50, 100},  // from the end of the arc on to the second straight
      {330, 1, arcEnd + 50, 100},  // any offset other than -99999999 keeps the guess
      {250, NO_VALUE_F, 50, 0},    // no guess: the walk starts at the first record
  };
  for (const Case& k : cases) {
    double c = k.guess, o = k.offsetIn, fx = -1, fy = -1;
    ASSERT_TRUE(projectOnAlignment(alignment, 50, 50, c, o, fx, fy)) << k.guess;
    EXPECT_NEAR(c, k.chainage, 0.001) << k.guess << " " << k.offsetIn;
    EXPECT_NEAR(o, 50, 1e-6) << k.guess << " " << k.offsetIn;
    EXPECT_NEAR(fx, k.footX, 1e-9) << k.guess << " " << k.offsetIn;
    EXPECT_NEAR(fy, 50, 0.001) << k.guess << " " << k.offsetIn;
  }
}

TEST(OffsetPoint, LiesToTheRightAcrossTheAzimuth) {
  double x, y;
  offsetPoint(10, 20, 0, 5, x, y);  // heading north: right is east
  EXPECT_NEAR(x, 15, 1e-12);
  EXPECT_NEAR(y, 20, 1e-12);
  offsetPoint(10, 20, M_PI / 2, 5, x, y);  // heading east: right is south
  EXPECT_NEAR(x, 10, 1e-12);
  EXPECT_NEAR(y, 15, 1e-12);
}

}  // namespace
}  // namespace merilon
