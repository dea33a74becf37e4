#include "cli/cli_program.h"

#include <cstdio>

#include "points/numeric_helpers.h"

namespace merilon::cli {

std::unique_ptr<Program> startCliProgram(CliPlatform& platform, const CliEnvironment& env) {
  ProgramOptions options;
  options.programFolder = env.programFolder;
  auto program = std::make_unique<Program>(platform, options);
  if (!program->start()) return nullptr;
  return program;
}

int checkOutputFile(const std::string& out, bool force) {
  if (std::filesystem::exists(out) && !force) {
    return cliFail(kExitExists, "plik " + out + " istnieje (--force zapisuje mimo to)");
  }
  return kExitOk;
}

int checkInputFile(const std::string& name) {
  std::error_code ec;
  const auto status = std::filesystem::status(name, ec);
  if (!ec && std::filesystem::exists(status) && !std::filesystem::is_regular_file(status)) {
    return cliFail(kExitInput, "plik " + name + " nie jest zwykłym plikiem");
  }
  if (!fileExists(name)) return cliFail(kExitInput, "nie można odczytać pliku " + name);
  return kExitOk;
}

void printLog(const TFORM_Main& main, std::size_t first) {
  const Memo& log = main.LogMemo;
  for (std::size_t k = first; k < log.lineCount(); ++k) {
    const std::string_view line = log.line(k);
    std::printf("%.*s\n", static_cast<int>(line.size()), line.data());
  }
}

}  // namespace merilon::cli
