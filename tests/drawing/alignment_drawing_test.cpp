#include "alignment/alignment_drawing.h"

#include <gtest/gtest.h>

#include <cmath>

#include "drawing/draw_target.h"
#include "points/record_parser.h"
#include "support/recording_canvas.h"
#include "support/scripted_platform.h"

namespace merilon {
namespace {

using testing::CanvasOp;

struct AlignmentPicture {
  explicit AlignmentPicture(const std::vector<AlignmentRecord>& records, double scale = 3) {
    EXPECT_TRUE(alignment.initialise(platform));
    EXPECT_TRUE(alignment.setRecords(platform, records));
    view.viewWidth = 4000;
    view.viewHeight = 4000;
    view.scaleX = view.scaleY = scale;
    view.originX = alignment.minX - 300;
    view.originY = alignment.minY - 300;
    target.canvas = &canvas;
    target.setClipToView();
  }
  testing::ScriptedPlatform platform;
  Alignment alignment;
  ViewTransform view;
  DrawTarget target{view};
  testing::RecordingCanvas canvas{4000, 4000};
};

TEST(AlignmentDrawingTest, ChainageMarksStartAtTheNextHundredWithKilometreSymbols) {
  AlignmentPicture a({{1234.56, 0, 0, 0, 0, 0}, {2100, 0, 865.44, 0, 0, 0}});
  AlignmentDrawingParams p;  // TRAPAR all 0: mark size 0.2, 1:1000
  drawAlignment(a.target, a.alignment, p);
  std::vector<std::string> numbers;
  for (const CanvasOp& t : a.canvas.of(CanvasOp::Text)) {
    if (t.text.size() == 1) numbers.push_back(t.text);
  }
  EXPECT_EQ(numbers, (std::vector<std::string>{"3", "4", "5", "6", "7", "8", "9", "2", "1"}));
  // Mark number: 2 m high (6 pixels at 3 px/m); the kilometre's 1.2 times that.
  EXPECT_EQ(a.canvas.findText("3")->fontSize, 6 * 72 / 96);
  EXPECT_EQ(a.canvas.findText("2")->fontSize, 7 * 72 / 96);
  EXPECT_EQ(a.canvas.findText("2")->pen, (Rgb{0, 0, 0})) << "colour 5 is drawn black";
  // The first and last main points show their chainage.
  EXPECT_NE(a.canvas.findText("1234.56"), nullptr);
  EXPECT_NE(a.canvas.findText("2100.00"), nullptr);
  // The axis: one width-2 red line for the straight.
  const auto lines = a.canvas.of(CanvasOp::Line);
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines[0].penWidth, 2);
  EXPECT_EQ(lines[0].pen, (Rgb{255, 0, 0}));
  EXPECT_EQ(lines[0].y1 - lines[0].y2, 2596);
}

TEST(AlignmentDrawingTest, CurveStepFollowsTheZoomAndThePrinter) {
  EXPECT_NEAR(curveStep(500, 1, false), 44.7, 0.05);
  EXPECT_NEAR(curveStep(-500, 1, false), 44.7, 0.05);
  EXPECT_NEAR(curveStep(500, 1, true), 2 * 500 * std::acos(1 - 0.05 / 500), 1e-9);
  EXPECT_NEAR(curveStep(0.2, 10, false), 2 * 0.2 * std::acos(1 - 0.05 / 0.2), 1e-12);
  // A radius below the tolerance, such as the 0.0001 that only carries a clothoid's sign, steps
  // by one pixel instead of a third of a millimetre.
  EXPECT_DOUBLE_EQ(curveStep(0.2, 1, false), 1);
  EXPECT_DOUBLE_EQ(curveStep(0.0001, 5, false), 0.2);
  EXPECT_DOUBLE_EQ(curveStep(0.0001, 5, true), 0.05);
  EXPECT_NEAR(curveStep(0, 1, false), 20000, 1);  // a straight: the radius 99999999
  EXPECT_EQ(curveDrawRadius(300, 0.00011), 300);
  EXPECT_EQ(curveDrawRadius(0.4, 200), 200);
  EXPECT_EQ(curveDrawRadius(300, 200), 200);
  EXPECT_EQ(curveDrawRadius(100, 200), 100);
}

TEST(AlignmentDrawingTest, MainPointsGetTheirLabels) {
  AlignmentPicture a({{0, 0, 0, 0, 0, 0},
                      {100, 0, 100, 0, 0, 100},
                      {200, 2, 200, 0.1, 500, 0},
                      {300, 20, 300, 0.3, 0.01, 0},
                      {400, 50, 400, 0.3, 0, 0}});
  drawAlignment(a.target, a.alignment, AlignmentDrawingParams{});
  for (const char* text : {"0.00", "PKP=100.00", "KKP=200.00", "R=500", "400.00"}) {
    EXPECT_NE(a.canvas.findText(text), nullptr) << text;
  }
  EXPECT_EQ(a.canvas.findText("300.00"), nullptr) << "a radius of 0.01 carries no labels";
  EXPECT_EQ(a.canvas.findText("PL=300.00"), nullptr);
}

TEST(AlignmentDrawingTest, CrossSectionLinesTakeTheirColoursFromTheLayerValue) {
  AlignmentPicture a({{0, 0, 0, 0, 0, 0}, {100, 0, 100, 0, 0, 0}}, 10);
  const std::vector<std::string> ter = {"\"&IBMVORDPOW\",\"\"",
                                        "Teren,0,20.00,20.00,0",
                                        "20.00,12",
                                        "-8.00",
                                        "99.80",
                                        "0.00",
                                        "\"\"",
                                        "-3.00",
                                        "100.05",
                                        "-0.50",
                                        "\"\"",
                                        "5.00",
                                        "99.50",
                                        "0.30",
                                        "\"\"",
                                        "9.00",
                                        "99.00",
                                        "0.00",
                                        "\"\""};
  RecordParser parser;
  int updates = 0;
  drawCrossSections(a.target, a.alignment, parser, ter, AlignmentDrawingParams{},
                    [&] { ++updates; });
  const auto lines = a.canvas.of(CanvasOp::Line);
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0].pen, (Rgb{255, 255, 0}));    // after a point with layer 0
  EXPECT_EQ(lines[1].pen, (Rgb{128, 128, 128}));  // negative
  EXPECT_EQ(lines[2].pen, (Rgb{0, 128, 0}));      // positive
  EXPECT_EQ(lines[0].penWidth, 4);
  EXPECT_EQ(lines[0].x2 - lines[0].x1, 50);  // 5 m to the right at 10 px/m
  EXPECT_EQ(a.canvas.of(CanvasOp::Rectangle).size(), 4u);
  EXPECT_NE(a.canvas.findText("20.00"), nullptr);
  // A text cut short or announcing too much draws what is there and stops.
  for (std::size_t n = 0; n < ter.size(); ++n) {
    std::vector<std::string> cut(ter.begin(), ter.begin() + static_cast<long>(n));
    drawCrossSections(a.target, a.alignment, parser, cut, AlignmentDrawingParams{}, nullptr);
  }
}

}  // namespace
}  // namespace merilon
