#include "points/text_import.h"

#include <cmath>
#include <vector>

#include "platform/cp1250.h"
#include "platform/number_text.h"
#include "points/no_value.h"
#include "points/numeric_helpers.h"
#include "points/point_file.h"
#include "shell/main_window.h"
#include "shell/program.h"

namespace merilon {

bool readRecordStructure(const TFORM_Main& main, RecordParser& parser, RecordStructure& out) {
  if (main.SeparatorCombo.text.empty()) return false;
  std::string separator = utf8Prefix(main.SeparatorCombo.text, 1);
  parser.fieldSeparator = separator == "t" ? "\t" : separator;
  const std::int32_t positions[5] = {
      parseIntText(main.PositionXCombo.text), parseIntText(main.PositionYCombo.text),
      parseIntText(main.PositionZCombo.text), parseIntText(main.PositionSymbolCombo.text),
      parseIntText(main.PositionTypeCombo.text)};
  for (std::int32_t p : positions) {
    if (p == NO_VALUE) return false;
  }
  out = RecordStructure{positions[0], positions[1], positions[2], positions[3], positions[4]};
  if (out.x < 1 || out.y < 1 || out.z < 1) return false;
  if (out.symbol == out.x || out.symbol == out.y || out.symbol == out.z) return false;
  if (out.z == out.x || out.z == out.y || out.y == out.x) return false;
  return true;
}

void importPreviewText(TFORM_Main& main) {
  Program& program = main.program();
  Platform& platform = program.platform;
  PointStore& points = program.points;
  RecordParser& parser = program.parser;
  CommandGuard guard(main);
  int emptyLines = 0;

  if (points.pointCount() > 0) {
    program.drawingPrepared = false;
    const auto answer = showMessage(platform, MessageIcon::Question, MessageButtons::YesNoCancel,
                                    "Wpisywanie punktów",
                                    "Zbiór punktów zawiera już " + formatInt(points.pointCount()) +
                                        " punktów. Dopisać nowe dane? (nie -zapis od nowa)",
                                    DialogResult::Yes);
    if (answer == DialogResult::Cancel) return;
    if (answer == DialogResult::No) {
      points.clearPoints();
      // From here on the store differs from any file: however the import ends, closing asks.
      main.pointsSaved = false;
      main.pointToolLines.clear();
    }
  }
  // The store is appended to or replaced: the undo history starts again.
  if (program.pointsReplaced) program.pointsReplaced(false);
  RecordStructure structure;
  if (!readRecordStructure(main, parser, structure)) {
    showMessage(platform, MessageIcon::Error, MessageButtons::Ok, "Błąd",
                "Błędnie podane parametry dla pliku z danymi (struktura, separator)");
    main.refreshPointCount();
    return;
  }
  // Only a usable structure is remembered: a wrong one would come back with the file. The
  // settings file is split at commas, so the records' separator is set again afterwards.
  if (!main.currentTextFile.empty()) {
    main.saveFileParams(main.currentTextFile);
    readRecordStructure(main, parser, structure);
  }
  main.logMessage("---- Wczytywanie dodatkowych danych (punkty) z pliku: " + main.currentTextFile);

  // The import reads the lines as they are now: text pasted into the preview meanwhile cannot
  // disturb the loop.
  const auto snapshot = main.PreviewMemo.snapshot();
  const TextLines& lines = *snapshot;
  points.expectPoints(points.pointCount() + static_cast<int>(lines.size()));
  int added = 0;
  int withoutCoordinates = 0;
  main.progressStart(static_cast<int>(lines.size()) - 1);

  auto logSkipped = [&] {
    if (withoutCoordinates > 0) {
      main.logMessage("Pominięte wiersze bez współrzędnych X, Y: " + formatInt(withoutCoordinates));
    }
  };
  auto log = [&](const std::string& text) { main.logMessage(text); };

  for (std::size_t l = 0; l < lines.size(); ++l) {
    if (main.abortRequested) {
      main.abortRequested = false;
      if (showMessage(platform, MessageIcon::Warning, MessageButtons::YesNo,
                      "Zatrzymano proces wczytywania danych",
                      "Przerwać wczytywanie?") == DialogResult::Yes) {
        logSkipped();
        main.refreshPointCount();
        return;
      }
    }
    if (emptyLines > 100) {
      const auto answer = showMessage(
          platform, MessageIcon::Question, MessageButtons::YesNo, "Brak danych w linii",
          "Dużo linii bez danych (może wybrany zły znak rozdzielający?), Przerwać wczytywanie?");
      emptyLines = 0;
      if (answer == DialogResult::Yes) {
        logSkipped();
        main.refreshPointCount();
        return;
      }
    }
    parser.recordLine.assign(lines[l]);
    parser.splitRecord();
    if (parser.fieldCount() < 2) {
      ++emptyLines;
      continue;
    }
    main.progressPosition(static_cast<int>(l));
    const int fields = parser.fieldCount();
    if (fields < structure.x || fields < structure.y || fields < structure.z) continue;
    // A record without numeric X or Y (a header line, say) is no point. So is a value whose
    // rounding overflows: it could be written only as "INF".
    const auto readX = parseDouble(parser.textField(structure.x));
    const auto readY = parseDouble(parser.textField(structure.y));
    const double x = readX ? round2(*readX) : 0;
    const double y = readY ? round2(*readY) : 0;
    if (!readX || !readY || !std::isfinite(x) || !std::isfinite(y)) {
      ++withoutCoordinates;
      continue;
    }
    double z = round3(parser.floatField(structure.z));
    if (!std::isfinite(z)) z = NO_VALUE_F;
    std::string_view symbol;
    if (structure.symbol >= 1) symbol = trimBlanks(parser.textField(structure.symbol));
    std::int32_t type = 0;
    if (structure.type >= 1) {
      type = parser.intField(structure.type);
      if (type == NO_VALUE) type = 0;
    }
    const NewPointCheck check =
        points.checkNewPoint(static_cast<int>(l) + 1, x, y, z, lines[l], log);
    if (!check.accept) continue;
    if (!points.reservePoint()) {
      logSkipped();
      main.refreshPointCount();
      return;
    }
    ++added;
    main.pointsSaved = false;
    const int i = points.pointCount();
    const PointName name =
        symbol.empty() ? PointName::fromText(defaultPointName(i)) : PointName::fromText(symbol);
    points.setPoint(i, x, y, z, name, type);
  }
  logSkipped();

  main.progressPosition(0);
  const auto answer = showMessage(
      platform, MessageIcon::Question, MessageButtons::YesNo, "Operacja dodawania punktów",
      "Liczba dopisanych punktów: " + formatInt(added) + " Zapisać punkty?", DialogResult::Yes);
  main.pointsSaved = false;
  if (answer == DialogResult::Yes) {
    platform.setBusyCursor(true);
    savePointsCommand(main);
  }
  main.refreshPointCount();
}

}  // namespace merilon
