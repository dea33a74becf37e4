// The alignment file (.TRS, .TRW): any bytes read as an alignment, then walked and projected on
// at chainages and points in and around its extent.
#include "alignment/alignment.h"

#include <cmath>

#include "alignment/alignment_geometry.h"
#include "fuzz_program.h"
#include "points/record_parser.h"

using namespace merilon;
using namespace merilon::fuzzing;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const FuzzFolder folder;
  static QuietPlatform platform;
  const auto file = folder.put("trasa.TRS", asText(data, size));
  Alignment alignment;
  if (!alignment.initialise(platform)) return 0;
  RecordParser parser;
  std::vector<std::string> lines;
  std::string error;
  if (readAlignmentFile(file, parser, alignment, platform, lines, error) !=
      AlignmentReadStatus::Ok) {
    return 0;
  }
  if (alignment.count > static_cast<int>(lines.size())) propertyFailed("records made up");
  if (alignment.count < 1) return 0;
  const double c0 = alignment.chainage[1];
  const double c1 = alignment.chainage[static_cast<std::size_t>(alignment.count)];
  for (int k = -1; k <= 5; ++k) {
    double x = 0, y = 0, azimuth = 0;
    pointAtChainage(alignment, c0 + (c1 - c0) * k / 4.0, x, y, azimuth);
    double chainage = c0, offset = -99999999, footX = 0, footY = 0;
    projectOnAlignment(alignment, x + 1, y - 1, chainage, offset, footX, footY);
  }
  ProjectionTask tasks[3] = {
      {alignment.minX, alignment.minY, c0, -99999999, false},
      {alignment.maxX, alignment.maxY, c1, 0, false},
      {(alignment.minX + alignment.maxX) / 2, alignment.maxY, 0, -99999999, false}};
  projectOnAlignment(alignment, tasks, 3);
  return 0;
}
