#include "fuzz_program.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>

namespace merilon::fuzzing {

FuzzFolder::FuzzFolder() {
  path_ = std::filesystem::temp_directory_path() /
          ("merilon-fuzz-" + std::to_string(static_cast<long>(::getpid())));
  std::error_code ec;
  std::filesystem::remove_all(path_, ec);
  std::filesystem::create_directories(path_);
}

FuzzFolder::~FuzzFolder() {
  std::error_code ec;
  std::filesystem::remove_all(path_, ec);
}

std::filesystem::path FuzzFolder::put(const std::string& name, std::string_view bytes) const {
  const auto file = path_ / name;
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return file;
}

FuzzProgram::FuzzProgram() {
  ProgramOptions options;
  options.programFolder = folder.path();
  options.userSettingsFolder = folder.path() / "user-config";
  program = std::make_unique<Program>(platform, options);
  if (!program->start()) propertyFailed("the program did not start");
}

FuzzProgram& sharedProgram() {
  static FuzzProgram p;
  return p;
}

void propertyFailed(const std::string& what) {
  std::fprintf(stderr, "property failed: %s\n", what.c_str());
  std::abort();
}

}  // namespace merilon::fuzzing
