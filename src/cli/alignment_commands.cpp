// merilon-cli station, project and sections: the alignment geometry and the cross-section
// generation, driven through the same stores and dialog as the desktop program.
#include <cstdio>
#include <memory>
#include <optional>

#include "alignment/alignment.h"
#include "alignment/alignment_choice_dialog.h"
#include "alignment/alignment_geometry.h"
#include "alignment/cross_section_dialog.h"
#include "alignment/landxml_alignment.h"
#include "cli/cli_args.h"
#include "cli/cli_commands.h"
#include "cli/cli_platform.h"
#include "cli/cli_program.h"
#include "platform/number_text.h"
#include "points/no_value.h"
#include "points/numeric_helpers.h"
#include "points/record_parser.h"
#include "shell/program.h"

namespace merilon::cli {
namespace {

// Which alignment of a LandXML file the command takes: the one named by --alignment-name, or
// the only one; an exit status other than kExitOk when that does not single one out.
int pickLandXmlAlignment(const LandXmlFile& file, const std::string& fileName,
                         const std::optional<std::string>& wanted, std::size_t& index) {
  if (wanted) {
    const int found = findLandXmlAlignment(file, *wanted);
    if (found < 0) {
      return cliFail(kExitInput, "w pliku " + fileName + " nie ma trasy o nazwie " + *wanted);
    }
    index = static_cast<std::size_t>(found);
    return kExitOk;
  }
  if (file.alignments().size() > 1) {
    std::string names;
    for (const auto& a : file.alignments()) names += "\n  " + alignmentChoiceText(a);
    return cliFail(
        kExitUsage,
        "plik " + fileName + " zawiera kilka tras; wybierz jedną opcją --alignment-name:" + names);
  }
  index = 0;
  return kExitOk;
}

// Reads the alignment file (.TRS, .TRW or LandXML); an exit status other than kExitOk when it
// cannot be used.
int readAlignmentArgument(const std::string& name, const std::optional<std::string>& wanted,
                          CliPlatform& platform, Alignment& alignment) {
  if (const int status = checkInputFile(name); status != kExitOk) return status;
  if (!alignment.initialise(platform)) return cliFail(kExitInput, "brak pamięci");
  std::string error;
  AlignmentReadStatus status;
  if (readAsLandXml(name)) {
    LandXmlFile file;
    if (!file.load(name, error)) return cliFail(kExitInput, name + ": " + error);
    std::size_t index = 0;
    if (int s = pickLandXmlAlignment(file, name, wanted, index); s != kExitOk) return s;
    status = storeLandXmlAlignment(file, index, name, alignment, platform, error);
  } else {
    if (wanted) return cliFail(kExitUsage, "opcja --alignment-name dotyczy tylko plików LandXML");
    RecordParser parser;
    std::vector<std::string> lines;
    status = readAlignmentFile(name, parser, alignment, platform, lines, error);
  }
  switch (status) {
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

// Takes "--alignment-name NAME" out of the words of station and project.
bool takeAlignmentName(std::vector<std::string>& words, std::optional<std::string>& name) {
  for (std::size_t i = 0; i < words.size(); ++i) {
    if (words[i] != "--alignment-name") continue;
    if (i + 1 >= words.size()) return false;
    name = words[i + 1];
    words.erase(words.begin() + static_cast<std::ptrdiff_t>(i),
                words.begin() + static_cast<std::ptrdiff_t>(i) + 2);
    return true;
  }
  return true;
}

std::string fixed6(double v) { return formatFixed(v, 6); }

}  // namespace

int runStation(const std::vector<std::string>& given, const CliEnvironment&) {
  std::vector<std::string> words = given;
  std::optional<std::string> wanted;
  if (!takeAlignmentName(words, wanted) || words.size() < 2) {
    return cliFail(kExitUsage,
                   "użycie: merilon-cli station ALIGNMENT [--alignment-name NAZWA] CHAINAGE...");
  }
  std::vector<double> chainages;
  for (std::size_t k = 1; k < words.size(); ++k) {
    const auto c = parseDouble(words[k]);
    if (!c) return cliFail(kExitInput, "niepoprawny pikietaż " + words[k]);
    chainages.push_back(*c);
  }
  CliPlatform platform;
  Alignment alignment;
  if (int status = readAlignmentArgument(words[0], wanted, platform, alignment);
      status != kExitOk) {
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

int runProject(const std::vector<std::string>& given, const CliEnvironment&) {
  std::vector<std::string> words = given;
  std::optional<std::string> wanted;
  if (!takeAlignmentName(words, wanted) || words.size() != 3) {
    return cliFail(kExitUsage,
                   "użycie: merilon-cli project ALIGNMENT [--alignment-name NAZWA] X Y");
  }
  const auto px = parseDouble(words[1]);
  const auto py = parseDouble(words[2]);
  if (!px || !py)
    return cliFail(kExitInput, "niepoprawne współrzędne " + words[1] + " " + words[2]);
  CliPlatform platform;
  Alignment alignment;
  if (int status = readAlignmentArgument(words[0], wanted, platform, alignment);
      status != kExitOk) {
    return status;
  }
  double chainage = 0, offset = NO_VALUE_F, footX = 0, footY = 0;
  if (!projectOnAlignment(alignment, *px, *py, chainage, offset, footX, footY)) {
    return cliFail(kExitInput,
                   "punkt " + words[1] + " " + words[2] + " nie daje się zrzutować na trasę");
  }
  std::printf("%s\t%s\t%s\t%s\n", fixed6(chainage).c_str(), fixed6(offset).c_str(),
              fixed6(footX).c_str(), fixed6(footY).c_str());
  return kExitOk;
}

int runSections(const std::vector<std::string>& words, const CliEnvironment& env) {
  CliArgs args;
  std::string error;
  if (!parseCliArgs(
          words, {"boundary-codes", "force"},
          {"from", "to", "left", "right", "range", "accuracy", "single", "axis-code", "pavement1",
           "pavement2", "humus1", "humus2", "pavement1-thickness", "pavement2-thickness",
           "humus1-thickness", "humus2-thickness", "alignment-name"},
          args, error)) {
    return cliFail(kExitUsage, error);
  }
  if (args.positional.size() != 2 || !args.option("o")) {
    return cliFail(kExitUsage, "użycie: merilon-cli sections POINTS.meri ALIGNMENT -o OUT.TER");
  }
  const std::string pointsFile = args.positional[0];
  const std::string alignmentFile = args.positional[1];
  for (const auto& input : {pointsFile, alignmentFile}) {
    if (const int status = checkInputFile(input); status != kExitOk) return status;
  }
  std::size_t landXmlIndex = 0;
  if (readAsLandXml(alignmentFile)) {
    LandXmlFile file;
    std::string readError;
    if (!file.load(alignmentFile, readError)) {
      return cliFail(kExitInput, alignmentFile + ": " + readError);
    }
    const int status =
        pickLandXmlAlignment(file, alignmentFile, args.option("alignment-name"), landXmlIndex);
    if (status != kExitOk) return status;
  } else if (args.option("alignment-name")) {
    return cliFail(kExitUsage, "opcja --alignment-name dotyczy tylko plików LandXML");
  }
  const std::string out = stripExtension(*args.option("o")) + ".TER";
  if (const int status = checkOutputFile(out, args.has("force")); status != kExitOk) return status;

  CliPlatform platform;
  bool failed = false;
  platform.answer = [&](const MessageRequest& r) {
    if (r.title == "Zapis do pliku") return DialogResult::Yes;  // --force was given
    if (r.icon == MessageIcon::Error || r.icon == MessageIcon::Warning) failed = true;
    return r.buttons == MessageButtons::Ok ? DialogResult::Ok : DialogResult::No;
  };
  auto program = startCliProgram(platform, env);
  if (!program) return cliFail(kExitInput, "brak pamięci");
  TFORM_Main& main = program->main;
  platform.openAnswers.push_back(pointsFile);
  main.Button3Click();
  if (failed || program->points.pointCount() == 0) {
    return cliFail(kExitInput, "brak punktów w pliku " + pointsFile);
  }
  const std::size_t logStart = main.LogMemo.lineCount();

  applyOptions(args, {{"axis-code", &main.AxisCodeEdit.text},
                      {"pavement1", &main.Pavement1CodeEdit.text},
                      {"pavement2", &main.Pavement2CodeEdit.text},
                      {"humus1", &main.Humus1CodeEdit.text},
                      {"humus2", &main.Humus2CodeEdit.text},
                      {"pavement1-thickness", &main.Pavement1ThicknessEdit.text},
                      {"pavement2-thickness", &main.Pavement2ThicknessEdit.text},
                      {"humus1-thickness", &main.Humus1ThicknessEdit.text},
                      {"humus2-thickness", &main.Humus2ThicknessEdit.text}});

  TFormPoprzeczka& dialog = program->FormPoprzeczka;
  bool loaded = false;
  platform.openAnswers.push_back(alignmentFile);
  platform.saveAnswers.push_back(out);
  platform.modalHandler = [&](Form& form) {
    if (&form == &dialog.FormWyborTrasy) {
      dialog.FormWyborTrasy.ListBox1.itemIndex = static_cast<int>(landXmlIndex);
      dialog.FormWyborTrasy.Button1Click();
      return;
    }
    dialog.Button5Click();
    loaded = dialog.alignmentLoaded;
    if (!loaded) return;
    applyOptions(args, {{"from", &dialog.Edit3.text},
                        {"to", &dialog.Edit4.text},
                        {"left", &dialog.Edit1.text},
                        {"right", &dialog.Edit2.text},
                        {"range", &dialog.Edit5.text},
                        {"accuracy", &dialog.Edit6.text},
                        {"single", &dialog.Edit7.text}});
    dialog.RadioButton1.checked = !args.has("boundary-codes");
    dialog.RadioButton2.checked = args.has("boundary-codes");
    dialog.Button1Click();
  };
  runCrossSectionCommand(*program, dialog, false);
  printLog(main, logStart);
  if (!loaded) return cliFail(kExitInput, "nie wczytano trasy " + alignmentFile);
  if (failed) return kExitInput;
  if (dialog.workText.size() <= 3) return cliFail(kExitInput, "nie wygenerowano żadnej poprzeczki");
  return kExitOk;
}

}  // namespace merilon::cli
