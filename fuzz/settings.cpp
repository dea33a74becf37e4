// merilon.knf as the user edits it: whatever the lines say, the settings stay in their ranges.
#include "shell/settings.h"

#include "fuzz_program.h"
#include "points/record_parser.h"

using namespace merilon;
using namespace merilon::fuzzing;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const FuzzFolder folder;
  const auto file = folder.put("merilon.knf", asText(data, size));
  Settings settings;
  RecordParser parser;
  readSettings(settings, parser, file);
  if (settings.xyDecimals < 0 || settings.xyDecimals > 15 || settings.zDecimals < 0 ||
      settings.zDecimals > 15) {
    propertyFailed("decimals outside 0..15");
  }
  for (int c : settings.colours) {
    if (c < 0 || c > 65535) propertyFailed("colour outside 0..65535");
  }
  if (settings.printMode < 0 || settings.printMode > 65535) propertyFailed("DRUKAR outside range");
  if (settings.dxfIn.scale == 0 || settings.dxfOut.scale == 0 || settings.dxfIn.heightFactor == 0 ||
      settings.dxfOut.heightFactor == 0) {
    propertyFailed("a zero scale or height factor was taken");
  }
  return 0;
}
