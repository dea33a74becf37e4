#include "drawing/scene.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "platform/number_text.h"

namespace merilon {
namespace {

constexpr int kProgressStep = 1000;

std::string heightText(double z) { return formatFixed(z, 2); }
std::string numberText(int i) { return formatInt(i) + " "; }

// The point of the v-th visit (from 1): the v-th candidate, or point v when all are visited.
int visitedPoint(const std::vector<int>* candidates, int v) {
  return candidates ? (*candidates)[static_cast<std::size_t>(v - 1)] : v;
}

// Candidates lie scattered through the store's arrays: asking early for what a visit a few
// candidates ahead reads hides most of the memory's latency.
constexpr std::size_t kLookAhead = 8;
void prefetchPoint(const PointStore& points, const std::vector<int>& candidates, std::size_t at) {
  if (at >= candidates.size()) return;
  const auto k = static_cast<std::size_t>(candidates[at]);
  __builtin_prefetch(points.pointX.data() + k);
  __builtin_prefetch(points.pointY.data() + k);
  __builtin_prefetch(points.pointType.data() + k);
}

}  // namespace

int pointColour(PointLayer layer, std::int32_t type, bool blackPrint) {
  if (blackPrint) return ColourTable::kBlack;
  if (type == 9) return 3;
  switch (layer) {
    case PointLayer::Markers:
      return type > 0 ? 1 : 12;
    case PointLayer::Symbols:
      return 4;
    case PointLayer::Heights:
      return 7;
    case PointLayer::Numbers:
      return 1;
  }
  return 1;
}

WorldBox viewWorldBox(const ViewTransform& view, double margin) {
  const double u0 = -margin, v0 = -margin;
  const double u1 = view.viewWidth + margin, v1 = view.viewHeight + margin;
  const WorldPoint corners[] = {view.screenToWorld(u0, v0), view.screenToWorld(u1, v0),
                                view.screenToWorld(u0, v1), view.screenToWorld(u1, v1)};
  WorldBox box{corners[0].x, corners[0].y, corners[0].x, corners[0].y};
  for (const WorldPoint& c : corners) {
    box.minX = std::min(box.minX, c.x);
    box.maxX = std::max(box.maxX, c.x);
    box.minY = std::min(box.minY, c.y);
    box.maxY = std::max(box.maxY, c.y);
  }
  return box;
}

bool pointsNearView(DrawTarget& t, const PointStore& points, double margin, PointGridIndex& grid,
                    std::vector<int>& near) {
  // A pixel more than asked absorbs the rounding between the two directions of the transform.
  if (!grid.pointsNear(points, viewWorldBox(t.view(), margin + 1), near)) return false;
  std::size_t kept = 0;
  for (std::size_t at = 0; at < near.size(); ++at) {
    prefetchPoint(points, near, at + kLookAhead);
    const auto k = static_cast<std::size_t>(near[at]);
    if (t.nearView(points.pointX[k], points.pointY[k], margin)) near[kept++] = near[at];
  }
  near.resize(kept);
  return true;
}

std::vector<int> labelCandidates(DrawTarget& t, const PointStore& points, double symbolSize,
                                 double heightSize, double numberSize, PointGridIndex* grid) {
  const double margin = std::max({t.labelMargin(kSymbolTextLength, symbolSize),
                                  t.labelMargin(kHeightTextLength, heightSize),
                                  t.labelMargin(kNumberTextLength, numberSize)});
  std::vector<int> near;
  if (margin < 0) return near;
  if (grid && pointsNearView(t, points, margin, *grid, near)) return near;
  for (int i = 1; i <= points.pointCount(); ++i) {
    const auto k = static_cast<std::size_t>(i);
    if (t.nearView(points.pointX[k], points.pointY[k], margin)) near.push_back(i);
  }
  return near;
}

bool drawPointLayer(DrawTarget& t, const PointStore& points, PointLayer layer, double labelSize,
                    bool blackPrint, const std::function<bool()>& progress,
                    const std::vector<int>* candidates) {
  const int n = points.pointCount();
  if (layer == PointLayer::Markers) {
    // Markers go to the canvas in runs; the canvas draws a run as it would one by one.
    std::vector<Marker> run;
    run.reserve(kProgressStep);
    const int visits = candidates ? static_cast<int>(candidates->size()) : n;
    for (int first = 1; first <= visits; first += kProgressStep) {
      const int last = std::min(visits, first + kProgressStep - 1);
      run.clear();
      Marker m;
      for (int v = first; v <= last; ++v) {
        if (candidates)
          prefetchPoint(points, *candidates, static_cast<std::size_t>(v) + kLookAhead);
        const auto k = static_cast<std::size_t>(visitedPoint(candidates, v));
        const int colour = pointColour(layer, points.pointType[k], blackPrint);
        if (t.markerAt(colour, points.pointX[k], points.pointY[k], m)) run.push_back(m);
      }
      if (!run.empty() && t.canvas) {
        t.canvas->drawMarkers(run);
        t.restorePen();
      }
      if (last < visits && progress && !progress()) return false;
    }
    return true;
  }
  const int anchor = layer == PointLayer::Symbols ? 6 : layer == PointLayer::Heights ? 0 : 5;
  const int visits = candidates ? static_cast<int>(candidates->size()) : n;
  for (int v = 1; v <= visits; ++v) {
    if (candidates) prefetchPoint(points, *candidates, static_cast<std::size_t>(v) + kLookAhead);
    const int i = visitedPoint(candidates, v);
    const auto k = static_cast<std::size_t>(i);
    const double x = points.pointX[k], y = points.pointY[k];
    const auto colour = [&] { return pointColour(layer, points.pointType[k], blackPrint); };
    switch (layer) {
      case PointLayer::Symbols: {
        const PointName& name = points.pointName[k];
        if (t.labelMayShow(name.length, x, y, labelSize))
          t.drawLabel(name.text(), colour(), anchor, x, y, labelSize);
        break;
      }
      case PointLayer::Heights:
        // "-99999999.00" is the longest height text that matters for the test.
        if (t.labelMayShow(kHeightTextLength, x, y, labelSize))
          t.drawLabel(heightText(points.pointZ[k]), colour(), anchor, x, y, labelSize);
        break;
      default:
        if (t.labelMayShow(kNumberTextLength, x, y, labelSize))
          t.drawLabel(numberText(i), colour(), anchor, x, y, labelSize);
        break;
    }
    if (v % kProgressStep == 0 && v < visits && progress && !progress()) return false;
  }
  return true;
}

void drawGrid(DrawTarget& t, double spacing, bool blackPrint) {
  if (!(spacing > 1.0)) return;
  t.setPenColour(blackPrint ? ColourTable::kBlack : 32);
  t.setPenWidth(1);
  const double s = std::nearbyint(spacing);
  const ViewTransform& v = t.view();
  if (std::fabs(v.worldToScreen(s, 0).u - v.worldToScreen(0, 0).u) <= 80) return;
  const WorldPoint corners[] = {v.screenToWorld(0, 0), v.screenToWorld(v.viewWidth, 0),
                                v.screenToWorld(0, v.viewHeight),
                                v.screenToWorld(v.viewWidth, v.viewHeight)};
  double minX = corners[0].x, maxX = minX, minY = corners[0].y, maxY = minY;
  for (const WorldPoint& c : corners) {
    minX = std::min(minX, c.x);
    maxX = std::max(maxX, c.x);
    minY = std::min(minY, c.y);
    maxY = std::max(maxY, c.y);
  }
  const double firstX = std::floor(minX / s) * s, firstY = std::floor(minY / s) * s;
  const double arm = s / 40;
  const long long columns = static_cast<long long>((maxX - firstX) / s) + 1;
  const long long rows = static_cast<long long>((maxY - firstY) / s) + 1;
  // The 80-pixel rule keeps the count to what the surface can show; the guard keeps a view
  // turned into a huge box finite.
  if (columns <= 0 || rows <= 0 || columns * rows > 4000000) return;
  for (long long c = 0; c < columns; ++c) {
    const double x = firstX + static_cast<double>(c) * s;
    for (long long r = 0; r < rows; ++r) {
      const long long row = c % 2 == 0 ? r : rows - 1 - r;
      const double y = firstY + static_cast<double>(row) * s;
      t.worldPen(0, x - arm, y);
      t.worldPen(1, x + arm, y);
      t.worldPen(0, x, y - arm);
      t.worldPen(1, x, y + arm);
    }
  }
}

void drawSearchRing(DrawTarget& t, double x, double y) {
  t.setPenColour(7);
  t.setPenWidth(2);
  t.setPenStyle(1);
  t.drawOctagon(x, y, 40 / t.view().scaleX);
}

}  // namespace merilon
