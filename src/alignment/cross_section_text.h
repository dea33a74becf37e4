// The sections of a .TER text as values: one reader of the file's lines, shared by the plan's
// cross-section lines, the cross-section viewer and its printout. Lines are numbered from 1 as
// the user sees them in an editor.
#pragma once

#include <string>
#include <vector>

namespace merilon {

class RecordParser;

struct SectionPoint {
  double offset = 0;      // metres, negative to the left of the axis
  double height = 0;      // Z
  double layerValue = 0;  // 0 terrain, < 0 pavement, > 0 humus; -9999999 on the last point
};

struct TerSection {
  double chainage = 0;
  int line = 0;                      // the section's own line
  int declaredPoints = 0;            // field 2 of that line divided by 3
  std::vector<SectionPoint> points;  // as the file lists them (by ascending offset)
};

struct CrossSectionText {
  // Line 2 announces the number of sections (its field 5 plus 1); -1 when it holds the
  // placeholder of a run with fewer than three sections, or anything else.
  long long announcedSections = -1;
  std::vector<TerSection> sections;
  // The first line the reader could not use (0: none) and why, in the user's words.
  int problemLine = 0;
  std::string problem;
};

// Reads the sections of a .TER text. With an announced count the reader takes that many
// sections, otherwise every section up to the end of the text. It stops at the first line it
// cannot use (a section line without a chainage or a point count, a point value that is not a
// number, the text ending inside a section), keeping what it read before; a section cut short
// keeps its points read so far. The parser's separator is set to ",".
CrossSectionText readCrossSectionText(const std::vector<std::string>& lines, RecordParser& parser);

}  // namespace merilon
