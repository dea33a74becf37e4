// What every merilon-cli command does around its work: start a program on the batch platform,
// refuse an existing output without --force, and print the message log.
#pragma once

#include <memory>
#include <string>

#include "cli/cli_commands.h"
#include "cli/cli_platform.h"
#include "shell/program.h"

namespace merilon::cli {

// A started program with its settings in the environment's program folder; null when the
// stores could not be allocated.
std::unique_ptr<Program> startCliProgram(CliPlatform& platform, const CliEnvironment& env);

// kExitOk, or kExitExists (with its message) when `out` exists and `force` is false.
int checkOutputFile(const std::string& out, bool force);

// kExitOk, or kExitInput (with its message) when `name` cannot be read or is no regular file
// (a device or a pipe would never end or never start).
int checkInputFile(const std::string& name);

// The lines of the main window's message log from `first` on, one per line.
void printLog(const TFORM_Main& main, std::size_t first = 0);

}  // namespace merilon::cli
