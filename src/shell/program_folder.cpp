#include "shell/program_folder.h"

#include <system_error>

namespace merilon {

ProgramFolder findProgramFolder(const std::filesystem::path& executableFolder) {
  std::error_code ec;
  // merilon.knf is the one file every program folder ships with.
  if (std::filesystem::is_regular_file(executableFolder / "merilon.knf", ec)) {
    return {executableFolder, false};
  }
  const auto shared = (executableFolder / ".." / "share" / "merilon").lexically_normal();
  if (std::filesystem::is_directory(shared, ec)) return {shared, true};
  return {executableFolder, false};
}

}  // namespace merilon
