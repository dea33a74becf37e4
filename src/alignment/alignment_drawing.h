// Draws the loaded alignment on the plan: the axis with curves as polylines fine enough for the
// zoom, a chainage mark every 100 units with hectometre and kilometre symbols and numbers, the
// main points' leaders and labels, and the generated cross-sections as coloured lines across it.
#pragma once

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "alignment/alignment.h"

namespace merilon {

class DrawTarget;
class RecordParser;

struct AlignmentDrawingParams {
  double scaleDenominator = 1000;  // M of 1:M (|printScale|)
  std::array<double, 4> trapar{};  // TRAPAR fields 2..5, centimetres on paper
  double sectionTextSize = 0;      // POPPAR field 2
  bool printing = false;           // printing part of the drawing at a scale
  int drukar = 0;                  // DRUKAR: 1 prints in black
};

// The pen colour of the axis, its leaders and labels.
int alignmentColour(const AlignmentDrawingParams& p);

// The arc length whose chord deviates from a curve of radius r by half a pixel (0.05 units on
// paper), but at least one pixel (0.05 units).
double curveStep(double r, double viewScale, bool printing);
// The radius that sets the step of a curved element from the next (P) and current (Q) radius.
double curveDrawRadius(double next, double current);

// Axis, then chainage marks, then main-point labels.
void drawAlignment(DrawTarget& target, Alignment& alignment, const AlignmentDrawingParams& p);

// The pen colour of a cross-section segment, from the layer value of its first point: 3 for
// terrain (0), 6 for pavement (negative), 2 for humus (positive).
int sectionSegmentColour(double layerValue);

// The cross-section lines of a .TER text. `update` lets the surface show progress every 100
// sections (not while printing).
void drawCrossSections(DrawTarget& target, Alignment& alignment, RecordParser& parser,
                       const std::vector<std::string>& terText, const AlignmentDrawingParams& p,
                       const std::function<void()>& update);

}  // namespace merilon
