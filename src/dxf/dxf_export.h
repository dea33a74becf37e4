// "Generuj DXF3D": the dialog TFormDXF with the choice of what to draw, and `exportDxf3d`, which
// writes the points, their labels and the terrain cross-sections as a release-12 DXF drawing.
#pragma once

#include <string>
#include <vector>

#include "platform/controls.h"
#include "platform/platform.h"

namespace merilon {

class Program;
class DxfWriter;

// The fixed table of twenty layers of every exported drawing, in order.
struct DxfLayer {
  const char* name;
  int colour;
};
const std::vector<DxfLayer>& dxfLayers();

// Label placement: offset of symbols and numbers from the point (times the label height), lift
// of every label above its point, offset of the chainage label (times its height).
inline constexpr double kLabelOffsetFactor = 1.05;
inline constexpr double kLabelLift = 0.3;
inline constexpr double kChainageLabelOffsetFactor = 1.2;

class TFormDXF : public Form {
 public:
  explicit TFormDXF(Program& program);

  Label GroupBox1;     // "Wybór elementów do rysowania"
  CheckBox CheckBox1;  // "Punkty"
  CheckBox CheckBox3;  // "Symbole"
  CheckBox CheckBox5;  // "Rzędne"
  CheckBox CheckBox6;  // "Nr punktów"
  Label Label1;        // "Wysokość opisów"
  Edit Edit1;          // labelHeight
  CheckBox CheckBox2;  // "Przekroje poprzeczne"
  Label Label2;        // "Wysokość opisu pikietaży"
  Edit Edit2;          // chainageLabelHeight
  Button Button1;      // "Dalej"
  Button Button2;      // "Rezygnuj"

  // The name of the last DXF file written, proposed again by the next export.
  std::string lastDxfName;

  // "Dalej": closes the dialog, then exports.
  void Button1Click();
  // "Rezygnuj".
  void Button2Click();

 private:
  Program& program_;
};

// "Generuj DXF3D" of the main window (Button7Click).
void generateDxf3dCommand(Program& program);

// The export as "Dalej" runs it: questions, save dialog, the file.
void exportDxf3d(Program& program, TFormDXF& dialog);

}  // namespace merilon
