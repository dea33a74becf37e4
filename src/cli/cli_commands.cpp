#include "cli/cli_commands.h"

#include <cstdio>

namespace merilon::cli {

const std::vector<CliCommand>& cliCommands() {
  static const std::vector<CliCommand> commands = {
      {"import",
       "import INPUT... -o OUT.meri [--append POINTS.meri] [--separator C] [--x N] [--y N] "
       "[--z N] [--symbol N] [--type N] [--force]",
       &runImport},
      {"points", "points POINTS.meri", &runPoints},
      {"export-txt", "export-txt POINTS.meri -o OUT.txt [--force]", &runExportTxt},
      {"station", "station ALIGNMENT CHAINAGE...", &runStation},
      {"project", "project ALIGNMENT X Y", &runProject},
  };
  return commands;
}

int cliFail(int status, const std::string& text) {
  std::fprintf(stderr, "merilon-cli: %s\n", text.c_str());
  return status;
}

}  // namespace merilon::cli
