#include "dxf/underlay_command.h"

#include <climits>

#include "dxf/dxf_underlay_reader.h"
#include "platform/number_text.h"
#include "points/numeric_helpers.h"
#include "shell/main_window.h"
#include "shell/program.h"

namespace merilon {
namespace {

void redrawOpenDrawing(Program& program) {
  TGRAFIKA& drawing = program.GRAFIKA;
  if (drawing.visible && drawing.setupDone && drawing.surface()) drawing.redraw();
}

// Clears the load flag however the load ends, so that the drawing shows the table again.
struct LoadingFlag {
  explicit LoadingFlag(DxfUnderlay& u) : underlay(u) { underlay.loading = true; }
  ~LoadingFlag() {
    underlay.loading = false;
    underlay.touch();
  }
  DxfUnderlay& underlay;
};

}  // namespace

UnderlayLoadOutcome loadUnderlayFile(TFORM_Main& main, const std::filesystem::path& file) {
  Program& program = main.program();
  Platform& platform = program.platform;
  DxfUnderlay& underlay = program.underlay;
  DxfPairReader reader;
  std::string error;
  if (!reader.open(file, error)) {
    main.reportFileError("Błąd odczytu pliku", file.string(), error);
    return UnderlayLoadOutcome::NotRead;
  }
  if (reader.isBinary()) {
    showMessage(platform, MessageIcon::Error, MessageButtons::Ok, "Otwórz plik DXF",
                "Plik: " + file.string() +
                    " nie jest plikiem DXF w postaci tekstowej (zapisano go binarnie).");
    return UnderlayLoadOutcome::NotRead;
  }
  // The bar counts bytes in thousands, in larger units when the file is too big for that.
  std::uintmax_t unit = 1000;
  while (reader.size() / unit > static_cast<std::uintmax_t>(INT_MAX)) unit *= 2;
  main.progressStart(static_cast<int>(reader.size() / unit));
  const LoadingFlag loading(underlay);
  underlay.restartElements();
  main.showStatus("Wczytywanie rysunku z pliku DXF");

  UnderlayReadHooks hooks;
  hooks.log = [&main](const std::string& text) { main.logMessage(text); };
  hooks.progressEvery =
      std::max<std::uintmax_t>(static_cast<std::uintmax_t>(main.ProgressBar1.step) * unit, 1);
  hooks.progress = [&](std::uintmax_t bytes) {
    main.progressPosition(static_cast<int>(bytes / unit));
    if (!main.abortRequested) return false;
    main.abortRequested = false;
    return showMessage(platform, MessageIcon::Warning, MessageButtons::YesNo,
                       "Zatrzymano proces przetwarzania pliku DXF",
                       "Przerwać generowanie pliku tekstowego z DXF?",
                       DialogResult::No) == DialogResult::Yes;
  };
  const UnderlayReadResult result = readUnderlay(reader, underlay, hooks);
  if (result == UnderlayReadResult::Aborted) {
    main.showStatus("");
    return UnderlayLoadOutcome::Aborted;
  }
  if (result == UnderlayReadResult::OutOfMemory) {
    showMessage(platform, MessageIcon::Error, MessageButtons::Ok, "Błąd, alokacji pamięci",
                "Brak pamięci dla podczytania DXFa");
  }
  main.progressPosition(0);
  main.showStatus("");
  main.logMessage("Wczytano " + formatInt(underlay.elementCount) + " elementów z pliku " +
                  file.string());
  if (underlay.elementCount > 0) underlay.underlayShown = true;
  return UnderlayLoadOutcome::Loaded;
}

void loadUnderlay(TFORM_Main& main) {
  // The menu item has no button of its own: it waits, like the buttons, for a running command.
  if (!main.Button14.enabled) return;
  Program& program = main.program();
  Platform& platform = program.platform;
  DxfUnderlay& underlay = program.underlay;
  std::filesystem::path chosen;
  {
    CommandGuard guard(main);
    for (;;) {
      FileDialogRequest request;
      request.title = "Otwórz plik DXF";
      request.filter = "Pliki DXF |*.dxf";
      // The dialog starts where the last underlay came from; before the first, in the data
      // folder.
      const std::filesystem::path folder = underlay.underlayFileName.parent_path();
      if (!folder.empty()) main.dataFolder = folder;
      request.initialFolder = main.dataFolder;
      const auto answer = platform.chooseOpenFile(request);
      if (!answer) return;
      chosen = *answer;
      underlay.underlayFileName = chosen;
      if (chosen.has_parent_path()) main.dataFolder = chosen.parent_path();
      if (fileExists(chosen)) break;
      if (showMessage(platform, MessageIcon::Error, MessageButtons::YesNo, "Błąd",
                      "Brak pliku " + chosen.string() + ",Chcesz spróbować jeszcze raz?",
                      DialogResult::Yes) != DialogResult::Yes) {
        return;
      }
    }
    platform.setBusyCursor(true);
    if (loadUnderlayFile(main, chosen) == UnderlayLoadOutcome::NotRead) return;
  }
  redrawOpenDrawing(program);
}

void hideUnderlay(TFORM_Main& main) {
  main.program().underlay.underlayShown = false;
  redrawOpenDrawing(main.program());
}

}  // namespace merilon
