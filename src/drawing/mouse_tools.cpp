// The tool machine of the drawing window: the arming commands, the surface's mouse events and
// the end of each gesture.
#include <cmath>
#include <cstdlib>

#include "drawing/drawing_window.h"
#include "platform/number_text.h"
#include "points/numeric_helpers.h"
#include "shell/program.h"

namespace merilon {
namespace {

std::string fixed2(double v) { return formatFixed(v, 2); }

}  // namespace

bool TGRAFIKA::toolsFree() {
  if (!toolBusy) return true;
  showMessage(platform(), MessageIcon::Error, MessageButtons::Ok, "Działanie nie zakończone",
              "Nie można wybrać nowej funkcji, przed zakończeniem poprzedniej");
  return false;
}

void TGRAFIKA::showPointCoordinates(int x, int y) {
  const WorldPoint p = view.screenToWorld(x, view.viewHeight - y);
  setStatus("Współrzędne wskazanego punktu x=" + fixed2(p.x) + " y=" + fixed2(p.y));
  platform().setClipboardText(fixed2(p.x) + "," + fixed2(p.y) + "," + fixed2(0));
}

void TGRAFIKA::showChainage(double chainage, double offset, double x, double y) {
  setStatus("Współrzędne wskazanego punktu X=" + fixed2(x) + ", Y=" + fixed2(y) +
            ", odległość=" + fixed2(offset) + ", pikietaż rzutu=" + fixed2(chainage));
  platform().setClipboardText(fixed2(chainage) + ", odl=" + fixed2(offset) + " x=" + fixed2(x) +
                              " y=" + fixed2(y));
}

void TGRAFIKA::arm(int mode, int command, CursorShape cursor, const std::string& status) {
  toolMode = mode;
  lastCommand = command;
  surfaceCursor = cursor;
  setStatus(status);
}

// --- Arming --------------------------------------------------------------------------------------

void TGRAFIKA::WybierzOknoClick() {
  arm(4, 4, CursorShape::PointingHand,
      "Wskaż jeden z narożników i wskaż obszaru do wyswietlenia na ekranie");
  BUTTONY(4);
}

void TGRAFIKA::PrzesunClick() {
  arm(8, 5, CursorShape::SizeAll,
      "Wskaż punkt zaczepienia i przesuń obszar wyswietlania na ekranie");
  BUTTONY(6);
}

void TGRAFIKA::ToolButton9Click() {
  arm(14, 9, CursorShape::Help,
      "Wskaż punkt początkowy i końcowy linii, która ma być równoległa do dolnej krawędzi "
      "ekranu");
  BUTTONY(9);
}

void TGRAFIKA::ToolButton25Click() {
  toolMode = 10;
  lastCommand = 10;
  generationTolerance = 0.0005;
  surfaceCursor = CursorShape::Wait;
  setStatus("Zaczekaj na kursor typu krzyżyk");
  platform().processPendingEvents();
  surfaceCursor = CursorShape::Cross;
  setStatus("Wciśnij i przytrzymując lewy klawisz myszy wskaż interesujący Cię punkt");
}

void TGRAFIKA::ToolButton23Click() {
  if (!toolsFree()) return;
  arm(13, 13, CursorShape::Help, "Wskaż punkt do edycji lub wstawienia");
}

void TGRAFIKA::ToolButton24Click() {
  if (!toolsFree()) return;
  arm(20048, 12, CursorShape::Help,
      "Kliknij lewym klawiszem myszy przy trasie i następnie drugi raz w punkt, którego pikietaż "
      "rzutu chcesz poznać");
}

void TGRAFIKA::ToolButton34Click() {
  if (!toolsFree()) return;
  arm(20046, 15, CursorShape::Help, "Wskaż punkt, od którego mierzyć odległość");
}

void TGRAFIKA::ToolButton36Click() {
  if (!toolsFree()) return;
  arm(36, 36, CursorShape::Help, "Wskaż pierwszy punkt do generowania nowego punktu");
  BUTTONY(36);
}

void TGRAFIKA::ToolButton35Click() {
  lastCommand = 35;
  if (pointTools) pointTools->searchPoint();
  redraw();
}

void TGRAFIKA::ToolButton28Click() {
  TFormParam_rysow& dialog = program_.FormParam_rysow;
  dialog.FormActivate();
  platform().showModal(dialog);
  dialog.FormClose();
}

void TGRAFIKA::ToolButton26Click() {
  toolMode = 0;
  lastCommand = 11;
  setStatus("Wyświetl wygenerowane poprzeczki terenu");
  const std::string& ter = program_.FormPoprzeczka.lastTerFileName;
  if (!ter.empty() && fileExists(ter)) {
    const std::filesystem::path folder = program_.main.programFolder;
    const std::filesystem::path exe = folder / kVordaExecutable;
    if (!fileExists(exe)) {
      // Without the road-design program the sections are shown by the program's own viewer.
      TFormPrzekroje& viewer = program_.FormPrzekroje;
      if (viewer.openFile(ter)) platform().showModeless(viewer);
    } else {
      platform().minimizeApplication();
      platform().startProgram(exe, "\"" + ter + "\"", folder);
      surfaceCursor = CursorShape::Default;
      platform().restoreApplication();
    }
  }
  setStatus("");
}

void TGRAFIKA::Danetrasyiprzekrojw1Click() {
  program_.FormPoprzeczka.Button1.enabled = false;
  runCrossSectionCommand(program_, program_.FormPoprzeczka, true);
}

void TGRAFIKA::Zapiszpunkty1Click() {
  runCrossSectionCommand(program_, program_.FormPoprzeczka, true);
}

void TGRAFIKA::Generujprzekrojepoprzeczne1Click() {
  runCrossSectionCommand(program_, program_.FormPoprzeczka, false);
}

void TGRAFIKA::Wskazujpunkttylkonajbliszy1Click() {
  nearestOnly = !nearestOnly;
  for (MenuItem& m : mainMenu) {
    if (m.command == DrawingCommand::NearestOnly) m.checked = nearestOnly;
  }
}

void TGRAFIKA::Zamknijoknorysunku1Click() {
  FormClose();
  platform().closeForm(*this);
}

// --- Mouse ---------------------------------------------------------------------------------------

void TGRAFIKA::EKRANMouseDown(MouseButton button, bool shift, int x, int y) {
  if (button == MouseButton::Middle) {
    cancelPrintAtScale();
    panning = true;
    panStart = panLast = {x, y};
    return;
  }
  if (toolMode > 20000) {
    if (pointTools) {
      pointTools->mouseDown(button, shift, x, y);
      return;
    }
    toolMode = 0;
  }
  if (button == MouseButton::Right) cancelPrintAtScale();
  if (toolMode < 44 && button == MouseButton::Right) toolMode = 0;
  // A point tool armed before a long command of the main window started stays armed, but its
  // click would change the points under the running command: it waits for the command to end.
  const bool changesPoints =
      toolMode == 13 || toolMode == 36 || toolMode == 3636 || toolMode == 9001;
  if (changesPoints && program_.main.commandRunning()) {
    platform().beep();
    return;
  }
  switch (toolMode) {
    case 4:
      target.rubberPen();
      dragStart = dragEnd = {x, y};
      toolMode = 44;
      break;
    case 8:
      target.rubberPen();
      dragStart = {x, y};
      dragOffset = {-x, view.viewHeight - y};
      dragEnd = {0, 0};
      frameEnd = {view.viewWidth, -view.viewHeight};
      toolMode = 88;
      break;
    case 9:
      target.rubberPen();
      dragStart = {x, y};
      dragOffset = {0, view.viewHeight};
      dragEnd = {0, 0};
      frameEnd = {printFrameWidth, -printFrameHeight};
      toolMode = 99;
      break;
    case 10:
      dragStart = {x, y};
      toolMode = 1010;
      showPointCoordinates(x, y);
      break;
    case 13:
      if (pointTools && pointTools->editOrInsertPoint(x, y)) redraw();
      toolMode = 0;
      surfaceCursor = CursorShape::Default;
      break;
    case 14:
      target.rubberPen();
      dragStart = dragEnd = {x, y};
      toolMode = 1414;
      setStatus("Puść klawisz myszy, wskazując koniec linii kierunkowej");
      break;
    case 36:
      if (!pointTools) {
        toolMode = 0;
      } else if (pointTools->pickFirstGenerationPoint(x, y)) {
        surfaceCursor = CursorShape::Default;
        toolMode = 3636;
        setStatus("Wskaż drugi punkt do generowania nowego punktu");
      }
      break;
    case 3636:
      if (!pointTools) {
        toolMode = 0;
      } else if (pointTools->pickSecondGenerationPoint(x, y)) {
        redraw();
        toolMode = 0;
      }
      surfaceCursor = CursorShape::Default;
      break;
    case 44:
      target.Okno(dragStart.x, dragStart.y, dragEnd.x, dragEnd.y, PenMode::NotXor);
      aspectCorner(dragStart.x, dragStart.y, x, y, view.aspect, dragEnd.x, dragEnd.y);
      target.Okno(dragStart.x, dragStart.y, dragEnd.x, dragEnd.y, PenMode::Copy);
      toolMode = 0;
      break;
    case 88:
      target.Okno(dragEnd.x, dragEnd.y, frameEnd.x, frameEnd.y, PenMode::Copy);
      toolMode = 0;
      break;
    case 1010:
      surfaceCursor = CursorShape::Default;
      toolMode = 0;
      break;
    case 99:
      target.Okno(dragEnd.x, dragEnd.y, frameEnd.x, frameEnd.y, PenMode::Copy);
      break;
    case 1414:
      dragEnd = {x, y};
      target.drawRubberLine(dragStart.x, dragStart.y, dragEnd.x, dragEnd.y, PenMode::Copy);
      break;
    case 9001:
      if (pointTools) {
        const WorldPoint p = view.screenToWorld(x, view.viewHeight - y);
        target.drawPointMarker(7, p.x, p.y);
        if (target.canvas) target.canvas->present();
        pointTools->coordinatePicked(p.x, p.y);
        toolMode = 90019001;
      } else {
        toolMode = 0;
      }
      break;
    default:
      break;
  }
  if (toolMode == 0) {
    target.restorePen();
    BUTTONY(0);
    surfaceCursor = CursorShape::Default;
  }
}

void TGRAFIKA::EKRANMouseMove(bool shift, int x, int y) {
  if (panning) {
    // The drawing follows the hand.
    view.moveBy(panLast.x - x, panLast.y - y);
    panLast = {x, y};
    redraw();
    return;
  }
  if (toolMode > 20000) {
    if (pointTools) pointTools->mouseMove(shift, x, y);
    return;
  }
  switch (toolMode) {
    case 1010:
      showPointCoordinates(x, y);
      break;
    case 44:
      target.Okno(dragStart.x, dragStart.y, dragEnd.x, dragEnd.y, PenMode::NotXor);
      aspectCorner(dragStart.x, dragStart.y, x, y, view.aspect, dragEnd.x, dragEnd.y);
      target.Okno(dragStart.x, dragStart.y, dragEnd.x, dragEnd.y, PenMode::NotXor);
      break;
    case 88:
      target.Okno(dragEnd.x, dragEnd.y, frameEnd.x, frameEnd.y, PenMode::NotXor);
      dragEnd = {x + dragOffset.x, y + dragOffset.y};
      frameEnd = {dragEnd.x + view.viewWidth, dragEnd.y - view.viewHeight};
      target.Okno(dragEnd.x, dragEnd.y, frameEnd.x, frameEnd.y, PenMode::NotXor);
      break;
    case 99:
      target.Okno(dragEnd.x, dragEnd.y, frameEnd.x, frameEnd.y, PenMode::NotXor);
      dragEnd = {x, y};
      frameEnd = {x + printFrameWidth, y - printFrameHeight};
      target.Okno(dragEnd.x, dragEnd.y, frameEnd.x, frameEnd.y, PenMode::NotXor);
      break;
    case 1414:
      target.drawRubberLine(dragStart.x, dragStart.y, dragEnd.x, dragEnd.y, PenMode::NotXor);
      dragEnd = {x, y};
      target.drawRubberLine(dragStart.x, dragStart.y, dragEnd.x, dragEnd.y, PenMode::NotXor);
      break;
    default:
      return;
  }
  if (target.canvas) target.canvas->present();
}

void TGRAFIKA::EKRANMouseUp(MouseButton button, bool, int x, int y) {
  if (button == MouseButton::Middle) {
    if (panning) {
      panning = false;
      if (panStart.x != x || panStart.y != y || panLast.x != panStart.x ||
          panLast.y != panStart.y) {
        history.pushView(view);
      }
    }
    return;
  }
  // Measuring and projecting keep their result on the status line after the click.
  if (toolMode > 20000 && pointTools) return;
  switch (toolMode) {
    case 44:
      toolMode = 0;
      // The rubber band goes, whether the window zooms or not.
      target.Okno(dragStart.x, dragStart.y, dragEnd.x, dragEnd.y, PenMode::NotXor);
      aspectCorner(dragStart.x, dragStart.y, x, y, view.aspect, dragEnd.x, dragEnd.y);
      finishZoomWindow();
      break;
    case 88:
      toolMode = 0;
      finishMove(x, y);
      break;
    case 99:
      finishPrintFrame(x, y);
      break;
    case 1010:
      toolMode = 0;
      break;
    case 1414:
      target.drawRubberLine(dragStart.x, dragStart.y, dragEnd.x, dragEnd.y, PenMode::NotXor);
      dragEnd = {x, y};
      toolMode = 0;
      setStatus("Wybrano kąt");
      finishRotation();
      break;
    default:
      break;
  }
  setStatus(" ");
  if (toolMode == 0) {
    surfaceCursor = CursorShape::Default;
    target.restorePen();
  }
}

void TGRAFIKA::EKRANMouseWheel(int steps, int x, int y) {
  if (steps == 0) return;
  cancelPrintAtScale();
  const double f = steps > 0 ? params.zoomInFactor : params.zoomOutFactor;
  for (int k = std::abs(steps); k > 0; --k) view.zoomAboutPixel(f, x, y);
  redraw();
  history.pushView(view);
}

void TGRAFIKA::finishZoomWindow() {
  if (!view.zoomToWindow(dragStart.x, dragStart.y, dragEnd.x, dragEnd.y)) {
    BUTTONY(0);
    return;
  }
  redraw();
  history.pushView(view);
}

void TGRAFIKA::finishMove(int x, int y) {
  view.moveBy(x - dragStart.x, y - dragStart.y);
  redraw();
  history.pushView(view);
}

void TGRAFIKA::finishRotation() {
  const int x1 = dragStart.x, y1 = dragStart.y, x2 = dragEnd.x, y2 = dragEnd.y;
  if (std::abs(x1 - x2) < 10 && std::abs(y1 - y2) < 10) return;
  view.previousAngle = view.angle;
  const WorldPoint a = view.screenToWorld(x1, view.viewHeight - y1);
  const WorldPoint b = view.screenToWorld(x2, view.viewHeight - y2);
  const double oldAngle = view.angle;
  view.angle = std::atan2(b.y - a.y, b.x - a.x);
  TFormRysowan_obrot& dialog = program_.FormRysowan_obrot;
  dialog.FormActivate();
  platform().showModal(dialog);
  if (view.angle == view.previousAngle) return;
  const double chosen = view.angle;
  view.angle = oldAngle;  // the centre is taken with the old view
  view.rotateAboutCentre(chosen);
  extent.extentValid = false;
  redraw();
  history.pushView(view);
}

}  // namespace merilon
