// "Wczytaj do Punktów": turns the lines of the main window's preview pane into points, by the
// record structure the user set (separator and the positions of X, Y, Z, symbol and type).
#pragma once

#include <string>

namespace merilon {

class TFORM_Main;
class RecordParser;

struct RecordStructure {
  int x = 1, y = 2, z = 3, symbol = 4, type = 0;
};

// Reads the separator into the parser and the five positions; false when the structure is not
// usable (empty separator, positions below 1, positions that coincide, or not numbers).
bool readRecordStructure(const TFORM_Main& main, RecordParser& parser, RecordStructure& out);

// The whole import command with its questions, log lines, progress, abort and summary.
void importPreviewText(TFORM_Main& main);

}  // namespace merilon
