// Where the settings files live. They sit in the program folder; when that folder is not
// writable (an installed program), the files the program writes go to the user's configuration
// folder instead, and the read-only ones are looked for there first.
#pragma once

#include <filesystem>
#include <string>

namespace merilon {

class SettingsFolders {
 public:
  SettingsFolders() = default;
  SettingsFolders(std::filesystem::path programFolder, std::filesystem::path userFolder);

  // `$XDG_CONFIG_HOME/merilon`, else `~/.config/merilon`.
  static std::filesystem::path defaultUserFolder();

  const std::filesystem::path& programFolder() const { return programFolder_; }

  // The file to read: the user's copy when one exists there, else the program folder's.
  std::filesystem::path forReading(const std::string& name) const;
  // The file to write: in the program folder when it is writable, else in the user's folder
  // (created when needed).
  std::filesystem::path forWriting(const std::string& name) const;

 private:
  bool programFolderWritable() const;
  std::filesystem::path programFolder_;
  std::filesystem::path userFolder_;
  mutable int writable_ = -1;  // unknown until first asked
};

}  // namespace merilon
