#include "points/point_store.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>

#include "support/scripted_platform.h"

namespace merilon {
namespace {

using testing::ScriptedPlatform;

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

// The grid must give exactly what the documented walk over the whole store gives.
TEST_F(StoreFixture, GridAgreesWithALinearWalk) {
  std::mt19937 rng(42);
  std::uniform_int_distribution<int> cm(0, 400);
  std::uniform_int_distribution<int> h(0, 3);
  auto walk = [&](double x, double y) {
    for (int i = 1; i <= store.pointCount(); ++i) {
      if (std::fabs(x - store.pointX[i]) < 0.01 && std::fabs(y - store.pointY[i]) < 0.01) return i;
    }
    return 0;
  };
  int rejected = 0, logged = 0;
  for (int n = 0; n < 20000; ++n) {
    // Coordinates on a centimetre grid of a real survey's magnitude, so near misses abound.
    const double x = std::nearbyint((5602000.0 + cm(rng) * 0.01) * 100) / 100;
    const double y = std::nearbyint((7452000.0 + cm(rng) * 0.01) * 100) / 100;
    const double z = h(rng) * 0.005;
    const int expected = walk(x, y);
    const std::size_t before = log.size();
    const NewPointCheck r = check(x, y, z);
    if (expected == 0) {
      ASSERT_TRUE(r.accept);
    } else if (std::fabs(z - store.pointZ[expected]) < 0.01) {
      ASSERT_FALSE(r.accept);
      ASSERT_EQ(r.index, expected);
      ++rejected;
    } else {
      ASSERT_TRUE(r.accept);
      ASSERT_EQ(log.size(), before + 1);
      ASSERT_NE(log.back().find("punkt nr " + std::to_string(expected) + " "), std::string::npos);
      ++logged;
    }
    if (r.accept) add(x, y, z);
    // Now and then the store changes other than by appending, which rebuilds the grid.
    if (n == 7000) {
      store.pointX[1] += 0.5;
      store.coordinatesChanged();
    }
  }
  EXPECT_GT(rejected, 100);
  EXPECT_GT(logged, 100);
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
