#include <gtest/gtest.h>

#include <numbers>

#include "drawing_fixture.h"

namespace merilon {
namespace {

using testing::CanvasOp;
using testing::DrawingProgram;
constexpr auto L = MouseButton::Left;
constexpr auto R = MouseButton::Right;
constexpr auto M = MouseButton::Middle;

struct Tools : DrawingProgram {
  Tools() {
    addPoint(0, 0, 1);
    addPoint(990, 590, 1);
    open();
    window().CaloscClick();  // 1 pixel per metre, origin (-5, -5)
  }
  TGRAFIKA& w() { return window(); }
};

TEST(MouseToolsTest, ArmingCommandsSetStateCodeCursorAndStatus) {
  Tools t;
  const struct {
    void (TGRAFIKA::*arm)();
    int mode, last;
    CursorShape cursor;
    const char* status;
  } cases[] = {
      {&TGRAFIKA::WybierzOknoClick, 4, 4, CursorShape::PointingHand,
       "Wskaż jeden z narożników i wskaż obszaru do wyswietlenia na ekranie"},
      {&TGRAFIKA::PrzesunClick, 8, 5, CursorShape::SizeAll,
       "Wskaż punkt zaczepienia i przesuń obszar wyswietlania na ekranie"},
      {&TGRAFIKA::ToolButton9Click, 14, 9, CursorShape::Help,
       "Wskaż punkt początkowy i końcowy linii, która ma być równoległa do dolnej krawędzi "
       "ekranu"},
      {&TGRAFIKA::ToolButton25Click, 10, 10, CursorShape::Cross,
       "Wciśnij i przytrzymując lewy klawisz myszy wskaż interesujący Cię punkt"},
      {&TGRAFIKA::ToolButton23Click, 13, 13, CursorShape::Help,
       "Wskaż punkt do edycji lub wstawienia"},
      {&TGRAFIKA::ToolButton24Click, 20048, 12, CursorShape::Help,
       "Kliknij lewym klawiszem myszy przy trasie i następnie drugi raz w punkt, którego "
       "pikietaż rzutu chcesz poznać"},
      {&TGRAFIKA::ToolButton34Click, 20046, 15, CursorShape::Help,
       "Wskaż punkt, od którego mierzyć odległość"},
      {&TGRAFIKA::ToolButton36Click, 36, 36, CursorShape::Help,
       "Wskaż pierwszy punkt do generowania nowego punktu"},
  };
  for (const auto& c : cases) {
    (t.w().*c.arm)();
    EXPECT_EQ(t.w().toolMode, c.mode);
    EXPECT_EQ(t.w().lastCommand, c.last);
    EXPECT_EQ(t.w().surfaceCursor, c.cursor);
    EXPECT_EQ(t.w().StatusBar1.text, c.status);
  }
  t.w().toolBusy = true;
  t.w().toolMode = 0;
  t.w().ToolButton23Click();
  EXPECT_EQ(t.w().toolMode, 0);
  EXPECT_EQ(t.platform.shownTexts().back(),
            "Działanie nie zakończone: Nie można wybrać nowej funkcji, przed zakończeniem "
            "poprzedniej");
}

TEST(MouseToolsTest, RightButtonCancelsAnArmedToolButNotADrag) {
  Tools t;
  const double scale = t.w().view.scaleX;
  t.w().WybierzOknoClick();
  t.w().EKRANMouseDown(R, false, 100, 100);
  EXPECT_EQ(t.w().toolMode, 0);
  EXPECT_FALSE(t.w().ToolButtonN(4).down);
  t.w().WybierzOknoClick();
  t.w().EKRANMouseDown(L, false, 100, 100);
  EXPECT_EQ(t.w().toolMode, 44);
  t.w().EKRANMouseDown(R, false, 300, 300);  // finishes the rectangle, no zoom
  EXPECT_EQ(t.w().toolMode, 0);
  EXPECT_EQ(t.w().view.scaleX, scale);
}

TEST(MouseToolsTest, ZoomWindowRubberBandErasesItselfAndZooms) {
  Tools t;
  t.w().WybierzOknoClick();
  t.w().EKRANMouseDown(L, false, 100, 500);
  t.canvas.ops.clear();
  t.w().EKRANMouseMove(false, 300, 400);
  t.w().EKRANMouseMove(false, 350, 380);
  const auto bands = t.canvas.of(CanvasOp::Rectangle);
  ASSERT_EQ(bands.size(), 4u);  // erase, draw, erase, draw
  for (const auto& b : bands) {
    EXPECT_EQ(b.mode, PenMode::NotXor);
    EXPECT_FALSE(b.brushSolid);
    EXPECT_EQ(b.pen, (Rgb{255, 20, 147}));
  }
  EXPECT_EQ(bands[1].x1, bands[2].x1);
  EXPECT_EQ(bands[1].y1, bands[2].y1);  // the second erases the first
  const WorldPoint lowerLeft = t.w().view.screenToWorld(100, 600 - 500);
  t.w().EKRANMouseUp(L, false, 350, 380);
  EXPECT_EQ(t.w().toolMode, 0);
  EXPECT_DOUBLE_EQ(t.w().view.scaleX, 1000.0 / 250);
  EXPECT_NEAR(t.w().view.originX, lowerLeft.x, 1e-9);
  EXPECT_NEAR(t.w().view.originY, lowerLeft.y, 1e-9);
  EXPECT_EQ(t.w().StatusBar1.text, " ");
  EXPECT_EQ(t.w().history.historyCount, 2);
}

TEST(MouseToolsTest, MoveFrameFollowsTheDragAndMovesTheView) {
  Tools t;
  const double ox = t.w().view.originX, oy = t.w().view.originY;
  t.w().PrzesunClick();
  t.w().EKRANMouseDown(L, false, 500, 300);
  t.canvas.ops.clear();
  t.w().EKRANMouseMove(false, 560, 280);
  const auto frames = t.canvas.of(CanvasOp::Rectangle);
  ASSERT_EQ(frames.size(), 2u);
  EXPECT_EQ(frames[1].x1, 60);
  EXPECT_EQ(frames[1].y1, -20);
  EXPECT_EQ(frames[1].x2, 1060);
  EXPECT_EQ(frames[1].y2, 580);
  t.w().EKRANMouseUp(L, false, 560, 280);
  EXPECT_NEAR(t.w().view.originX, ox + 60, 1e-9);
  EXPECT_NEAR(t.w().view.originY, oy + 20, 1e-9);
}

TEST(MouseToolsTest, RotationLineAcceptedCancelledOrTooShort) {
  Tools t;
  TFormRysowan_obrot& dialog = t.program->FormRysowan_obrot;
  const auto rotate = [&](int x1, int y1, int x2, int y2) {
    t.w().ToolButton9Click();
    t.w().EKRANMouseDown(L, false, x1, y1);
    t.w().EKRANMouseMove(false, x2, y2);
    t.w().EKRANMouseUp(L, false, x2, y2);
  };
  int dialogs = 0;
  t.platform.onModal = [&](Form& f) {
    ASSERT_EQ(&f, &dialog);
    ++dialogs;
    EXPECT_EQ(dialog.Edit1.text, "45.000");
    dialog.Button1Click();
  };
  const WorldPoint centre = t.w().view.screenToWorld(500, 300);
  rotate(100, 500, 300, 300);  // 45 degrees upwards to the right
  EXPECT_EQ(dialogs, 1);
  EXPECT_DOUBLE_EQ(t.w().view.angle, 0.785);
  const WorldPoint after = t.w().view.screenToWorld(500, 300);
  EXPECT_NEAR(after.x, centre.x, 1e-9);
  EXPECT_NEAR(after.y, centre.y, 1e-9);
  EXPECT_FALSE(t.w().extent.extentValid);

  rotate(100, 100, 109, 91);  // shorter than 10 pixels both ways
  EXPECT_EQ(dialogs, 1);

  t.platform.onModal = [&](Form&) {
    dialog.Left = 77;
    dialog.Top = 66;
    dialog.Button2Click();
  };
  const std::size_t before = t.canvas.ops.size();
  rotate(100, 300, 400, 300);
  EXPECT_DOUBLE_EQ(t.w().view.angle, 0.785);
  EXPECT_LT(t.canvas.ops.size(), before + 10) << "no redraw after cancelling";
  dialog.FormActivate();
  EXPECT_EQ(dialog.Left, 77);
  EXPECT_EQ(dialog.Top, 66);
}

TEST(MouseToolsTest, CoordinateReadOutFollowsTheHeldButton) {
  Tools t;
  t.w().ToolButton25Click();
  t.w().EKRANMouseDown(L, false, 105, 595);
  EXPECT_EQ(t.w().StatusBar1.text, "Współrzędne wskazanego punktu x=100.00 y=0.00");
  EXPECT_EQ(t.platform.clipboard, "100.00,0.00,0.00");
  t.w().EKRANMouseMove(false, 205, 495);
  EXPECT_EQ(t.platform.clipboard, "200.00,100.00,0.00");
  t.w().EKRANMouseUp(L, false, 205, 495);
  EXPECT_EQ(t.w().toolMode, 0);
  t.w().EKRANMouseMove(false, 305, 495);
  EXPECT_EQ(t.platform.clipboard, "200.00,100.00,0.00");
}

TEST(MouseToolsTest, F3RepeatsTheLastArmedCommand) {
  Tools t;
  t.w().WybierzOknoClick();
  t.w().CaloscClick();
  t.w().FormKeyDown(DrawingKey::F3, false, false);
  EXPECT_EQ(t.w().toolMode, 4);
  t.w().PowiekszClick();
  const double zoomed = t.w().view.scaleX;
  t.w().FormKeyDown(DrawingKey::F3, false, false);
  EXPECT_DOUBLE_EQ(t.w().view.scaleX, 2 * zoomed);
  t.w().ToolButton9Click();
  t.w().EKRANMouseDown(R, false, 1, 1);
  t.w().FormKeyDown(DrawingKey::F3, false, false);
  EXPECT_EQ(t.w().toolMode, 0);
}

TEST(MouseToolsTest, PointToolStatesReturnToIdleWithoutThePointTools) {
  Tools t;
  t.w().pointTools = nullptr;
  for (auto arm : {&TGRAFIKA::ToolButton23Click, &TGRAFIKA::ToolButton24Click,
                   &TGRAFIKA::ToolButton34Click, &TGRAFIKA::ToolButton36Click}) {
    (t.w().*arm)();
    t.w().EKRANMouseDown(L, false, 10, 10);
    EXPECT_EQ(t.w().toolMode, 0);
  }
  t.w().toolMode = 9001;
  t.w().EKRANMouseDown(L, false, 10, 10);
  EXPECT_EQ(t.w().toolMode, 0);
}

TEST(MouseToolsTest, WheelZoomsAboutTheCursorAndMiddleDragPansAsOneHistoryEntry) {
  Tools t;
  const int views = t.w().history.historyCount;
  const WorldPoint under = t.w().view.screenToWorld(200, 600 - 150);
  t.w().EKRANMouseWheel(1, 200, 150);
  EXPECT_DOUBLE_EQ(t.w().view.scaleX, 2);
  const WorldPoint after = t.w().view.screenToWorld(200, 600 - 150);
  EXPECT_NEAR(after.x, under.x, 1e-9);
  EXPECT_NEAR(after.y, under.y, 1e-9);
  const double ox = t.w().view.originX;
  t.w().EKRANMouseDown(M, false, 300, 300);
  t.w().EKRANMouseMove(false, 320, 300);
  t.w().EKRANMouseMove(false, 340, 300);
  t.w().EKRANMouseUp(M, false, 340, 300);
  EXPECT_NEAR(t.w().view.originX, ox - 20, 1e-9);  // 40 pixels at 2 px/m, with the hand
  EXPECT_EQ(t.w().history.historyCount, views + 2);
  EXPECT_EQ(t.w().toolMode, 0);
}

}  // namespace
}  // namespace merilon
