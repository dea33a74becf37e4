#include "drawing/view_transform.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace merilon {
namespace {

ViewTransform viewAt(double angle, double scale, double ox, double oy) {
  ViewTransform v;
  v.viewWidth = 1000;
  v.viewHeight = 600;
  v.aspect = 1000.0 / 600;
  v.setAngle(angle);
  v.scaleX = v.scaleY = scale;
  v.originX = ox;
  v.originY = oy;
  return v;
}

TEST(ViewTransformTest, ScreenToWorldInvertsWorldToScreenAtAnyAngle) {
  for (double angle : {0.0, 0.3, -1.2, std::numbers::pi / 2, std::numbers::pi, 2.9, -3.1}) {
    for (double scale : {0.001, 1.0, 37.5, 99999999.0}) {
      const ViewTransform v = viewAt(angle, scale, 5432100.25, 6543210.5);
      const WorldPoint p{5432123.45, 6543199.87};
      const ViewPoint s = v.worldToScreen(p.x, p.y);
      const WorldPoint back = v.screenToWorld(s.u, s.v);
      EXPECT_NEAR(back.x, p.x, 1e-6) << angle << " " << scale;
      EXPECT_NEAR(back.y, p.y, 1e-6) << angle << " " << scale;
    }
  }
}

TEST(ViewTransformTest, AngleAlongALineMapsBothEndsToTheSameHeight) {
  ViewTransform v = viewAt(0, 3, 100, 200);
  const WorldPoint a{120, 210}, b{180, 251};
  v.setAngle(std::atan2(b.y - a.y, b.x - a.x));
  EXPECT_NEAR(v.worldToScreen(a.x, a.y).v, v.worldToScreen(b.x, b.y).v, 1e-9);
  EXPECT_LT(v.worldToScreen(a.x, a.y).u, v.worldToScreen(b.x, b.y).u);
}

TEST(ViewTransformTest, ZoomInThenOutReturnsToTheSameScaleAndCentre) {
  for (double angle : {0.0, 0.7, -2.0}) {
    ViewTransform v = viewAt(angle, 2.5, 1000, 2000);
    const WorldPoint centre = v.screenToWorld(500, 300);
    v.zoomAboutCentre(0.5);
    EXPECT_DOUBLE_EQ(v.scaleX, 5.0);
    EXPECT_EQ(v.scaleX, v.scaleY);
    const WorldPoint zoomed = v.screenToWorld(500, 300);
    EXPECT_NEAR(zoomed.x, centre.x, 1e-9);
    EXPECT_NEAR(zoomed.y, centre.y, 1e-9);
    v.zoomAboutCentre(2.0);
    EXPECT_DOUBLE_EQ(v.scaleX, 2.5);
    EXPECT_NEAR(v.originX, 1000, 1e-9);
    EXPECT_NEAR(v.originY, 2000, 1e-9);
  }
}

TEST(ViewTransformTest, WheelZoomKeepsThePointUnderTheCursor) {
  ViewTransform v = viewAt(0.4, 2, 10, 20);
  const WorldPoint under = v.screenToWorld(123, 600 - 456);
  v.zoomAboutPixel(0.5, 123, 456);
  const WorldPoint after = v.screenToWorld(123, 600 - 456);
  EXPECT_NEAR(after.x, under.x, 1e-9);
  EXPECT_NEAR(after.y, under.y, 1e-9);
  EXPECT_DOUBLE_EQ(v.scaleX, 4);
}

TEST(ViewTransformTest, AspectCornerKeepsTheSurfaceProportionsAndCoversTheDrag) {
  struct Case {
    int x0, y0, x, y, x1, y1;
  };
  // aspect 2: a drag wider than twice its height keeps its width.
  const Case cases[] = {
      {100, 100, 300, 150, 300, 200},  // wide: 200 x 100
      {100, 100, 150, 300, 500, 300},  // tall: 400 x 200
      {300, 300, 100, 250, 100, 200},  // to the upper left
      {300, 300, 300, 300, 300, 300},  // no drag
      {300, 300, 250, 400, 100, 400},  // down and left, tall
  };
  for (const Case& c : cases) {
    int x1 = 0, y1 = 0;
    aspectCorner(c.x0, c.y0, c.x, c.y, 2.0, x1, y1);
    EXPECT_EQ(x1, c.x1) << c.x << "," << c.y;
    EXPECT_EQ(y1, c.y1) << c.x << "," << c.y;
  }
}

TEST(ViewTransformTest, ZoomWindowGivesOneViewFromAnyCornerAndHonoursTheTenPixelRule) {
  const int left = 200, right = 450, top = 100, bottom = 250;
  const int corners[4][4] = {{left, top, right, bottom},
                             {right, bottom, left, top},
                             {left, bottom, right, top},
                             {right, top, left, bottom}};
  ViewTransform first;
  for (int k = 0; k < 4; ++k) {
    ViewTransform v = viewAt(0.5, 2, 100, 100);
    ASSERT_TRUE(v.zoomToWindow(corners[k][0], corners[k][1], corners[k][2], corners[k][3]));
    EXPECT_DOUBLE_EQ(v.scaleX, 1000.0 * 2 / 250);
    if (k == 0) {
      first = v;
      // The window's lower-left corner is now the surface's lower-left corner.
      const WorldPoint ll = viewAt(0.5, 2, 100, 100).screenToWorld(left, 600 - bottom);
      EXPECT_NEAR(v.originX, ll.x, 1e-9);
      EXPECT_NEAR(v.originY, ll.y, 1e-9);
    }
    EXPECT_DOUBLE_EQ(v.originX, first.originX);
    EXPECT_DOUBLE_EQ(v.originY, first.originY);
  }
  ViewTransform v = viewAt(0, 2, 100, 100);
  EXPECT_FALSE(v.zoomToWindow(300, 300, 310, 200));
  EXPECT_EQ(v.scaleX, 2);
  EXPECT_TRUE(v.zoomToWindow(300, 300, 311, 200));
}

TEST(ViewTransformTest, MoveFrameShowsWhatLayInTheDragDirection) {
  ViewTransform v = viewAt(0, 2, 100, 100);
  const WorldPoint right = v.screenToWorld(50, 0);
  v.moveBy(50, 0);
  EXPECT_NEAR(v.originX, right.x, 1e-12);
  EXPECT_EQ(v.scaleX, 2);
  v.moveBy(0, 40);  // dragging down shows what lay below
  EXPECT_NEAR(v.originY, right.y - 20, 1e-12);
}

TEST(ViewTransformTest, FitCentresTheBoxWithFivePixelMarginsAndHandlesDegenerateExtents) {
  struct Case {
    double x1, y1, x2, y2, scale;
  };
  const Case cases[] = {
      {0, 0, 990, 100, 1.0},              // width limits: (1000 - 10) / 990
      {0, 0, 50, 59, 10.0},               // height limits: (600 - 10) / 59
      {500, 500, 500, 500, 99999999},     // one point
      {500, 100, 500, 400, 590.0 / 300},  // vertical line: only the height limits
      {0, 7, 495, 7, 2.0},                // horizontal line
  };
  for (const Case& c : cases) {
    ViewTransform v = viewAt(0, 1, 0, 0);
    ExtentBox box;
    box.widen(v.worldToScreen(c.x1, c.y1));
    box.widen(v.worldToScreen(c.x2, c.y2));
    fitBoxToView(v, box);
    EXPECT_DOUBLE_EQ(v.scaleX, c.scale);
    EXPECT_EQ(v.scaleX, v.scaleY);
    const ViewPoint centre = v.worldToScreen((c.x1 + c.x2) / 2, (c.y1 + c.y2) / 2);
    EXPECT_NEAR(centre.u, 500, 1e-3);
    EXPECT_NEAR(centre.v, 300, 1e-3);
    EXPECT_TRUE(std::isfinite(v.originX) && std::isfinite(v.originY));
  }
}

TEST(ViewHistoryTest, RingWrapsAfterTenViewsAndBothWays) {
  ViewTransform v = viewAt(0, 1, 0, 0);
  ViewHistory h;
  EXPECT_EQ(h.previous(), nullptr);
  EXPECT_EQ(h.next(), nullptr);
  for (int k = 1; k <= 11; ++k) {
    v.originX = k;
    h.pushView(v);
  }
  EXPECT_EQ(h.historyCount, 10);
  EXPECT_EQ(h.historyIndex, 1);
  EXPECT_EQ(h.slot(1).originX, 11);  // slot 1 overwritten
  EXPECT_EQ(h.previous()->originX, 10);
  EXPECT_EQ(h.historyIndex, 10);

  ViewHistory three;
  for (int k = 1; k <= 3; ++k) {
    v.originX = k;
    three.pushView(v);
  }
  EXPECT_EQ(three.previous()->originX, 2);
  EXPECT_EQ(three.previous()->originX, 1);
  EXPECT_EQ(three.previous()->originX, 3);  // from the oldest to the newest
  EXPECT_EQ(three.next()->originX, 1);      // from the newest to slot 1
  EXPECT_EQ(three.next()->originX, 2);
}

}  // namespace
}  // namespace merilon
