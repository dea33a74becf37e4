// The similarity mapping between world X(E), Y(N) in metres and the view's pixels (origin at the
// lower-left corner, v upwards, equal scales, a rotation angle), the extent box of "Całość", the
// ten-slot view history and the aspect-corrected corner of the zoom window.
#pragma once

#include <array>
#include <cstdint>

namespace merilon {

struct WorldPoint {
  double x = 0, y = 0;
};
struct ViewPoint {
  double u = 0, v = 0;
};

struct ViewSnapshot {
  double originX = 0, originY = 0, scaleX = 1, scaleY = 1, angle = 0;
};

class ViewTransform {
 public:
  double originX = 0, originY = 0;
  double scaleX = 1, scaleY = 1;
  double angle = 0;
  double sinAngle = 0, cosAngle = 1;
  int viewWidth = 640, viewHeight = 400;
  double farCornerX = 0, farCornerY = 0;
  double aspect = 1.6;
  double previousAngle = 0;

  ViewPoint worldToScreen(double x, double y) const {
    const double dx = x - originX, dy = y - originY;
    return {scaleX * (dx * cosAngle + dy * sinAngle), scaleY * (-dx * sinAngle + dy * cosAngle)};
  }
  WorldPoint screenToWorld(double u, double v) const {
    return {(u * cosAngle - v * sinAngle) / scaleX + originX,
            (u * sinAngle + v * cosAngle) / scaleY + originY};
  }

  void resetView();
  void setAngle(double a);
  ViewSnapshot snapshot() const { return {originX, originY, scaleX, scaleY, angle}; }
  // Origin, scales and angle (with its sine and cosine) from a snapshot.
  void apply(const ViewSnapshot& s);

  // The spare snapshot that printing brackets its change of scale with.
  void saveView() { saved_ = snapshot(); }
  void restoreView() { apply(saved_); }

  // The new view after zooming about the surface centre by f (0.5 doubles the scale).
  void zoomAboutCentre(double f);
  // The new view of a zoom window from pixel corners (x0, y0), (x1, y1), y downwards; false
  // (nothing changed) when the window is 10 pixels wide or less.
  bool zoomToWindow(int x0, int y0, int x1, int y1);
  // The new view of a move frame dragged by (dx, dy) pixels, y downwards.
  void moveBy(int dx, int dy);
  // Zooms by f about the pixel (x, y), y downwards: the world point there stays there.
  void zoomAboutPixel(double f, int x, int y);
  // Turns the view to `newAngle` keeping the world point at the surface centre there.
  void rotateAboutCentre(double newAngle);

 private:
  ViewSnapshot saved_;
};

// Extent of the data in rotated, unscaled coordinates.
struct ExtentBox {
  double minU = 99999999, minV = 99999999, maxU = -99999999, maxV = -99999999;
  bool extentValid = false;
  bool extentHasAlignment = false;

  void clear() {
    minU = minV = 99999999;
    maxU = maxV = -99999999;
  }
  void widen(const ViewPoint& p) {
    if (p.u < minU) minU = p.u;
    if (p.u > maxU) maxU = p.u;
    if (p.v < minV) minV = p.v;
    if (p.v > maxV) maxV = p.v;
  }
};

// The last step of "Całość": with the box computed for the view's angle at scale 1 and origin
// (0, 0), sets the scale that fits the box in the view with a 5-pixel margin and centres it.
// A direction whose world extent is 0.01 or less does not limit the scale.
void fitBoxToView(ViewTransform& view, const ExtentBox& box);

// The ring of ten views, slots 1..10.
class ViewHistory {
 public:
  static constexpr int kSlots = 10;
  std::int16_t historyIndex = 0;
  std::int16_t historyCount = 0;

  void clear() { historyIndex = historyCount = 0; }
  void pushView(const ViewTransform& view);
  // "Poprzedni" and "Następny": the slot to show, or nullptr when the history is empty.
  const ViewSnapshot* previous();
  const ViewSnapshot* next();
  const ViewSnapshot& slot(int k) const { return slots_[static_cast<std::size_t>(k)]; }

 private:
  std::array<ViewSnapshot, kSlots + 1> slots_{};
};

// `wybierz_wsp`: the second corner of a zoom window dragged from (x0, y0) to (x, y) with the
// proportions of the surface, covering the drag.
void aspectCorner(int x0, int y0, int x, int y, double aspect, int& x1, int& y1);

}  // namespace merilon
