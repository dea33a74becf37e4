#include "shell/settings.h"

#include <string>
#include <vector>

#include "platform/cp1250.h"
#include "platform/number_text.h"
#include "platform/text_file.h"
#include "points/no_value.h"
#include "points/numeric_helpers.h"
#include "points/record_parser.h"
#include "shell/program.h"

namespace merilon {
namespace {

constexpr int kMaxColour = 65535;
constexpr int kMaxDecimals = 15;

// A mapping line is taken whole or not at all: a scale or height factor of NO_VALUE or zero would
// throw every coordinate of an import or export far off (or divide by zero).
void readMapping(const RecordParser& parser, CoordinateMapping& mapping) {
  CoordinateMapping m;
  m.scale = parser.floatField(2);
  m.drawingOriginX = parser.floatField(3);
  m.drawingOriginY = parser.floatField(4);
  m.surveyOriginX = parser.floatField(5);
  m.surveyOriginY = parser.floatField(6);
  m.heightFactor = parser.floatField(7);
  for (double v : {m.scale, m.drawingOriginX, m.drawingOriginY, m.surveyOriginX, m.surveyOriginY,
                   m.heightFactor}) {
    if (v == NO_VALUE_F) return;
  }
  if (m.scale == 0 || m.heightFactor == 0) return;
  m.shiftX = m.surveyOriginX - m.drawingOriginX;
  m.shiftY = m.surveyOriginY - m.drawingOriginY;
  mapping = m;
}

// The number of decimals reaches a number format, so only a whole number 0..15 is taken.
void readDecimals(const RecordParser& parser, int& decimals) {
  const auto value = parseInt32(parser.textField(2));
  if (value && *value >= 0 && *value <= kMaxDecimals) decimals = *value;
}

}  // namespace

std::array<int, Settings::kColourEntries> Settings::defaultColours() {
  std::array<int, kColourEntries> colours{};
  for (int k = 0; k < kColourEntries; ++k) colours[static_cast<std::size_t>(k)] = k + 1;
  return colours;
}

void readSettings(Settings& settings, RecordParser& parser, const std::filesystem::path& file) {
  settings.colours = Settings::defaultColours();
  settings.dxfIn = CoordinateMapping{};
  settings.dxfOut = CoordinateMapping{};
  settings.xyDecimals = 2;
  settings.zDecimals = 3;

  std::vector<std::string> lines;
  std::string error;
  if (!fileExists(file) || !readCp1250Lines(file, lines, error)) return;

  parser.fieldSeparator = ",";
  for (const auto& line : lines) {
    parser.recordLine = line;
    if (!parser.splitRecord()) continue;
    const std::string key = upperCase(trimBlanks(parser.textField(1)));
    if (key == "KOLOR") {
      const std::int32_t index = parser.intField(2);
      const std::int32_t colour = parser.intField(3);
      if (index >= 0 && index < Settings::kColourEntries && colour >= 0 && colour <= kMaxColour) {
        settings.colours[static_cast<std::size_t>(index)] = colour;
      }
    } else if (key == "DXFWE") {
      readMapping(parser, settings.dxfIn);
    } else if (key == "DXFWY") {
      readMapping(parser, settings.dxfOut);
    } else if (key == "FORXY") {
      readDecimals(parser, settings.xyDecimals);
    } else if (key == "FORMZ") {
      readDecimals(parser, settings.zDecimals);
    } else if (key == "DRUKAR") {
      const std::int32_t mode = parser.intField(2);
      if (mode >= 0 && mode <= kMaxColour) settings.printMode = mode;
    } else if (key == "TRAPAR") {
      for (int k = 0; k < 4; ++k) {
        settings.alignmentSizes[static_cast<std::size_t>(k)] = parser.floatField(k + 2);
      }
    } else if (key == "POPPAR") {
      settings.sectionTextSize = parser.floatField(2);
    } else if (key == "RYSIAT") {
      settings.gridSpacing = parser.floatField(2);
    }
  }
}

void readSettings(Program& program) {
  // Read through the hidden buffer, which then no longer holds the cross-section text.
  program.FormPoprzeczka.sectionTextLoaded = false;
  readSettings(program.settings, program.parser, program.folders.forReading("merilon.knf"));
}

}  // namespace merilon
