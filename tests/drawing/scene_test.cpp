#include "drawing/scene.h"

#include <gtest/gtest.h>

#include "drawing_fixture.h"

namespace merilon {
namespace {

using testing::CanvasOp;
using testing::DrawingProgram;

// The operations after the last clearing of the surface.
std::vector<CanvasOp> lastPicture(const testing::RecordingCanvas& c) {
  std::vector<CanvasOp> r;
  for (const CanvasOp& o : c.ops) {
    if (o.kind == CanvasOp::Rectangle && o.x1 == 0 && o.y1 == 0 && o.x2 == c.width() + 1) {
      r.clear();
      continue;
    }
    r.push_back(o);
  }
  return r;
}

TEST(DrawingWindowTest, RysujNeedsPointsAndClosingEnablesItAgain) {
  DrawingProgram p;
  p.main().Button19Click();
  EXPECT_EQ(p.platform.shownTexts().back(), "Rysowanie: Nie wczytano danych!");
  EXPECT_FALSE(p.window().visible);
  p.addPoint(10, 20, 5);
  p.open();
  EXPECT_TRUE(p.window().visible);
  EXPECT_FALSE(p.main().Button19.enabled);
  EXPECT_TRUE(p.window().maximizeRequested);
  EXPECT_EQ(p.window().StatusBar1.text, " ");
  EXPECT_FALSE(p.window().ToolButtonN(10).visible);
  EXPECT_TRUE(p.window().ToolButtonN(36).visible);
  EXPECT_FALSE(p.window().ToolButtonN(37).visible);
  p.window().Zamknijoknorysunku1Click();
  EXPECT_TRUE(p.main().Button19.enabled);
  EXPECT_FALSE(p.window().visible);
  EXPECT_FALSE(p.window().setupDone);
}

TEST(SceneTest, LayersInTheirOrderWithColoursPerTypeAndLabelAnchors) {
  DrawingProgram p;
  p.addPoint(0, 0, 101.5, "S1", 9);
  p.addPoint(100, 50, 102.25, "P", 1);
  p.addPoint(200, 100, -99999999, "Q", 0);
  p.open();
  for (int n : {11, 12, 13, 14}) p.window().layerClick(n);
  p.window().CaloscClick();
  const auto ops = lastPicture(p.canvas);
  std::vector<std::string> order;
  for (const CanvasOp& o : ops) order.push_back(o.kind == CanvasOp::Marker ? "m" : o.text);
  const std::vector<std::string> expected = {
      "m", "m", "m", "S1", "P", "Q", "101.50", "102.25", "-99999999.00", "1 ", "2 ", "3 "};
  EXPECT_EQ(order, expected);
  const Rgb yellow{255, 255, 0}, red{255, 0, 0}, olive{128, 128, 0}, blue{0, 0, 255},
      fuchsia{255, 0, 255};
  EXPECT_EQ(ops[0].pen, yellow);
  EXPECT_EQ(ops[1].pen, red);
  EXPECT_EQ(ops[2].pen, olive);
  EXPECT_EQ(ops[3].pen, yellow);
  EXPECT_EQ(ops[4].pen, blue);
  EXPECT_EQ(ops[6].pen, yellow);
  EXPECT_EQ(ops[7].pen, fuchsia);
  EXPECT_EQ(ops[10].pen, red);
  // Symbol hangs below the point from it (10 pt); height stands on it (8 pt: h = 10.67 → 11);
  // the number ends at it, vertically centred.
  const CanvasOp& marker = ops[1];
  EXPECT_EQ(ops[4].x1, marker.x1);
  EXPECT_EQ(ops[4].y1, marker.y1);
  EXPECT_EQ(ops[4].fontSize, 10);
  EXPECT_EQ(ops[7].x1, marker.x1);
  EXPECT_EQ(ops[7].y1, marker.y1 - 11);
  EXPECT_EQ(ops[7].fontSize, 8);
  EXPECT_EQ(ops[10].x1, marker.x1 - 2 * 8);
}

TEST(SceneTest, LayerSwitchesShowAtTheNextRefreshAndOutliveTheWindow) {
  DrawingProgram p;
  p.addPoint(0, 0, 1);
  p.addPoint(10, 10, 1);
  p.open();
  p.window().CaloscClick();
  EXPECT_TRUE(lastPicture(p.canvas).empty()) << "all layers off: a white surface";
  p.window().layerClick(11);
  EXPECT_TRUE(p.window().ToolButtonN(11).down);
  EXPECT_TRUE(lastPicture(p.canvas).empty());
  p.window().OdswiezClick();
  EXPECT_EQ(p.canvas.of(CanvasOp::Marker).size(), 2u);
  p.window().Zamknijoknorysunku1Click();
  p.open();
  EXPECT_TRUE(p.window().layerOn[11]);
}

TEST(SceneTest, GridFollowsTheSpacingAndTheEightyPixelRule) {
  const struct {
    double spacing, scale;
    bool drawn;
  } cases[] = {{1.0, 100, false}, {10, 8.0, false}, {10, 8.1, true}, {1.5, 100, true}};
  for (const auto& c : cases) {
    DrawingProgram p(400, 400);
    p.addPoint(0, 0, 1);
    p.open();
    p.window().layerClick(17);  // any layer switch brings the grid
    p.program->settings.gridSpacing = c.spacing;
    p.window().view.scaleX = p.window().view.scaleY = c.scale;
    p.window().OdswiezClick();
    const auto lines = lastPicture(p.canvas);
    EXPECT_EQ(!lines.empty(), c.drawn) << c.spacing << " " << c.scale;
    for (const auto& l : lines) EXPECT_EQ(l.pen, (Rgb{112, 128, 144}));
  }
}

TEST(SceneTest, SearchRingShowsOnceAtTheNextRedraw) {
  DrawingProgram p;
  p.addPoint(0, 0, 1);
  p.addPoint(100, 100, 1);
  p.open();
  p.window().CaloscClick();
  p.window().searchMarkPending = true;
  p.window().searchMarkX = 50;
  p.window().searchMarkY = 50;
  p.window().OdswiezClick();
  const auto ring = lastPicture(p.canvas);
  ASSERT_EQ(ring.size(), 8u);
  EXPECT_EQ(ring[0].pen, (Rgb{255, 0, 255}));
  EXPECT_EQ(ring[0].penWidth, 2);
  EXPECT_NEAR(ring[0].x1 - 500, 40, 1);
  p.window().OdswiezClick();
  EXPECT_TRUE(lastPicture(p.canvas).empty());
}

TEST(SceneTest, ACommandGivenDuringALongRedrawRestartsItWithTheNewView) {
  DrawingProgram p;
  for (int i = 0; i < 3500; ++i) p.addPoint(i % 100, i / 100, 1);
  p.open();
  p.window().layerClick(11);
  p.window().CaloscClick();
  const double fitted = p.window().view.scaleX;
  bool zoomed = false;
  p.platform.onPendingEvents = [&](int) {
    if (!zoomed && p.window().redrawing()) {
      zoomed = true;
      p.window().PowiekszClick();
    }
  };
  p.canvas.ops.clear();
  p.window().OdswiezClick();
  EXPECT_TRUE(zoomed);
  EXPECT_DOUBLE_EQ(p.window().view.scaleX, 2 * fitted);
  int clears = 0;
  for (const CanvasOp& o : p.canvas.ops) {
    clears += o.kind == CanvasOp::Rectangle && o.x2 == p.canvas.width() + 1;
  }
  EXPECT_EQ(clears, 2);
  EXPECT_FALSE(p.window().redrawing());

  // Esc meanwhile ends the redraw after the first thousand points.
  p.platform.onPendingEvents = [&](int) {
    if (p.window().redrawing()) p.window().FormKeyDown(DrawingKey::Escape, false, false);
  };
  p.canvas.ops.clear();
  p.window().OdswiezClick();
  EXPECT_LE(p.canvas.of(CanvasOp::Marker).size(), 1000u);
  EXPECT_FALSE(p.window().redrawing());
}

// The main window stays usable while the drawing window shows its progress: points opened or
// imported there meanwhile start the redraw again, which shows them and nothing of the old ones
// (it went on through the indexes of points that were gone).
TEST(SceneTest, PointsReplacedDuringALongRedrawRestartIt) {
  DrawingProgram p;
  for (int i = 0; i < 3500; ++i) p.addPoint(i % 100, i / 100, 1);
  p.open();
  p.window().layerClick(11);
  p.window().CaloscClick();
  bool replaced = false;
  p.platform.onPendingEvents = [&](int) {
    if (replaced || !p.window().redrawing()) return;
    replaced = true;
    p.points().clearPoints();
    for (int i = 0; i < 3; ++i) p.addPoint(10 * i, 10, 1);
  };
  p.canvas.ops.clear();
  p.window().OdswiezClick();
  ASSERT_TRUE(replaced);
  std::size_t lastClear = 0;
  for (std::size_t k = 0; k < p.canvas.ops.size(); ++k) {
    const CanvasOp& o = p.canvas.ops[k];
    if (o.kind == CanvasOp::Rectangle && o.x2 == p.canvas.width() + 1) lastClear = k;
  }
  int markersAfter = 0;
  for (std::size_t k = lastClear; k < p.canvas.ops.size(); ++k) {
    markersAfter += p.canvas.ops[k].kind == CanvasOp::Marker;
  }
  EXPECT_GT(lastClear, 0u) << "the redraw did not start again";
  EXPECT_EQ(markersAfter, 3);
  EXPECT_FALSE(p.window().redrawing());
}

}  // namespace
}  // namespace merilon

namespace merilon {
namespace {

TEST(SceneTest, SectionFileIsReadOnceAndResizeKeepsTheMinimum) {
  testing::DrawingProgram p;
  p.addPoint(0, 0, 1);
  p.addPoint(0, 100, 1);
  ASSERT_TRUE(
      p.program->alignment.setRecords(p.platform, {{0, 0, 0, 0, 0, 0}, {100, 0, 100, 0, 0, 0}}));
  const auto ter = p.folder / "teren.TER";
  testing::writeBytes(
      ter, testing::crlf({"\"&IBMVORDPOW\",\"\"", "T,0,50.00,50.00,0", "50.00,6", "-5.00", "100.00",
                          "0.00", "\"\"", "5.00", "100.00", "1.00", "\"\""}));
  p.program->FormPoprzeczka.lastTerFileName = ter.string();
  p.open();
  p.window().layerClick(18);
  p.window().CaloscClick();
  const auto sectionLines = [&p] {
    int n = 0;
    for (const auto& o : p.canvas.ops) n += o.kind == testing::CanvasOp::Line && o.penWidth == 4;
    return n;
  };
  EXPECT_EQ(sectionLines(), 1);
  EXPECT_TRUE(p.program->FormPoprzeczka.sectionTextLoaded);
  std::filesystem::remove(ter);
  p.canvas.ops.clear();
  p.window().OdswiezClick();
  EXPECT_EQ(sectionLines(), 1) << "the text read once stays";

  int w = 500, h = 300;
  p.window().FormResize(w, h);
  EXPECT_EQ(w, 640);
  EXPECT_EQ(h, 400);
  EXPECT_EQ(p.window().StatusBar1.text, "");
}

}  // namespace
}  // namespace merilon
