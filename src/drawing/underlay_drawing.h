// The DXF underlay on the drawing target: every element in colour 14, in the order of the
// table, through the clipping pen and the primitives; only the elements near the view are
// visited, so a small part of a large drawing redraws quickly.
#pragma once

#include <functional>

#include "drawing/draw_target.h"
#include "dxf/dxf_underlay.h"

namespace merilon {

// Draws the underlay when it is shown (and not being loaded). `progress` runs every 65536
// elements and answers false when the redraw must stop; the result is then false too.
bool drawUnderlay(DrawTarget& target, DxfUnderlay& underlay, const std::function<bool()>& progress);

// The angular step of an arc of `radius` at `scale` pixels a metre: each chord stays within
// half a pixel of the circle. Radii of 0.00001 or less take the step of a radius of 99999999.
double arcStep(double radius, double scale);

}  // namespace merilon
