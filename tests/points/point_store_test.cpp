#include "points/point_store.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <random>

#include "platform/number_text.h"
#include "points/coordinate_match.h"
#include "points/duplicate_index.h"
#include "points/numeric_helpers.h"
#include "support/scripted_platform.h"

namespace merilon {
namespace {

using testing::ScriptedPlatform;

// Two digits of a centimetre count, "07" for 7.
std::string centiDigits(long long cm) {
  cm = std::llabs(cm);
  return std::string(1, static_cast<char>('0' + cm / 10)) + static_cast<char>('0' + cm % 10);
}

struct StoreFixture : ::testing::Test {
  ScriptedPlatform platform;
  PointStore store{platform};
  std::vector<std::string> log;
  void SetUp() override { ASSERT_TRUE(store.initialise()); }
  int add(double x, double y, double z, const std::string& name = "") {
    EXPECT_TRUE(store.reservePoint());
    const int i = store.pointCount();
    store.setPoint(i, x, y, z, PointName::fromText(name), 0);
    return i;
  }
  NewPointCheck check(double x, double y, double z) {
    return store.checkNewPoint(99, x, y, z, "line",
                               [&](const std::string& s) { log.push_back(s); });
  }
};

TEST_F(StoreFixture, GrowsAtThe6000thPointAndKeepsEarlierPoints) {
  EXPECT_EQ(store.pointCapacity(), 6000);
  for (int i = 1; i <= 5999; ++i) add(i, i * 2.0, 1);
  EXPECT_EQ(store.pointCapacity(), 6000);
  add(6000, 12000, 1);
  EXPECT_EQ(store.pointCapacity(), 11000);
  EXPECT_EQ(store.pointX[1], 1);
  EXPECT_EQ(store.pointY[5999], 11998);
  EXPECT_EQ(store.pointX[6000], 6000);
  EXPECT_EQ(store.pointOrder.size(), 11000u);
  EXPECT_EQ(store.pointAxisFlag.size(), 11000u);
}

TEST_F(StoreFixture, FailedGrowthChangesNothingAndSaysSo) {
  store.capacityLimitForTesting = 6000;
  for (int i = 1; i <= 5999; ++i) add(i, 0, 0);
  EXPECT_FALSE(store.reservePoint());
  EXPECT_EQ(store.pointCount(), 5999);
  EXPECT_EQ(store.pointCapacity(), 6000);
  EXPECT_EQ(store.pointX.size(), 6000u);
  ASSERT_EQ(platform.messages.size(), 1u);
  EXPECT_EQ(platform.messages[0].title, "Błąd, alokacji pamięci");
  EXPECT_EQ(platform.messages[0].text, "Brak pamięci dla obliczeń punktów11000");
  EXPECT_EQ(platform.messages[0].icon, MessageIcon::Error);
}

TEST(PointNames, DefaultNamesAndTheSixteenCharacterLimit) {
  EXPECT_EQ(defaultPointName(7), "P00007");
  EXPECT_EQ(defaultPointName(12345), "P12345");
  EXPECT_EQ(defaultPointName(100000), "P100000");
  EXPECT_EQ(PointName::fromText("ABCDEFGHIJKLMNOPQRST").text(), "ABCDEFGHIJKLMNOP");
  // Sixteen characters, not sixteen UTF-8 bytes.
  EXPECT_EQ(PointName::fromText("ŁĄKAŁĄKAŁĄKAŁĄKAŁĄKA").text(), "ŁĄKAŁĄKAŁĄKAŁĄKA");
}

TEST_F(StoreFixture, DuplicateTestFollowsTheFirstPointWithinTolerance) {
  add(1, 1, 1);
  add(5, 5, 5);
  add(100.00, 200.00, 50.004);
  // Same X, Y and a height within 0.01: rejected, naming point 3.
  NewPointCheck r = check(100.00, 200.00, 50.000);
  EXPECT_FALSE(r.accept);
  EXPECT_EQ(r.index, 3);
  EXPECT_TRUE(log.empty());
  // Another height: accepted with one log line naming point 3.
  r = check(100.00, 200.00, 51.000);
  EXPECT_TRUE(r.accept);
  EXPECT_EQ(r.index, 4);
  ASSERT_EQ(log.size(), 1u);
  EXPECT_EQ(log[0],
            "* Dwa punkty z rekordu: 99 i punkt nr 3 o takich samych współrzędnych X i Y i różnym "
            "Z: line i 50.004");
  // Exactly 0.01 apart in X is no match.
  EXPECT_TRUE(check(100.01, 200.00, 50.004).accept);
  EXPECT_TRUE(check(99.99, 200.00, 50.004).accept);
  EXPECT_EQ(log.size(), 1u);
}

TEST_F(StoreFixture, DuplicateWalkStopsAtTheLowestIndex) {
  add(0, 0, 0);
  add(10, 10, 7);  // point 2: same X, Y, another height
  add(3, 3, 3);
  add(4, 4, 4);
  add(10, 10, 5);  // point 5: same X, Y and height as the new record
  const NewPointCheck r = check(10, 10, 5);
  EXPECT_TRUE(r.accept);
  ASSERT_EQ(log.size(), 1u);
  EXPECT_NE(log[0].find("i punkt nr 2 "), std::string::npos);
}

// The documented walk on exact decimals: X, Y in whole centimetres, Z in whole millimetres.
struct ExactPoint {
  long long x, y, z;
};
int exactWalk(const std::vector<ExactPoint>& pts, const ExactPoint& p) {
  for (std::size_t i = 0; i < pts.size(); ++i) {
    if (std::llabs(p.x - pts[i].x) < 1 && std::llabs(p.y - pts[i].y) < 1)
      return static_cast<int>(i) + 1;
  }
  return 0;
}

// Feeds the points to the store's test as the import does and compares each outcome with the
// exact walk; returns how many were rejected and how many logged.
std::pair<int, int> compareWithExactWalk(StoreFixture& f, const std::vector<ExactPoint>& input,
                                         const std::function<void(int)>& meddle = {}) {
  std::vector<ExactPoint> kept;
  int rejected = 0, logged = 0;
  for (std::size_t n = 0; n < input.size(); ++n) {
    const ExactPoint& p = input[n];
    // The rounded values exactly as the import makes them from the record's text.
    const double x = round2(parseFloatText(formatInt(p.x / 100) + "." + centiDigits(p.x % 100)));
    const double y = round2(parseFloatText(formatInt(p.y / 100) + "." + centiDigits(p.y % 100)));
    const double z = round3(static_cast<double>(p.z) / 1000);
    const int expected = exactWalk(kept, p);
    const std::size_t before = f.log.size();
    const NewPointCheck r = f.check(x, y, z);
    if (expected == 0) {
      EXPECT_TRUE(r.accept) << n;
    } else if (std::llabs(p.z - kept[static_cast<std::size_t>(expected) - 1].z) < 10) {
      EXPECT_FALSE(r.accept) << n;
      EXPECT_EQ(r.index, expected) << n;
      ++rejected;
    } else {
      EXPECT_TRUE(r.accept) << n;
      EXPECT_EQ(f.log.size(), before + 1) << n;
      if (f.log.size() > before) {
        EXPECT_NE(f.log.back().find("punkt nr " + std::to_string(expected) + " "),
                  std::string::npos);
      }
      ++logged;
    }
    if (r.accept != (expected == 0 || f.log.size() > before)) return {-1, -1};
    if (r.accept) {
      f.add(x, y, z);
      kept.push_back(p);
    }
    if (meddle) meddle(static_cast<int>(n));
  }
  return {rejected, logged};
}

// The grid must give exactly what the documented walk over the whole store gives.
TEST_F(StoreFixture, GridAgreesWithTheExactWalk) {
  std::mt19937 rng(42);
  std::uniform_int_distribution<int> cm(0, 400);
  std::uniform_int_distribution<int> h(0, 3);
  std::vector<ExactPoint> input;
  // Coordinates on a centimetre grid of a real survey's magnitude, so near misses abound.
  for (int n = 0; n < 20000; ++n) {
    input.push_back({560200000 + cm(rng), 745200000 + cm(rng), h(rng) * 5});
  }
  const auto [rejected, logged] = compareWithExactWalk(*this, input);
  EXPECT_GT(rejected, 100);
  EXPECT_GT(logged, 100);
}

TEST_F(StoreFixture, GridIsRebuiltAfterEditsOfTheStore) {
  add(10, 10, 1);
  add(20, 20, 1);
  EXPECT_FALSE(check(10, 10, 1).accept);
  store.pointX[1] = 30;
  store.coordinatesChanged();
  EXPECT_TRUE(check(10, 10, 1).accept);
  EXPECT_FALSE(check(30, 10, 1).accept);
}

// Pairs exactly 0.01 apart in X, Y or Z (and 0.009 apart in Z) at survey coordinates, where the
// binary differences of the rounded values are 0.0099999… or 0.0100000…
TEST_F(StoreFixture, PairsOneCentimetreApartFollowTheExactWalk) {
  std::mt19937_64 rng(2026);
  std::uniform_int_distribution<long long> east(560000000, 561000000), north(745000000, 746000000);
  std::uniform_int_distribution<int> height(100000, 200000), kind(0, 6);
  std::vector<ExactPoint> input;
  for (int n = 0; n < 3000; ++n) {
    const ExactPoint p{east(rng), north(rng), height(rng)};
    input.push_back(p);
    switch (kind(rng)) {
      case 0:
        input.push_back({p.x + 1, p.y, p.z});
        break;
      case 1:
        input.push_back({p.x - 1, p.y, p.z});
        break;
      case 2:
        input.push_back({p.x, p.y + 1, p.z});
        break;
      case 3:
        input.push_back({p.x, p.y - 1, p.z});
        break;
      case 4:
        input.push_back({p.x, p.y, p.z + 10});
        break;  // another height: a log line
      case 5:
        input.push_back({p.x, p.y, p.z - 9});
        break;  // within 0.01: a duplicate
      default:
        input.push_back({p.x, p.y, p.z - 10});
        break;
    }
  }
  const auto [rejected, logged] = compareWithExactWalk(*this, input);
  EXPECT_GT(rejected, 300);
  EXPECT_GT(logged, 600);
  EXPECT_EQ(store.pointCount(), static_cast<int>(input.size()) - rejected);
}

// Points off the centimetre grid (read from a point file unrounded) are compared exactly too.
TEST_F(StoreFixture, UnroundedStoredPointsAreComparedExactly) {
  add(100.004, 200, 50);
  add(7450000.1234, 5600000, 50);
  EXPECT_FALSE(check(100.01, 200, 50).accept);  // 0.006 apart
  EXPECT_TRUE(check(100.02, 200, 50).accept);   // 0.016 apart
  EXPECT_FALSE(check(7450000.13, 5600000, 50).accept);
  EXPECT_FALSE(check(7450000.12, 5600000, 50).accept);
  EXPECT_TRUE(check(7450000.14, 5600000, 50).accept);
  EXPECT_TRUE(check(7450000.11, 5600000, 50).accept);
  // Beyond the grid's reach: equal values still match.
  add(1e300, 1e300, 1);
  EXPECT_FALSE(check(1e300, 1e300, 1).accept);
}

// Points on the centimetre grid, off it, and beyond 32-bit centimetre units mixed in one index:
// each query gives the lowest index a walk over every point with sameXY gives, whichever of the
// index's tables holds it.
TEST(DuplicateIndexTables, MixedPointsGiveTheLowestMatchOfTheWalk) {
  std::mt19937_64 rng(7);
  std::uniform_int_distribution<int> cm(0, 30), kind(0, 3);
  std::uniform_real_distribution<double> off(-0.015, 0.015);
  auto value = [&](double base) {
    const double v = base + cm(rng) / 100.0;
    switch (kind(rng)) {
      case 0:
        return v + off(rng);  // unrounded, as an old point file may hold
      case 1:
        return v + 3e7;  // beyond 32-bit units of a centimetre
      default:
        return round2(v);
    }
  };
  std::vector<double> xs = {0}, ys = {0};
  DuplicateIndex index;
  index.rebuild(xs.data(), ys.data(), 0);
  for (int n = 1; n <= 4000; ++n) {
    const double x = value(7450000), y = value(5600000);
    int walk = 0;
    for (int i = 1; i < n && walk == 0; ++i) {
      if (sameXY(x, y, xs[static_cast<std::size_t>(i)], ys[static_cast<std::size_t>(i)])) walk = i;
    }
    ASSERT_EQ(index.findFirstNear(x, y, xs.data(), ys.data()), walk) << n << " " << x << " " << y;
    xs.push_back(x);
    ys.push_back(y);
    index.add(n, x, y);
  }
}

TEST_F(StoreFixture, ExtentsAndOrderSort) {
  store.computePointExtents();
  EXPECT_EQ(store.extents.minX, 99999999);
  EXPECT_EQ(store.extents.maxZ, -99999999);
  add(5, -3, 7);
  add(-1, 4, -99999999);
  store.computePointExtents();
  EXPECT_EQ(store.extents.minX, -1);
  EXPECT_EQ(store.extents.maxX, 5);
  EXPECT_EQ(store.extents.minY, -3);
  EXPECT_EQ(store.extents.minZ, -99999999);
  EXPECT_EQ(store.extents.maxZ, 7);

  std::mt19937 rng(7);
  const int n = 2000;
  for (int k = 1; k <= n; ++k) {
    store.pointOrder[k] = k;
    store.pointChainage[k] = static_cast<double>(rng() % 50);  // many equal keys
  }
  store.sortPointOrder(1, n);
  std::vector<int> seen;
  for (int k = 1; k <= n; ++k) {
    seen.push_back(store.pointOrder[k]);
    if (k > 1) {
      ASSERT_LE(store.pointChainage[store.pointOrder[k - 1]],
                store.pointChainage[store.pointOrder[k]]);
    }
  }
  std::sort(seen.begin(), seen.end());
  for (int k = 1; k <= n; ++k) ASSERT_EQ(seen[k - 1], k);
  // All keys equal: still a permutation.
  for (int k = 1; k <= 10; ++k) {
    store.pointOrder[k] = k;
    store.pointChainage[k] = 1;
  }
  store.sortPointOrder(1, 10);
  std::vector<int> ten(store.pointOrder.begin() + 1, store.pointOrder.begin() + 11);
  std::sort(ten.begin(), ten.end());
  for (int k = 1; k <= 10; ++k) EXPECT_EQ(ten[k - 1], k);
}

}  // namespace
}  // namespace merilon
