// The real drawing window on a sample survey along the example alignment, and the Qt canvas's
// fast markers against QPainter drawing them one by one.
#include "drawing_window_view.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QMenuBar>
#include <QPushButton>
#include <random>

#include "alignment/alignment_geometry.h"
#include "drawing/drawing_window.h"
#include "drawing_dialogs_view.h"
#include "main_window_view.h"
#include "qt_canvas.h"
#include "qt_platform.h"
#include "shell/program.h"
#include "support/test_program.h"

namespace merilon::qt {
namespace {

TEST(QtCanvasTest, FastMarkersEqualMarkersDrawnOneByOneInOrder) {
  // At 100 % and at 200 % (whole device pixels a logical pixel); the markers reach past every
  // edge of the image.
  for (const qreal ratio : {1.0, 2.0}) {
    SCOPED_TRACE(ratio);
    std::mt19937 random(7);
    std::uniform_int_distribution<int> x(-3, 323), y(-3, 203), c(0, 255);
    std::vector<Marker> markers;
    for (int k = 0; k < 20000; ++k) {
      markers.push_back(
          {x(random), y(random),
           Rgb{static_cast<std::uint8_t>(c(random)), static_cast<std::uint8_t>(c(random)),
               static_cast<std::uint8_t>(c(random))}});
    }
    QtCanvas fast(320, 200, ratio), slow(320, 200, ratio);
    slow.markersOneByOne = true;
    fast.drawMarkers(markers);
    slow.drawMarkers(markers);
    EXPECT_TRUE(fast.stampsMarkers());
    const QImage a = fast.snapshot(), b = slow.snapshot();
    ASSERT_EQ(a.size(), b.size());
    EXPECT_EQ(a.width(), 320 * ratio);
    int differing = 0;
    for (int row = 0; row < a.height(); ++row) {
      for (int col = 0; col < a.width(); ++col) {
        if (a.pixel(col, row) != b.pixel(col, row) && differing < 5)
          ADD_FAILURE() << col << "," << row << " " << std::hex << a.pixel(col, row) << " "
                        << b.pixel(col, row);
        differing += a.pixel(col, row) != b.pixel(col, row);
      }
    }
    EXPECT_EQ(differing, 0);
  }
  // A ratio between whole pixels moves markers by uneven device steps: QPainter draws them.
  QtCanvas between(40, 40, 1.5);
  EXPECT_FALSE(between.stampsMarkers());
  // Inside a lone marker: 12 outline pixels in its colour, 4 white.
  QtCanvas one(20, 20);
  one.drawMarkers(std::vector<Marker>{{10, 10, Rgb{255, 0, 0}}});
  const QImage m = one.snapshot();
  EXPECT_EQ(m.pixel(8, 8), qRgb(255, 0, 0));
  EXPECT_EQ(m.pixel(11, 11), qRgb(255, 0, 0));
  EXPECT_EQ(m.pixel(9, 9), qRgb(255, 255, 255));
  EXPECT_EQ(m.pixel(12, 10), qRgb(255, 255, 255));
}

struct QtDrawingWindow : ::testing::Test {
  testing::TempFolder folder;
  QtPlatform platform;
  std::unique_ptr<Program> program;
  std::unique_ptr<MainWindowView> mainView;
  std::unique_ptr<DrawingWindowView> view;
  std::unique_ptr<RotationDialogView> rotation;

  void SetUp() override {
    platform.messageHook = [](const MessageRequest&) { return DialogResult::Ok; };
    ProgramOptions options;
    options.programFolder = folder.path();
    options.userSettingsFolder = folder.path() / "user";
    program = std::make_unique<Program>(platform, options);
    ASSERT_TRUE(program->start());
    mainView = std::make_unique<MainWindowView>(*program, platform);
    view = std::make_unique<DrawingWindowView>(*program, platform);
    rotation = std::make_unique<RotationDialogView>(*program, platform, view.get());
    mainView->show();
  }

  // The example alignment and a survey of cross-sections along it (type 9 at 20 m right).
  void loadSurvey() {
    std::vector<std::string> lines;
    std::string error;
    ASSERT_EQ(readAlignmentFile(
                  std::filesystem::path(MERILON_SOURCE_DIR) / "examples" / "trasa_przyklad.TRS",
                  program->parser, program->alignment, platform, lines, error),
              AlignmentReadStatus::Ok);
    PointStore& points = program->points;
    for (int c = 0; c <= 300; c += 20) {
      for (int offset : {-20, -10, 10, 20}) {
        double x = 0, y = 0, a = 0, px = 0, py = 0;
        pointAtChainage(program->alignment, c, x, y, a);
        offsetPoint(x, y, a, offset, px, py);
        ASSERT_TRUE(points.reservePoint());
        points.setPoint(points.pointCount(), px, py, 100, PointName::fromText("P"),
                        offset == 20 ? 9 : 1);
      }
    }
  }
};

TEST_F(QtDrawingWindow, OpensFromRysujAndDrawsMarkersAndAxisAfterCalosc) {
  mainView->button("Rysuj")->click();
  EXPECT_FALSE(view->isVisible()) << "no points: nothing opens";
  loadSurvey();
  mainView->button("Rysuj")->click();
  ASSERT_TRUE(view->isVisible());
  for (int k = 0; k < 20 && !program->GRAFIKA.setupDone; ++k) QApplication::processEvents();
  ASSERT_TRUE(program->GRAFIKA.setupDone);
  QApplication::processEvents();
  EXPECT_TRUE(view->isMaximized());
  EXPECT_FALSE(mainView->button("Rysuj")->isEnabled());
  EXPECT_EQ(view->toolButton(5)->toolTip(), "Całość");
  EXPECT_FALSE(view->toolButton(10)->isVisibleTo(view.get()));
  EXPECT_TRUE(view->toolButton(17)->isVisibleTo(view.get()));

  view->toolButton(11)->click();
  view->toolButton(17)->click();
  EXPECT_TRUE(view->toolButton(17)->isChecked());
  view->toolButton(5)->click();
  QApplication::processEvents();
  const TGRAFIKA& w = program->GRAFIKA;
  const QImage image = view->surface()->canvas().snapshot();
  EXPECT_EQ(image.devicePixelRatio(), view->surface()->devicePixelRatioF());
  const auto pixelOf = [&](double x, double y) {
    const ViewPoint p = w.view.worldToScreen(x, y);
    return QPoint(static_cast<int>(std::lround(p.u)),
                  static_cast<int>(std::lround(w.view.viewHeight - p.v)));
  };
  // A type-9 marker: its outline is yellow, its inside white.
  const PointStore& points = program->points;
  const QPoint marker = pixelOf(points.pointX[4], points.pointY[4]);
  EXPECT_EQ(image.pixel(marker + QPoint(-2, -2)), qRgb(255, 255, 0));
  EXPECT_EQ(image.pixel(marker + QPoint(0, 0)), qRgb(255, 255, 255));
  // The axis at chainage 60 (a straight) and 190 (on the arc) is red.
  for (double c : {60.0, 190.0}) {
    double x = 0, y = 0, a = 0;
    pointAtChainage(program->alignment, c, x, y, a);
    const QPoint p = pixelOf(x, y);
    int red = 0;
    for (int dx = -1; dx <= 1; ++dx) {
      for (int dy = -1; dy <= 1; ++dy) red += image.pixel(p + QPoint(dx, dy)) == qRgb(255, 0, 0);
    }
    EXPECT_GE(red, 2) << c;
  }
  if (const char* shot = std::getenv("MERILON_DRAWING_SHOT")) view->grab().save(shot);

  view->close();
  QApplication::processEvents();
  EXPECT_TRUE(mainView->button("Rysuj")->isEnabled());
}

TEST_F(QtDrawingWindow, MenusCarryTheirCaptionsAndLayerCheckMarks) {
  loadSurvey();
  mainView->button("Rysuj")->click();
  QStringList menus;
  for (QAction* a : view->menuBar()->actions()) menus << a->text();
  EXPECT_EQ(menus, (QStringList{"Edycja", "Widok", "Co rysować", "Narzędzia", "Drukowanie"}));
  QAction* points = nullptr;
  for (QAction* a : view->menuBar()->actions()[2]->menu()->actions()) {
    if (a->text() == "Punkty") points = a;
  }
  ASSERT_NE(points, nullptr);
  EXPECT_FALSE(points->isChecked());
  view->toolButton(11)->click();
  EXPECT_TRUE(points->isChecked());
  points->trigger();
  EXPECT_FALSE(view->toolButton(11)->isChecked());
  QStringList popup;
  for (QAction* a : view->popupMenu()->actions()) popup << a->text();
  EXPECT_TRUE(popup.contains("Pokaż wszystko"));
  EXPECT_TRUE(popup.contains("Numery punktów"));
}

TEST_F(QtDrawingWindow, RotationDialogFiltersKeysAndAcceptsTheAngle) {
  program->GRAFIKA.view.previousAngle = 0;
  program->GRAFIKA.view.angle = 0.5;
  program->FormRysowan_obrot.FormActivate();
  rotation->syncFromModel();
  EXPECT_EQ(rotation->angleField()->text(), "28.648");
  rotation->angleField()->clear();
  program->FormRysowan_obrot.Edit1.text.clear();
  for (const char* key : {"9", "a", "0", ",", "."}) {
    QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, key);
    QApplication::sendEvent(rotation->angleField(), &press);
  }
  EXPECT_EQ(rotation->angleField()->text(), "90.");
  rotation->acceptButton()->click();
  EXPECT_DOUBLE_EQ(program->GRAFIKA.view.angle, 1.571);
}

}  // namespace
}  // namespace merilon::qt
