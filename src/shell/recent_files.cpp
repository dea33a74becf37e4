#include "shell/recent_files.h"

#include "platform/cp1250.h"
#include "platform/number_text.h"
#include "platform/text_file.h"
#include "points/numeric_helpers.h"

namespace merilon {

void RecentFiles::loadRecentFiles(const std::filesystem::path& file) {
  recentCount_ = 0;
  recentNewest_ = 1;
  std::vector<std::string> lines;
  std::string error;
  if (!fileExists(file) || !readCp1250Lines(file, lines, error)) return;
  for (const auto& line : lines) {
    // Once the list is full, further lines overwrite the last slot; a short line is dropped
    // again, which also frees that slot.
    if (recentCount_ < kSlots) ++recentCount_;
    slots_[static_cast<std::size_t>(recentCount_)] = line;
    if (utf8Length(line) < 4) --recentCount_;
  }
}

bool RecentFiles::saveRecentFiles(const std::filesystem::path& file, std::string& error) const {
  if (recentCount_ == 0) return true;
  return writeCp1250Lines(file, newestFirst(), error);
}

void RecentFiles::addRecentFile(const std::string& name) {
  if (recentCount_ < 1 || recentCount_ > kSlots) {
    recentCount_ = 0;
    recentNewest_ = kSlots + 1;
  }
  const std::string upper = upperCase(name);
  for (const auto& known : newestFirst()) {
    if (upperCase(known) == upper) return;
  }
  if (recentCount_ < kSlots) ++recentCount_;
  --recentNewest_;
  if (recentNewest_ < 1) recentNewest_ = kSlots;
  slots_[static_cast<std::size_t>(recentNewest_)] = name;
}

std::vector<std::string> RecentFiles::newestFirst() const {
  std::vector<std::string> names;
  for (int k = 1; k <= recentCount_; ++k) {
    int slot = recentNewest_ + k - 1;
    if (slot > kSlots) slot -= kSlots;
    names.push_back(slots_[static_cast<std::size_t>(slot)]);
  }
  return names;
}

std::vector<std::string> RecentFiles::buildRecentMenu() const {
  std::vector<std::string> captions;
  // At start-up the newest name is in slot 1, so slot order is the file's order.
  const auto names = newestFirst();
  for (std::size_t k = 0; k < names.size(); ++k) {
    captions.push_back(formatInt(static_cast<long long>(k)) + " " + names[k]);
  }
  return captions;
}

}  // namespace merilon
