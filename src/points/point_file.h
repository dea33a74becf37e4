// The point file (.meri): "Zapisz Punkty" writes the whole store, "Otwórz Punkty" reads it back.
// The writer also serves the two text exports.
#pragma once

#include <string>
#include <vector>

namespace merilon {

class TFORM_Main;
class PointStore;

inline constexpr const char* kPointFileHeader = "@MERI_PUNKT_1.0";

// What the shared writer writes.
enum class WriteKind {
  PreviewText,  // the preview lines as they stand (empty kind)
  Points,       // the point file ("punkty")
  PointText,    // the points as "%.2f,%.2f,%.2f,%s,%d", type 9 left out ("PKTtxtpkt")
};

// Writes `fileName` by kind; false when the user declined to overwrite or the file could not be
// written (which is reported). The preview lines are taken by value: the progress bar lets the
// user act while the file is written, and nothing done meanwhile may change what is written.
bool writeTextFile(TFORM_Main& main, std::vector<std::string> previewLines,
                   const std::string& fileName, int firstLine, WriteKind kind);

// One point line of the point file, in code page 1250 bytes without the line end.
std::string pointFileLine(const PointStore& points, int i);
void appendPointFileLine(std::string& line, const PointStore& points, int i);
// One line of the point text export (UTF-8).
std::string pointTextLine(const PointStore& points, int i);

void savePointsCommand(TFORM_Main& main);
void openPointsCommand(TFORM_Main& main);

}  // namespace merilon
