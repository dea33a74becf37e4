// What the desktop program sets on the application before its windows exist: its name, Qt's own
// texts in Polish, and where the main window opens.
#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

class QApplication;
class QWidget;

namespace merilon::qt {

// Names the application without a display name (which Qt would append to every window title),
// gives its windows the program's icon and desktop entry ("merilon"), and loads Qt's Polish translation whatever the system locale, since the whole interface is
// Polish. False when the translation could not be loaded; the program still runs.
bool setUpApplication(QApplication& app);

// The top-left corner that centres a window of `frame` size in `available`; where the area is
// smaller than the window, the corner stays on the area's top or left edge, so the title bar and
// the menu can be reached.
QPoint centredTopLeft(const QSize& frame, const QRect& available);

// Centres the window in the available area of its screen (the area without panels and docks).
void centreOnScreen(QWidget& window);
void centreIn(QWidget& window, const QRect& available);

// Centres a dialog on its owner, with the dialog's final size (laid out before it is shown).
void centreOnOwner(QWidget& dialog, const QWidget& owner);

}  // namespace merilon::qt
