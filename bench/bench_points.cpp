// Speed of the text import, the point file and the memory of merilon-cli with a million points.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <random>
#include <string>

#include "bench_records.h"
#include "bench_support.h"
#include "platform/number_text.h"
#include "points/point_file.h"
#include "shell/program.h"

namespace {

using namespace merilon;
using merilon::bench::benchFolder;
using merilon::bench::BenchProgram;
using merilon::bench::QuietPlatform;
using merilon::bench::surveyRecords;

void BM_ImportMillionRecords(benchmark::State& state) {
  const auto records = surveyRecords(1000000);
  for (auto _ : state) {
    state.PauseTiming();
    BenchProgram b;
    b.program->main.PreviewMemo.setLines(records);
    state.ResumeTiming();
    b.program->main.Button2Click();
    state.counters["points"] = b.program->points.pointCount();
    state.PauseTiming();
    b.program.reset();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_ImportMillionRecords)->Unit(benchmark::kMillisecond)->Iterations(3);

void fillMillion(Program& program) {
  std::mt19937_64 rng(7);
  std::uniform_real_distribution<double> east(5600000, 5610000), north(7450000, 7460000);
  PointStore& points = program.points;
  for (int i = 1; i <= 1000000; ++i) {
    points.reservePoint();
    points.setPoint(i, std::nearbyint(east(rng) * 100) / 100,
                    std::nearbyint(north(rng) * 100) / 100, std::nearbyint(east(rng)) / 1000,
                    PointName::fromText(defaultPointName(i)), i % 5);
  }
}

const std::filesystem::path& millionFile() {
  static const std::filesystem::path file = [] {
    BenchProgram b;
    fillMillion(*b.program);
    b.platform.file = benchFolder() / "million.meri";
    std::filesystem::remove(b.platform.file);
    b.program->main.Button5Click();
    return b.platform.file;
  }();
  return file;
}

void BM_SaveMillionPoints(benchmark::State& state) {
  BenchProgram b;
  fillMillion(*b.program);
  b.platform.file = benchFolder() / "save.meri";
  for (auto _ : state) {
    b.program->main.Button5Click();
  }
  state.counters["bytes"] = static_cast<double>(std::filesystem::file_size(b.platform.file));
}
BENCHMARK(BM_SaveMillionPoints)->Unit(benchmark::kMillisecond)->Iterations(3);

// "Otwórz Punkty" in a program just started, as a surveyor opens a file: a program that opened
// the file before would find its arrays resident already.
void BM_OpenMillionPoints(benchmark::State& state) {
  const auto file = millionFile();
  for (auto _ : state) {
    state.PauseTiming();
    BenchProgram b;
    b.platform.file = file;
    state.ResumeTiming();
    b.program->main.Button3Click();
    state.counters["points"] = b.program->points.pointCount();
    state.PauseTiming();
    b.program.reset();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_OpenMillionPoints)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

BENCHMARK_MAIN();
