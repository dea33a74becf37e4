#include "alignment/cross_section_text.h"

#include <algorithm>
#include <climits>
#include <cmath>

#include "platform/number_text.h"
#include "points/no_value.h"
#include "points/numeric_helpers.h"
#include "points/record_parser.h"

namespace merilon {
namespace {

bool blank(const std::string& line) { return trimBlanks(line).empty(); }

}  // namespace

CrossSectionText readCrossSectionText(const std::vector<std::string>& lines, RecordParser& parser) {
  CrossSectionText result;
  parser.fieldSeparator = ",";
  const auto split = [&parser, &lines](std::size_t index) {
    parser.recordLine = lines[index];
    parser.splitRecord();
  };
  const auto fail = [&result](std::size_t index, const char* why) {
    result.problemLine = static_cast<int>(index) + 1;
    result.problem = why;
  };
  if (lines.size() < 2) {
    if (!lines.empty()) fail(lines.size() - 1, "brak wiersza z liczbą przekrojów");
    return result;
  }
  split(1);
  const double announced = parser.floatField(5);
  // A count beyond any real file is still bounded by the lines that follow.
  if (announced >= 0 &&
      announced == static_cast<double>(static_cast<long long>(std::min(announced, 1e15)))) {
    result.announcedSections = static_cast<long long>(announced) + 1;
  }
  std::size_t line = 2;
  while (result.announcedSections < 0 ||
         static_cast<long long>(result.sections.size()) < result.announcedSections) {
    if (line >= lines.size() ||
        std::all_of(lines.begin() + static_cast<long>(line), lines.end(), blank)) {
      break;
    }
    split(line);
    const double chainage = parser.floatField(1);
    const double fieldTwo = parser.floatField(2);
    if (chainage == NO_VALUE_F || !(fieldTwo >= 3)) {
      fail(line, "brak pikietażu lub liczby punktów przekroju");
      return result;
    }
    TerSection section;
    section.chainage = chainage;
    section.line = static_cast<int>(line) + 1;
    const double declared = std::floor(fieldTwo) / 3;
    section.declaredPoints = static_cast<int>(std::min(std::floor(declared), double{INT_MAX}));
    ++line;
    for (int j = 0; j < section.declaredPoints; ++j, line += 4) {
      if (line + 2 >= lines.size()) {
        result.sections.push_back(std::move(section));
        fail(lines.size() - 1, "plik kończy się wewnątrz przekroju");
        return result;
      }
      SectionPoint p;
      p.offset = parseFloatText(lines[line]);
      p.height = parseFloatText(lines[line + 1]);
      p.layerValue = parseFloatText(lines[line + 2]);
      const double values[] = {p.offset, p.height, p.layerValue};
      for (int k = 0; k < 3; ++k) {
        if (values[k] == NO_VALUE_F) {
          result.sections.push_back(std::move(section));
          fail(line + static_cast<std::size_t>(k), "wartość punktu przekroju nie jest liczbą");
          return result;
        }
      }
      section.points.push_back(p);
    }
    result.sections.push_back(std::move(section));
  }
  if (result.announcedSections > static_cast<long long>(result.sections.size())) {
    fail(1, "zapowiedziano więcej przekrojów, niż zawiera plik");
  }
  return result;
}

}  // namespace merilon
