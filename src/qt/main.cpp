// merilon: the desktop program.
#include <QApplication>
#include <QScreen>
#include <QStringList>

#include "main_window_view.h"
#include "qt_platform.h"
#include "qt_text.h"
#include "shell/program.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName("Merilon");
  QApplication::setApplicationDisplayName("Merilon");

  merilon::ProgramOptions options;
  options.programFolder = merilon::qt::fromQt(QApplication::applicationDirPath());
  const QStringList args = QApplication::arguments();
  for (int k = 1; k + 1 < args.size(); ++k) {
    if (args[k] == "--data-folder") options.initialDataFolder = merilon::qt::fromQt(args[k + 1]);
    if (args[k] == "--program-folder") options.programFolder = merilon::qt::fromQt(args[k + 1]);
  }

  merilon::qt::QtPlatform platform;
  merilon::Program program(platform, options);
  if (!program.start()) return 1;
  merilon::qt::MainWindowView mainView(program, platform);
  if (const QScreen* screen = QApplication::primaryScreen()) {
    mainView.move(screen->availableGeometry().center() - mainView.rect().center());
  }
  mainView.show();
  return QApplication::exec();
}
