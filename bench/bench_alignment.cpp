// The alignment geometry alone: point at chainage walking along the axis (the walk cache's
// case), at random chainages, and single projections from the start of the alignment.
#include <benchmark/benchmark.h>

#include <cmath>
#include <random>

#include "alignment/alignment_geometry.h"
#include "bench_support.h"

namespace {

using namespace merilon;
using merilon::bench::buildTestAxis;
using merilon::bench::QuietPlatform;

// 60 elements over 10 km: straight, entry clothoid, arc, exit clothoid, turning right and left.
struct Axis {
  QuietPlatform platform;
  Alignment alignment;
  Axis() {
    alignment.initialise(platform);
    buildTestAxis(platform, alignment);
  }
};

Axis& axis() {
  static Axis a;
  return a;
}

void BM_PointAtChainageAlongTheAxis(benchmark::State& state) {
  Alignment& al = axis().alignment;
  double c = 0, x, y, a;
  for (auto _ : state) {
    pointAtChainage(al, c, x, y, a);
    benchmark::DoNotOptimize(x + y + a);
    c += 0.25;
    if (c > 10000) c = 0;
  }
}
BENCHMARK(BM_PointAtChainageAlongTheAxis);

void BM_PointAtChainageRandom(benchmark::State& state) {
  Alignment& al = axis().alignment;
  std::mt19937 random(1);
  std::uniform_real_distribution<double> chainage(0, 10000);
  std::vector<double> cs(4096);
  for (double& c : cs) c = chainage(random);
  std::size_t k = 0;
  double x, y, a;
  for (auto _ : state) {
    pointAtChainage(al, cs[k++ & 4095], x, y, a);
    benchmark::DoNotOptimize(x + y + a);
  }
}
BENCHMARK(BM_PointAtChainageRandom);

// One projection as the cross-section run makes it: from the start chainage, walk not reset.
void BM_ProjectFromStart(benchmark::State& state) {
  Alignment& al = axis().alignment;
  std::mt19937 random(2);
  std::uniform_real_distribution<double> chainage(0, 10000), offset(-50, 50);
  std::vector<std::pair<double, double>> pts(4096);
  for (auto& p : pts) {
    double x, y, a;
    pointAtChainage(al, chainage(random), x, y, a);
    offsetPoint(x, y, a, offset(random), p.first, p.second);
  }
  std::size_t k = 0;
  for (auto _ : state) {
    const auto& p = pts[k++ & 4095];
    double c = 0, o = 0, fx, fy;
    benchmark::DoNotOptimize(projectOnAlignment(al, p.first, p.second, c, o, fx, fy));
    benchmark::DoNotOptimize(c);
  }
}
BENCHMARK(BM_ProjectFromStart);

}  // namespace

BENCHMARK_MAIN();
