// merilon-cli: the batch front end. It drives the same windows and commands as the desktop
// program, with a platform that answers instead of a user.
#include <clocale>
#include <cstdio>
#include <cstring>
#include <new>
#include <stdexcept>
#include <string>
#include <vector>

#include "cli/cli_commands.h"
#include "shell/program_folder.h"

namespace {

void printHelp() {
  std::puts("merilon-cli COMMAND [opcje]\n");
  std::puts(
      "Opcje wspólne:\n  --program-folder DIR  folder plików ustawień (domyślnie folder "
      "programu)\n");
  std::puts("Polecenia:");
  for (const auto& c : merilon::cli::cliCommands()) std::printf("  %s\n", c.usage);
}

std::filesystem::path executableFolder(const char* argv0) {
  std::error_code ec;
  auto self = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (ec) self = std::filesystem::absolute(argv0, ec);
  return self.parent_path();
}

}  // namespace

int main(int argc, char** argv) {
  std::setlocale(LC_ALL, "");  // numbers never follow it; only to prove that
  std::vector<std::string> words(argv + 1, argv + argc);
  merilon::cli::CliEnvironment env;
  env.programFolder = merilon::findProgramFolder(executableFolder(argv[0]));
  for (std::size_t i = 0; i < words.size(); ++i) {
    if (words[i] == "--program-folder") {
      if (i + 1 >= words.size())
        return merilon::cli::cliFail(1, "brak folderu po --program-folder");
      env.programFolder = words[i + 1];
      words.erase(words.begin() + static_cast<long>(i), words.begin() + static_cast<long>(i) + 2);
      break;
    }
  }
  if (words.empty() || words[0] == "--help" || words[0] == "-h") {
    printHelp();
    return words.empty() ? 1 : 0;
  }
  for (const auto& c : merilon::cli::cliCommands()) {
    if (words[0] == c.name) {
      std::vector<std::string> rest(words.begin() + 1, words.end());
      if (!rest.empty() && rest[0] == "--help") {
        std::printf("%s\n", c.usage);
        return 0;
      }
      try {
        return c.run(rest, env);
      } catch (const std::bad_alloc&) {
        return merilon::cli::cliFail(merilon::cli::kExitInput, "brak pamięci");
      } catch (const std::length_error&) {
        return merilon::cli::cliFail(merilon::cli::kExitInput, "brak pamięci");
      }
    }
  }
  return merilon::cli::cliFail(1, "nieznane polecenie " + words[0] + " (--help)");
}
