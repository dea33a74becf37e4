// merilon-cli station, project and sections: the alignment geometry and the cross-section
// generation, driven through the same stores and dialog as the desktop program.
#include <cstdio>
#include <memory>

#include "alignment/alignment.h"
#include "alignment/alignment_geometry.h"
#include "cli/cli_args.h"
#include "cli/cli_commands.h"
#include "cli/cli_platform.h"
#include "platform/number_text.h"
#include "points/no_value.h"
#include "points/numeric_helpers.h"
#include "points/record_parser.h"

namespace merilon::cli {
namespace {

// Reads the alignment file; an exit status other than kExitOk when it cannot be used.
int readAlignmentArgument(const std::string& name, CliPlatform& platform, Alignment& alignment) {
  if (!fileExists(name)) return cliFail(kExitInput, "nie można odczytać pliku " + name);
  if (!alignment.initialise(platform)) return cliFail(kExitInput, "brak pamięci");
  RecordParser parser;
  std::vector<std::string> lines;
  std::string error;
  switch (readAlignmentFile(name, parser, alignment, platform, lines, error)) {
    case AlignmentReadStatus::CannotRead:
      return cliFail(kExitInput, "nie można odczytać pliku " + name + ": " + error);
    case AlignmentReadStatus::OutOfMemory:
      return cliFail(kExitInput, "brak pamięci dla trasy " + name);
    case AlignmentReadStatus::Ok:
      break;
  }
  if (alignment.count < 1) return cliFail(kExitInput, "trasa " + name + " nie ma punktów głównych");
  return kExitOk;
}

std::string fixed6(double v) { return formatFixed(v, 6); }

}  // namespace

int runStation(const std::vector<std::string>& words, const CliEnvironment&) {
  if (words.size() < 2) {
    return cliFail(kExitUsage, "użycie: merilon-cli station ALIGNMENT CHAINAGE...");
  }
  std::vector<double> chainages;
  for (std::size_t k = 1; k < words.size(); ++k) {
    const auto c = parseDouble(words[k]);
    if (!c) return cliFail(kExitInput, "niepoprawny pikietaż " + words[k]);
    chainages.push_back(*c);
  }
  CliPlatform platform;
  Alignment alignment;
  if (int status = readAlignmentArgument(words[0], platform, alignment); status != kExitOk) {
    return status;
  }
  for (double c : chainages) {
    double x, y, a;
    pointAtChainage(alignment, c, x, y, a);
    std::printf("%s\t%s\t%s\t%s\n", fixed6(c).c_str(), fixed6(x).c_str(), fixed6(y).c_str(),
                fixed6(a).c_str());
  }
  return kExitOk;
}

int runProject(const std::vector<std::string>& words, const CliEnvironment&) {
  if (words.size() != 3) return cliFail(kExitUsage, "użycie: merilon-cli project ALIGNMENT X Y");
  const auto px = parseDouble(words[1]);
  const auto py = parseDouble(words[2]);
  if (!px || !py) return cliFail(kExitInput, "niepoprawne współrzędne " + words[1] + " " + words[2]);
  CliPlatform platform;
  Alignment alignment;
  if (int status = readAlignmentArgument(words[0], platform, alignment); status != kExitOk) {
    return status;
  }
  double chainage = 0, offset = NO_VALUE_F, footX = 0, footY = 0;
  if (!projectOnAlignment(alignment, *px, *py, chainage, offset, footX, footY)) {
    return cliFail(kExitInput, "punkt " + words[1] + " " + words[2] +
                                   " nie daje się zrzutować na trasę");
  }
  std::printf("%s\t%s\t%s\t%s\n", fixed6(chainage).c_str(), fixed6(offset).c_str(),
              fixed6(footX).c_str(), fixed6(footY).c_str());
  return kExitOk;
}

}  // namespace merilon::cli
