#include "drawing/underlay_drawing.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

#include "drawing/scene.h"

namespace merilon {
namespace {

constexpr int kUnderlayColour = 14;
constexpr int kProgressEvery = 1 << 16;
constexpr std::size_t kRun = 4096;
// However far the view is zoomed in, an arc takes at most this many chords.
constexpr double kMostChords = 100000;

// Hands the canvas the segments and markers in runs, in the order they were drawn.
class UnderlayPainter {
 public:
  explicit UnderlayPainter(DrawTarget& t)
      : t_(t), canvas_(*t.canvas), view_(t.view()), height_(view_.viewHeight) {
    lines_.reserve(kRun);
  }
  ~UnderlayPainter() { flush(); }

  void moveTo(double x, double y) {
    const ViewPoint p = view_.worldToScreen(x, y);
    t_.pen.penMoveTo(p.u, p.v);
  }
  void lineTo(double x, double y) {
    const ViewPoint p = view_.worldToScreen(x, y);
    const auto piece = t_.pen.penLineTo(p.u, p.v);
    if (!piece) return;
    flushMarkers();
    lines_.push_back({toPixel(piece->fromU), toPixel(height_ - piece->fromV), toPixel(piece->toU),
                      toPixel(height_ - piece->toV)});
    if (lines_.size() == kRun) flushLines();
  }
  void marker(double x, double y) {
    Marker m;
    if (!t_.markerAt(kUnderlayColour, x, y, m)) return;
    flushLines();
    markers_.push_back(m);
    if (markers_.size() == kRun) flushMarkers();
  }
  void text(const std::string& text, double x, double y, double angle, double height) {
    flush();
    t_.drawWorldText(text, kUnderlayColour, 6, x, y, angle, height);
  }
  void arc(double cx, double cy, double start, double end, double radius) {
    if (end < start) end += 2 * std::numbers::pi;
    const double sweep = end - start;
    if (!(sweep >= 0) || !std::isfinite(sweep) || !std::isfinite(radius)) return;
    double step = arcStep(radius, view_.scaleX);
    if (!(step > 0) || !std::isfinite(step)) step = sweep;
    double chords = std::ceil(sweep / step);
    if (chords > kMostChords) {
      chords = kMostChords;
      step = sweep / chords;
    }
    const long n = std::max(1L, static_cast<long>(chords));
    moveTo(cx + radius * std::cos(start), cy + radius * std::sin(start));
    // The angle grows by the step up to the end; the count ends it also where adding the step
    // no longer changes a huge angle.
    double a = start;
    for (long k = 1; a < end || k == 1; ++k) {
      a = k > n ? end : std::min(a + step, end);
      lineTo(cx + radius * std::cos(a), cy + radius * std::sin(a));
    }
  }
  void flush() {
    flushLines();
    flushMarkers();
  }

 private:
  void flushLines() {
    if (lines_.empty()) return;
    canvas_.drawLines(lines_);
    lines_.clear();
  }
  void flushMarkers() {
    if (markers_.empty()) return;
    canvas_.drawMarkers(markers_);
    markers_.clear();
    t_.restorePen();
  }
  DrawTarget& t_;
  Canvas& canvas_;
  const ViewTransform& view_;
  double height_;
  std::vector<PixelSegment> lines_;
  std::vector<Marker> markers_;
};

}  // namespace

double arcStep(double radius, double scale) {
  const double r = radius <= 0.00001 ? 99999999 : radius;
  const double e = std::min(0.5 / scale, r);
  const double x = e / r;
  // Near 0, 1 - x loses the digits of x: arccos(1 - x) is then sqrt(2x) to within x^1.5.
  return x < 1e-8 ? 2 * std::sqrt(2 * x) : 2 * std::acos(1 - x);
}

bool drawUnderlay(DrawTarget& t, DxfUnderlay& u, const std::function<bool()>& progress) {
  if (!u.underlayShown || u.loading || u.elementCount == 0 || !t.canvas) return true;
  // A thin pen whatever the previous redraw left.
  t.setPenWidth(1);
  t.setPenColour(kUnderlayColour);
  bool all = false;
  std::vector<int> near;
  // The view widened by a marker's half size.
  u.index().near(viewWorldBox(t.view(), 3), near, all);
  const int visits = all ? u.elementCount : static_cast<int>(near.size());
  UnderlayPainter paint(t);
  for (int k = 1; k <= visits; ++k) {
    const int e = all ? k : near[static_cast<std::size_t>(k - 1)];
    const auto i = static_cast<std::size_t>(e);
    const double a1 = u.elementA1[i], a2 = u.elementA2[i], a3 = u.elementA3[i], a4 = u.elementA4[i];
    switch (u.elementKind[i]) {
      case kUnderlayPoint:
        paint.marker(a1, a2);
        break;
      case kUnderlayLine:
        paint.moveTo(a1, a2);
        paint.lineTo(a3, a4);
        break;
      case kUnderlayText:
        if (a4 > 0) paint.text(u.text(e), a1, a2, a3 < 0 ? a3 + 2 * std::numbers::pi : a3, a4);
        break;
      case kUnderlayArc:
        paint.arc(a1, a2, a3, a4, u.radius(e));
        break;
      default:
        break;
    }
    if (k % kProgressEvery == 0 && k < visits && progress) {
      paint.flush();
      if (!progress()) return false;
    }
  }
  paint.flush();
  t.restorePen();
  return true;
}

}  // namespace merilon
