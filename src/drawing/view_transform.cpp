#include "drawing/view_transform.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace merilon {

void ViewTransform::resetView() {
  setAngle(0);
  scaleX = scaleY = 1;
  originX = originY = 0;
}

void ViewTransform::setAngle(double a) {
  angle = a;
  sinAngle = std::sin(a);
  cosAngle = std::cos(a);
}

void ViewTransform::apply(const ViewSnapshot& s) {
  originX = s.originX;
  originY = s.originY;
  scaleX = s.scaleX;
  scaleY = s.scaleY;
  setAngle(s.angle);
}

void ViewTransform::zoomAboutCentre(double f) {
  const double w = viewWidth, h = viewHeight;
  const WorldPoint o = screenToWorld(w / 2 - w / 2 * f, h / 2 - h / 2 * f);
  originX = o.x;
  originY = o.y;
  scaleX = scaleX / f;
  scaleY = scaleX;
}

bool ViewTransform::zoomToWindow(int x0, int y0, int x1, int y1) {
  const int xmin = std::min(x0, x1), xmax = std::max(x0, x1);
  const int ybottom = std::max(y0, y1);
  if (xmax - xmin <= 10) return false;
  const WorldPoint o = screenToWorld(xmin, viewHeight - ybottom);
  originX = o.x;
  originY = o.y;
  scaleX = viewWidth * scaleX / (xmax - xmin);
  scaleY = scaleX;
  return true;
}

void ViewTransform::moveBy(int dx, int dy) {
  const WorldPoint o = screenToWorld(dx, -dy);
  originX = o.x;
  originY = o.y;
}

void ViewTransform::zoomAboutPixel(double f, int x, int y) {
  const double u = x, v = viewHeight - y;
  const WorldPoint o = screenToWorld(u - u * f, v - v * f);
  originX = o.x;
  originY = o.y;
  scaleX = scaleX / f;
  scaleY = scaleX;
}

void ViewTransform::rotateAboutCentre(double newAngle) {
  const WorldPoint c = screenToWorld(viewWidth * 0.5, viewHeight * 0.5);
  setAngle(newAngle);
  originX = c.x;
  originY = c.y;
  const WorldPoint o = screenToWorld(-viewWidth * 0.5, -viewHeight * 0.5);
  originX = o.x;
  originY = o.y;
}

void fitBoxToView(ViewTransform& view, const ExtentBox& box) {
  view.scaleX = view.scaleY = 1;
  view.originX = view.originY = 0;
  const WorldPoint p1 = view.screenToWorld(box.minU, box.minV);
  const WorldPoint p2 = view.screenToWorld(box.maxU, box.maxV);
  const double sx =
      std::fabs(p2.x - p1.x) <= 0.01 ? 99999999 : (view.viewWidth - 10) / (box.maxU - box.minU);
  const double sy =
      std::fabs(p2.y - p1.y) <= 0.01 ? 99999999 : (view.viewHeight - 10) / (box.maxV - box.minV);
  double s = std::min(sx, sy);
  // A box that is flat in the rotated frame (but not in the world) would divide by 0.
  if (s == 0 || !std::isfinite(s)) s = s == 0 ? 1 : 99999999;
  const double cx = (p1.x + p2.x) / 2, cy = (p1.y + p2.y) / 2;
  view.scaleX = view.scaleY = s;
  ViewPoint c = view.worldToScreen(cx, cy);
  c.u -= view.viewWidth * 0.5;
  c.v -= view.viewHeight * 0.5;
  const WorldPoint o = view.screenToWorld(c.u, c.v);
  view.originX = o.x;
  view.originY = o.y;
}

void ViewHistory::pushView(const ViewTransform& view) {
  historyIndex += 1;
  if (historyIndex > kSlots) historyIndex = 1;
  if (historyCount < historyIndex) historyCount = historyIndex;
  slots_[static_cast<std::size_t>(historyIndex)] = view.snapshot();
}

const ViewSnapshot* ViewHistory::previous() {
  if (historyCount == 0) return nullptr;
  if (historyIndex < 2) historyIndex = static_cast<std::int16_t>(historyCount + 1);
  historyIndex -= 1;
  return &slots_[static_cast<std::size_t>(historyIndex)];
}

const ViewSnapshot* ViewHistory::next() {
  if (historyIndex > historyCount - 1) historyIndex = 0;
  if (historyCount == 0) return nullptr;
  historyIndex += 1;
  return &slots_[static_cast<std::size_t>(historyIndex)];
}

void aspectCorner(int x0, int y0, int x, int y, double aspect, int& x1, int& y1) {
  const int sx = x - x0 >= 0 ? 1 : -1;
  const int sy = y - y0 >= 0 ? 1 : -1;
  const double ax = std::abs(x - x0), ay = std::abs(y - y0);
  double w, h;
  if (ay * aspect <= ax) {
    w = ax;
    h = ax / aspect;
  } else {
    w = ay * aspect;
    h = ay;
  }
  x1 = x0 + sx * static_cast<int>(std::lround(w));
  y1 = y0 + sy * static_cast<int>(std::lround(h));
}

}  // namespace merilon
