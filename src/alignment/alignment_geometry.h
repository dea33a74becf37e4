// The two geometric questions the rest of the program asks of the alignment: the point and
// tangent at a chainage, and the chainage and offset of a point. Lengths in the file's units
// (metres), angles in radians from +Y(N) towards +X(E); the direction of azimuth a is
// (sin a, cos a) and offsets are positive to the right of increasing chainage.
#pragma once

#include <cstddef>

#include "alignment/alignment.h"

namespace merilon {

// Sine and cosine of an azimuth.
void sinCos(double azimuth, double& sine, double& cosine);

// For a clothoid of parameter A, the point where its radius is R: the arc length from the origin
// (carrying the sign of A), the tangent angle there, and the coordinates in the origin's tangent
// frame (`lateral` to the right, `along` the tangent). All zero when A·R = 0. The five-term
// series is good to well under a millimetre for tangent angles up to 0.5 rad.
void clothoidOffsets(double A, double R, double& length, double& tangentAngle, double& lateral,
                     double& along);

// The point at chainage c and the tangent azimuth there. Beyond both ends of the alignment the
// point lies on the straight through the end record, in that record's direction. Never fails; an
// alignment without records gives (0, 0, 0). The result depends on c only: the walk cache that
// the call moves makes neighbouring calls cheap and changes nothing else.
void pointAtChainage(Alignment& alignment, double c, double& x, double& y, double& azimuth);

// The chainage and signed offset of (px, py) and the foot of the perpendicular on the axis.
// `chainage` carries the starting guess; an `offset` of -99999999 on entry means there is none
// (the walk restarts at the first record). The iteration moves by a tenth of the residual along
// the tangent until it is below 0.0001; 1000 steps without that give false. A result before the
// first or beyond the last record is tried again from the other end, at most three times in
// all, and then returned as it stands (callers test the range). False also for an empty
// alignment; on false every output keeps its value.
bool projectOnAlignment(Alignment& alignment, double px, double py, double& chainage,
                        double& offset, double& footX, double& footY);

// Many projections at once, each with the result projectOnAlignment gives for its point, guess
// and offset argument (the order of the work and the walk change nothing else). `ok` tells
// whether the projection converged; chainage and offset are written only then.
struct ProjectionTask {
  double px = 0, py = 0;
  double chainage = 0;  // in: the guess; out: the chainage
  double offset = 0;    // in: -99999999 for no guess; out: the offset
  bool ok = false;
};
void projectOnAlignment(Alignment& alignment, ProjectionTask* tasks, std::size_t n);

// The point `distance` to the right of (baseX, baseY) across the azimuth.
void offsetPoint(double baseX, double baseY, double azimuth, double distance, double& x, double& y);

}  // namespace merilon
