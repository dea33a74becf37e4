#include "cli/cli_args.h"

namespace merilon::cli {

void applyOptions(const CliArgs& args,
                  std::initializer_list<std::pair<const char*, std::string*>> fields) {
  for (const auto& [name, field] : fields) {
    if (auto value = args.option(name)) *field = *value;
  }
}

bool parseCliArgs(const std::vector<std::string>& words, const std::set<std::string>& flagNames,
                  const std::set<std::string>& valueNames, CliArgs& out, std::string& error) {
  for (std::size_t i = 0; i < words.size(); ++i) {
    const std::string& w = words[i];
    if (w.size() > 2 && w.rfind("--", 0) == 0) {
      const std::string name = w.substr(2);
      if (flagNames.count(name)) {
        out.flags.insert(name);
      } else if (valueNames.count(name)) {
        if (i + 1 >= words.size()) {
          error = "brak wartości opcji " + w;
          return false;
        }
        out.options[name] = words[++i];
      } else {
        error = "nieznana opcja " + w;
        return false;
      }
    } else if (w == "-o") {
      if (i + 1 >= words.size()) {
        error = "brak nazwy pliku po -o";
        return false;
      }
      out.options["o"] = words[++i];
    } else {
      out.positional.push_back(w);
    }
  }
  return true;
}

}  // namespace merilon::cli
