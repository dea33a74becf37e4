// Wall time and peak resident memory of whole merilon-cli processes on a million five-field
// survey records: the import to a point file, and the opening of that point file. The program
// itself stays small, so the child's peak is its own.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "bench_process.h"
#include "bench_records.h"

namespace {

using merilon::bench::Run;
using merilon::bench::runCli;

std::filesystem::path folder() {
  auto dir = std::filesystem::temp_directory_path() / "merilon-bench-cli";
  std::filesystem::create_directories(dir);
  return dir;
}

const std::filesystem::path& recordFile() {
  static const std::filesystem::path file = [] {
    const auto path = folder() / "million5.txt";
    if (!std::filesystem::exists(path)) merilon::bench::writeSurveyRecordFile(path, 1000000);
    return path;
  }();
  return file;
}

void report(benchmark::State& state, const Run& run) {
  if (!run.ok) {
    state.SkipWithError("merilon-cli failed");
    return;
  }
  state.SetIterationTime(run.seconds);
  state.counters["peak_rss_MB"] = run.peakMegabytes;
  state.counters["cpu_s"] = run.cpuSeconds;
}

void BM_CliImportMillionRecords(benchmark::State& state) {
  const auto& input = recordFile();
  const auto out = folder() / "million5.meri";
  Run run;
  for (auto _ : state) {
    run = runCli(folder(), {"import", input.string(), "-o", out.string(), "--force", "--symbol",
                            "4", "--type", "5"});
    report(state, run);
  }
  state.counters["input_MB"] = static_cast<double>(std::filesystem::file_size(input)) / 1e6;
}
BENCHMARK(BM_CliImportMillionRecords)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(3);

void BM_CliOpenMillionPoints(benchmark::State& state) {
  const auto points = folder() / "million5.meri";
  if (!std::filesystem::exists(points)) {
    runCli(folder(), {"import", recordFile().string(), "-o", points.string(), "--force", "--symbol",
                      "4", "--type", "5"});
  }
  for (auto _ : state) report(state, runCli(folder(), {"points", points.string()}));
}
BENCHMARK(BM_CliOpenMillionPoints)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(3);

}  // namespace

BENCHMARK_MAIN();
