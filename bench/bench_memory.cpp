// Peak resident memory of the whole merilon-cli process with a million points loaded. This
// program stays small itself: a child started from a large process would carry that process's
// memory into its own peak figure.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <cstdio>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "bench_process.h"
#include "platform/number_text.h"

namespace {

std::filesystem::path folder() {
  auto dir = std::filesystem::temp_directory_path() / "merilon-bench-memory";
  std::filesystem::create_directories(dir);
  return dir;
}

// Runs merilon-cli with its output thrown away; false when it did not succeed.
bool runCli(std::vector<std::string> args, rusage& usage) {
  const merilon::bench::Run run = merilon::bench::runCli(folder(), std::move(args));
  usage.ru_maxrss = static_cast<long>(run.peakMegabytes * 1024.0);
  return run.ok;
}

// A point file of a million points, made by merilon-cli itself from generated survey text.
std::filesystem::path millionPointFile() {
  const auto text = folder() / "million.txt";
  const auto points = folder() / "million.meri";
  if (std::filesystem::exists(points)) return points;
  std::FILE* f = std::fopen(text.c_str(), "wb");
  std::mt19937_64 rng(7);
  std::uniform_real_distribution<double> east(5600000, 5610000), north(7450000, 7460000),
      h(100, 200);
  for (int i = 1; i <= 1000000; ++i) {
    const std::string line =
        merilon::formatFixed(east(rng), 2) + "," + merilon::formatFixed(north(rng), 2) + "," +
        merilon::formatFixed(h(rng), 3) + ",PKT" + merilon::formatInt(i) + "\r\n";
    std::fwrite(line.data(), 1, line.size(), f);
  }
  std::fclose(f);
  rusage ignored{};
  if (!runCli({"import", text.string(), "-o", points.string(), "--force"}, ignored)) return {};
  return points;
}

void BM_CliMemoryMillionPoints(benchmark::State& state) {
  const auto file = millionPointFile();
  if (file.empty()) {
    state.SkipWithError("merilon-cli import failed");
    return;
  }
  rusage usage{};
  for (auto _ : state) {
    if (!runCli({"points", file.string()}, usage)) state.SkipWithError("merilon-cli points failed");
  }
  state.counters["peak_rss_MB"] = static_cast<double>(usage.ru_maxrss) / 1024.0;
}
BENCHMARK(BM_CliMemoryMillionPoints)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace

BENCHMARK_MAIN();
