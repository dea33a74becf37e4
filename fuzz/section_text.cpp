// The cross-section dialog on any file chosen with "Wybierz trasę" (its .TER output is offered
// back to it too): the file is loaded as the dialog loads it, and "Generuj" runs over a few
// points spread over the loaded extent. The dialog must end with its commands usable.
#include <cmath>

#include "alignment/cross_section_dialog.h"
#include "fuzz_program.h"
#include "points/point_name.h"
#include "points/point_store.h"

using namespace merilon;
using namespace merilon::fuzzing;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzProgram& p = sharedProgram();
  Program& program = *p.program;
  TFormPoprzeczka& dialog = program.FormPoprzeczka;
  program.main.LogMemo.setLines({});
  p.platform.openFile = p.folder.put("teren.TER", asText(data, size));
  p.platform.saveFile.reset();  // the save dialog is cancelled
  dialog.setMode(false);
  dialog.FormActivate();
  dialog.Button5Click();
  if (!dialog.alignmentLoaded) return 0;
  const Alignment& a = program.alignment;
  PointStore& points = program.points;
  points.clearPoints();
  if (a.count >= 1 && std::isfinite(a.maxX - a.minX) && std::isfinite(a.maxY - a.minY)) {
    for (int k = 0; k < 12; ++k) {
      if (!points.reservePoint()) break;
      const double t = k / 11.0;
      points.setPoint(points.pointCount(), a.minX + (a.maxX - a.minX) * t + (k % 3) - 1,
                      a.minY + (a.maxY - a.minY) * t, k, PointName::fromText("P"), 0);
    }
  }
  dialog.Edit5.text = size > 0 && (data[0] & 1) ? "0" : "4";
  dialog.RadioButton2.checked = size > 0 && (data[0] & 2);
  dialog.Button1Click();
  if (!program.main.Button10.enabled) propertyFailed("the commands stay disabled");
  return 0;
}
