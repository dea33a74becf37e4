#include "shell/program_folder.h"

#include <system_error>

namespace merilon {

std::filesystem::path findProgramFolder(const std::filesystem::path& executableFolder) {
  std::error_code ec;
  // merilon.knf is the one file every program folder ships with.
  if (std::filesystem::is_regular_file(executableFolder / "merilon.knf", ec)) {
    return executableFolder;
  }
  const auto shared = (executableFolder / ".." / "share" / "merilon").lexically_normal();
  if (std::filesystem::is_directory(shared, ec)) return shared;
  return executableFolder;
}

bool isInstalledProgramFolder(const std::filesystem::path& folder) {
  const auto normal = folder.lexically_normal();
  // "/usr/share/merilon/" names the same folder as "/usr/share/merilon".
  const auto named = normal.filename().empty() ? normal.parent_path() : normal;
  if (named.filename() != "merilon" || named.parent_path().filename() != "share") return false;
  std::error_code ec;
  return std::filesystem::is_directory(named, ec) &&
         std::filesystem::is_directory(named.parent_path().parent_path() / "bin", ec);
}

}  // namespace merilon
