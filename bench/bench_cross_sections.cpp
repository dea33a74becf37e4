// Cross-section generation on a large survey: 1,000,000 points scattered within 50 m either side
// of a 10 km alignment of 60 elements (straights, clothoids, arcs), in random order.
#include <benchmark/benchmark.h>

#include <random>

#include "alignment/alignment_geometry.h"
#include "alignment/cross_sections.h"
#include "bench_support.h"

namespace {

using namespace merilon;
using merilon::bench::buildTestAxis;
using merilon::bench::QuietPlatform;

struct Survey {
  QuietPlatform platform;
  PointStore points{platform};
  Alignment alignment;
  CrossSectionParams params;
  Survey() {
    alignment.initialise(platform);
    buildTestAxis(platform, alignment);
    points.initialise();
    std::mt19937 random(42);
    std::uniform_real_distribution<double> chainage(0, 10000), offset(-50, 50), z(90, 110);
    std::uniform_int_distribution<int> code(0, 49);
    const char* names[] = {"S", "NA", "HA", "NB", "HB"};
    for (int k = 0; k < 1000000; ++k) {
      double x, y, a, px, py;
      const double c = chainage(random), o = offset(random);
      pointAtChainage(alignment, c, x, y, a);
      offsetPoint(x, y, a, o, px, py);
      points.reservePoint();
      const int n = code(random);
      points.setPoint(points.pointCount(), px, py, z(random),
                      PointName::fromText(n < 5 ? names[n] : "P"), 0);
    }
    params.startChainage = 0;
    params.endChainage = 10000;
  }
};

Survey& survey() {
  static Survey s;
  return s;
}

void BM_ProjectAllPoints(benchmark::State& state) {
  Survey& s = survey();
  for (auto _ : state) {
    benchmark::DoNotOptimize(projectAllPoints(s.points, s.alignment, s.params));
  }
  state.SetItemsProcessed(state.iterations() * s.points.pointCount());
}
BENCHMARK(BM_ProjectAllPoints)->Unit(benchmark::kMillisecond)->Iterations(2);

// The sort and the windows after the projection, with the default dialog values: about 400
// points fall in each 4 m window, so most windows overflow and the run stops at 2000 sections.
void BM_BuildCrossSections(benchmark::State& state) {
  Survey& s = survey();
  projectAllPoints(s.points, s.alignment, s.params);
  const auto flags = s.points.pointUseFlag;
  CrossSectionParams params = s.params;
  params.sectionRange = static_cast<double>(state.range(0));
  std::size_t messages = 0;
  CrossSectionReport report;
  report.log = [&messages](const std::string&) { ++messages; };
  std::vector<std::string> text;
  for (auto _ : state) {
    state.PauseTiming();
    s.points.pointUseFlag = flags;
    text = {"\"&IBMVORDPOW\",\"\"", "PUSTA DO WPISANIA"};
    state.ResumeTiming();
    buildCrossSections(s.points, params, text, report);
    benchmark::DoNotOptimize(text.data());
  }
  state.counters["lines"] = static_cast<double>(text.size());
  state.counters["messages"] =
      static_cast<double>(messages) / static_cast<double>(state.iterations());
}
BENCHMARK(BM_BuildCrossSections)->Arg(4)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

BENCHMARK_MAIN();
