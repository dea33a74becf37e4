#include "points/point_file.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "platform/cp1250.h"
#include "platform/number_text.h"
#include "platform/text_file.h"
#include "points/no_value.h"
#include "points/numeric_helpers.h"
#include "points/point_store.h"
#include "shell/main_window.h"
#include "shell/program.h"

namespace merilon {
namespace {

bool quoted(std::string_view text) {
  return text.size() >= 2 && text.front() == '"' && text.back() == '"';
}

// The name and type of a point line. A quoted name may hold commas and so span several fields:
// it runs to the third-last field that is not a trailing empty one (type and index follow it),
// or failing that to the first field that closes the quotation. A line without a quoted field 4
// keeps the old reading: field 4 is the name and field 5 the type. The enclosing characters
// (the quotation marks) are dropped.
void readNameAndType(const RecordParser& parser, PointName& name, std::int32_t& type) {
  int n = parser.fieldCount();
  while (n > 4 && trimBlanks(parser.textField(n)).empty()) --n;
  int last = 4;
  if (trimBlanks(parser.textField(4)).starts_with('"')) {
    if (n >= 6 && quoted(trimBlanks(parser.fieldSpan(4, n - 2)))) {
      last = n - 2;
    } else {
      for (int k = 4; k <= n; ++k) {
        if (quoted(trimBlanks(parser.fieldSpan(4, k)))) {
          last = k;
          break;
        }
      }
    }
  }
  const std::string_view text =
      trimBlanks(parser.fieldSpan(4, std::min(last, parser.fieldCount())));
  if (isAscii(text)) {
    name =
        PointName::fromText(text.size() > 2 ? text.substr(1, text.size() - 2) : std::string_view());
  } else {
    const std::string utf8(text);
    const std::size_t chars = utf8Length(utf8);
    std::string inner;
    if (chars > 2) {
      inner = utf8Prefix(utf8, chars - 1);
      inner.erase(0, utf8Prefix(inner, 1).size());
    }
    name = PointName::fromText(inner);
  }
  type = parser.intField(last + 1);
}

// Field k of a point line as a number, NO_VALUE when it is none. The writer rounds to 15
// significant digits, which takes a coordinate next to the largest number just beyond it; that
// text reads back as the largest number.
double savedNumber(const RecordParser& parser, int k) {
  if (k > parser.fieldCount()) return NO_VALUE_F;
  const auto value = parseSavedDouble(parser.textField(k));
  return value ? *value : NO_VALUE_F;
}

}  // namespace

void appendPointFileLine(std::string& line, const PointStore& points, int i) {
  const auto k = static_cast<std::size_t>(i);
  appendGeneral(line, points.pointX[k]);
  line += ',';
  appendGeneral(line, points.pointY[k]);
  line += ',';
  appendGeneral(line, points.pointZ[k]);
  line += ",\"";
  line += points.pointName[k].raw();
  line += "\",";
  appendInt(line, points.pointType[k]);
  line += ',';
  appendInt(line, i);
}

std::string pointFileLine(const PointStore& points, int i) {
  std::string line;
  appendPointFileLine(line, points, i);
  return line;
}

std::string pointTextLine(const PointStore& points, int i) {
  const auto k = static_cast<std::size_t>(i);
  return formatFixed(points.pointX[k], 2) + "," + formatFixed(points.pointY[k], 2) + "," +
         formatFixed(points.pointZ[k], 2) + "," + points.pointName[k].text() + "," +
         formatInt(points.pointType[k]);
}

bool writeTextFile(TFORM_Main& main, std::vector<std::string> previewLines,
                   const std::string& fileName, int firstLine, WriteKind kind) {
  Platform& platform = main.platform();
  const PointStore& points = main.program().points;
  if (!confirmOverwrite(platform, fileName, MessageIcon::Warning)) return false;
  SafeFileWriter writer(fileName);
  if (!writer.open()) {
    main.reportFileError("Błąd zapisu pliku", fileName, writer.error());
    return false;
  }
  // Nothing to write leaves no file behind: not the new one, nor the one it was to replace.
  bool empty = false;
  std::string line;
  switch (kind) {
    case WriteKind::Points:
      writer.writeLine(std::string(kPointFileHeader) + ",");
      writer.writeLine(",");
      if (points.pointCount() == 0) {
        empty = true;
        break;
      }
      main.progressStart(points.pointCount());
      for (int i = 1; i <= points.pointCount(); ++i) {
        line.clear();
        appendPointFileLine(line, points, i);
        line += "\r\n";
        writer.writeBytes(line);
        main.progressPosition(i);
      }
      break;
    case WriteKind::PointText:
      if (points.pointCount() == 0) {
        empty = true;
        break;
      }
      main.progressStart(points.pointCount());
      for (int i = 1; i <= points.pointCount(); ++i) {
        if (points.pointType[static_cast<std::size_t>(i)] != 9) {
          writer.writeLine(pointTextLine(points, i));
        }
        main.progressPosition(i);
      }
      break;
    case WriteKind::PreviewText: {
      const int n = static_cast<int>(previewLines.size());
      if (n - 1 - firstLine <= 0) {
        empty = true;
        break;
      }
      main.progressStart(n - 1 - firstLine);
      for (int i = firstLine; i < n; ++i) {
        writer.writeLine(previewLines[static_cast<std::size_t>(i)]);
        main.progressPosition(i - firstLine);
      }
      break;
    }
  }
  if (empty) {
    writer.discard();
    std::error_code ec;
    std::filesystem::remove(fileName, ec);
  } else if (!writer.commit()) {
    main.progressPosition(0);
    main.reportFileError("Błąd zapisu pliku", fileName, writer.error());
    return false;
  }
  main.progressPosition(0);
  main.saveFileParams(main.pointFileName);
  return true;
}

void savePointsCommand(TFORM_Main& main) {
  Platform& platform = main.platform();
  const int count = main.program().points.pointCount();
  main.progressStart(static_cast<int>(static_cast<long long>(count) * 11 / 10));
  platform.setBusyCursor(true);
  main.showStatus("Zapis do pliku punktów");
  FileDialogRequest request;
  request.filter = "Merilon- punkty|*.meri";
  request.defaultExtension = "meri";
  request.initialFolder = main.dataFolder;
  request.proposedName = main.pointFileName;
  const auto chosen = platform.chooseSaveFile(request);
  if (!chosen || chosen->empty()) {
    platform.setBusyCursor(false);
    main.showStatus("");
    return;
  }
  const std::string name = chosen->string();
  if (chosen->has_parent_path()) main.dataFolder = chosen->parent_path();
  // The extension is forced, and the recent list gets the file really written.
  main.pointFileName = stripExtension(name) + ".meri";
  main.addRecentFile(main.pointFileName);
  main.setDocumentTitle(main.pointFileName);
  main.pointsSaved = writeTextFile(main, {}, main.pointFileName, 0, WriteKind::Points);
  main.showStatus("");
  platform.setBusyCursor(false);
}

void openPointsCommand(TFORM_Main& main) {
  Program& program = main.program();
  Platform& platform = program.platform;
  PointStore& points = program.points;
  RecordParser& parser = program.parser;
  CommandGuard guard(main);
  parser.fieldSeparator = ",";

  const auto chosen = platform.chooseOpenFile(
      main.openDialogRequest("Otwórz plik punktów Merilonu", "Pliki Merilon |*.meri"));
  auto finish = [&] {
    platform.setBusyCursor(false);
    main.showStatus("");
    main.refreshPointCount();
  };
  if (!chosen) {
    finish();
    return;
  }
  platform.setBusyCursor(true);
  main.showStatus("Wczytywanie danych Merilonu, proszę chwilę zaczekać!");
  platform.processPendingEvents();
  program.drawingPrepared = false;
  if (program.discardAlignment) program.discardAlignment();
  if (program.pointsReplaced) program.pointsReplaced(main.pointsSaved);
  const std::string name = chosen->string();
  main.pointFileName = name;
  if (chosen->has_parent_path()) main.dataFolder = chosen->parent_path();
  main.logMessage("Wczytywanie danych Merilonu");

  if (fileExists(name)) {
    main.addRecentFile(name);
    main.loadFileParams(name);
    TextLineReader reader;
    std::string error;
    if (!reader.open(name, error)) {
      main.reportFileError("Błąd odczytu pliku", name, error);
    } else {
      main.progressStart(static_cast<int>(std::min<std::uintmax_t>(reader.fileSize(), 0x7FFFFFFF)));
      main.showStatus("Wczytywanie punktów");
      points.clearPoints();
      // Room for every line at once, so that the arrays grow in their steps without moving.
      points.expectPoints(static_cast<int>(std::min<std::size_t>(reader.lineCount(), 0x7FFFFFFF)));
      // Progress counts bytes; the file size may exceed what the bar holds, so it is scaled.
      const double scale =
          reader.fileSize() > 0x7FFFFFFF
              ? static_cast<double>(0x7FFFFFFF) / static_cast<double>(reader.fileSize())
              : 1.0;
      std::uintmax_t bytesRead = 0;
      std::size_t rawLength = 0;
      std::string line;
      while (reader.next(line, rawLength)) {
        bytesRead += rawLength + 2;
        parser.recordLine.swap(line);
        parser.splitRecord();
        if (points.pointCount() == 0) {
          if (parser.recordLine.find(kPointFileHeader) != std::string::npos) {
            // Line 2 is ignored; line 3 is the first point.
            std::string skipped;
            if (!reader.next(skipped, rawLength)) break;
            bytesRead += rawLength + 2;
            if (!reader.next(line, rawLength)) break;
            bytesRead += rawLength + 2;
            parser.recordLine.swap(line);
            parser.splitRecord();
          } else {
            showMessage(platform, MessageIcon::Warning, MessageButtons::Ok, "Wersja programu",
                        "Dane nie są dla aktualnej wersji programu, zostaną do niej zaimportowane");
          }
        }
        if (!points.reservePoint()) break;
        main.progressPosition(static_cast<int>(static_cast<double>(bytesRead) * scale));
        const int i = points.pointCount();
        PointName pointName;
        std::int32_t type = 0;
        readNameAndType(parser, pointName, type);
        points.setPoint(i, savedNumber(parser, 1), savedNumber(parser, 2), savedNumber(parser, 3),
                        pointName, type);
      }
      if (!reader.error().empty()) {
        // The points read before the failure stay; the user learns that the file was not
        // read to its end.
        main.reportFileError("Błąd odczytu pliku", name, reader.error());
      }
      main.showStatus("");
      main.progressPosition(0);
      main.setDocumentTitle(name);
      main.loadFileParams(name);
      main.logMessage("Liczba wczytanych punktów: " + formatInt(points.pointCount()));
    }
  }
  parser.fieldSeparator = ",";
  main.progressPosition(0);
  finish();
}

}  // namespace merilon
