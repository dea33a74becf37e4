#include "shell/settings_folders.h"

#include <cstdio>
#include <cstdlib>

#include "points/numeric_helpers.h"
#include "shell/program_folder.h"

namespace merilon {

SettingsFolders::SettingsFolders(std::filesystem::path programFolder,
                                 std::filesystem::path userFolder)
    : programFolder_(std::move(programFolder)), userFolder_(std::move(userFolder)) {}

std::filesystem::path SettingsFolders::defaultUserFolder() {
  if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg) {
    return std::filesystem::path(xdg) / "merilon";
  }
  if (const char* home = std::getenv("HOME"); home && *home) {
    return std::filesystem::path(home) / ".config" / "merilon";
  }
  return {};
}

bool SettingsFolders::programFolderWritable() const {
  // An installed package's folder is never written, whatever its permissions.
  if (writable_ < 0 && isInstalledProgramFolder(programFolder_)) writable_ = 0;
  if (writable_ < 0) {
    // Asking the file system is the only reliable test (permissions, read-only mounts).
    const auto probe = programFolder_ / ".merilon-write-test";
    std::FILE* f = std::fopen(probe.c_str(), "wb");
    writable_ = f != nullptr;
    if (f) {
      std::fclose(f);
      std::error_code ec;
      std::filesystem::remove(probe, ec);
    }
  }
  return writable_ == 1;
}

std::filesystem::path SettingsFolders::forReading(const std::string& name) const {
  if (!userFolder_.empty() && !programFolderWritable() && fileExists(userFolder_ / name)) {
    return userFolder_ / name;
  }
  return programFolder_ / name;
}

std::filesystem::path SettingsFolders::forWriting(const std::string& name) const {
  if (programFolderWritable() || userFolder_.empty()) return programFolder_ / name;
  std::error_code ec;
  std::filesystem::create_directories(userFolder_, ec);
  return userFolder_ / name;
}

}  // namespace merilon
