// The zoomed-in redraw visits only the grid cells near the view and still draws exactly what the
// walk of every point draws, at any turn of the view.
#include <gtest/gtest.h>

#include <numbers>
#include <random>
#include <tuple>

#include "drawing/scene.h"
#include "drawing_fixture.h"
#include "platform/number_text.h"

namespace merilon {
namespace {

using testing::CanvasOp;
using testing::DrawingProgram;

using Drawn = std::tuple<int, int, int, std::uint8_t, std::uint8_t, std::uint8_t, std::string, int>;

// The markers and texts of the recording, in order.
std::vector<Drawn> pointLayerOps(const std::vector<CanvasOp>& ops) {
  std::vector<Drawn> r;
  for (const CanvasOp& o : ops) {
    if (o.kind == CanvasOp::Marker || o.kind == CanvasOp::Text)
      r.emplace_back(o.kind, o.x1, o.y1, o.pen.r, o.pen.g, o.pen.b, o.text, o.fontSize);
  }
  return r;
}

TEST(SceneGridTest, ZoomedRedrawDrawsWhatTheWalkOfEveryPointDrawsAtAnyAngle) {
  DrawingProgram p;
  std::mt19937 random(11);
  std::uniform_real_distribution<double> x(0, 2000), y(0, 1200), z(90, 130);
  std::uniform_int_distribution<int> type(-1, 10);
  const int n = 20000;
  for (int i = 1; i <= n; ++i)
    p.addPoint(x(random), y(random), z(random), "P" + formatInt(i), type(random));
  p.open();
  for (int layer : {11, 12, 13, 14}) p.window().layerClick(layer);
  TGRAFIKA& w = p.window();
  const PointStore& points = p.points();
  for (const double angle : {0.0, 0.4, std::numbers::pi / 2, 2.2, std::numbers::pi, -0.9, 5.5}) {
    SCOPED_TRACE(angle);
    // 6 pixels a metre, turned by the angle about the survey's middle.
    ViewTransform& v = w.view;
    v.scaleX = v.scaleY = 6;
    v.setAngle(angle);
    v.originX = v.originY = 0;
    const WorldPoint offset = v.screenToWorld(500, 300);
    v.originX = 1030 - offset.x;
    v.originY = 580 - offset.y;
    p.canvas.ops.clear();
    w.redraw();
    const std::vector<Drawn> zoomed = pointLayerOps(p.canvas.ops);

    std::vector<int> inView;
    ASSERT_TRUE(pointsNearView(w.target, points, 0, w.pointGrid, inView)) << "the grid was used";
    EXPECT_GT(inView.size(), 20u);
    EXPECT_LT(inView.size(), static_cast<std::size_t>(n / 20));

    // The walk of every point, layer by layer in the redraw's order and sizes.
    p.canvas.ops.clear();
    const DrawingParams& s = w.params;
    for (const auto& [layer, size] : {std::pair{PointLayer::Markers, 0.0},
                                      {PointLayer::Symbols, s.numberLabelSize},
                                      {PointLayer::Heights, s.heightLabelSize},
                                      {PointLayer::Numbers, s.heightLabelSize}}) {
      drawPointLayer(w.target, points, layer, size, false, nullptr);
    }
    const std::vector<Drawn> walked = pointLayerOps(p.canvas.ops);
    p.canvas.ops.clear();
    ASSERT_FALSE(walked.empty());
    EXPECT_EQ(zoomed.size(), walked.size());
    EXPECT_TRUE(zoomed == walked);
  }
}

}  // namespace
}  // namespace merilon
