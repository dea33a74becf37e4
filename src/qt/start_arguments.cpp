#include "start_arguments.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace merilon::qt {

namespace {

// Qt's own options that take the next word as their value.
constexpr std::array<std::string_view, 12> kQtOptionsWithValue = {
    "-platform", "-platformpluginpath", "-platformtheme", "-plugin",     "-qwindowgeometry",
    "-qwindowicon", "-qwindowtitle",   "-session",       "-display",    "-geometry",
    "-style",    "-stylesheet"};

bool takesValue(std::string_view word) {
  if (word.starts_with("--")) word.remove_prefix(1);
  return std::find(kQtOptionsWithValue.begin(), kQtOptionsWithValue.end(), word) !=
         kQtOptionsWithValue.end();
}

}  // namespace

StartArguments parseStartArguments(const std::vector<std::string>& words) {
  StartArguments result;
  for (std::size_t k = 0; k < words.size(); ++k) {
    const std::string& word = words[k];
    const bool hasNext = k + 1 < words.size();
    if (word == "--data-folder" || word == "--program-folder") {
      if (hasNext) (word == "--data-folder" ? result.dataFolder : result.programFolder) = words[++k];
    } else if (word == "--") {
      result.files.insert(result.files.end(), words.begin() + static_cast<long>(k) + 1,
                          words.end());
      break;
    } else if (word.size() > 1 && word[0] == '-') {
      if (takesValue(word) && hasNext) ++k;
    } else if (!word.empty()) {
      result.files.push_back(word);
    }
  }
  return result;
}

}  // namespace merilon::qt
