#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <functional>
#include <tuple>
#include <vector>

#include "drawing/print_layout.h"
#include "drawing_fixture.h"

namespace merilon {
namespace {

using testing::CanvasOp;
using testing::DrawingProgram;
constexpr auto L = MouseButton::Left;
constexpr auto R = MouseButton::Right;
constexpr auto M = MouseButton::Middle;

TEST(PrintLayoutTest, FrameSpansThePagesGroundWhateverTheScreenScale) {
  // 254 printer pixels per inch: a pixel is a tenth of a millimetre, a 21 cm page 2100 pixels.
  const struct {
    int pagePixels, ppi;
    double scale, viewScale;
    int frame;
  } cases[] = {
      {2100, 254, 1000, 1, 210},    // 210 m of ground at 1 pixel per metre
      {2100, 254, 1000, 2, 420},    // twice the screen scale, twice the pixels
      {2100, 254, 1000, 0.1, 21},   // a tenth of the screen scale
      {2100, 254, 1000, 0.25, 52},  // 52.5 rounds to even
      {2100, 254, 1000, 0.35, 74},  // 73.5 rounds to even
      {2100, 254, 500, 1, 105},     // 1 : 500 covers half the ground
      {2970, 254, 1000, 1, 297},    // the page's height
      {4961, 600, 1000, 1, 210},    // A4 at 600 dpi: 210.01 m
      {2100, 254, 1000, 0.002, 0},  // 0.42 pixels
      {2100, 0, 1000, 1, 0},        // no resolution, no frame
  };
  for (const auto& c : cases) {
    EXPECT_EQ(printFrameExtent(c.pagePixels, c.ppi, c.scale, c.viewScale), c.frame)
        << c.pagePixels << " px at " << c.ppi << " ppi, 1:" << c.scale << ", " << c.viewScale;
  }
  // Printer pixels per metre of ground: 1 m at 1 : 1000 is 1 mm, 10 pixels at 254 ppi.
  EXPECT_DOUBLE_EQ(printerPixelsPerMetre(1000, 254), 10);
  EXPECT_DOUBLE_EQ(printerPixelsPerMetre(500, 600), 100 / 500.0 / 2.54 * 600);
  EXPECT_DOUBLE_EQ(printerDpiRatioOf(600, 96), 6.25);
  EXPECT_DOUBLE_EQ(printerDpiRatioOf(96, 96), 1);
  EXPECT_DOUBLE_EQ(printerDpiRatioOf(300, 0), 1);
  const struct {
    int w, h;
    PageOrientation o;
  } turns[] = {{640, 400, PageOrientation::Landscape},
               {400, 640, PageOrientation::Portrait},
               {500, 500, PageOrientation::Portrait},
               {501, 500, PageOrientation::Landscape}};
  for (const auto& t : turns) EXPECT_EQ(pageOrientation(t.w, t.h), t.o) << t.w << "x" << t.h;
}

// Every field of the view as bits, so that "unchanged" means to the last bit.
std::vector<std::uint64_t> viewBits(const ViewTransform& v) {
  std::vector<std::uint64_t> bits;
  for (double d : {v.originX, v.originY, v.scaleX, v.scaleY, v.angle, v.sinAngle, v.cosAngle,
                   v.farCornerX, v.farCornerY, v.aspect, v.previousAngle}) {
    bits.push_back(std::bit_cast<std::uint64_t>(d));
  }
  bits.push_back(static_cast<std::uint64_t>(v.viewWidth));
  bits.push_back(static_cast<std::uint64_t>(v.viewHeight));
  return bits;
}

struct Printing : DrawingProgram {
  Printing() {
    addPoint(0, 0, 1);
    addPoint(990, 590, 1);
    addPoint(135, 95, 1);
    open();
    window().layerClick(11);
    window().CaloscClick();  // 1 pixel per metre, origin (-5, -5)
  }
  TGRAFIKA& w() { return window(); }
  testing::ScriptedPrinter& printer() { return platform.printerDevice; }
  std::vector<CanvasOp> pageMarkers() const {
    return platform.printerDevice.page.of(CanvasOp::Marker);
  }
};

TEST(PrintingTest, WholeViewFillsThePageWidthAndLeavesTheViewToTheLastBit) {
  Printing t;
  // A turned view makes the bits of the transform worth comparing.
  t.w().view.rotateAboutCentre(0.3);
  t.w().redraw();
  const auto before = viewBits(t.w().view);
  const std::size_t surfaceOps = t.canvas.ops.size();
  t.w().run(DrawingCommand::PrintWindow);
  EXPECT_EQ(t.printer().orientations.back(), PageOrientation::Landscape);
  EXPECT_EQ(t.printer().ended, 1);
  EXPECT_EQ(t.printer().title, t.main().baseTitle);
  EXPECT_EQ(viewBits(t.w().view), before);
  EXPECT_EQ(t.w().target.printMode, 0);
  EXPECT_EQ(t.w().target.canvas, &t.canvas);
  EXPECT_EQ(t.canvas.ops.size(), surfaceOps) << "the surface is not redrawn";
  EXPECT_DOUBLE_EQ(t.w().target.printerDpiRatio, 254.0 / 96);
  EXPECT_EQ(t.w().StatusBar1.text, "Drukowanie calego obszaru ekranu (bez skali)");
  // The same markers as on the surface, stretched by 2970 / 1000 from the page's lower-left
  // corner; the page, relatively taller, shows more above.
  t.w().view.apply(ViewSnapshot{-5, -5, 1, 1, 0});
  t.w().redraw();
  t.w().run(DrawingCommand::PrintWindow);
  const auto markers = t.pageMarkers();
  ASSERT_EQ(markers.size(), 3u);
  EXPECT_EQ(markers[0].x1, 15);  // 5 m at 2.97 pixels per metre: 14.85
  EXPECT_EQ(markers[0].y1, 2100 - 15);
  EXPECT_EQ(markers[1].x1, 2955);  // 995 m: 2955.15
  EXPECT_EQ(markers[1].y1, 2100 - 1767);

  // On a page relatively wider than the surface the surface's height fills the page's: the
  // highest point, 745 pixels up a surface 900 high, is on the page at 745 * 2100 / 900.
  t.canvas.resize(1000, 900);
  t.w().redraw();
  t.w().CaloscClick();
  t.w().run(DrawingCommand::PrintWindow);
  const auto wider = t.pageMarkers();
  ASSERT_EQ(wider.size(), 3u);
  EXPECT_EQ(wider[1].x1, 2322);  // 995 * 7 / 3
  EXPECT_EQ(wider[1].y1, 362);   // 2100 - 1738.33

  // A view higher than wide prints portrait; a cancelled dialog prints nothing.
  t.canvas.resize(600, 1000);
  t.w().redraw();
  t.printer().confirmDialog = false;
  t.w().run(DrawingCommand::PrintWindow);
  EXPECT_EQ(t.printer().orientations.back(), PageOrientation::Portrait);
  EXPECT_EQ(t.printer().begun, 3);
}

TEST(PrintingTest, AtScalePrintsThePagesGroundFromTheFramesCorner) {
  Printing t;
  t.w().lastCommand = 4;
  const auto before = viewBits(t.w().view);
  t.w().run(DrawingCommand::PrintAtScale);
  EXPECT_EQ(t.w().toolMode, 9);
  EXPECT_EQ(t.w().surfaceCursor, CursorShape::Cross);
  EXPECT_EQ(t.w().StatusBar1.text, "Wskaż dolny lewy narożnik obszaru drukowania");
  EXPECT_TRUE(t.printer().open);
  // A landscape A4 page (29.7 x 21 cm) covers 297 x 210 m at 1 : 1000.
  EXPECT_EQ(t.w().printFrameWidth, 297);
  EXPECT_EQ(t.w().printFrameHeight, 210);
  t.w().EKRANMouseDown(L, false, 100, 500);
  EXPECT_EQ(t.w().toolMode, 99);
  t.w().EKRANMouseMove(false, 110, 510);
  t.w().EKRANMouseUp(L, false, 120, 520);
  EXPECT_EQ(t.w().toolMode, 0);
  EXPECT_EQ(t.printer().ended, 1);
  EXPECT_EQ(viewBits(t.w().view), before);
  EXPECT_EQ(t.w().lastCommand, 4);
  // The frame stays on the surface in copy mode, its lower-left corner at the release point.
  const CanvasOp& frame = t.canvas.ops.back();
  EXPECT_EQ(frame.kind, CanvasOp::Rectangle);
  EXPECT_EQ(frame.mode, PenMode::Copy);
  EXPECT_EQ(frame.x1, 120);
  EXPECT_EQ(frame.y1, 520 - 210);
  EXPECT_EQ(frame.x2, 120 + 297);
  // The corner is world (115, 75); the point at (135, 95) is 20 m right of it and 20 m up: 2 cm
  // on paper at 1 : 1000, 200 pixels. The other points lie off the page.
  auto markers = t.pageMarkers();
  ASSERT_EQ(markers.size(), 1u);
  EXPECT_EQ(markers[0].x1, 200);
  EXPECT_EQ(markers[0].y1, 2100 - 200);

  // |printScale| at twice the screen scale: 1 : 500 covers half the ground, in twice the pixels.
  t.w().PowiekszClick();
  t.w().params.printScale = -500;
  t.w().run(DrawingCommand::PrintAtScale);
  EXPECT_DOUBLE_EQ(t.w().printScaleInUse, 500);
  EXPECT_EQ(t.w().printFrameWidth, 297);
  EXPECT_EQ(t.w().printFrameHeight, 210);
  t.w().printAtCorner(115, 75);
  markers = t.pageMarkers();
  ASSERT_EQ(markers.size(), 1u);
  EXPECT_EQ(markers[0].x1, 400);

  // A cancelled dialog leaves the status and arms nothing.
  t.printer().confirmDialog = false;
  t.w().run(DrawingCommand::PrintAtScale);
  EXPECT_EQ(t.w().toolMode, 0);
  EXPECT_FALSE(t.w().printAtScaleArmed());
  EXPECT_EQ(t.w().StatusBar1.text, "Drukowanie częsci rysunku w zadanej skali");
}

TEST(PrintingTest, ArmedPrintAtScaleIsCancelledByAnotherCommandTheRightButtonOrClosing) {
  const struct {
    const char* what;
    std::function<void(Printing&)> act;
    int toolMode;
    bool dragged;     // the frame was following the mouse
    int printed = 0;  // documents that act printed itself
  } cases[] = {
      {"another command armed", [](Printing& t) { t.w().run(DrawingCommand::ZoomWindow); }, 4,
       false},
      {"zoom in", [](Printing& t) { t.w().run(DrawingCommand::ZoomIn); }, 0, false},
      {"right button", [](Printing& t) { t.w().EKRANMouseDown(R, false, 50, 50); }, 0, false},
      {"right button while the frame follows",
       [](Printing& t) { t.w().EKRANMouseDown(R, false, 50, 50); }, 0, true},
      {"window closed", [](Printing& t) { t.w().run(DrawingCommand::CloseWindow); }, 0, false},
      {"Esc", [](Printing& t) { t.w().FormKeyDown(DrawingKey::Escape, false, false); }, 0, false},
      {"F3", [](Printing& t) { t.w().FormKeyDown(DrawingKey::F3, false, false); }, 0, false},
      {"wheel", [](Printing& t) { t.w().EKRANMouseWheel(1, 50, 50); }, 0, false},
      {"middle-button pan", [](Printing& t) { t.w().EKRANMouseDown(M, false, 50, 50); }, 0, false},
      {"printer set-up", [](Printing& t) { t.w().run(DrawingCommand::PrinterSetup); }, 0, false},
      // The printer holds one document at a time; the waiting one was drawn over (a crash in the
      // desktop program, whose printer made a new page for the section).
      {"a print of the section viewer",
       [](Printing& t) {
         TFormPrzekroje& viewer = t.program->FormPrzekroje;
         ASSERT_TRUE(
             viewer.openFile(std::filesystem::path(MERILON_TEST_DATA) / "alignment" / "teren.TER"));
         viewer.Button3Click();
       },
       0, true, 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Printing t;
    t.w().run(DrawingCommand::PrintAtScale);
    if (c.dragged) {
      t.w().EKRANMouseDown(L, false, 100, 500);
      t.w().EKRANMouseMove(false, 110, 510);
    }
    c.act(t);
    EXPECT_FALSE(t.w().printAtScaleArmed());
    EXPECT_EQ(t.printer().aborted, 1);
    EXPECT_FALSE(t.printer().open);
    EXPECT_EQ(t.w().toolMode, c.toolMode);
    // The release that would have printed prints nothing now.
    t.w().EKRANMouseUp(L, false, 110, 510);
    EXPECT_EQ(t.printer().ended, c.printed);
    if (c.dragged) {
      // The frame drawn while following the mouse was drawn once more in not-XOR: erased.
      std::vector<CanvasOp> notXor;
      for (const CanvasOp& o : t.canvas.of(CanvasOp::Rectangle)) {
        if (o.mode == PenMode::NotXor) notXor.push_back(o);
      }
      ASSERT_GE(notXor.size(), 2u);
      const CanvasOp& drawn = notXor[notXor.size() - 2];
      const CanvasOp& erased = notXor.back();
      EXPECT_EQ(drawn.x1, 110);
      EXPECT_EQ(drawn.y2, 510);
      EXPECT_EQ(std::tie(drawn.x1, drawn.y1, drawn.x2, drawn.y2),
                std::tie(erased.x1, erased.y1, erased.x2, erased.y2));
    }
  }
  // A layer switch keeps it armed; arming it again replaces the open document; printing the
  // window drops it first.
  Printing t;
  t.w().run(DrawingCommand::PrintAtScale);
  t.w().run(DrawingCommand::Layer, 12);
  EXPECT_TRUE(t.w().printAtScaleArmed());
  t.w().run(DrawingCommand::PrintAtScale);
  EXPECT_EQ(t.printer().aborted, 1);
  EXPECT_EQ(t.printer().begun, 2);
  EXPECT_EQ(t.w().toolMode, 9);
  t.w().run(DrawingCommand::PrintWindow);
  EXPECT_EQ(t.printer().aborted, 2);
  EXPECT_EQ(t.printer().ended, 1);
}

TEST(PrintingTest, PrinterFailuresAreReportedAndTheViewRestored) {
  Printing t;
  const auto before = viewBits(t.w().view);
  t.printer().failBegin = true;
  t.w().run(DrawingCommand::PrintAtScale);
  EXPECT_EQ(t.w().toolMode, 0);
  EXPECT_EQ(t.platform.shownTexts().back(), "Drukowanie: Nie można rozpocząć wydruku");
  t.printer().failBegin = false;
  t.printer().failEnd = true;
  t.w().run(DrawingCommand::PrintWindow);
  EXPECT_EQ(t.platform.shownTexts().back(), "Drukowanie: Nie udało się wydrukować rysunku");
  EXPECT_EQ(viewBits(t.w().view), before);
  t.w().run(DrawingCommand::PrinterSetup);
  EXPECT_EQ(t.printer().setups, 1);
}

TEST(PrintingTest, PrintedWorldTextsTakeTheirHeightFromThePrinterScale) {
  // A 2 m text at 1 : 1000 is 2 mm on paper: 20 pixels at 254 ppi, 5.67 points.
  ViewTransform view;
  view.viewWidth = 2100;
  view.viewHeight = 2970;
  view.scaleX = view.scaleY = printerPixelsPerMetre(1000, 254);
  testing::RecordingCanvas page(2100, 2970);
  page.ppi = 254;
  DrawTarget target(view);
  target.canvas = &page;
  target.printMode = 2;
  target.printerDpiRatio = 254.0 / 96;
  target.setClipToView();
  target.drawWorldText("KM 1", 1, 1, 100, 100, 0, 2.0);
  const CanvasOp* text = page.findText("KM 1");
  ASSERT_NE(text, nullptr);
  EXPECT_EQ(text->fontSize, 6);
  // Centred by its printed width: four characters of 6 pixels each.
  EXPECT_EQ(text->x1, 1000 - 12);
}

}  // namespace
}  // namespace merilon
