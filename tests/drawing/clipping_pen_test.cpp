#include "drawing/clipping_pen.h"

#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <random>

#include "drawing/draw_target.h"
#include "support/recording_canvas.h"

namespace merilon {
namespace {

// Liang–Barsky, written apart from the pen: the part of a segment inside the closed window.
std::optional<ClippedSegment> liangBarsky(const ClipWindow& w, double u0, double v0, double u1,
                                          double v1) {
  double t0 = 0, t1 = 1;
  const double du = u1 - u0, dv = v1 - v0;
  const double p[4] = {-du, du, -dv, dv};
  const double q[4] = {u0 - w.minU, w.maxU - u0, v0 - w.minV, w.maxV - v0};
  for (int k = 0; k < 4; ++k) {
    if (p[k] == 0) {
      if (q[k] < 0) return std::nullopt;
      continue;
    }
    const double t = q[k] / p[k];
    if (p[k] < 0) {
      t0 = std::max(t0, t);
    } else {
      t1 = std::min(t1, t);
    }
  }
  if (t0 > t1) return std::nullopt;
  return ClippedSegment{u0 + t0 * du, v0 + t0 * dv, u0 + t1 * du, v0 + t1 * dv};
}

double length(const ClippedSegment& s) { return std::hypot(s.toU - s.fromU, s.toV - s.fromV); }

void expectSameClip(const ClipWindow& w, double u0, double v0, double u1, double v1) {
  ClippingPen pen;
  pen.window = w;
  pen.penMoveTo(u0, v0);
  const auto got = pen.penLineTo(u1, v1);
  const auto want = liangBarsky(w, u0, v0, u1, v1);
  const std::string where = "(" + std::to_string(u0) + "," + std::to_string(v0) + ")-(" +
                            std::to_string(u1) + "," + std::to_string(v1) + ")";
  // A piece shorter than a millionth of a pixel (a touch at one point) may go either way.
  if (!want || length(*want) < 1e-6) {
    if (got) {
      EXPECT_LT(length(*got), 1e-6) << where;
    }
    return;
  }
  ASSERT_TRUE(got.has_value()) << where;
  EXPECT_NEAR(got->fromU, want->fromU, 1e-6) << where;
  EXPECT_NEAR(got->fromV, want->fromV, 1e-6) << where;
  EXPECT_NEAR(got->toU, want->toU, 1e-6) << where;
  EXPECT_NEAR(got->toV, want->toV, 1e-6) << where;
}

TEST(ClippingPenTest, DrawsExactlyThePartInsideTheWindowAsLiangBarskyDoes) {
  const ClipWindow w{0, 0, 800, 500};
  std::mt19937 random(20261209);
  std::uniform_real_distribution<double> coordinate(-600, 1400);
  for (int k = 0; k < 20000; ++k) {
    expectSameClip(w, coordinate(random), coordinate(random), coordinate(random),
                   coordinate(random));
  }
  // Corners, edges, lines along an edge, lines touching a corner, vertical and horizontal lines
  // crossing the edges, zero-length segments inside, on the edge and outside.
  const double cases[][4] = {
      {-100, -100, 900, 600},  {-100, 600, 900, -100}, {0, 0, 800, 0},
      {0, 500, 800, 500},      {0, -50, 0, 600},       {-100, 100, 100, -100},
      {-100, 0, 0, -100},      {700, -100, 900, 100},  {400, -100, 400, 900},
      {-50, 250, 900, 250},    {400, 250, 400, 250},   {0, 250, 0, 250},
      {-10, 250, -10, 250},    {800, 500, 900, 600},   {-1, 1, 1, -1},
      {100, 600, 900, 300},    {400, 250, 1200, 900},  {400, 250, -300, 250},
      {799.5, 600, 799.5, -1},
  };
  for (const auto& c : cases) expectSameClip(w, c[0], c[1], c[2], c[3]);
}

TEST(ClippingPenTest, PolylineLeavingAndReenteringGivesSeparatePiecesAndNoNonFiniteOutput) {
  ViewTransform view;
  view.viewWidth = 200;
  view.viewHeight = 100;
  DrawTarget target(view);
  testing::RecordingCanvas canvas(200, 100);
  target.canvas = &canvas;
  target.setClipToView();
  target.penMoveTo(50, 50);
  target.penLineTo(300, 50);  // leaves at the right edge
  target.penLineTo(300, 80);  // outside
  target.penLineTo(150, 80);  // re-enters
  target.penLineTo(NAN, 10);  // not finite: nothing
  target.penLineTo(20, 20);   // from a non-finite point: nothing
  target.penLineTo(INFINITY, 20);
  target.penMoveTo(1e300, -1e300);
  target.penLineTo(-1e300, 1e300);
  const auto lines = canvas.of(testing::CanvasOp::Line);
  ASSERT_GE(lines.size(), 2u);
  EXPECT_EQ(lines[0].x1, 50);
  EXPECT_EQ(lines[0].x2, 200);
  EXPECT_EQ(lines[1].x1, 200);
  EXPECT_EQ(lines[1].y1, 20);
  EXPECT_EQ(lines[1].x2, 150);
  for (const auto& l : lines) {
    for (int c : {l.x1, l.y1, l.x2, l.y2}) EXPECT_LE(std::abs(c), 1000000000);
  }
}

}  // namespace
}  // namespace merilon
