// merilon: the desktop program.
#include <QApplication>
#include <QScreen>
#include <QStringList>

#include "about_view.h"
#include "cross_section_dialog_view.h"
#include "description_view.h"
#include "drawing_dialogs_view.h"
#include "drawing_window_view.h"
#include "main_window_view.h"
#include "project_catalogue_view.h"
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
  // The windows in their documented order of creation.
  merilon::qt::MainWindowView mainView(program, platform);
  merilon::qt::ProjectCatalogueView catalogueView(program, platform, &mainView);
  merilon::qt::DescriptionView descriptionView(program, platform);
  // The description viewer is a window of its own; it must not keep the program alive once the
  // main window has closed.
  descriptionView.setAttribute(Qt::WA_QuitOnClose, false);
  merilon::qt::CrossSectionDialogView crossSectionView(program, platform, &mainView);
  merilon::qt::AboutView aboutView(program, platform, &mainView);
  merilon::qt::DrawingWindowView drawingView(program, platform);
  drawingView.setAttribute(Qt::WA_QuitOnClose, false);
  merilon::qt::DrawingParamsView drawingParamsView(program, platform, &drawingView);
  merilon::qt::RotationDialogView rotationView(program, platform, &drawingView);
  if (const QScreen* screen = QApplication::primaryScreen()) {
    mainView.move(screen->availableGeometry().center() - mainView.rect().center());
  }
  mainView.show();
  return QApplication::exec();
}
