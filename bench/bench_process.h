// Runs merilon-cli as a child of a small benchmark process and measures it: wall time, CPU time
// and peak resident memory through wait4. The benchmark program stays small itself, since a child
// started from a large process would carry that process's memory into its own peak figure.
#pragma once

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

extern char** environ;

namespace merilon::bench {

inline std::filesystem::path cli() {
  return std::filesystem::canonical("/proc/self/exe").parent_path() / "merilon-cli";
}

struct Run {
  bool ok = false;
  double seconds = 0;
  double peakMegabytes = 0;
  double cpuSeconds = 0;  // user + system: what the machine's other load cannot inflate
};

// Runs merilon-cli with its output thrown away.
inline Run runCli(const std::filesystem::path& programFolder, std::vector<std::string> args) {
  args.insert(args.begin(), {cli().string(), "--program-folder", programFolder.string()});
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

}  // namespace merilon::bench
