#include "points/text_export.h"

#include "points/numeric_helpers.h"
#include "points/point_file.h"
#include "points/point_store.h"
#include "shell/main_window.h"
#include "shell/program.h"

namespace merilon {
namespace {

constexpr const char* kTextFilter = "Pliki tekstowe|*.txt";

std::string forcedTextName(const std::filesystem::path& chosen) {
  return stripExtension(chosen.string()) + ".txt";
}

}  // namespace

void exportPreviewText(TFORM_Main& main) {
  Program& program = main.program();
  Platform& platform = program.platform;
  FileDialogRequest request;
  request.filter = kTextFilter;
  request.defaultExtension = "txt";
  request.initialFolder = main.dataFolder;
  const auto chosen = platform.chooseSaveFile(request);
  if (!chosen || chosen->empty()) {
    main.enableCommands();
    return;
  }
  CommandGuard guard(main);
  program.lastTextExport = forcedTextName(*chosen);
  if (chosen->has_parent_path()) main.dataFolder = chosen->parent_path();
  if (!confirmOverwrite(platform, program.lastTextExport, MessageIcon::Question)) return;
  // The name keeps its case: upper-cased, it would name another file here.
  main.currentTextFile = program.lastTextExport;
  // Text pasted into the preview while the file is written ("Ze schowka" stays enabled) does not
  // reach this file.
  const auto lines = main.PreviewMemo.snapshot();
  writeTextFile(main, lines->toVector(), program.lastTextExport, 0, WriteKind::PreviewText);
}

void exportPointText(TFORM_Main& main) {
  Program& program = main.program();
  Platform& platform = program.platform;
  // The point export is not in the command set; under a running loop it would enable the
  // commands and move the progress bar, so it does not start.
  if (main.commandRunning()) {
    platform.beep();
    return;
  }
  if (program.points.pointCount() == 0) {
    showMessage(platform, MessageIcon::Warning, MessageButtons::Ok,
                "Zapis Punktów do plików tekstowych", "Nie wczytano Punktów !!!");
    return;
  }
  FileDialogRequest request;
  request.filter = kTextFilter;
  request.defaultExtension = "txt";
  request.initialFolder = main.dataFolder;
  request.proposedName = stripExtension(main.pointFileName) + "pkt.txt";
  const auto chosen = platform.chooseSaveFile(request);
  if (!chosen || chosen->empty()) return;
  CommandGuard guard(main);
  program.lastTextExport = forcedTextName(*chosen);
  if (chosen->has_parent_path()) main.dataFolder = chosen->parent_path();
  writeTextFile(main, {}, program.lastTextExport, 0, WriteKind::PointText);
}

}  // namespace merilon
