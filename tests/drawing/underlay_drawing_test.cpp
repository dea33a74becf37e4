// The underlay on the drawing target: each kind of element as the primitives draw it, the
// half-pixel chords of arcs, the buckets that leave out what is off the view without changing
// a pixel, and its place in the scene.
#include "drawing/underlay_drawing.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <random>

#include "drawing_fixture.h"

namespace merilon {
namespace {

using testing::CanvasOp;
using testing::RecordingCanvas;
constexpr double kPi = std::numbers::pi;
const Rgb kSilver{192, 192, 192};

struct Target {
  Target(int w = 400, int h = 300) : canvas(w, h), target(view) {
    view.viewWidth = w;
    view.viewHeight = h;
    target.canvas = &canvas;
    target.setClipToView();
  }
  RecordingCanvas canvas;
  ViewTransform view;
  DrawTarget target;
};

// The elements as the primitives draw them one by one, in the table's order.
void drawOneByOne(DrawTarget& t, DxfUnderlay& u) {
  t.setPenWidth(1);
  t.setPenColour(14);
  for (int e = 1; e <= u.elementCount; ++e) {
    const auto i = static_cast<std::size_t>(e);
    const double a1 = u.elementA1[i], a2 = u.elementA2[i], a3 = u.elementA3[i], a4 = u.elementA4[i];
    switch (u.elementKind[i]) {
      case kUnderlayPoint: {
        Marker m;
        if (t.markerAt(14, a1, a2, m)) t.canvas->drawMarkers(std::span<const Marker>(&m, 1));
        t.restorePen();
        break;
      }
      case kUnderlayLine:
        t.worldPen(0, a1, a2);
        t.worldPen(1, a3, a4);
        break;
      case kUnderlayText:
        if (a4 > 0) t.drawWorldText(u.text(e), 14, 6, a1, a2, a3 < 0 ? a3 + 2 * kPi : a3, a4);
        break;
      default: {
        const double r = u.radius(e), step = arcStep(r, t.view().scaleX);
        const double end = a4 < a3 ? a4 + 2 * kPi : a4;
        double a = a3;
        t.worldPen(0, a1 + r * std::cos(a), a2 + r * std::sin(a));
        do {
          a = std::min(a + step, end);
          t.worldPen(1, a1 + r * std::cos(a), a2 + r * std::sin(a));
        } while (a < end);
      }
    }
  }
}

std::vector<CanvasOp> drawn(Target& t, DxfUnderlay& u) {
  t.canvas.ops.clear();
  EXPECT_TRUE(drawUnderlay(t.target, u, nullptr));
  return t.canvas.ops;
}

bool same(const std::vector<CanvasOp>& a, const std::vector<CanvasOp>& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t k = 0; k < a.size(); ++k) {
    const CanvasOp &x = a[k], &y = b[k];
    if (x.kind != y.kind || x.x1 != y.x1 || x.y1 != y.y1 || x.x2 != y.x2 || x.y2 != y.y2 ||
        !(x.pen == y.pen) || x.text != y.text || x.escapement != y.escapement) {
      return false;
    }
  }
  return true;
}

TEST(UnderlayDrawing, EachKindAsItsPrimitive) {
  Target t;  // scale 1: a pixel a metre, origin at the lower-left corner
  DxfUnderlay u;
  u.underlayShown = true;
  ASSERT_TRUE(u.addArc(100, 100, 0, 2 * kPi, 50));                           // a circle
  ASSERT_TRUE(u.addArc(300, 100, 350.0 / 180 * kPi, 10.0 / 180 * kPi, 40));  // through 0
  ASSERT_TRUE(u.addText(10, 250, -kPi / 2, 20, "ł"));
  ASSERT_TRUE(u.addText(10, 200, 0, 0, "bez wysokości"));
  ASSERT_TRUE(u.addElement(kUnderlayPoint, 200, 200, 200, 200));
  ASSERT_TRUE(u.addElement(kUnderlayLine, -50, 10, 450, 10));
  const std::vector<CanvasOp> ops = drawn(t, u);
  for (const CanvasOp& op : ops) EXPECT_EQ(op.pen, kSilver);

  // The circle: chords of half a pixel's sagitta, 2·arccos(1 − 0.5/50) apart, closed.
  const double step = 2 * std::acos(1 - 0.5 / 50);
  EXPECT_DOUBLE_EQ(arcStep(50, 1), step);
  const int chords = static_cast<int>(std::ceil(2 * kPi / step));
  ASSERT_GE(ops.size(), static_cast<std::size_t>(chords + 5));
  EXPECT_EQ(ops[0].x1, 150);
  EXPECT_EQ(ops[0].y1, 200);
  EXPECT_EQ(ops[static_cast<std::size_t>(chords - 1)].x2, 150);
  EXPECT_EQ(ops[static_cast<std::size_t>(chords - 1)].y2, 200);
  EXPECT_EQ(ops[static_cast<std::size_t>(chords)].x1, 339);  // the arc starts at 350°
  // The arc from 350° to 10° passes 0°, staying right of its centre.
  int rightmost = 0;
  std::size_t k = static_cast<std::size_t>(chords);
  for (; ops[k].kind == CanvasOp::Line && ops[k].x1 > 300; ++k) {
    rightmost = std::max(rightmost, ops[k].x2);
  }
  EXPECT_EQ(rightmost, 340);
  // The text stands on its point, turned a quarter clockwise; the one without height is not
  // drawn; then the marker and the line cut at the edges.
  ASSERT_EQ(ops[k].kind, CanvasOp::Text);
  EXPECT_EQ(ops[k].text, "ł");
  EXPECT_EQ(ops[k].escapement, 2700);
  EXPECT_EQ(ops[k].x1, 30);
  EXPECT_EQ(ops[k].y1, 50);
  EXPECT_EQ(ops[k + 1].kind, CanvasOp::Marker);
  EXPECT_EQ(ops[k + 2].kind, CanvasOp::Line);
  EXPECT_EQ(ops[k + 2].x1, 0);
  EXPECT_EQ(ops[k + 2].x2, 400);
  EXPECT_EQ(ops.size(), k + 3);
  EXPECT_TRUE(same(ops, [&] {
    t.canvas.ops.clear();
    drawOneByOne(t.target, u);
    return t.canvas.ops;
  }()));

  // Hidden or being loaded: nothing. Tiny and huge radii end in few chords.
  u.underlayShown = false;
  EXPECT_TRUE(drawn(t, u).empty());
  u.underlayShown = true;
  u.loading = true;
  EXPECT_TRUE(drawn(t, u).empty());
  u.loading = false;
  DxfUnderlay odd;
  odd.underlayShown = true;
  ASSERT_TRUE(odd.addArc(100, 100, 0, 2 * kPi, 0));
  ASSERT_TRUE(odd.addArc(100, 100, 0, 2 * kPi, 1e300));
  ASSERT_TRUE(odd.addArc(100, 100, 1e300, 2e300, 5));
  t.view.scaleX = t.view.scaleY = 1e-6;
  EXPECT_LE(drawn(t, odd).size(), 200001u);
}

TEST(UnderlayDrawing, BucketsLeaveOutOnlyWhatCannotShow) {
  // 20,000 random elements of every kind over 10 x 10 km; views of the whole, of a corner and
  // turned: always the pixels of drawing every element in order.
  DxfUnderlay u;
  u.underlayShown = true;
  std::mt19937 random(5);
  std::uniform_real_distribution<double> at(0, 10000), len(-60, 60), angle(0, 2 * kPi);
  for (int e = 0; e < 20000; ++e) {
    const double x = at(random), y = at(random);
    switch (e % 5) {
      case 0:
        ASSERT_TRUE(u.addElement(kUnderlayPoint, x, y, x, y));
        break;
      case 1:
        ASSERT_TRUE(u.addText(x, y, angle(random), 8, "Tekst" + std::to_string(e)));
        break;
      case 2:
        ASSERT_TRUE(u.addArc(x, y, angle(random), angle(random), std::fabs(len(random))));
        break;
      default:
        ASSERT_TRUE(u.addElement(kUnderlayLine, x, y, x + len(random), y + len(random)));
    }
  }
  // A long line from far outside across every view.
  ASSERT_TRUE(u.addElement(kUnderlayLine, -100000, 5000, 100000, 5010));
  struct View {
    double scale, originX, originY, angle;
  };
  for (const View& v : {View{0.04, 0, 0, 0}, View{2, 4800, 4900, 0}, View{5, 9800, 9850, 0},
                        View{3, 5000, 4950, 0.7}}) {
    SCOPED_TRACE(v.scale);
    Target t(800, 600);
    t.view.scaleX = t.view.scaleY = v.scale;
    t.view.originX = v.originX;
    t.view.originY = v.originY;
    t.view.setAngle(v.angle);
    const std::vector<CanvasOp> fast = drawn(t, u);
    t.canvas.ops.clear();
    drawOneByOne(t.target, u);
    EXPECT_GT(fast.size(), 10u);
    EXPECT_TRUE(same(fast, t.canvas.ops)) << fast.size() << " against " << t.canvas.ops.size();
    std::vector<int> near;
    bool all = false;
    u.index().near({v.originX, v.originY, v.originX + 1, v.originY + 1}, near, all);
    if (v.scale > 1) {
      EXPECT_LT(near.size(), 2000u);
    }
  }
}

TEST(UnderlayDrawing, FirstInTheSceneAndGoneWhenDetached) {
  testing::DrawingProgram d;
  d.addPoint(100, 100, 1);
  d.addPoint(200, 200, 2);
  DxfUnderlay& u = d.program->underlay;
  ASSERT_TRUE(u.addElement(kUnderlayLine, 100, 100, 200, 200));
  u.underlayShown = true;
  d.window().layerClick(11);
  d.open();
  const auto lines = d.canvas.of(CanvasOp::Line);
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines.front().pen, kSilver);
  // Right after the surface is cleared.
  std::size_t first = 0;
  while (first < d.canvas.ops.size() && d.canvas.ops[first].kind == CanvasOp::Rectangle) ++first;
  ASSERT_LT(first, d.canvas.ops.size());
  EXPECT_EQ(d.canvas.ops[first].pen, kSilver);
  EXPECT_EQ(d.canvas.ops.back().kind, CanvasOp::Marker);
  // "Odłącz DXF" redraws the open window without it.
  d.canvas.ops.clear();
  d.main().MenuClick(MenuCommand::DetachUnderlay);
  for (const CanvasOp& op : d.canvas.of(CanvasOp::Line)) EXPECT_FALSE(op.pen == kSilver);
  EXPECT_EQ(d.canvas.of(CanvasOp::Marker).size(), 2u);
}

}  // namespace
}  // namespace merilon
