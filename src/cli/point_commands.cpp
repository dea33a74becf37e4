// merilon-cli import and points: the text import and the point file, driven as a user would.
#include <cstdio>
#include <memory>

#include "cli/cli_args.h"
#include "cli/cli_commands.h"
#include "cli/cli_platform.h"
#include "cli/cli_program.h"
#include "platform/cp1250.h"
#include "platform/number_text.h"
#include "platform/text_file.h"
#include "points/numeric_helpers.h"
#include "shell/program.h"

namespace merilon::cli {
int runImport(const std::vector<std::string>& words, const CliEnvironment& env) {
  CliArgs args;
  std::string error;
  if (!parseCliArgs(words, {"force"}, {"append", "separator", "x", "y", "z", "symbol", "type"},
                    args, error)) {
    return cliFail(kExitUsage, error);
  }
  if (args.positional.empty() || !args.option("o")) {
    return cliFail(kExitUsage, "użycie: merilon-cli import INPUT... -o OUT.meri");
  }
  for (const auto& input : args.positional) {
    if (const int status = checkInputFile(input); status != kExitOk) return status;
  }
  if (auto append = args.option("append")) {
    if (const int status = checkInputFile(*append); status != kExitOk) return status;
  }
  const std::string out = stripExtension(*args.option("o")) + ".meri";
  if (const int status = checkOutputFile(out, args.has("force")); status != kExitOk) return status;

  CliPlatform platform;
  bool unusable = false;
  platform.answer = [&](const MessageRequest& r) {
    if (r.title == "Wpisywanie punktów") return DialogResult::Yes;  // append to the opened points
    if (r.title == "Zapis do pliku") return DialogResult::Yes;      // --force was given
    if (r.title == "Błąd") unusable = true;
    return r.buttons == MessageButtons::Ok ? DialogResult::Ok : DialogResult::No;
  };
  auto program = startCliProgram(platform, env);
  if (!program) return cliFail(kExitInput, "brak pamięci");
  TFORM_Main& main = program->main;

  if (auto append = args.option("append")) {
    platform.openAnswers.push_back(*append);
    main.Button3Click();
  }
  platform.openAnswers.push_back(args.positional.front());
  main.Button1Click();
  for (std::size_t k = 1; k < args.positional.size(); ++k) {
    std::vector<std::string> lines;
    if (!readUserTextLines(args.positional[k], lines, error)) {
      return cliFail(kExitInput, "nie można odczytać pliku " + args.positional[k] + ": " + error);
    }
    std::string text;
    for (const auto& line : lines) text += line + "\n";
    platform.clipboard = text;
    main.Button20Click();
  }
  applyOptions(args, {{"separator", &main.SeparatorCombo.text},
                      {"x", &main.PositionXCombo.text},
                      {"y", &main.PositionYCombo.text},
                      {"z", &main.PositionZCombo.text},
                      {"symbol", &main.PositionSymbolCombo.text},
                      {"type", &main.PositionTypeCombo.text}});

  main.Button2Click();
  if (unusable) {
    printLog(main);
    return kExitInput;
  }
  // With no points the writer would leave no file behind, removing one that is there: nothing
  // to write leaves the output as it is, and is no success of this command.
  if (program->points.pointCount() == 0) {
    printLog(main);
    return cliFail(kExitInput, "brak punktów, nie zapisano pliku " + out);
  }
  platform.saveAnswers.push_back(out);
  main.Button5Click();
  printLog(main);
  if (!main.pointsSaved) return kExitInput;
  std::printf("Liczba punktów: %d\n", program->points.pointCount());
  return kExitOk;
}

int runPoints(const std::vector<std::string>& words, const CliEnvironment& env) {
  CliArgs args;
  std::string error;
  if (!parseCliArgs(words, {}, {}, args, error)) return cliFail(kExitUsage, error);
  if (args.positional.size() != 1)
    return cliFail(kExitUsage, "użycie: merilon-cli points POINTS.meri");
  const std::string file = args.positional.front();
  if (const int status = checkInputFile(file); status != kExitOk) return status;

  CliPlatform platform;
  bool unreadable = false;
  platform.answer = [&](const MessageRequest& r) {
    if (r.icon == MessageIcon::Error) unreadable = true;
    return r.buttons == MessageButtons::Ok ? DialogResult::Ok : DialogResult::No;
  };
  auto program = startCliProgram(platform, env);
  if (!program) return cliFail(kExitInput, "brak pamięci");
  platform.openAnswers.push_back(file);
  program->main.Button3Click();
  if (unreadable) {
    printLog(program->main);
    return kExitInput;
  }
  const PointStore& points = program->points;
  // The listing goes out in large blocks: a million points are some 40 MB of text.
  std::string out;
  out.reserve(1 << 17);
  for (int i = 1; i <= points.pointCount(); ++i) {
    const auto k = static_cast<std::size_t>(i);
    appendInt(out, i);
    out += '\t';
    appendGeneral(out, points.pointX[k]);
    out += '\t';
    appendGeneral(out, points.pointY[k]);
    out += '\t';
    appendGeneral(out, points.pointZ[k]);
    out += '\t';
    const std::string_view name = points.pointName[k].raw();
    if (isAscii(name)) {
      out += name;
    } else {
      out += points.pointName[k].text();
    }
    out += '\t';
    appendInt(out, points.pointType[k]);
    out += '\n';
    if (out.size() >= (1 << 16)) {
      std::fwrite(out.data(), 1, out.size(), stdout);
      out.clear();
    }
  }
  std::fwrite(out.data(), 1, out.size(), stdout);
  printLog(program->main);
  return kExitOk;
}

}  // namespace merilon::cli
