// merilon.knf: the drawing, printing and DXF settings the user edits with a text editor. The
// program only reads the file, afresh at every use, so an edit takes effect at the next drawing,
// export or DXF reading.
#pragma once

#include <array>
#include <filesystem>

namespace merilon {

class Program;
class RecordParser;

// A DXFWE or DXFWY line: scale S, the origin of the drawing (fields 3, 4), the origin in the
// survey system (fields 5, 6) and the height factor F. Reading maps a drawing coordinate x to
// (x − drawingOriginX)·S + surveyOriginX and a height z to z·F; the defaults map nothing.
struct CoordinateMapping {
  double scale = 1;
  double drawingOriginX = 0, drawingOriginY = 0;
  double surveyOriginX = 0, surveyOriginY = 0;
  double shiftX = 0, shiftY = 0;  // survey origin − drawing origin
  double heightFactor = 1;

  // True when the mapping leaves every coordinate as it is.
  bool isIdentity() const { return scale == 1 && shiftX == 0 && shiftY == 0 && heightFactor == 1; }
};

struct Settings {
  static constexpr int kColourEntries = 21;  // KOLOR indices 0..20

  // KOLOR: the DXF colour of each layer entry; entry k holds k + 1 unless a line sets it.
  std::array<int, kColourEntries> colours = defaultColours();
  CoordinateMapping dxfIn;   // DXFWE: reading DXF data
  CoordinateMapping dxfOut;  // DXFWY: the DXF export
  // FORXY, FORMZ: decimals of the X, Y and of the height values in the DXF export ("%.2f" and
  // "%.3f" unless set). Always 0..15.
  int xyDecimals = 2;
  int zDecimals = 3;

  // Not reset when the file is read again: a value stays when its line is removed.
  int printMode = 0;                       // DRUKAR: 1 prints point layers and grid in black
  std::array<double, 4> alignmentSizes{};  // TRAPAR: alignment drawing sizes, cm on paper
  double sectionTextSize = 0;              // POPPAR: chainage text of a cross-section
  double gridSpacing = 0;                  // RYSIAT: grid of the drawing window, metres

  static std::array<int, kColourEntries> defaultColours();
};

// Reads merilon.knf into `settings`. KOLOR, DXFWE, DXFWY, FORXY and FORMZ take their defaults
// first; DRUKAR, TRAPAR, POPPAR and RYSIAT keep their values when the file has no line for them.
// A missing or unreadable file leaves the defaults in force, without a message. A later line
// with the same key overrides an earlier one; lines with unknown keys (comments) are skipped.
// Values out of range are ignored: a KOLOR index outside 0..20 or colour outside 0..65535, a
// DRUKAR value outside 0..65535, FORXY or FORMZ decimals that are not a whole number 0..15, and a
// DXFWE or DXFWY line with an unreadable number or a zero scale or height factor.
void readSettings(Settings& settings, RecordParser& parser, const std::filesystem::path& file);

// The program's settings from its merilon.knf (the user's copy first when the program folder is
// not writable).
void readSettings(Program& program);

}  // namespace merilon
