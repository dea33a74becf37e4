#include "points/text_import.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <string_view>
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

namespace {

// What the import takes from one record, read ahead of its turn (reading has no effect on
// anything else), so that the duplicate test's table slot can be fetched from memory meanwhile.
struct ImportRecord {
  int fields = 0;
  bool enoughFields = false;  // X, Y and Z are within the fields
  bool coordinates = false;   // numeric X and Y whose rounding is finite
  double x = 0, y = 0, z = 0;
  std::string_view symbol;    // within the record's line
  std::int32_t type = 0;
};

// How many records are read ahead: enough to hide a fetch from memory behind their reading.
constexpr std::size_t kRecordsAhead = 8;

ImportRecord readImportRecord(RecordParser& parser, std::string_view line,
                              const RecordStructure& structure) {
  ImportRecord r;
  parser.recordLine.assign(line);
  parser.splitRecord();
  r.fields = parser.fieldCount();
  if (r.fields < 2) return r;
  r.enoughFields = r.fields >= structure.x && r.fields >= structure.y && r.fields >= structure.z;
  if (!r.enoughFields) return r;
  // A record without numeric X or Y (a header line, say) is no point. So is a value whose
  // rounding overflows: it could be written only as "INF".
  const auto readX = parseDouble(parser.textField(structure.x));
  const auto readY = parseDouble(parser.textField(structure.y));
  r.x = readX ? round2(*readX) : 0;
  r.y = readY ? round2(*readY) : 0;
  r.coordinates = readX && readY && std::isfinite(r.x) && std::isfinite(r.y);
  if (!r.coordinates) return r;
  r.z = round3(parser.floatField(structure.z));
  if (!std::isfinite(r.z)) r.z = NO_VALUE_F;
  if (structure.symbol >= 1) {
    // The same characters in the snapshot's line, which outlives the parser's copy.
    const std::string_view field = trimBlanks(parser.textField(structure.symbol));
    if (!field.empty()) {
      r.symbol = line.substr(static_cast<std::size_t>(field.data() - parser.recordLine.data()),
                             field.size());
    }
  }
  if (structure.type >= 1) {
    r.type = parser.intField(structure.type);
    if (r.type == NO_VALUE) r.type = 0;
  }
  return r;
}

}  // namespace

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
  // settings file is split at commas with the same parser, so the records' separator is put
  // back afterwards; the structure itself stays as read.
  if (!main.currentTextFile.empty()) {
    const std::string separator = parser.fieldSeparator;
    main.saveFileParams(main.currentTextFile);
    parser.fieldSeparator = separator;
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

  std::array<ImportRecord, kRecordsAhead> ahead;
  auto readAhead = [&](std::size_t l) {
    ImportRecord& r = ahead[l % kRecordsAhead];
    r = readImportRecord(parser, lines[l], structure);
    if (r.coordinates) points.prefetchNewPoint(r.x, r.y);
  };
  for (std::size_t l = 0; l < std::min(kRecordsAhead, lines.size()); ++l) readAhead(l);

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
    const ImportRecord record = ahead[l % kRecordsAhead];
    if (l + kRecordsAhead < lines.size()) readAhead(l + kRecordsAhead);
    if (record.fields < 2) {
      ++emptyLines;
      continue;
    }
    main.progressPosition(static_cast<int>(l));
    if (!record.enoughFields) continue;
    if (!record.coordinates) {
      ++withoutCoordinates;
      continue;
    }
    const double x = record.x, y = record.y, z = record.z;
    const std::string_view symbol = record.symbol;
    const std::int32_t type = record.type;
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
