// Speed of the point tools on a million points: the nearest point to a click (a hit and a miss)
// and the search by symbol (a match near the end and none) and by height. Each answers one click.
#include <benchmark/benchmark.h>

#include <cmath>
#include <random>

#include "bench_support.h"
#include "drawing/point_search.h"
#include "shell/program.h"

namespace {

using namespace merilon;
using merilon::bench::BenchProgram;

constexpr int kPoints = 1000000;

// A million points over 10 km by 10 km, rounded as the import rounds them, named P00001...
PointStore& millionPoints() {
  static BenchProgram b;
  static const bool filled = [] {
    std::mt19937_64 rng(11);
    std::uniform_real_distribution<double> east(5600000, 5610000), north(7450000, 7460000);
    std::uniform_real_distribution<double> height(100, 200);
    PointStore& points = b.program->points;
    points.expectPoints(kPoints);
    for (int i = 1; i <= kPoints; ++i) {
      points.reservePoint();
      points.setPoint(i, std::nearbyint(east(rng) * 100) / 100,
                      std::nearbyint(north(rng) * 100) / 100,
                      std::nearbyint(height(rng) * 1000) / 1000,
                      PointName::fromText(defaultPointName(i)), 0);
    }
    return true;
  }();
  (void)filled;
  return b.program->points;
}

void BM_NearestPointHit(benchmark::State& state) {
  const PointStore& points = millionPoints();
  const double x = points.pointX[777777] + 0.5, y = points.pointY[777777];
  for (auto _ : state) benchmark::DoNotOptimize(nearestPoint(points, x, y, 2.0));
}
BENCHMARK(BM_NearestPointHit)->Unit(benchmark::kMillisecond);

void BM_NearestPointMiss(benchmark::State& state) {
  const PointStore& points = millionPoints();
  for (auto _ : state) benchmark::DoNotOptimize(nearestPoint(points, 0, 0, 2.0));
}
BENCHMARK(BM_NearestPointMiss)->Unit(benchmark::kMillisecond);

void BM_SearchBySymbolNearTheEnd(benchmark::State& state) {
  const PointStore& points = millionPoints();
  const PointName needle = PointName::fromText("P999990");
  for (auto _ : state) benchmark::DoNotOptimize(findBySymbol(points, needle.raw(), 1));
}
BENCHMARK(BM_SearchBySymbolNearTheEnd)->Unit(benchmark::kMillisecond);

void BM_SearchBySymbolNone(benchmark::State& state) {
  const PointStore& points = millionPoints();
  const PointName needle = PointName::fromText("Q1");
  for (auto _ : state) benchmark::DoNotOptimize(findBySymbol(points, needle.raw(), 1));
}
BENCHMARK(BM_SearchBySymbolNone)->Unit(benchmark::kMillisecond);

void BM_SearchByHeightNone(benchmark::State& state) {
  const PointStore& points = millionPoints();
  for (auto _ : state) benchmark::DoNotOptimize(findByHeight(points, 50.0, 0.01, 1));
}
BENCHMARK(BM_SearchByHeightNone)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
