// Printing from the real drawing window: "Drukuj okno" and "Drukuj w skali" to a PDF file through
// Qt's printer, read back with pdftoppm.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>
#include <cstring>

#include "drawing/drawing_window.h"
#include "drawing_window_view.h"
#include "main_window_view.h"
#include "pdf_page.h"
#include "qt_platform.h"
#include "shell/program.h"
#include "support/test_program.h"

namespace merilon::qt {
namespace {

using testing::millimetres;

struct QtPrinting : ::testing::Test {
  testing::TempFolder folder;
  QtPlatform platform;
  std::unique_ptr<Program> program;
  std::unique_ptr<MainWindowView> mainView;
  std::unique_ptr<DrawingWindowView> view;
  std::filesystem::path pdf;
  int setups = 0;

  void SetUp() override {
    platform.messageHook = [](const MessageRequest&) { return DialogResult::Ok; };
    pdf = folder / "wydruk.pdf";
    // The print dialog as a user sends the print to a file.
    platform.qtPrinter().printDialogHook = [this](QPrinter& printer) {
      printer.setOutputFormat(QPrinter::PdfFormat);
      printer.setOutputFileName(QString::fromStdString(pdf.string()));
      return true;
    };
    platform.qtPrinter().setupDialogHook = [this](QPrinter&) { ++setups; };
    ProgramOptions options;
    options.programFolder = folder.path();
    options.userSettingsFolder = folder.path() / "user";
    program = std::make_unique<Program>(platform, options);
    ASSERT_TRUE(program->start());
    mainView = std::make_unique<MainWindowView>(*program, platform);
    view = std::make_unique<DrawingWindowView>(*program, platform);
    mainView->show();
    // A, 50 m east of it B, 30 m north of it C, as red markers.
    PointStore& points = program->points;
    for (auto [x, y] : {std::pair{1000.0, 1000.0}, {1050.0, 1000.0}, {1000.0, 1030.0}}) {
      ASSERT_TRUE(points.reservePoint());
      points.setPoint(points.pointCount(), x, y, 1, PointName::fromText("P"), 1);
    }
    mainView->button("Rysuj")->click();
    for (int k = 0; k < 20 && !program->GRAFIKA.setupDone; ++k) QApplication::processEvents();
    ASSERT_TRUE(program->GRAFIKA.setupDone);
    view->toolButton(11)->click();
    view->toolButton(5)->click();
    QApplication::processEvents();
  }

  QAction* printMenu(const QString& caption) {
    for (QAction* menu : view->menuBar()->actions()) {
      if (menu->text() != "Drukowanie") continue;
      for (QAction* a : menu->menu()->actions()) {
        if (a->text() == caption) return a;
      }
    }
    return nullptr;
  }
};

TEST_F(QtPrinting, DrukujOknoWritesTheDrawingIntoAPdfFile) {
  QAction* print = printMenu("Drukuj okno");
  ASSERT_NE(print, nullptr);
  const ViewSnapshot before = program->GRAFIKA.view.snapshot();
  print->trigger();
  ASSERT_TRUE(std::filesystem::exists(pdf));
  EXPECT_EQ(testing::readBytes(pdf).substr(0, 5), "%PDF-");
  if (const char* keep = std::getenv("MERILON_PRINT_PDF")) {
    std::filesystem::copy_file(pdf, keep, std::filesystem::copy_options::overwrite_existing);
  }
  const ViewSnapshot after = program->GRAFIKA.view.snapshot();
  EXPECT_EQ(std::memcmp(&before, &after, sizeof before), 0);
  if (!testing::havePdftoppm()) GTEST_SKIP() << "pdftoppm (poppler-utils) is not installed";
  const QImage page = testing::pdfPage(pdf, 300);
  ASSERT_FALSE(page.isNull());
  const QSize surface = view->surface()->size();
  EXPECT_EQ(page.width() > page.height(), surface.width() > surface.height());
  const auto m = testing::redMarkers(page);
  ASSERT_EQ(m.size(), 3u) << "surface " << surface.width() << "x" << surface.height() << ", page "
                          << page.width() << "x" << page.height();
  // The whole surface is on the page, its width across the printable width or its height up
  // the printable height, whichever fits: A and B as far apart as on the surface times that.
  const QRectF printable = platform.qtPrinter().printer().pageLayout().paintRectPixels(300);
  const double factor =
      std::min(printable.width() / surface.width(), printable.height() / surface.height());
  const TGRAFIKA& w = program->GRAFIKA;
  const double onSurface = w.view.worldToScreen(1050, 1000).u - w.view.worldToScreen(1000, 1000).u;
  EXPECT_NEAR((m[2].x() - m[1].x()) / factor, onSurface, 1.0);
}

TEST_F(QtPrinting, DrukujWSkaliPrintsTheFramedGroundAtTrueScaleAndTheRightButtonCancels) {
  TGRAFIKA& w = program->GRAFIKA;
  QWidget* surface = view->surface();
  const auto pixelOf = [&](double x, double y) {
    const ViewPoint p = w.view.worldToScreen(x, y);
    return QPoint(static_cast<int>(std::lround(p.u)),
                  static_cast<int>(std::lround(w.view.viewHeight - p.v)));
  };
  // Armed and cancelled with the right button: no file.
  view->toolButton(27)->click();
  EXPECT_EQ(view->statusText(), "Wskaż dolny lewy narożnik obszaru drukowania");
  QTest::mousePress(surface, Qt::RightButton, {}, QPoint(10, 10));
  QTest::mouseRelease(surface, Qt::RightButton, {}, QPoint(10, 10));
  EXPECT_FALSE(w.printAtScaleArmed());
  EXPECT_FALSE(std::filesystem::exists(pdf));

  // The frame's lower-left corner 10 m west and south of A, at 1 : 1000.
  const ViewSnapshot before = w.view.snapshot();
  view->toolButton(27)->click();
  const QPoint corner = pixelOf(990, 990);
  QTest::mousePress(surface, Qt::LeftButton, {}, corner + QPoint(5, 5));
  QTest::mouseMove(surface, corner);
  QTest::mouseRelease(surface, Qt::LeftButton, {}, corner);
  EXPECT_EQ(w.toolMode, 0);
  const ViewSnapshot after = w.view.snapshot();
  EXPECT_EQ(std::memcmp(&before, &after, sizeof before), 0);
  ASSERT_TRUE(std::filesystem::exists(pdf));
  if (!testing::havePdftoppm()) GTEST_SKIP() << "pdftoppm (poppler-utils) is not installed";
  constexpr int kDpi = 300;
  const QImage page = testing::pdfPage(pdf, kDpi);
  const auto m = testing::redMarkers(page);
  ASSERT_EQ(m.size(), 3u);
  EXPECT_EQ(millimetres(m[2].x() - m[1].x(), kDpi), 50);
  EXPECT_EQ(millimetres(m[1].y() - m[0].y(), kDpi), 30);

  // "Parametry drukarki" opens the printer set-up.
  printMenu("Parametry drukarki")->trigger();
  EXPECT_EQ(setups, 1);
}

}  // namespace
}  // namespace merilon::qt
