#include "drawing/drawing_dialogs.h"

#include <gtest/gtest.h>

#include "drawing_fixture.h"

namespace merilon {
namespace {

TEST(DrawingParamsDialogTest, FieldsShowTheirFormatsAndClosingAppliesTheBounds) {
  testing::DrawingProgram p;
  p.addPoint(0, 0, 1);
  p.addPoint(100, 100, 1);
  p.open();
  TFormParam_rysow& d = p.program->FormParam_rysow;
  std::vector<std::string> shown;
  p.platform.onModal = [&](Form&) {
    for (const Edit* e : {&d.Edit1, &d.Edit2, &d.Edit3, &d.Edit4, &d.Edit5, &d.Edit6, &d.Edit7})
      shown.push_back(e->text);
    d.Edit1.text = "1";
    d.Edit2.text = "1.5";
    d.Edit3.text = "";
    d.Edit4.text = "12";
    d.Edit5.text = "abc";
    d.Edit6.text = "20";
    d.Edit7.text = "0";
    d.Button1Click();
  };
  p.window().ToolButton28Click();
  EXPECT_EQ(shown, (std::vector<std::string>{"2.0", "2.0", "10", "8", "10", "1000", "1.00"}));
  const DrawingParams& params = p.window().params;
  EXPECT_EQ(params.zoomInCoefficient, 2.0);
  EXPECT_EQ(params.zoomOutCoefficient, 1.5);
  EXPECT_EQ(params.numberLabelSize, 6);
  EXPECT_EQ(params.heightLabelSize, 12);
  EXPECT_EQ(params.symbolLabelSize, 6);
  EXPECT_EQ(params.printScale, 50);
  EXPECT_EQ(params.contourLabelInterval, 1.0);
  EXPECT_EQ(d.Edit3.keyFilter, KeyFilter::Integer);
  EXPECT_EQ(d.Edit6.keyFilter, KeyFilter::Decimal);
  EXPECT_EQ(d.Edit7.keyFilter, KeyFilter::None);
  const double scale = p.window().view.scaleX;
  p.window().ZmniejszClick();
  EXPECT_DOUBLE_EQ(p.window().view.scaleX, scale / 1.5);
  // The label sizes feed the next redraw: the height labels are now 12 points.
  p.window().layerClick(13);
  p.window().OdswiezClick();
  ASSERT_FALSE(p.canvas.of(testing::CanvasOp::Text).empty());
  EXPECT_EQ(p.canvas.of(testing::CanvasOp::Text).back().fontSize, 12);
  // Reopening the window brings the defaults back.
  p.window().Zamknijoknorysunku1Click();
  p.open();
  EXPECT_EQ(p.window().params.printScale, 1000);
}

TEST(RotationDialogTest, AcceptRoundsToThreeDecimalsEmptyIsZeroAndCentresOverTheWindow) {
  testing::DrawingProgram p;
  TFormRysowan_obrot& d = p.program->FormRysowan_obrot;
  TGRAFIKA& w = p.window();
  const struct {
    const char* text;
    double angle;
  } cases[] = {{"90", 1.571}, {"", 0}, {"-45", -0.785}, {"x", 0}};
  for (const auto& c : cases) {
    w.view.angle = 0.3;
    d.Edit1.text = c.text;
    d.Button1Click();
    EXPECT_DOUBLE_EQ(w.view.angle, c.angle) << c.text;
  }
  w.windowLeft = 100;
  w.windowTop = 50;
  w.windowWidth = 1000;
  w.windowHeight = 700;
  d.FormActivate();
  EXPECT_EQ(d.Left, 100 + (1000 - d.Width) / 2);
  EXPECT_EQ(d.Top, 50 + (700 - d.Height) / 2);
  w.view.previousAngle = 0.25;
  d.Button2Click();
  EXPECT_EQ(w.view.angle, 0.25);
  EXPECT_TRUE(d.KeyPressDouble(U'-'));
  EXPECT_TRUE(d.KeyPressDouble(8));
  EXPECT_FALSE(d.KeyPressDouble(U'\t'));
  EXPECT_FALSE(d.KeyPressDouble(U','));
  EXPECT_EQ(p.platform.beeps, 2);
}

}  // namespace
}  // namespace merilon
