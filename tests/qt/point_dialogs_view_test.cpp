// The point tools in the real drawing window: "Dane punktu" as a tool window on top with its
// coordinate pick, "Cofnij"/"Ponów" on their shortcuts, and the modal "Generuj punkt" and
// "Szukaj punktu".
#include "point_dialogs_view.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QMenuBar>
#include <QTest>
#include <QTimer>

#include "drawing/drawing_window.h"
#include "drawing_window_view.h"
#include "main_window_view.h"
#include "platform/number_text.h"
#include "qt_platform.h"
#include "shell/program.h"
#include "support/test_program.h"

namespace merilon::qt {
namespace {

struct QtPointTools : ::testing::Test {
  testing::TempFolder folder;
  QtPlatform platform;
  std::unique_ptr<Program> program;
  std::unique_ptr<MainWindowView> mainView;
  std::unique_ptr<DrawingWindowView> view;
  std::unique_ptr<PointDataView> data;
  std::unique_ptr<PointSearchView> search;
  std::unique_ptr<PointGenerationView> generation;
  std::vector<std::string> questions;

  void SetUp() override {
    platform.messageHook = [this](const MessageRequest& r) {
      questions.push_back(r.title);
      return r.buttons == MessageButtons::Ok ? DialogResult::Ok : DialogResult::Yes;
    };
    ProgramOptions options;
    options.programFolder = folder.path();
    options.userSettingsFolder = folder.path() / "user";
    program = std::make_unique<Program>(platform, options);
    ASSERT_TRUE(program->start());
    mainView = std::make_unique<MainWindowView>(*program, platform);
    view = std::make_unique<DrawingWindowView>(*program, platform);
    data = std::make_unique<PointDataView>(*program, platform, view.get());
    search = std::make_unique<PointSearchView>(*program, platform, view.get());
    generation = std::make_unique<PointGenerationView>(*program, platform, view.get());
    mainView->show();
    PointStore& points = program->points;
    for (int k = 0; k < 3; ++k) {
      ASSERT_TRUE(points.reservePoint());
      points.setPoint(k + 1, 100 + 10 * k, 200, 10 + 10 * k,
                      PointName::fromText("S" + std::to_string(k + 1)), 1);
    }
    mainView->button("Rysuj")->click();
    for (int k = 0; k < 20 && !program->GRAFIKA.setupDone; ++k) QApplication::processEvents();
    ASSERT_TRUE(program->GRAFIKA.setupDone);
    view->toolButton(5)->click();  // "Całość"
    QApplication::processEvents();
  }
  QPoint pixelOf(int i) const {
    const TGRAFIKA& w = program->GRAFIKA;
    const auto k = static_cast<std::size_t>(i);
    const ViewPoint p = w.view.worldToScreen(program->points.pointX[k], program->points.pointY[k]);
    return QPoint(static_cast<int>(std::lround(p.u)),
                  static_cast<int>(std::lround(w.view.viewHeight - p.v)));
  }
  QAction* menuAction(const QString& caption) const {
    for (QAction* m : view->menuBar()->actions()) {
      for (QAction* a : m->menu()->actions()) {
        if (a->text() == caption) return a;
      }
    }
    return nullptr;
  }
};

TEST_F(QtPointTools, PointDataIsAToolWindowOnTopWithItsPickAndUndo) {
  // Nothing to take back or forward yet: both greyed, so the shortcuts do nothing.
  EXPECT_FALSE(menuAction("Cofnij")->isEnabled());
  EXPECT_FALSE(menuAction("Ponów")->isEnabled());
  view->toolButton(23)->click();
  QTest::mouseClick(view->surface(), Qt::LeftButton, {}, pixelOf(2));
  QApplication::processEvents();
  ASSERT_TRUE(data->isVisible());
  EXPECT_FALSE(data->isModal());
  EXPECT_TRUE(data->windowFlags() & Qt::WindowStaysOnTopHint);
  EXPECT_EQ(data->windowFlags() & Qt::Tool, Qt::Tool);
  EXPECT_EQ(data->windowTitle(), "Dane punktu");
  EXPECT_EQ(data->field(1)->text(), "110.00");
  EXPECT_EQ(data->applyButton()->text(), "Zmień");
  // X and Y from a click in the drawing, which stays usable while the window is open.
  data->pickAction()->trigger();
  EXPECT_EQ(program->GRAFIKA.toolMode, 9001);
  EXPECT_TRUE(program->GRAFIKA.toolBusy);
  const QPoint target = pixelOf(3) + QPoint(0, -30);
  QTest::mouseClick(view->surface(), Qt::LeftButton, {}, target);
  const WorldPoint picked =
      program->GRAFIKA.view.screenToWorld(target.x(), program->GRAFIKA.view.viewHeight - target.y());
  EXPECT_EQ(data->field(1)->text().toStdString(), formatFixed(picked.x, 2));
  data->field(3)->clear();
  QTest::keyClicks(data->field(3), "5x5.5");  // the letter is swallowed
  EXPECT_EQ(data->field(3)->text(), "55.5");
  questions.clear();
  data->applyButton()->click();
  EXPECT_EQ(questions, (std::vector<std::string>{"Zmiana współrzędnych punktu"}));
  EXPECT_FALSE(data->isVisible());
  EXPECT_FALSE(program->GRAFIKA.toolBusy);
  EXPECT_EQ(program->points.pointZ[2], 55.5);
  QAction* undo = menuAction("Cofnij");
  ASSERT_NE(undo, nullptr);
  EXPECT_EQ(undo->shortcut(), QKeySequence("Ctrl+Z"));
  EXPECT_EQ(menuAction("Ponów")->shortcut(), QKeySequence("Ctrl+Y"));
  EXPECT_TRUE(undo->isEnabled());
  EXPECT_FALSE(menuAction("Ponów")->isEnabled());
  QTest::keySequence(view.get(), QKeySequence("Ctrl+Z"));
  EXPECT_EQ(program->points.pointZ[2], 20);
  EXPECT_EQ(program->points.pointX[2], 110);
  EXPECT_FALSE(undo->isEnabled());
  EXPECT_TRUE(menuAction("Ponów")->isEnabled());
  menuAction("Ponów")->trigger();
  EXPECT_EQ(program->points.pointZ[2], 55.5);
}

TEST_F(QtPointTools, GenerationAndSearchDialogsRunModally) {
  bool generated = false;
  QTimer::singleShot(0, [&] {
    ASSERT_TRUE(generation->isVisible());
    EXPECT_EQ(generation->proportionField()->text(), "0.50000");
    QTest::keyClicks(generation->distanceField(), "5");
    EXPECT_EQ(generation->proportionField()->text(), "");  // one way at a time
    generation->generateButton()->click();
    generated = !generation->isVisible();
  });
  view->toolButton(36)->click();
  QTest::mouseClick(view->surface(), Qt::LeftButton, {}, pixelOf(1));
  EXPECT_EQ(program->GRAFIKA.toolMode, 3636);
  QTest::mouseClick(view->surface(), Qt::LeftButton, {}, pixelOf(2));
  EXPECT_TRUE(generated);
  ASSERT_EQ(program->points.pointCount(), 4);
  EXPECT_EQ(program->points.pointX[4], 105);
  EXPECT_EQ(program->points.pointZ[4], 15);

  QTimer::singleShot(0, [&] {
    ASSERT_TRUE(search->isVisible());
    QTest::keyClicks(search->symbolField(), "S3");
    EXPECT_EQ(search->numberField()->text(), "");
    search->searchButton()->click();
  });
  view->toolButton(35)->click();
  EXPECT_FALSE(search->isVisible());
  EXPECT_EQ(program->Formszukaj_pkt.foundPoint, 3);
  EXPECT_NEAR(program->GRAFIKA.view.scaleX, program->GRAFIKA.view.viewWidth / 100.0, 1e-12);
}

// While a long command of the main window runs, the drawing window offers what only looks:
// the point tools and the cross-section commands are greyed, and come back when it ends.
TEST_F(QtPointTools, PointToolsAreGreyedWhileAMainWindowCommandRuns) {
  const auto offered = [&] {
    std::vector<bool> out;
    for (int n : {23, 36, 2, 30}) out.push_back(view->toolButton(n)->isEnabled());
    for (const char* item : {"Dane trasy i przekrojów", "Zapisz punkty", "Generuj poprzeczki"}) {
      out.push_back(menuAction(item)->isEnabled());
    }
    return out;
  };
  program->main.disableCommands();
  platform.syncAllViews();
  EXPECT_EQ(offered(), (std::vector<bool>{false, false, true, true, false, false, false}));
  program->main.enableCommands();
  platform.syncAllViews();
  EXPECT_EQ(offered(), std::vector<bool>(7, true));
}

}  // namespace
}  // namespace merilon::qt
