// merilon-cli export-txt: a point file written as the point text file, exactly as "Zapisz Punkty
// do txt" writes it.
#include <cstdio>
#include <memory>

#include "cli/cli_args.h"
#include "cli/cli_commands.h"
#include "cli/cli_platform.h"
#include "cli/cli_program.h"
#include "points/numeric_helpers.h"
#include "points/text_export.h"
#include "shell/program.h"

namespace merilon::cli {

int runExportTxt(const std::vector<std::string>& words, const CliEnvironment& env) {
  CliArgs args;
  std::string error;
  if (!parseCliArgs(words, {"force"}, {}, args, error)) return cliFail(kExitUsage, error);
  if (args.positional.size() != 1 || !args.option("o")) {
    return cliFail(kExitUsage, "użycie: merilon-cli export-txt POINTS.meri -o OUT.txt [--force]");
  }
  const std::string input = args.positional.front();
  if (const int status = checkInputFile(input); status != kExitOk) return status;
  const std::string out = stripExtension(*args.option("o")) + ".txt";
  if (const int status = checkOutputFile(out, args.has("force")); status != kExitOk) return status;

  CliPlatform platform;
  bool failed = false;
  platform.answer = [&](const MessageRequest& r) {
    if (r.title == "Zapis do pliku") return DialogResult::Yes;  // --force was given
    if (r.buttons == MessageButtons::Ok && r.icon != MessageIcon::Information) failed = true;
    return r.buttons == MessageButtons::Ok ? DialogResult::Ok : DialogResult::No;
  };
  auto program = startCliProgram(platform, env);
  if (!program) return cliFail(kExitInput, "brak pamięci");
  TFORM_Main& main = program->main;

  platform.openAnswers.push_back(input);
  main.Button3Click();
  // A file without the header line is still read, after its notice.
  failed = false;
  platform.saveAnswers.push_back(out);
  exportPointText(main);
  printLog(main);
  if (failed || !std::filesystem::exists(out)) return kExitInput;
  // Points of type 9 are left out of the text file.
  const PointStore& points = program->points;
  int written = 0;
  for (int i = 1; i <= points.pointCount(); ++i) {
    if (points.pointType[static_cast<std::size_t>(i)] != 9) ++written;
  }
  std::printf("Liczba punktów: %d\n", written);
  return kExitOk;
}

}  // namespace merilon::cli
