// What the program sets on the application: no display name in the titles, Qt's own texts in
// Polish whatever the locale, and the main window placed within the screen's available area.
#include "application_setup.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QGuiApplication>
#include <QIcon>
#include <QImage>

#include "main_window_view.h"
#include "qt_platform.h"
#include "shell/program.h"
#include "support/test_program.h"

namespace merilon::qt {
namespace {

TEST(QtApplicationSetup, TitlesCarryNoDisplayNameAndQtSpeaksPolish) {
  auto* app = static_cast<QApplication*>(QApplication::instance());
  EXPECT_TRUE(setUpApplication(*app));
  EXPECT_EQ(QApplication::applicationName(), "Merilon");
  // Qt appends a display name that was set to every window title ("Błędne d… — Merilon"); one
  // that was never set follows the application name.
  const QString name = QApplication::applicationName();
  QApplication::setApplicationName("probe");
  EXPECT_EQ(QApplication::applicationDisplayName(), "probe");
  QApplication::setApplicationName(name);

  // The windows carry the program's own icon and name the installed desktop entry.
  EXPECT_EQ(QGuiApplication::desktopFileName(), "merilon");
  const QImage icon = QApplication::windowIcon().pixmap(64, 64).toImage();
  ASSERT_FALSE(icon.isNull());
  EXPECT_EQ(icon.pixelColor(6, 32).alpha(), 255) << "the icon's ground is drawn";
  EXPECT_EQ(icon.pixelColor(0, 0).alpha(), 0) << "its rounded corner is left clear";

  EXPECT_EQ(QCoreApplication::translate("QFileDialog", "Look in:"), "Szukaj w:");
  EXPECT_EQ(QCoreApplication::translate("QFileDialog", "File &name:"), "Nazwa &pliku:");
  EXPECT_EQ(QCoreApplication::translate("QWidgetTextControl", "&Copy"), "S&kopiuj");
}

TEST(QtApplicationSetup, WindowCentredInTheAvailableAreaWithItsCornerOnIt) {
  struct Case {
    QSize window;
    QRect area;
    QPoint topLeft;
  };
  const Case cases[] = {
      {{546, 680}, {0, 0, 1600, 1000}, {527, 160}},
      {{546, 680}, {0, 32, 1600, 968}, {527, 176}},   // a panel along the top
      {{546, 680}, {60, 0, 1540, 1000}, {557, 160}},  // a dock on the left
      {{1092, 1360}, {0, 27, 800, 473}, {0, 27}},     // 200 % on a small screen
      {{546, 680}, {1600, 0, 1000, 500}, {1827, 0}},  // a second screen, too low
      {{100, 100}, {0, 0, 101, 101}, {0, 0}},
      {{100, 100}, {0, 0, 102, 102}, {1, 1}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(centredTopLeft(c.window, c.area), c.topLeft)
        << c.window.width() << "x" << c.window.height() << " in " << c.area.width() << "x"
        << c.area.height();
  }
}

TEST(QtApplicationSetup, MainWindowTallerThanTheScreenKeepsItsTitleBarOnIt) {
  testing::TempFolder folder;
  QtPlatform platform;
  ProgramOptions options;
  options.programFolder = folder.path();
  options.userSettingsFolder = folder.path() / "user";
  Program program(platform, options);
  ASSERT_TRUE(program.start());
  MainWindowView view(program, platform);
  // 200 % on a 1600 × 1000 screen with a panel along the top: the window fits across but not
  // down.
  const QRect area(0, 27, 800, 473);
  ASSERT_GT(view.height(), area.height());
  centreIn(view, area);
  EXPECT_EQ(view.frameGeometry().top(), area.top());
  EXPECT_EQ(view.frameGeometry().left(), area.left() + (area.width() - view.width()) / 2);
  EXPECT_EQ(view.size(), QSize(546, view.height()));
}

}  // namespace
}  // namespace merilon::qt
