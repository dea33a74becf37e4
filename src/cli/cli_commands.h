// The commands of merilon-cli. Each returns the exit status: 0 success; 1 usage error; 2 a
// missing or unreadable input or unusable parameters; 3 an output file exists without --force.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace merilon::cli {

inline constexpr int kExitOk = 0;
inline constexpr int kExitUsage = 1;
inline constexpr int kExitInput = 2;
inline constexpr int kExitExists = 3;

struct CliEnvironment {
  std::filesystem::path programFolder;
};

using CliCommandFunction = int (*)(const std::vector<std::string>& words,
                                   const CliEnvironment& env);

struct CliCommand {
  const char* name;
  const char* usage;
  CliCommandFunction run;
};

int runImport(const std::vector<std::string>& words, const CliEnvironment& env);
int runPoints(const std::vector<std::string>& words, const CliEnvironment& env);
int runExportTxt(const std::vector<std::string>& words, const CliEnvironment& env);
int runStation(const std::vector<std::string>& words, const CliEnvironment& env);
int runProject(const std::vector<std::string>& words, const CliEnvironment& env);
int runSections(const std::vector<std::string>& words, const CliEnvironment& env);
int runExportDxf(const std::vector<std::string>& words, const CliEnvironment& env);
int runDxf2Txt(const std::vector<std::string>& words, const CliEnvironment& env);
int runRender(const std::vector<std::string>& words, const CliEnvironment& env);
int runSectionsPdf(const std::vector<std::string>& words, const CliEnvironment& env);

// Every command, in the order --help lists them.
const std::vector<CliCommand>& cliCommands();

// Prints "merilon-cli: TEXT" to standard error and returns the status.
int cliFail(int status, const std::string& text);

}  // namespace merilon::cli
