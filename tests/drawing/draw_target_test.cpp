#include "drawing/draw_target.h"

#include <gtest/gtest.h>

#include "support/recording_canvas.h"

namespace merilon {
namespace {

using testing::CanvasOp;
using testing::RecordingCanvas;

struct Fixture {
  Fixture() {
    view.viewWidth = 200;
    view.viewHeight = 100;
    target.canvas = &canvas;
    target.setClipToView();
  }
  ViewTransform view;
  DrawTarget target{view};
  RecordingCanvas canvas{200, 100};
};

TEST(DrawTargetTest, MarkersOnTheBorderAreDrawnAndOnePixelBeyondAreNot) {
  const struct {
    double x, y;
    bool drawn;
  } cases[] = {{0, 50, true},     {200, 50, true},  {-1, 50, false},  {201, 50, false},
               {100, 0, true},    {100, 100, true}, {100, -1, false}, {100, 101, false},
               {-0.4, 50, false}, {NAN, 50, false}};
  for (const auto& c : cases) {
    Fixture f;
    f.target.drawPointMarker(3, c.x, c.y);
    const auto r = f.canvas.of(CanvasOp::Rectangle);
    ASSERT_EQ(r.size(), c.drawn ? 1u : 0u) << c.x << "," << c.y;
    if (!c.drawn) continue;
    EXPECT_EQ(r[0].x1, static_cast<int>(c.x) - 2);
    EXPECT_EQ(r[0].x2, static_cast<int>(c.x) + 2);
    EXPECT_EQ(r[0].y1, 100 - static_cast<int>(c.y) - 2);
    EXPECT_EQ(r[0].pen, (Rgb{255, 255, 0}));
    EXPECT_EQ(r[0].brush, (Rgb{255, 255, 255}));
    EXPECT_EQ(r[0].penWidth, 1);
  }
}

TEST(DrawTargetTest, LabelAnchorsColoursAndSizeRules) {
  // 10 points at 96 pixels per inch: h = 13.33 → 13; text "ABC" is 30 pixels wide.
  const struct {
    int anchor, x, y;
  } anchors[] = {{0, 100, 37}, {1, 85, 37}, {2, 70, 37}, {5, 70, 44},
                 {6, 100, 50}, {7, 85, 50}, {8, 70, 50}};
  for (const auto& a : anchors) {
    Fixture f;
    f.target.drawLabel("ABC", 5, a.anchor, 100, 50, 10);
    const CanvasOp* t = f.canvas.findText("ABC");
    ASSERT_NE(t, nullptr) << a.anchor;
    EXPECT_EQ(t->x1, a.x) << a.anchor;
    EXPECT_EQ(t->y1, a.y) << a.anchor;
    EXPECT_EQ(t->pen, (Rgb{0, 0, 0})) << "white labels are drawn black";
    EXPECT_EQ(t->fontSize, 10);
  }
  Fixture f;
  f.target.drawLabel("off", 1, 0, -31, 50, 10);    // x < -w
  f.target.drawLabel("tiny", 1, 0, 100, 50, 3);    // h = 4 pixels
  f.target.drawLabel("tall", 1, 0, 100, 50, 100);  // not smaller than the view height
  f.target.drawLabel("edge", 1, 0, -30, 50, 10);   // x = -w still drawn
  EXPECT_EQ(f.canvas.of(CanvasOp::Text).size(), 1u);
  EXPECT_NE(f.canvas.findText("edge"), nullptr);
  EXPECT_FALSE(f.target.labelMayShow(3, -80, 50, 10));
  EXPECT_TRUE(f.target.labelMayShow(3, -30, 50, 10));
}

TEST(DrawTargetTest, WorldTextHeightRulesAndAnchorsTurnWithTheText) {
  Fixture f;
  f.view.scaleX = f.view.scaleY = 10;
  f.target.drawWorldText("small", 1, 0, 5, 5, 0, 0.4);  // 4 pixels
  f.target.drawWorldText("huge", 1, 0, 5, 5, 0, 10);    // the view's height
  f.target.drawWorldText("ok", 2, 6, 5, 5, 0, 2);       // 20 pixels, stands on the point
  f.target.drawWorldText("up", 2, 0, 5, 5, 1.5707963267948966, 2);
  EXPECT_EQ(f.canvas.findText("small"), nullptr);
  EXPECT_EQ(f.canvas.findText("huge"), nullptr);
  const CanvasOp* ok = f.canvas.findText("ok");
  ASSERT_NE(ok, nullptr);
  EXPECT_EQ(ok->x1, 50);
  EXPECT_EQ(ok->y1, 100 - (50 + 20));
  EXPECT_EQ(ok->fontSize, 20 * 72 / 96);
  EXPECT_EQ(ok->escapement, 0);
  const CanvasOp* up = f.canvas.findText("up");
  ASSERT_NE(up, nullptr);
  EXPECT_EQ(up->escapement, 900);
}

TEST(DrawTargetTest, PenWidthIsCappedAndBrokenStylesForceWidthOne) {
  Fixture f;
  f.target.setPenWidth(500);
  EXPECT_EQ(f.target.penWidth, 200);
  f.target.setPenStyle(2);
  EXPECT_EQ(f.target.penWidth, 1);
  EXPECT_EQ(f.target.penStyle, PenStyle::Dash);
  f.target.setPenStyle(99);
  EXPECT_EQ(f.target.penStyle, PenStyle::Invisible);
  f.target.setPenColour(40);
  EXPECT_EQ(f.target.penColour, (Rgb{0, 0, 0}));
  f.target.setPenColour(33);
  EXPECT_EQ(f.target.penColour, (Rgb{255, 20, 147}));
}

TEST(DrawTargetTest, OctagonIsClosedFromEightSegments) {
  Fixture f;
  f.view.scaleX = f.view.scaleY = 1;
  f.target.drawOctagon(100, 50, 30);
  const auto lines = f.canvas.of(CanvasOp::Line);
  ASSERT_EQ(lines.size(), 8u);
  EXPECT_EQ(lines.front().x1, 130);
  EXPECT_EQ(lines.back().x2, 130);
  EXPECT_EQ(lines.back().y2, 50);
  Fixture half;
  half.target.drawHalfOctagon(100, 50, 30, 0);
  EXPECT_EQ(half.canvas.of(CanvasOp::Line).size(), 5u);  // the start point is drawn once more
}

}  // namespace
}  // namespace merilon
