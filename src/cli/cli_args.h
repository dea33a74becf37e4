// Command-line arguments of merilon-cli: positional words and "--name value" options.
#pragma once

#include <initializer_list>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace merilon::cli {

struct CliArgs {
  std::vector<std::string> positional;
  std::map<std::string, std::string> options;  // "--x 2" -> {"x", "2"}
  std::set<std::string> flags;                 // "--force" -> "force"

  bool has(const std::string& flag) const { return flags.count(flag) > 0; }
  std::optional<std::string> option(const std::string& name) const {
    auto it = options.find(name);
    if (it == options.end()) return std::nullopt;
    return it->second;
  }
};

// Puts each given option's text into its field (the text of a control); an option that was not
// given leaves its field as it is.
void applyOptions(const CliArgs& args,
                  std::initializer_list<std::pair<const char*, std::string*>> fields);

// Parses the words after the command. `flagNames` lists options without a value; `valueNames`
// those with one. False with a reason on an unknown option or a missing value.
bool parseCliArgs(const std::vector<std::string>& words, const std::set<std::string>& flagNames,
                  const std::set<std::string>& valueNames, CliArgs& out, std::string& error);

}  // namespace merilon::cli
