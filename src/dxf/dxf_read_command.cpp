#include "dxf/dxf_read_command.h"

#include <chrono>
#include <climits>
#include <ctime>

#include "dxf/dxf_text_records.h"
#include "platform/number_text.h"
#include "points/numeric_helpers.h"
#include "shell/main_window.h"
#include "shell/program.h"

namespace merilon {
namespace {

std::string twoDigits(int v) { return std::string(1, char('0' + v / 10)) + char('0' + v % 10); }

}  // namespace

std::string timeOfDay() {
  const std::time_t now = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
  std::tm local{};
  localtime_r(&now, &local);
  return twoDigits(local.tm_hour) + ":" + twoDigits(local.tm_min) + ":" + twoDigits(local.tm_sec);
}

DxfReadOutcome convertDxfToText(TFORM_Main& main, const std::filesystem::path& file) {
  Program& program = main.program();
  Platform& platform = program.platform;
  DxfPairReader reader;
  std::string error;
  if (!reader.open(file, error)) {
    main.reportFileError("Błąd odczytu pliku", file.string(), error);
    return DxfReadOutcome::NotRead;
  }
  if (reader.isBinary()) {
    showMessage(platform, MessageIcon::Error, MessageButtons::Ok, "Otwórz plik DXF",
                "Plik: " + file.string() +
                    " nie jest plikiem DXF w postaci tekstowej (zapisano go binarnie).");
    return DxfReadOutcome::NotRead;
  }
  // The bar counts bytes in fours, in larger units when the file is too big for that.
  std::uintmax_t unit = 4;
  while (reader.size() / unit > static_cast<std::uintmax_t>(INT_MAX)) unit *= 2;
  main.progressStart(static_cast<int>(reader.size() / unit));
  main.PreviewMemo.clear();
  const std::uintmax_t stepBytes = static_cast<std::uintmax_t>(main.ProgressBar1.step) * unit;

  DxfTextHooks hooks;
  hooks.log = [&main](const std::string& text) { main.logMessage(text); };
  hooks.progressEvery = std::max<std::uintmax_t>(stepBytes, 1);
  hooks.progress = [&](std::uintmax_t bytes) {
    main.progressPosition(static_cast<int>(bytes / unit));
    if (!main.abortRequested) return false;
    main.abortRequested = false;
    return showMessage(platform, MessageIcon::Warning, MessageButtons::YesNo,
                       "Zatrzymano proces przewarzania pliku DXF",
                       "Przerwać generowanie pliku tekstowego z DXF?",
                       DialogResult::No) == DialogResult::Yes;
  };
  std::vector<std::string> records;
  const DxfTextResult result =
      convertDxfPairsToText(reader, program.settings.dxfIn, records, hooks);
  main.PreviewMemo.setLines(std::move(records));
  if (result == DxfTextResult::Aborted) return DxfReadOutcome::Aborted;
  main.SeparatorCombo.text = ",(przecinek)";
  main.PositionXCombo.text = "1";
  main.PositionYCombo.text = "2";
  main.PositionZCombo.text = "3";
  main.PositionSymbolCombo.text = "4";
  return DxfReadOutcome::Converted;
}

void readDxfDataCommand(TFORM_Main& main) {
  Program& program = main.program();
  Platform& platform = program.platform;
  CommandGuard guard(main);
  const auto chosen =
      platform.chooseOpenFile(main.openDialogRequest("Otwórz plik DXF", "Pliki DXF |*.dxf"));
  if (!chosen) return;
  platform.setBusyCursor(true);
  readSettings(program);
  if (!program.settings.dxfIn.isIdentity()) {
    // The mapping is the DXFWE line of merilon.knf, so the question names that file.
    const auto answer = showMessage(
        platform, MessageIcon::Question, MessageButtons::YesNo, "Transformacja współrzędnych",
        "Współrzędne punktów poddane zostaną transformacji zgodnie z zapisem w pliku "
        "\"merilon.knf\". Czy mimo to wczytywać?");
    if (answer != DialogResult::Yes) {
      main.progressPosition(0);
      return;
    }
  }
  const std::string name = chosen->string();
  main.logMessage("Otwarcie pliku DXF " + timeOfDay());
  main.currentDxfFile = name;
  main.currentTextFile.clear();
  main.addRecentFile(name);
  if (chosen->has_parent_path()) main.dataFolder = chosen->parent_path();
  main.logMessage("Rozpoczęcie wczytywania danych z pliku DXF " + timeOfDay());
  if (convertDxfToText(main, *chosen) == DxfReadOutcome::NotRead) {
    main.progressPosition(0);
    return;
  }
  main.logMessage("Zakończono wczytywanie danych z pliku: " + name + "   " + timeOfDay());
  main.logMessage("Liczba wybranych punktów z pliku: " +
                  formatInt(static_cast<long long>(main.PreviewMemo.lineCount())));
  main.progressPosition(0);
}

}  // namespace merilon
