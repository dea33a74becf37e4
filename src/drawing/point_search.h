// The scans of the point store that the point tools run for a click or a search: the point
// nearest to a world position, the first point whose symbol contains a text, the first point
// whose height lies in a window. Plain loops over the arrays, fast enough for a click on a
// million points.
#pragma once

#include <string_view>

#include "points/point_store.h"

namespace merilon {

// No point picked.
inline constexpr int kNoPoint = 99999999;

struct NearestPoint {
  int index = kNoPoint;
  double distance = 0;
};

// The point nearest to (x, y) closer than `radius` world units. Points are taken in index order
// and one counts only when strictly nearer than the best so far, so the lowest index wins a tie.
NearestPoint nearestPoint(const PointStore& points, double x, double y, double radius);

// The first point from `start` (1-based) whose name contains `needle` (code page 1250 bytes,
// case-sensitive); 0 when none.
int findBySymbol(const PointStore& points, std::string_view needle, int start);

// The first point from `start` whose height lies in [z − tolerance/2, z − tolerance/2 +
// tolerance]; heights and bounds are compared in whole millimetres, so 99.995 is inside the
// window of 100.00 ± 0.005. 0 when none.
int findByHeight(const PointStore& points, double z, double tolerance, int start);

}  // namespace merilon
