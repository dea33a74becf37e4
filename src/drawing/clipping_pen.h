// The clipping pen: remembers its last point in view coordinates and gives, for each segment of a
// polyline, the part that lies inside the closed clip window. Pure arithmetic; the drawing target
// sends the pieces to the canvas.
#pragma once

#include <optional>

namespace merilon {

struct ClipWindow {
  double minU = 0, minV = 0, maxU = 0, maxV = 0;
  bool contains(double u, double v) const {
    return u >= minU && u <= maxU && v >= minV && v <= maxV;
  }
};

struct ClippedSegment {
  double fromU, fromV, toU, toV;
};

class ClippingPen {
 public:
  ClipWindow window;
  double penLastU = 0, penLastV = 0;
  bool penLastOutside = true;

  // The last point becomes (u, v); true when it lies inside (the target's pen moves there).
  bool penMoveTo(double u, double v);
  // The part inside the window of the segment from the last point to (u, v), if any; (u, v)
  // becomes the last point. Points that are not finite draw nothing.
  std::optional<ClippedSegment> penLineTo(double u, double v);

 private:
  // Where the line through a and b crosses the edge that p (a or b) lies beyond, with the
  // fall-back to the neighbouring edge; false when the crossing is not on the window's boundary.
  bool edgePoint(double pu, double pv, double ua, double va, double ub, double vb, double& cu,
                 double& cv) const;
};

}  // namespace merilon
