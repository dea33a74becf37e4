// "Otwórz Punkty" on any bytes; then the points saved with "Zapisz Punkty" and opened again
// must be the same points: every point line of the second reading equals that of the first.
#include "points/point_file.h"

#include <string>
#include <vector>

#include "fuzz_program.h"
#include "points/point_store.h"

using namespace merilon;
using namespace merilon::fuzzing;

namespace {

std::vector<std::string> pointLines(const PointStore& points) {
  std::vector<std::string> lines;
  for (int i = 1; i <= points.pointCount(); ++i) lines.push_back(pointFileLine(points, i));
  return lines;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzProgram& p = sharedProgram();
  TFORM_Main& main = p.main();
  main.LogMemo.setLines({});
  p.platform.answer = DialogResult::Yes;  // overwrite the previous round's file
  p.platform.openFile = p.folder.put("pomiar.meri", asText(data, size));
  main.Button3Click();
  const std::vector<std::string> first = pointLines(p.program->points);
  if (first.empty()) return 0;

  p.platform.saveFile = p.folder.path() / "zapis.meri";
  main.Button5Click();
  if (!main.pointsSaved) propertyFailed("the points could not be saved");
  p.platform.openFile = p.platform.saveFile;
  main.Button3Click();
  const std::vector<std::string> second = pointLines(p.program->points);
  if (second.size() != first.size()) {
    propertyFailed("saved " + std::to_string(first.size()) + " points, read back " +
                   std::to_string(second.size()));
  }
  for (std::size_t i = 0; i < first.size(); ++i) {
    if (first[i] != second[i]) propertyFailed("point read as " + first[i] + ", then " + second[i]);
  }
  return 0;
}
