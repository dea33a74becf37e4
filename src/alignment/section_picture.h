// One terrain cross-section drawn as offset against height in a rectangle of a canvas: the
// grid with its offset and height labels, the axis, the segments coloured by layer value as on
// the plan, the points, the chainage and point count, and on paper the scale with a scale bar.
// The screen fits the section to the rectangle; paper draws it at a round scale 1:M.
#pragma once

#include <string>

#include "alignment/cross_section_text.h"
#include "platform/canvas.h"

namespace merilon {

struct SectionFrame {
  int left = 0, top = 0, width = 0, height = 0;  // canvas pixels
};

struct SectionPictureOptions {
  // Vertical scale over horizontal scale: 1 draws heights at the scale of the offsets.
  double exaggeration = 1;
  // Paper: a round scale 1:M that fits the section, written out with a scale bar.
  bool paper = false;
};

// Where a section went: the plot rectangle and the mapping of offset and height to pixels.
struct SectionPictureGeometry {
  int plotLeft = 0, plotTop = 0, plotRight = 0, plotBottom = 0;
  double pixelsPerMetreX = 0, pixelsPerMetreY = 0;
  double offsetAtLeft = 0;      // the offset at plotLeft
  double heightAtBottom = 0;    // the height at plotBottom
  double scaleDenominator = 0;  // paper only: M of 1:M horizontally
  double x(double offset) const { return plotLeft + (offset - offsetAtLeft) * pixelsPerMetreX; }
  double y(double height) const { return plotBottom - (height - heightAtBottom) * pixelsPerMetreY; }
};

// The segment pen is this wide (pixels at 96 per inch; wider on finer canvases).
inline constexpr int kSectionLineWidth = 3;

// The width of the thin lines (grid, frame, axis) on a canvas with `unit` pixels for each
// pixel at 96 per inch: one screen pixel, as thick on paper.
int hairWidth(double unit);

// The smallest round scale denominator (1, 2, 2.5 or 5 times a power of ten) not below `atLeast`.
double roundScaleDenominator(double atLeast);

SectionPictureGeometry drawSectionPicture(Canvas& canvas, const TerSection& section,
                                          const SectionFrame& frame,
                                          const SectionPictureOptions& options);

// "20.00" style label of a value on a grid of the given step.
std::string gridLabel(double value, double step);

}  // namespace merilon
