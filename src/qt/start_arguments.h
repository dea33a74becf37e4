// The desktop program's command line: merilon [--data-folder DIR] [--program-folder DIR] [FILE].
// FILE is what the desktop hands over when a file is opened with the program; it is opened as a
// file dropped on the main window would be.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace merilon::qt {

struct StartArguments {
  std::optional<std::string> dataFolder;
  std::optional<std::string> programFolder;
  // The files named on the command line, in order (only the first is opened, as with a drop).
  std::vector<std::string> files;
};

// `words` are the arguments after the program's name. Options that Qt itself takes
// (-platform NAME, -style NAME, ...) and their values are no file names.
StartArguments parseStartArguments(const std::vector<std::string>& words);

}  // namespace merilon::qt
