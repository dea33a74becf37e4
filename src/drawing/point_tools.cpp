#include "drawing/point_tools.h"

#include <cmath>

#include "alignment/alignment_geometry.h"
#include "platform/number_text.h"
#include "points/no_value.h"
#include "points/numeric_helpers.h"
#include "points/point_history.h"
#include "shell/program.h"

namespace merilon {
namespace {

constexpr int kHighlightColour = 7;
constexpr int kRejectedColour = 12;
constexpr double kPickRadiusPixels = 20;
constexpr double kRingRadiusPixels = 10;

std::string fixed2(double v) { return formatFixed(v, 2); }

DialogResult ask(Platform& platform, const std::string& caption, const std::string& text) {
  return showMessage(platform, MessageIcon::Question, MessageButtons::YesNo, caption, text,
                     DialogResult::Yes);
}

}  // namespace

PointTools::PointTools(Program& program) : program_(program) {}

TGRAFIKA& PointTools::window() { return program_.GRAFIKA; }

WorldPoint PointTools::toWorld(int x, int y) const {
  const ViewTransform& view = program_.GRAFIKA.view;
  return view.screenToWorld(x, view.viewHeight - y);
}

void PointTools::toPixel(double wx, double wy, int& sx, int& sy) const {
  const ViewTransform& view = program_.GRAFIKA.view;
  const ViewPoint p = view.worldToScreen(wx, wy);
  sx = merilon::toPixel(p.u);
  sy = merilon::toPixel(view.viewHeight - p.v);
}

NearestPoint PointTools::nearestToPixel(int x, int y) const {
  const WorldPoint w = toWorld(x, y);
  return nearestPoint(program_.points, w.x, w.y,
                      kPickRadiusPixels / program_.GRAFIKA.view.scaleX);
}

// --- Highlight -----------------------------------------------------------------------------------

void PointTools::ring(int i, int markerColour) {
  DrawTarget& t = window().target;
  if (!t.canvas || i < 1 || i > program_.points.pointCount()) return;
  const auto k = static_cast<std::size_t>(i);
  const double x = program_.points.pointX[k], y = program_.points.pointY[k];
  const Rgb colour = t.penColour;
  const int width = t.penWidth;
  const PenStyle style = t.penStyle;
  t.setPenColour(kHighlightColour);
  t.setPenWidth(2);
  t.setPenStyle(1);
  t.canvas->setPenMode(PenMode::NotXor);
  t.drawOctagon(x, y, kRingRadiusPixels / t.view().scaleX);
  t.canvas->setPenMode(PenMode::Copy);
  t.drawPointMarker(markerColour, x, y);
  t.penColour = colour;
  t.penWidth = width;
  t.penStyle = style;
  t.restorePen();
  t.canvas->present();
}

void PointTools::highlight(int i) { ring(i, kHighlightColour); }
void PointTools::removeHighlight(int i) { ring(i, kRejectedColour); }

// --- Edit or insert ------------------------------------------------------------------------------

bool PointTools::editOrInsertPoint(int x, int y) {
  Platform& platform = program_.platform;
  TFormZmienpkt& dialog = program_.FormZmienpkt;
  const bool edit = ask(platform, "Edycja punktu czy wprowadzanie nowego?",
                        "Edycja punktu (Tak), nowy punkt(Nie)?") == DialogResult::Yes;
  if (edit) {
    const NearestPoint n = nearestToPixel(x, y);
    if (n.index == kNoPoint) {
      window().setStatus("Uwaga, nie znaleziono punktu w pobliżu miejsca wskazania");
      platform.pause(2000);
      return false;
    }
    highlight(n.index);
    const std::string name = program_.points.pointName[static_cast<std::size_t>(n.index)].text();
    if (ask(platform, "Zmiana parametrów punktu",
            "Czy chcesz poddać edycji punkt numer " + formatInt(n.index) + " o symbolu:\"" + name +
                "\"?") != DialogResult::Yes) {
      removeHighlight(n.index);
      return false;
    }
    pickedPoint = n.index;
    dialog.insertMode = false;
    dialog.pointIndex = n.index;
  } else {
    const WorldPoint w = toWorld(x, y);
    dialog.insertMode = true;
    dialog.proposedX = w.x;
    dialog.proposedY = w.y;
  }
  dialog.FormActivate();
  // A tool window: the drawing stays usable for the coordinate pick; "Zmień" or "Wprowadź"
  // redraws it.
  platform.showModeless(dialog);
  return dialog.pointChanged;
}

void PointTools::coordinatePicked(double x, double y) {
  program_.FormZmienpkt.coordinatesPicked(x, y);
}

// --- Generation ----------------------------------------------------------------------------------

bool PointTools::pickFirstGenerationPoint(int x, int y) { return pickGenerationPoint(x, y, false); }

bool PointTools::pickSecondGenerationPoint(int x, int y) { return pickGenerationPoint(x, y, true); }

bool PointTools::pickGenerationPoint(int x, int y, bool second) {
  Platform& platform = program_.platform;
  TGRAFIKA& w = window();
  const std::string caption = second ? "Wybieranie drugiego punktu" : "Wybieranie pierwszego punktu";
  const std::string status = second ? "Wskaż drugi punkt do generowania nowego punktu"
                                    : "Wskaż pierwszy punkt do generowania nowego punktu";
  const NearestPoint n = nearestToPixel(x, y);
  if (n.index == kNoPoint) {
    if (ask(platform, caption,
            "Nie znaleziono punktu w pobliżu miejsca wskazania. Chcesz sprobować jeszcze raz?") ==
        DialogResult::Yes) {
      w.surfaceCursor = CursorShape::Help;
      w.setStatus(status);
    } else {
      w.surfaceCursor = CursorShape::Default;
    }
    return false;
  }
  const PointStore& points = program_.points;
  const auto k = static_cast<std::size_t>(n.index);
  highlight(n.index);
  const bool withLine = second && pickedPoint >= 1 && pickedPoint <= points.pointCount();
  if (withLine) {
    // The pair that would be generated between.
    int x1, y1, x2, y2;
    const auto p = static_cast<std::size_t>(pickedPoint);
    toPixel(points.pointX[p], points.pointY[p], x1, y1);
    toPixel(points.pointX[k], points.pointY[k], x2, y2);
    showRubber(x1, y1, x2, y2);
  }
  const DialogResult answer =
      ask(platform, caption,
          "Czy punkt numer " + formatInt(n.index) + " o symbolu:\"" + points.pointName[k].text() +
              (second ? "\" miał być wybrany?" : "\"  miał być wybrany?"));
  if (withLine) hideRubber();
  if (answer == DialogResult::Yes) {
    if (!second) {
      pickedPoint = n.index;
      return true;
    }
    secondPoint = n.index;
    return generatePoint(pickedPoint, secondPoint);
  }
  removeHighlight(n.index);
  if (ask(platform, caption, "Chcesz wskazać inny punkt?") == DialogResult::Yes) {
    w.surfaceCursor = CursorShape::Help;
    w.setStatus(status);
  } else {
    w.surfaceCursor = CursorShape::Default;
  }
  return false;
}

bool PointTools::generatePoint(int first, int second) {
  Platform& platform = program_.platform;
  PointStore& points = program_.points;
  if (first < 1 || first > points.pointCount() || second < 1 || second > points.pointCount()) {
    return true;
  }
  if (!points.reservePoint()) return true;
  const int newIndex = points.pointCount();
  // Until it is placed the slot holds the first point, so that a classification run meanwhile
  // reads defined values; it is not classified itself.
  PointRecord placeholder = PointRecord::of(points, first);
  placeholder.chainage = placeholder.offset = NO_VALUE_F;
  placeholder.storeInto(points, newIndex);
  TFormGenerpkt& dialog = program_.FormGenerpkt;
  dialog.firstPoint = first;
  dialog.secondPoint = second;
  dialog.FormActivate();
  platform.showModal(dialog);
  if (!dialog.accepted) {
    points.releaseLastPoint();
    return true;
  }
  const auto p1 = static_cast<std::size_t>(first), p2 = static_cast<std::size_t>(second);
  const double x1 = points.pointX[p1], y1 = points.pointY[p1], z1 = points.pointZ[p1];
  const double dx = points.pointX[p2] - x1, dy = points.pointY[p2] - y1;
  const double dz = points.pointZ[p2] - z1;
  const double length = std::hypot(dx, dy);
  const bool byDistance = dialog.distance != NO_VALUE_F && length > 0;
  double t = 0;
  if (byDistance) {
    t = dialog.distance / length;
  } else if (dialog.chainage == NO_VALUE_F) {
    t = dialog.proportion == NO_VALUE_F ? 0.5 : dialog.proportion;
  } else if (program_.FormPoprzeczka.pointsClassified) {
    double xc, yc, a;
    pointAtChainage(program_.alignment, dialog.chainage, xc, yc, a);
    // The section's line: through (xc, yc) along the right-hand normal (cos a, -sin a).
    const double nx = std::cos(a), ny = -std::sin(a);
    const double cross = dx * ny - dy * nx;
    if (length > 0 && std::fabs(cross) <= 1e-9 * length) {
      points.releaseLastPoint();
      showMessage(platform, MessageIcon::Error, MessageButtons::Ok, "Generowanie punktu",
                  "Linia punktów jest równoległa do przekroju w zadanym pikietażu");
      return true;
    }
    // Signed, so that a section beyond the first point extrapolates the height away from the
    // second one.
    if (length > 0) t = ((xc - x1) * ny - (yc - y1) * nx) / cross;
  } else {
    points.releaseLastPoint();
    showMessage(platform, MessageIcon::Error, MessageButtons::Ok, "Generowanie punktu",
                " Nie można wygenerować punktu w zadanym pikietażu, ponieważ nie wczytano trasy");
    return true;
  }
  PointRecord r;
  r.x = x1 + t * dx;
  r.y = y1 + t * dy;
  r.z = z1 + t * dz;
  r.name = PointName::fromText(dialog.name);
  r.type = dialog.type;
  TFORM_Main& main = program_.main;
  r.storeInto(points, newIndex);
  program_.pointHistory.recordAppend(newIndex, r, main.pointsSaved);
  main.pointsSaved = false;
  window().extent.extentValid = false;
  main.refreshPointCount();
  return true;
}

// --- Pick a point or the place -------------------------------------------------------------------

bool PointTools::pickPointOrPlace(int x, int y, int slot, int& sx, int& sy) {
  Platform& platform = program_.platform;
  const PointStore& points = program_.points;
  bool nearest = false;
  if (window().nearestOnly) {
    nearest = true;
  } else if (points.pointCount() > 0) {
    nearest = ask(platform, "Wybrać najbliższy istniejący, czy wskazane miejsce?",
                  "Najbliższy (Tak), wskazane miejsce(Nie)?") == DialogResult::Yes;
  }
  WorldPoint& vertex = vertices[static_cast<std::size_t>(slot)];
  if (!nearest) {
    const WorldPoint w = toWorld(x, y);
    pickedX = w.x;
    pickedY = w.y;
    vertex = w;
    sx = x;
    sy = y;
    return true;
  }
  const NearestPoint n = nearestToPixel(x, y);
  if (n.index == kNoPoint) return false;
  highlight(n.index);
  const auto k = static_cast<std::size_t>(n.index);
  if (ask(platform, "Wybór punktu",
          "Czy chcesz wybrać punkt numer " + formatInt(n.index) + " o symbolu:\"" +
              points.pointName[k].text() + "\"?") != DialogResult::Yes) {
    removeHighlight(n.index);
    return false;
  }
  pickedX = points.pointX[k];
  pickedY = points.pointY[k];
  vertex = {pickedX, pickedY};
  toPixel(pickedX, pickedY, sx, sy);
  return true;
}

bool PointTools::tryAgain() {
  if (ask(program_.platform, "Wybór punktu",
          "Uwaga, brak punktu, Czy chcesz spróbować jeszcze raz?") == DialogResult::Yes) {
    return true;
  }
  endTool();
  window().redraw();
  return false;
}

void PointTools::endTool() {
  TGRAFIKA& w = window();
  hideRubber();
  measureStep_ = projectStep_ = 0;
  w.toolMode = 0;
  w.surfaceCursor = CursorShape::Default;
  w.target.restorePen();
  w.BUTTONY(0);
}

void PointTools::showRubber(int x1, int y1, int x2, int y2) {
  DrawTarget& t = window().target;
  hideRubber();
  if (!t.canvas) return;
  t.rubberPen();
  t.drawRubberLine(x1, y1, x2, y2, PenMode::NotXor);
  rubber_[0] = x1;
  rubber_[1] = y1;
  rubber_[2] = x2;
  rubber_[3] = y2;
  rubberShown_ = true;
  t.canvas->present();
}

void PointTools::hideRubber() {
  DrawTarget& t = window().target;
  if (!rubberShown_) return;
  rubberShown_ = false;
  if (!t.canvas) return;
  t.rubberPen();
  t.drawRubberLine(rubber_[0], rubber_[1], rubber_[2], rubber_[3], PenMode::NotXor);
  t.restorePen();
  t.canvas->present();
}

// --- Measuring and projecting --------------------------------------------------------------------

void PointTools::mouseDown(MouseButton button, bool, int x, int y) {
  if (button == MouseButton::Right) {
    // The right button ends these tools, as it cancels every armed tool.
    endTool();
    window().setStatus("");
    return;
  }
  if (button != MouseButton::Left) return;
  if (window().toolMode == 20046) measureDown(x, y);
  if (window().toolMode == 20048) projectDown(x, y);
}

void PointTools::measureDown(int x, int y) {
  TGRAFIKA& w = window();
  int sx = x, sy = y;
  if (measureStep_ == 0) {
    if (!pickPointOrPlace(x, y, 1, sx, sy)) {
      tryAgain();
      return;
    }
    rubber_[0] = rubber_[2] = sx;
    rubber_[1] = rubber_[3] = sy;
    measureStep_ = 1;
    w.setStatus("Wskaż drugi punkt do zmierzenia odległości");
    return;
  }
  hideRubber();
  const int x1 = rubber_[0], y1 = rubber_[1];
  if (!pickPointOrPlace(x, y, 2, sx, sy)) {
    tryAgain();
    return;
  }
  DrawTarget& t = w.target;
  if (t.canvas) {
    t.rubberPen();
    t.drawRubberLine(x1, y1, sx, sy, PenMode::Copy);
    t.restorePen();
    t.canvas->present();
  }
  const WorldPoint a = vertices[1], b = vertices[2];
  w.setStatus("Odległość punktów=" + fixed2(pointDistance(a.x, a.y, b.x, b.y)));
  // The tool stays armed for the next distance.
  measureStep_ = 0;
}

bool PointTools::projectAndShow(double wx, double wy, int sx, int sy, bool guess) {
  double chainage = guess ? lastChainage_ : 0;
  double offset = guess ? 0 : NO_VALUE_F;
  double footX = 0, footY = 0;
  if (!projectOnAlignment(program_.alignment, wx, wy, chainage, offset, footX, footY)) {
    return false;
  }
  lastChainage_ = chainage;
  int fx, fy;
  toPixel(footX, footY, fx, fy);
  showRubber(sx, sy, fx, fy);
  window().showChainage(chainage, offset, wx, wy);
  return true;
}

void PointTools::projectDown(int x, int y) {
  TGRAFIKA& w = window();
  Platform& platform = program_.platform;
  if (program_.alignment.count < 1) {
    showMessage(platform, MessageIcon::Error, MessageButtons::Ok, "Brak danych",
                "Nie wczytana trasa (łącznica), nie można rzutować punktu");
    endTool();
    return;
  }
  if (projectStep_ == 0) {
    const WorldPoint p = toWorld(x, y);
    if (projectAndShow(p.x, p.y, x, y, false)) {
      projectStep_ = 1;
    } else {
      w.setStatus("Uwaga, nie wczytano trasy!!!");
      platform.pause(2000);
    }
    return;
  }
  hideRubber();
  int sx = x, sy = y;
  if (!pickPointOrPlace(x, y, 0, sx, sy)) {
    tryAgain();
    return;
  }
  if (!projectAndShow(pickedX, pickedY, sx, sy, true)) {
    w.setStatus("Uwaga, nie wczytano trasy!!!");
    platform.pause(2000);
  }
  // The line and the values stay until the next click; the tool stays armed.
  rubberShown_ = false;
  projectStep_ = 0;
  w.surfaceCursor = CursorShape::Default;
}

void PointTools::mouseMove(bool, int x, int y) {
  TGRAFIKA& w = window();
  if (w.toolMode == 20046 && measureStep_ == 1) {
    const int x1 = rubber_[0], y1 = rubber_[1];
    showRubber(x1, y1, x, y);
    const WorldPoint a = vertices[1], b = toWorld(x, y);
    w.setStatus("Odległość punktów=" + fixed2(pointDistance(a.x, a.y, b.x, b.y)));
  } else if (w.toolMode == 20048 && projectStep_ == 1) {
    const WorldPoint p = toWorld(x, y);
    if (!projectAndShow(p.x, p.y, x, y, true)) hideRubber();
  }
}

// --- Search, undo --------------------------------------------------------------------------------

void PointTools::searchPoint() {
  TFormszukaj_pkt& dialog = program_.Formszukaj_pkt;
  dialog.foundPoint = 0;
  program_.platform.showModal(dialog);
}

bool PointTools::undoPointChange() { return stepHistory(false); }
bool PointTools::redoPointChange() { return stepHistory(true); }

bool PointTools::stepHistory(bool forward) {
  TGRAFIKA& w = window();
  if (!w.toolsFree()) return false;
  TFORM_Main& main = program_.main;
  PointHistory& history = program_.pointHistory;
  const bool done = forward ? history.redo(program_.points, main.pointsSaved)
                            : history.undo(program_.points, main.pointsSaved);
  if (!done) {
    program_.platform.beep();
    return false;
  }
  w.extent.extentValid = false;
  main.refreshPointCount();
  return true;
}

void PointTools::pointsReplaced(bool saved) {
  program_.pointHistory.clear(saved);
  pickedPoint = secondPoint = kNoPoint;
  TFormZmienpkt& dialog = program_.FormZmienpkt;
  if (dialog.visible) {
    TGRAFIKA& w = window();
    w.toolBusy = false;
    if (w.toolMode == 9001 || w.toolMode == 90019001) w.toolMode = 0;
    program_.platform.closeForm(dialog);
  }
}

}  // namespace merilon
