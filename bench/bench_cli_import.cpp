// Wall time and peak resident memory of whole merilon-cli processes on a million five-field
// survey records: the import to a point file, and the opening of that point file. The program
// itself stays small, so the child's peak is its own.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "bench_records.h"

extern char** environ;

namespace {

std::filesystem::path folder() {
  auto dir = std::filesystem::temp_directory_path() / "merilon-bench-cli";
  std::filesystem::create_directories(dir);
  return dir;
}

std::filesystem::path cli() {
  return std::filesystem::canonical("/proc/self/exe").parent_path() / "merilon-cli";
}

struct Run {
  bool ok = false;
  double seconds = 0;
  double peakMegabytes = 0;
  double cpuSeconds = 0;  // user + system: what the machine's other load cannot inflate
};

// Runs merilon-cli with its output thrown away.
Run runCli(std::vector<std::string> args) {
  args.insert(args.begin(), {cli().string(), "--program-folder", folder().string()});
  std::vector<char*> argv;
  for (auto& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  Run run;
  pid_t pid = 0;
  const auto start = std::chrono::steady_clock::now();
  const int started = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (started != 0) return run;
  int status = 0;
  rusage usage{};
  wait4(pid, &status, 0, &usage);
  run.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  run.peakMegabytes = static_cast<double>(usage.ru_maxrss) / 1024.0;
  auto seconds = [](const timeval& t) { return static_cast<double>(t.tv_sec) + t.tv_usec / 1e6; };
  run.cpuSeconds = seconds(usage.ru_utime) + seconds(usage.ru_stime);
  run.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
  return run;
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
    run = runCli(
        {"import", input.string(), "-o", out.string(), "--force", "--symbol", "4", "--type", "5"});
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
    runCli({"import", recordFile().string(), "-o", points.string(), "--force", "--symbol", "4",
            "--type", "5"});
  }
  for (auto _ : state) report(state, runCli({"points", points.string()}));
}
BENCHMARK(BM_CliOpenMillionPoints)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(3);

}  // namespace

BENCHMARK_MAIN();
