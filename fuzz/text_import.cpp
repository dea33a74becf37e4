// The text import as the user runs it: "Otwórz plik tekstowy" reads the bytes into the preview,
// "Wczytaj do Punktów" splits the records by the structure the first byte picks, and the store
// must hold exactly the points the log counts.
#include <string>

#include "fuzz_program.h"
#include "points/point_store.h"

using namespace merilon;
using namespace merilon::fuzzing;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const char* const kSeparators[] = {",", " ", ";", "\t", "t", "|", "/", ":"};
  FuzzProgram& p = sharedProgram();
  TFORM_Main& main = p.main();
  const std::string_view text = asText(data, size);
  const unsigned char pick = size > 0 ? static_cast<unsigned char>(text[0]) : 0;
  p.program->points.clearPoints();
  main.LogMemo.setLines({});
  p.platform.answer = DialogResult::No;
  p.platform.openFile = p.folder.put("dane.csv", text.substr(size > 0 ? 1 : 0));
  main.Button1Click();
  main.SeparatorCombo.text = kSeparators[pick & 7];
  main.PositionXCombo.text = std::to_string(1 + ((pick >> 3) & 1));
  main.PositionYCombo.text = std::to_string(2 + ((pick >> 3) & 1));
  main.PositionZCombo.text = "3";
  main.PositionSymbolCombo.text = (pick & 0x10) ? "4" : "0";
  main.PositionTypeCombo.text = (pick & 0x20) ? "5" : "0";
  // Yes to every question but the last also runs the branches that go on after a question.
  p.platform.answer = (pick & 0x40) ? DialogResult::Yes : DialogResult::No;
  main.Button2Click();
  if (!main.Button2.enabled) propertyFailed("the commands stay disabled after the import");
  const int count = p.program->points.pointCount();
  if (count < 0 || static_cast<std::size_t>(count) > main.PreviewMemo.lines().size()) {
    propertyFailed("more points than preview lines");
  }
  return 0;
}
