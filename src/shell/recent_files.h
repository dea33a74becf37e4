// The list of recently used files (MERI_OST_PLIKI.bin): a ring of ten names, newest first in
// the file and in the "Plik" menu. Names keep their own case; they are compared without it.
#pragma once

#include <array>
#include <filesystem>
#include <string>
#include <vector>

namespace merilon {

class RecentFiles {
 public:
  static constexpr int kSlots = 10;

  void loadRecentFiles(const std::filesystem::path& file);
  // False (with the system's reason) when the file could not be written.
  bool saveRecentFiles(const std::filesystem::path& file, std::string& error) const;
  void addRecentFile(const std::string& name);

  // The names, newest first.
  std::vector<std::string> newestFirst() const;
  // Menu captions: "0 " + newest name, "1 " + the next, ...
  std::vector<std::string> buildRecentMenu() const;

  int recentCount() const { return recentCount_; }
  int recentNewest() const { return recentNewest_; }
  const std::string& slot(int k) const { return slots_[static_cast<std::size_t>(k)]; }

 private:
  std::array<std::string, kSlots + 1> slots_{};  // 1..10
  int recentCount_ = 0;
  int recentNewest_ = 1;
};

}  // namespace merilon
