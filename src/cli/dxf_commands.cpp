// merilon-cli export-dxf and dxf2txt: the 3D export of "Generuj DXF3D" with the chosen boxes
// ticked, and "Wczytaj dane z DXF" followed by "Zapisz dane txt".
#include <cstdio>

#include "alignment/cross_section_dialog.h"
#include "cli/cli_args.h"
#include "cli/cli_commands.h"
#include "cli/cli_platform.h"
#include "cli/cli_program.h"
#include "dxf/dxf_export.h"
#include "points/numeric_helpers.h"
#include "points/text_export.h"
#include "shell/program.h"

namespace merilon::cli {
namespace {

// Nobody is there to confirm a coordinate transformation from merilon.knf: it is accepted and
// said so; an existing output was already allowed by --force; a failure is noted.
std::function<DialogResult(const MessageRequest&)> batchAnswers(bool& failed) {
  return [&failed](const MessageRequest& r) {
    if (r.title == "Zapis do pliku") return DialogResult::Yes;
    if (r.title.starts_with("Transformacja")) {
      std::fprintf(stderr, "merilon-cli: współrzędne przekształcone według merilon.knf\n");
      return DialogResult::Yes;
    }
    if (r.icon == MessageIcon::Error || r.icon == MessageIcon::Warning) failed = true;
    return r.buttons == MessageButtons::Ok ? DialogResult::Ok : DialogResult::No;
  };
}

}  // namespace

int runExportDxf(const std::vector<std::string>& words, const CliEnvironment& env) {
  CliArgs args;
  std::string error;
  if (!parseCliArgs(words, {"points", "symbols", "heights", "numbers", "force"},
                    {"sections", "alignment", "label-height", "chainage-label-height"}, args,
                    error)) {
    return cliFail(kExitUsage, error);
  }
  if (args.positional.size() != 1 || !args.option("o") ||
      args.option("sections").has_value() != args.option("alignment").has_value()) {
    return cliFail(kExitUsage,
                   "użycie: merilon-cli export-dxf POINTS.meri -o OUT.dxf [--points] [--symbols] "
                   "[--heights] [--numbers] [--sections FILE.TER --alignment ALIGNMENT] "
                   "[--label-height H] [--chainage-label-height H] [--force]");
  }
  const std::string input = args.positional.front();
  std::vector<std::string> inputs = {input};
  if (auto s = args.option("sections")) inputs.push_back(*s);
  if (auto a = args.option("alignment")) inputs.push_back(*a);
  for (const auto& f : inputs) {
    if (const int status = checkInputFile(f); status != kExitOk) return status;
  }
  const std::string out = stripExtension(*args.option("o")) + ".dxf";
  if (const int status = checkOutputFile(out, args.has("force")); status != kExitOk) return status;

  CliPlatform platform;
  bool failed = false;
  platform.answer = batchAnswers(failed);
  auto program = startCliProgram(platform, env);
  if (!program) return cliFail(kExitInput, "brak pamięci");
  TFORM_Main& main = program->main;
  platform.openAnswers.push_back(input);
  main.Button3Click();
  if (failed || program->points.pointCount() == 0) {
    return cliFail(kExitInput, "brak punktów w pliku " + input);
  }
  TFormPoprzeczka& sections = program->FormPoprzeczka;
  if (auto alignment = args.option("alignment")) {
    platform.openAnswers.push_back(*alignment);
    sections.Button5Click();
    if (!sections.alignmentLoaded) return cliFail(kExitInput, "nie wczytano trasy " + *alignment);
    // The export reads the sections from this file, as after a run of the dialog.
    sections.lastTerFileName = *args.option("sections");
    sections.sectionTextLoaded = false;
  }
  TFormDXF& dialog = program->FormDXF;
  main.Button7Click();
  dialog.CheckBox1.checked = args.has("points");
  dialog.CheckBox3.checked = args.has("symbols");
  dialog.CheckBox5.checked = args.has("heights");
  dialog.CheckBox6.checked = args.has("numbers");
  dialog.CheckBox2.checked = args.option("sections").has_value();
  applyOptions(
      args, {{"label-height", &dialog.Edit1.text}, {"chainage-label-height", &dialog.Edit2.text}});
  platform.saveAnswers.push_back(out);
  failed = false;
  dialog.Button1Click();
  if (failed || !std::filesystem::exists(out)) return kExitInput;
  return kExitOk;
}

int runDxf2Txt(const std::vector<std::string>& words, const CliEnvironment& env) {
  CliArgs args;
  std::string error;
  if (!parseCliArgs(words, {"force"}, {}, args, error)) return cliFail(kExitUsage, error);
  if (args.positional.size() != 1 || !args.option("o")) {
    return cliFail(kExitUsage, "użycie: merilon-cli dxf2txt INPUT.dxf -o OUT.txt [--force]");
  }
  const std::string input = args.positional.front();
  if (const int status = checkInputFile(input); status != kExitOk) return status;
  const std::string out = stripExtension(*args.option("o")) + ".txt";
  if (const int status = checkOutputFile(out, args.has("force")); status != kExitOk) return status;

  CliPlatform platform;
  bool failed = false;
  platform.answer = batchAnswers(failed);
  auto program = startCliProgram(platform, env);
  if (!program) return cliFail(kExitInput, "brak pamięci");
  TFORM_Main& main = program->main;
  platform.openAnswers.push_back(input);
  main.Button14Click();
  printLog(main);
  if (failed) return kExitInput;
  platform.saveAnswers.push_back(out);
  main.Button15Click();
  if (failed || !std::filesystem::exists(out)) return kExitInput;
  return kExitOk;
}

}  // namespace merilon::cli
