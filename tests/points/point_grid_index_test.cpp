#include "points/point_grid_index.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>
#include <random>

#include "points/point_store.h"
#include "support/scripted_platform.h"

namespace merilon {
namespace {

struct GridFixture : ::testing::Test {
  testing::ScriptedPlatform platform;
  PointStore store{platform};
  PointGridIndex grid;
  void SetUp() override { ASSERT_TRUE(store.initialise()); }
  void add(double x, double y) {
    ASSERT_TRUE(store.reservePoint());
    store.setPoint(store.pointCount(), x, y, 0, PointName::fromText(""), 1);
  }
  std::vector<int> inBox(const WorldBox& b) {
    std::vector<int> r;
    for (int i = 1; i <= store.pointCount(); ++i) {
      const double x = store.pointX[static_cast<std::size_t>(i)];
      const double y = store.pointY[static_cast<std::size_t>(i)];
      if (x >= b.minX && x <= b.maxX && y >= b.minY && y <= b.maxY) r.push_back(i);
    }
    return r;
  }
  // The grid's answer holds every point of the box, in increasing index order; the points of
  // the whole store when the grid answers that walking all is cheaper.
  std::vector<int> near(const WorldBox& b) {
    std::vector<int> r;
    if (!grid.pointsNear(store, b, r)) {
      r.clear();
      for (int i = 1; i <= store.pointCount(); ++i) r.push_back(i);
    }
    EXPECT_TRUE(std::is_sorted(r.begin(), r.end()));
    EXPECT_EQ(std::adjacent_find(r.begin(), r.end()), r.end());
    return r;
  }
  void expectCovers(const WorldBox& b) {
    const std::vector<int> got = near(b), want = inBox(b);
    EXPECT_TRUE(std::includes(got.begin(), got.end(), want.begin(), want.end()))
        << b.minX << " " << b.minY << " " << b.maxX << " " << b.maxY;
  }
};

TEST_F(GridFixture, EveryPointOfABoxIsFoundInIndexOrderWhateverTheSpread) {
  const double huge = 1e300, inf = std::numeric_limits<double>::infinity();
  const struct {
    const char* spread;
    std::function<void(std::mt19937&, GridFixture&)> fill;
  } cases[] = {
      {"survey",
       [](std::mt19937& r, GridFixture& f) {
         std::uniform_real_distribution<double> x(500000, 501000), y(5600000, 5600600);
         for (int k = 0; k < 5000; ++k) f.add(std::round(x(r) * 100) / 100, y(r));
       }},
      {"one column",
       [](std::mt19937& r, GridFixture& f) {
         std::uniform_real_distribution<double> y(0, 100);
         for (int k = 0; k < 800; ++k) f.add(7, y(r));
       }},
      {"one row",
       [](std::mt19937& r, GridFixture& f) {
         std::uniform_real_distribution<double> x(0, 100);
         for (int k = 0; k < 800; ++k) f.add(x(r), -3);
       }},
      {"one place",
       [](std::mt19937&, GridFixture& f) {
         for (int k = 0; k < 300; ++k) f.add(10, 10);
       }},
      {"extent beyond a double",
       [&](std::mt19937& r, GridFixture& f) {
         std::uniform_real_distribution<double> x(0, 100);
         for (int k = 0; k < 500; ++k) f.add(x(r), x(r));
         f.add(-huge * 1.7, 5);
         f.add(huge * 1.7, -huge);
       }},
      {"not finite",
       [&](std::mt19937& r, GridFixture& f) {
         std::uniform_real_distribution<double> x(0, 100);
         for (int k = 0; k < 500; ++k) f.add(x(r), x(r));
         f.add(std::nan(""), 5);
         f.add(5, inf);
       }},
      {"empty", [](std::mt19937&, GridFixture&) {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.spread);
    store.clearPoints();
    std::mt19937 random(3);
    c.fill(random, *this);
    std::uniform_real_distribution<double> corner(-20, 120), size(0, 60);
    for (int k = 0; k < 200; ++k) {
      const double x = corner(random), y = corner(random);
      expectCovers({x, y, x + size(random), y + size(random)});
      const double sx = 500000 + 10 * corner(random), sy = 5600000 + 5 * corner(random);
      expectCovers({sx, sy, sx + size(random), sy + size(random)});
    }
    expectCovers({10, 10, 10, 10});
    expectCovers({7, -3, 7, -3});
    expectCovers({-huge * 2, -huge * 2, huge * 2, huge * 2});
    expectCovers({-inf, -inf, inf, inf});
  }
}

TEST_F(GridFixture, ASmallBoxVisitsFewPointsAndTheBoundaryCounts) {
  for (int i = 0; i < 200; ++i) {
    for (int j = 0; j < 100; ++j) add(i, j);
  }
  std::vector<int> r;
  // 2 x 2 metres of 200 x 100: the cells round it, a tiny part of the 20,000.
  ASSERT_TRUE(grid.pointsNear(store, {50, 50, 52, 52}, r));
  EXPECT_LT(r.size(), 200u);
  expectCovers({50, 50, 52, 52});
  expectCovers({199, 99, 199, 99});
  expectCovers({0, 0, 0, 0});
  // Boxes beside the extent touch only its edge cells or nothing.
  ASSERT_TRUE(grid.pointsNear(store, {-50, -50, -1, -1}, r));
  EXPECT_TRUE(r.empty());
  ASSERT_TRUE(grid.pointsNear(store, {300, 300, 400, 400}, r));
  EXPECT_LT(r.size(), 200u);
  EXPECT_FALSE(grid.pointsNear(store, {-1, -1, 200, 100}, r)) << "the whole extent";
  EXPECT_FALSE(grid.pointsNear(store, {std::nan(""), 0, 1, 1}, r));
}

TEST_F(GridFixture, EveryChangeThroughTheStoreIsNoticed) {
  for (int i = 0; i < 100; ++i) add(i, i);
  const WorldBox corner{1000, 1000, 1001, 1001};
  std::vector<int> r;
  ASSERT_TRUE(grid.pointsNear(store, corner, r));
  const struct {
    const char* change;
    std::function<void(PointStore&)> apply;
    std::vector<int> expected;  // points in the box afterwards
  } changes[] = {
      {"a point set again", [](PointStore& s) { s.setPoint(5, 1000.5, 1000.5, 0, {}, 1); }, {5}},
      {"coordinates written and announced",
       [](PointStore& s) {
         s.pointX[7] = 1000.25;
         s.pointY[7] = 1000.75;
         s.coordinatesChanged();
       },
       {5, 7}},
      {"a point added",
       [](PointStore& s) {
         ASSERT_TRUE(s.reservePoint());
         s.setPoint(s.pointCount(), 1001, 1001, 0, {}, 1);
       },
       {5, 7, 101}},
      {"the store emptied and filled again",
       [](PointStore& s) {
         s.clearPoints();
         for (int i = 1; i <= 41; ++i) {
           ASSERT_TRUE(s.reservePoint());
           const double at = i == 41 ? 1000.5 : i * 10;
           s.setPoint(i, at, at, 0, {}, 1);
         }
       },
       {41}},
  };
  for (const auto& c : changes) {
    SCOPED_TRACE(c.change);
    c.apply(store);
    ASSERT_TRUE(grid.pointsNear(store, corner, r));
    const std::vector<int> inside = inBox(corner);
    std::erase_if(r, [&](int i) { return std::ranges::find(inside, i) == inside.end(); });
    EXPECT_EQ(r, c.expected);
    EXPECT_EQ(inside, c.expected);
  }
}

}  // namespace
}  // namespace merilon
