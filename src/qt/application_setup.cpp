#include "application_setup.h"

#include <QApplication>
#include <QGuiApplication>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QScreen>
#include <QTranslator>
#include <QWidget>
#include <algorithm>

static void initAppIconResource() { Q_INIT_RESOURCE(app_icon); }

namespace merilon::qt {

bool setUpApplication(QApplication& app) {
  QApplication::setApplicationName("Merilon");
  // The desktop entry and the icon tie the windows to the installed program.
  initAppIconResource();
  QGuiApplication::setDesktopFileName("merilon");
  QApplication::setWindowIcon(QIcon(":/merilon/merilon.svg"));
  auto* translator = new QTranslator(&app);
  const bool loaded = translator->load(QLocale(QLocale::Polish, QLocale::Poland), "qtbase", "_",
                                       QLibraryInfo::path(QLibraryInfo::TranslationsPath));
  if (loaded) QApplication::installTranslator(translator);
  return loaded;
}

QPoint centredTopLeft(const QSize& frame, const QRect& available) {
  return {available.left() + std::max(0, (available.width() - frame.width()) / 2),
          available.top() + std::max(0, (available.height() - frame.height()) / 2)};
}

namespace {

// The window's outer size: its frame once a window manager has given it one, else the widget.
QSize outerSize(const QWidget& window) {
  const QSize frame = window.frameGeometry().size();
  return frame.isValid() && frame.width() >= window.width() ? frame : window.size();
}

}  // namespace

void centreOnScreen(QWidget& window) {
  const QScreen* screen = window.screen() ? window.screen() : QApplication::primaryScreen();
  if (!screen) return;
  centreIn(window, screen->availableGeometry());
}

void centreIn(QWidget& window, const QRect& available) {
  window.move(centredTopLeft(outerSize(window), available));
}

void centreOnOwner(QWidget& dialog, const QWidget& owner) {
  // Before its first showing a dialog has Qt's default size, not the size of its layout, and
  // the showing would then grow it away from the centre.
  if (!dialog.testAttribute(Qt::WA_Resized)) dialog.adjustSize();
  const QRect ownerFrame = owner.frameGeometry();
  const QSize size = outerSize(dialog);
  dialog.move(ownerFrame.center() - QPoint(size.width() / 2, size.height() / 2));
}

}  // namespace merilon::qt
