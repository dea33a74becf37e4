// Peak resident memory of the whole merilon-cli process with a million points loaded. This
// program stays small itself: a child started from a large process would carry that process's
// memory into its own peak figure.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "platform/number_text.h"

extern char** environ;

namespace {

std::filesystem::path folder() {
  auto dir = std::filesystem::temp_directory_path() / "merilon-bench-memory";
  std::filesystem::create_directories(dir);
  return dir;
}

std::filesystem::path cli() {
  return std::filesystem::canonical("/proc/self/exe").parent_path() / "merilon-cli";
}

// Runs merilon-cli with its output thrown away; false when it did not succeed.
bool runCli(std::vector<std::string> args, rusage& usage) {
  args.insert(args.begin(), {cli().string(), "--program-folder", folder().string()});
  std::vector<char*> argv;
  for (auto& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  pid_t pid = 0;
  const int started = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (started != 0) return false;
  int status = 0;
  wait4(pid, &status, 0, &usage);
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
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
