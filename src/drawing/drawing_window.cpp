#include "drawing/drawing_window.h"

#include <cmath>

#include "alignment/alignment_drawing.h"
#include "drawing/scene.h"
#include "drawing/underlay_drawing.h"
#include "platform/text_file.h"
#include "points/numeric_helpers.h"
#include "shell/program.h"

namespace merilon {
namespace {

struct ButtonText {
  int number;
  const char* hint;
};

constexpr ButtonText kHints[] = {
    {1, "Odśwież"},
    {2, "Powiększ"},
    {3, "Pomniejsz"},
    {4, "Powiększ do okna"},
    {5, "Całość"},
    {6, "Przesuń okno"},
    {7, "Poprzedni widok"},
    {8, "Następny widok"},
    {9, "obróć obraz"},
    {10, "Rysuj trójkąty"},
    {11, "Rysuj symbole punktów"},
    {12, "Rysuj numery punktów"},
    {13, "Rysuj rzędne"},
    {14, "Rysuj symbole punktów"},
    {15, "Rysuj warstwice"},
    {16, "Rysuj linie z przydzielonymi kodami"},
    {17, "Rysuj oś trasy, punkty główne, hektometry"},
    {18, "Rysuj położenie przekrojów poprzecznych"},
    {23, "Edycja lub dodanie nowego punktu"},
    {24, "Wyświetlanie pikietaża rzutu wskazanego miejsca"},
    {25, "Wyświetlanie rzeczywistych współrzędnych  X, Y, Z wskazywanego miejsca"},
    {26, "Wyswietl profil lub poprzeczki terenu"},
    {27, "Drukowanie w skali przy wybranych parametrach drukarki"},
    {28, "Parametry rysowania na ekranie i drukowania"},
    {29, "Parametry drukarki"},
    {30, "Drukuj zawartość ekranu"},
    {34, "Zmierz odległość"},
    {35, "Szukaj punktu (numer, rzędna)"},
    {36, "Generuj punkt"},
};

bool visibleAtOpening(int n) {
  return (n >= 1 && n <= 9) || (n >= 11 && n <= 14) || n == 17 || n == 18 || (n >= 23 && n <= 36);
}

}  // namespace

TGRAFIKA::TGRAFIKA(Program& program) : program_(program) {
  for (const ButtonText& b : kHints) ToolButtonN(b.number).hint = b.hint;
  buildMenus();
}

Platform& TGRAFIKA::platform() { return program_.platform; }

void TGRAFIKA::buildMenus() {
  using C = DrawingCommand;
  auto item = [](const char* menu, const char* caption, C command, int layer = 0,
                 bool checkable = false) {
    return MenuItem{menu, caption, command, layer, checkable, false, {}};
  };
  mainMenu = {
      item("Edycja", "Cofnij", C::Undo),
      item("Edycja", "Ponów", C::Redo),
      item("Widok", "Odświerz", C::Refresh),
      item("Widok", "Zbliż", C::ZoomIn),
      item("Widok", "Oddal", C::ZoomOut),
      item("Widok", "Okno", C::ZoomWindow),
      item("Widok", "Wszystko", C::WholeExtent),
      item("Widok", "Przesuń", C::Move),
      item("Widok", "Poprzedni", C::PreviousView),
      item("Widok", "Następny", C::NextView),
      item("Widok", "Obróć", C::Rotate),
      item("Co rysować", "Punkty", C::Layer, 11, true),
      item("Co rysować", "Symbole", C::Layer, 14, true),
      item("Co rysować", "Rzędne", C::Layer, 13, true),
      item("Co rysować", "Numery", C::Layer, 12, true),
      item("Co rysować", "Trasę", C::Layer, 17, true),
      item("Co rysować", "Przekroje poprzeczne", C::Layer, 18, true),
      item("Co rysować", "DXF", C::DxfCheck, 0, true),
      item("Narzędzia", "Współrzędne", C::Coordinates),
      item("Narzędzia", "Edycja współrzędnych i parametrów", C::EditPoint),
      item("Narzędzia", "Pikietaż", C::Chainage),
      item("Narzędzia", "Odległość", C::Distance),
      item("Narzędzia", "Generuj punkt", C::GeneratePoint),
      item("Narzędzia", "Szukaj punktu", C::SearchPoint),
      item("Narzędzia", "Wyświetl profil lub poprzeczki", C::ShowSections),
      item("Narzędzia", "-", C::None),
      item("Narzędzia", "Dane trasy i przekrojów", C::SectionData),
      item("Narzędzia", "Zapisz punkty", C::SavePoints),
      item("Narzędzia", "Generuj poprzeczki", C::GenerateSections),
      item("Narzędzia", "-", C::None),
      item("Narzędzia", "Wskazuj punkt tylko najbliższy", C::NearestOnly, 0, true),
      item("Narzędzia", "-", C::None),
      item("Narzędzia", "Zamknij okno rysunku", C::CloseWindow),
      item("Drukowanie", "Drukuj okno", C::PrintWindow),
      item("Drukowanie", "Drukuj w skali", C::PrintAtScale),
      item("Drukowanie", "Parametry drukarki", C::PrinterSetup),
      item("Drukowanie", "Parametry drukowania", C::DrawingParameters),
  };
  for (MenuItem& m : mainMenu) {
    if (m.command == C::Undo) m.shortcut = "Ctrl+Z";
    if (m.command == C::Redo) m.shortcut = "Ctrl+Y";
  }
  popupMenu = {
      item("", "Odśwież", C::Refresh),
      item("", "Powiększ", C::ZoomIn),
      item("", "Pomniejsz", C::ZoomOut),
      item("", "Wybierz okno", C::ZoomWindow),
      item("", "Pokaż wszystko", C::WholeExtent),
      item("", "Przesuń okno", C::Move),
      item("", "Obróć", C::Rotate),
      item("", "-", C::None),
      item("", "Punkty", C::Layer, 11),
      item("", "Symbole", C::Layer, 14),
      item("", "Rzędne", C::Layer, 13),
      item("", "Numery punktów", C::Layer, 12),
      item("", "Trasę", C::Layer, 17),
      item("", "Poprzeczki", C::Layer, 18),
      item("", "-", C::None),
      item("", "Pokaż współrz.", C::Coordinates),
      item("", "Zmień współ. punktu", C::EditPoint),
      item("", "Pokaż pikietaż", C::Chainage),
      item("", "Zmierz odległość", C::Distance),
      item("", "Generuj punkt", C::GeneratePoint),
      item("", "Odszukaj punkt", C::SearchPoint),
      // Has no action of its own (the toolbar button and the main menu start the viewer).
      item("", "Wyswietl profil lub poprzeczki terenu", C::None),
  };
}

MenuItem* TGRAFIKA::mainLayerItem(int n) {
  for (MenuItem& m : mainMenu) {
    if (m.command == DrawingCommand::Layer && m.layer == n) return &m;
  }
  return nullptr;
}

bool TGRAFIKA::waitsForRunningCommand(DrawingCommand command) const {
  using C = DrawingCommand;
  switch (command) {
    case C::EditPoint:
    case C::GeneratePoint:
    case C::SectionData:
    case C::SavePoints:
    case C::GenerateSections:
    case C::Undo:
    case C::Redo:
      return program_.main.commandRunning();
    default:
      return false;
  }
}

void TGRAFIKA::run(DrawingCommand command, int layer) {
  using C = DrawingCommand;
  if (waitsForRunningCommand(command)) {
    platform().beep();
    return;
  }
  // Only the layer switches and the check marks leave an armed print at scale armed.
  if (command != C::Layer && command != C::DxfCheck && command != C::NearestOnly) {
    cancelPrintAtScale();
  }
  switch (command) {
    case C::Refresh:
      return OdswiezClick();
    case C::ZoomIn:
      return PowiekszClick();
    case C::ZoomOut:
      return ZmniejszClick();
    case C::ZoomWindow:
      return WybierzOknoClick();
    case C::WholeExtent:
      return CaloscClick();
    case C::Move:
      return PrzesunClick();
    case C::PreviousView:
      return PoprzedniClick();
    case C::NextView:
      return NastepnyClick();
    case C::Rotate:
      return ToolButton9Click();
    case C::Layer:
      return layerClick(layer);
    case C::Coordinates:
      return ToolButton25Click();
    case C::EditPoint:
      return ToolButton23Click();
    case C::Chainage:
      return ToolButton24Click();
    case C::Distance:
      return ToolButton34Click();
    case C::GeneratePoint:
      return ToolButton36Click();
    case C::SearchPoint:
      return ToolButton35Click();
    case C::ShowSections:
      return ToolButton26Click();
    case C::SectionData:
      return Danetrasyiprzekrojw1Click();
    case C::SavePoints:
      return Zapiszpunkty1Click();
    case C::GenerateSections:
      return Generujprzekrojepoprzeczne1Click();
    case C::NearestOnly:
      return Wskazujpunkttylkonajbliszy1Click();
    case C::CloseWindow:
      return Zamknijoknorysunku1Click();
    case C::DrawingParameters:
      return ToolButton28Click();
    case C::DxfCheck:
      for (MenuItem& m : mainMenu) {
        if (m.command == C::DxfCheck) m.checked = !m.checked;
      }
      return;
    case C::Undo:
      return Cofnij1Click();
    case C::Redo:
      return Ponow1Click();
    case C::PrintWindow:
      return ToolButton30Click();
    case C::PrintAtScale:
      return ToolButton27Click();
    case C::PrinterSetup:
      return ToolButton29Click();
    case C::None:
      return;
  }
}

DrawingCommand TGRAFIKA::toolCommand(int n) {
  using C = DrawingCommand;
  static constexpr C kCommands[] = {C::None,       C::Refresh,     C::ZoomIn, C::ZoomOut,
                                    C::ZoomWindow, C::WholeExtent, C::Move,   C::PreviousView,
                                    C::NextView,   C::Rotate};
  if (n >= 1 && n <= 9) return kCommands[n];
  if (n >= 10 && n <= 18) return C::Layer;
  switch (n) {
    case 23:
      return C::EditPoint;
    case 24:
      return C::Chainage;
    case 25:
      return C::Coordinates;
    case 26:
      return C::ShowSections;
    case 27:
      return C::PrintAtScale;
    case 28:
      return C::DrawingParameters;
    case 29:
      return C::PrinterSetup;
    case 30:
      return C::PrintWindow;
    case 34:
      return C::Distance;
    case 35:
      return C::SearchPoint;
    case 36:
      return C::GeneratePoint;
    default:
      return C::None;
  }
}

void TGRAFIKA::ToolButtonClick(int n) {
  const DrawingCommand command = toolCommand(n);
  if (command != DrawingCommand::None) run(command, command == DrawingCommand::Layer ? n : 0);
}

// --- Opening and closing -------------------------------------------------------------------------

void TGRAFIKA::openDrawingWindow() {
  program_.main.Button19.enabled = false;
  readSettings(program_);
  platform().showModeless(*this);
}

void TGRAFIKA::FormActivate() {
  if (setupDone) return;
  surfaceCursor = CursorShape::Wait;
  Caption = program_.main.Caption;
  setupDone = true;
  maximizeRequested = true;
  windowReady = true;
  surfaceTakesInput = false;
  view.resetView();
  target.canvas = surface_;
  target.clearTarget();
  buttonVisible.fill(false);
  USTAW_UZYWANE_BUTTON();
  setStatus("    Przygotowanie danych do rysowania, Proszę chwilę zaczekać!");
  for (int n = 1; n <= 40; ++n) buttonVisible[static_cast<std::size_t>(n)] = visibleAtOpening(n);
  USTAW_UZYWANE_BUTTON();
  view.setAngle(0);
  extent.extentValid = extent.extentHasAlignment = false;
  view.previousAngle = 0;
  target.fontName = "Arial";
  target.backgroundColour = Rgb{255, 255, 255};
  target.penColour = Rgb{0, 0, 0};
  target.printMode = 0;
  params = DrawingParams{};
  history.clear();
  redraw();
  toolMode = 0;
  setStatus(" ");
  surfaceTakesInput = true;
  surfaceCursor = CursorShape::Default;
}

void TGRAFIKA::FormClose() {
  cancelPrintAtScale();
  program_.main.Button19.enabled = true;
  setupDone = false;
  windowReady = false;
  abortRedraw_ = true;
  visible = false;
}

void TGRAFIKA::FormResize(int& w, int& h) {
  if (w < 640) w = 640;
  if (h < 400) h = 400;
  setStatus("");
  if (windowReady) redraw();
}

void TGRAFIKA::FormKeyDown(DrawingKey key, bool ctrl, bool alt) {
  if (key == DrawingKey::F1 && alt) {
    if (ctrl) {
      platform().minimizeApplication();
    } else {
      platform().showModeless(program_.main);
    }
    return;
  }
  if (key == DrawingKey::Escape) {
    if (redrawing_) abortRedraw_ = true;
    cancelPrintAtScale();
    return;
  }
  if (key != DrawingKey::F3) return;
  cancelPrintAtScale();
  switch (lastCommand) {
    case 2:
      return PowiekszClick();
    case 3:
      return ZmniejszClick();
    case 4:
      return WybierzOknoClick();
    case 5:
      return PrzesunClick();
    case 10:
      return ToolButton25Click();
    case 11:
      return ToolButton26Click();
    case 12:
      return ToolButton24Click();
    case 13:
      return ToolButton23Click();
    case 15:
      return ToolButton34Click();
    case 35:
      return ToolButton35Click();
    case 36:
      return ToolButton36Click();
    default:
      return;
  }
}

// --- Toolbar -------------------------------------------------------------------------------------

void TGRAFIKA::BUTTONY(int n) {
  for (int k = 1; k <= 9; ++k) ToolButtonN(k).down = k == n;
}

void TGRAFIKA::WYBIERZ_BUTTON(int n) {
  bool& on = layerOn[static_cast<std::size_t>(n)];
  on = !on;
  ToolButtonN(n).down = on;
}

void TGRAFIKA::USTAW_UZYWANE_BUTTON() {
  for (int n = 1; n <= 40; ++n) ToolButtonN(n).visible = buttonVisible[static_cast<std::size_t>(n)];
}

void TGRAFIKA::layerClick(int n) {
  if (n < 10 || n > 18) return;
  WYBIERZ_BUTTON(n);
  if (MenuItem* m = mainLayerItem(n)) m->checked = !m->checked;
}

// --- Navigation ----------------------------------------------------------------------------------

void TGRAFIKA::idleCursor() {
  setStatus("");
  surfaceCursor = CursorShape::Default;
}

void TGRAFIKA::OdswiezClick() {
  BUTTONY(1);
  redraw();
  toolMode = 0;
  idleCursor();
}

void TGRAFIKA::PowiekszClick() {
  BUTTONY(2);
  idleCursor();
  lastCommand = 2;
  toolMode = 2;
  view.zoomAboutCentre(params.zoomInFactor);
  redraw();
  history.pushView(view);
  toolMode = 0;
}

void TGRAFIKA::ZmniejszClick() {
  BUTTONY(3);
  idleCursor();
  lastCommand = 3;
  toolMode = 3;
  view.zoomAboutCentre(params.zoomOutFactor);
  redraw();
  history.pushView(view);
  toolMode = 0;
}

void TGRAFIKA::CaloscClick() {
  idleCursor();
  BUTTONY(5);
  toolMode = 5;
  fitExtent(view.angle);
  redraw();
  history.pushView(view);
  toolMode = 0;
}

void TGRAFIKA::fitExtent(double a) {
  view.setAngle(a);
  view.scaleX = view.scaleY = 1;
  view.originX = view.originY = 0;
  const Alignment& al = program_.alignment;
  const bool alignmentOn = ToolButtonN(17).down;
  if (!extent.extentValid || (extent.extentHasAlignment && !alignmentOn)) {
    extent.clear();
    const PointStore& p = program_.points;
    for (int i = 1; i <= p.pointCount(); ++i) {
      const auto k = static_cast<std::size_t>(i);
      extent.widen(view.worldToScreen(p.pointX[k], p.pointY[k]));
    }
    extent.extentValid = true;
    extent.extentHasAlignment = false;
  }
  if (al.count > al.first && alignmentOn) {
    extent.widen(view.worldToScreen(al.minX, al.minY));
    extent.widen(view.worldToScreen(al.maxX, al.maxY));
    extent.extentHasAlignment = true;
  }
  if (extent.minU > extent.maxU) {
    // No point and no alignment: nothing to fit.
    return;
  }
  fitBoxToView(view, extent);
}

void TGRAFIKA::PoprzedniClick() {
  idleCursor();
  BUTTONY(7);
  if (const ViewSnapshot* s = history.previous()) {
    view.apply(*s);
    redraw();
  }
}

void TGRAFIKA::NastepnyClick() {
  idleCursor();
  const bool any = history.historyCount != 0;
  if (any) BUTTONY(8);
  if (const ViewSnapshot* s = history.next()) view.apply(*s);
  redraw();
}

// --- Redraw --------------------------------------------------------------------------------------

void TGRAFIKA::redraw() {
  if (redrawing_) {
    // A command given while a long redraw shows its progress: start again with the new view.
    restartRedraw_ = true;
    return;
  }
  redrawing_ = true;
  abortRedraw_ = false;
  do {
    restartRedraw_ = false;
    drawScene();
  } while (restartRedraw_ && !abortRedraw_);
  redrawing_ = false;
  surfaceCursor = CursorShape::Default;
  BUTTONY(0);
  surfaceTakesInput = true;
}

bool TGRAFIKA::repaint() {
  // A print is drawn in one go: nothing is shown and no event is handled between its layers.
  if (target.printMode != 0) return true;
  if (target.canvas) target.canvas->present();
  platform().processPendingEvents();
  // The main window may have opened or imported points meanwhile: the pass must not go on
  // through indexes gathered from the old ones, and the new ones are drawn instead.
  if (program_.points.changeCount() != drawnPoints_) restartRedraw_ = true;
  return !restartRedraw_ && !abortRedraw_;
}

void TGRAFIKA::drawScene() {
  drawnPoints_ = program_.points.changeCount();
  // A print has set up its page already (printRedraw).
  if (target.printMode == 0) {
    target.canvas = surface_;
    if (!surface_) return;
    surfaceCursor = CursorShape::Wait;
    surfaceTakesInput = false;
    target.clearTarget();
    view.viewWidth = surface_->width();
    view.viewHeight = surface_->height();
    const WorldPoint far = view.screenToWorld(view.viewWidth, view.viewHeight);
    view.farCornerX = far.x;
    view.farCornerY = far.y;
    target.setClipToView();
    view.aspect = view.viewHeight > 0 ? static_cast<double>(view.viewWidth) / view.viewHeight : 1;
  }
  target.setPenStyle(1);

  const auto on = [this](int n) { return layerOn[static_cast<std::size_t>(n)]; };
  const Settings& settings = program_.settings;
  const bool blackPrint = target.printMode != 0 && settings.printMode == 1;
  const auto progress = [this] { return repaint(); };
  if (on(10) && !repaint()) return;
  if (program_.underlay.underlayShown) {
    if (!drawUnderlay(target, program_.underlay, progress) || !repaint()) return;
  }
  bool anyLayer = false;
  for (int n = 10; n <= 18; ++n) anyLayer = anyLayer || on(n);
  if (anyLayer && settings.gridSpacing > 1.0) {
    drawGrid(target, settings.gridSpacing, blackPrint);
    if (!repaint()) return;
  }
  Alignment& al = program_.alignment;
  AlignmentDrawingParams ap;
  ap.scaleDenominator = std::fabs(params.printScale);
  ap.trapar = settings.alignmentSizes;
  ap.sectionTextSize = settings.sectionTextSize;
  ap.printing = target.printMode == 2;
  ap.drukar = settings.printMode;
  if (al.count > al.first && on(18)) {
    TFormPoprzeczka& sections = program_.FormPoprzeczka;
    if (!sections.sectionTextLoaded && !terLoadTried_ && !sections.lastTerFileName.empty() &&
        fileExists(sections.lastTerFileName)) {
      terLoadTried_ = true;
      std::vector<std::string> lines;
      std::string error;
      if (readCp1250Lines(sections.lastTerFileName, lines, error)) {
        sections.workText = std::move(lines);
        sections.sectionTextLoaded = true;
      }
    }
    if (sections.sectionTextLoaded && !sections.lastTerFileName.empty()) {
      drawCrossSections(target, al, program_.parser, sections.workText, ap, [this] { repaint(); });
    }
    if (restartRedraw_ || abortRedraw_) return;
  }
  if (al.count > al.first && on(17)) drawAlignment(target, al, ap);
  target.setPenStyle(1);
  const PointStore& points = program_.points;
  std::vector<int> near, inView;
  if (on(12) || on(13) || on(14)) {
    near = labelCandidates(target, points, on(14) ? params.numberLabelSize : 0,
                           on(13) ? params.heightLabelSize : 0,
                           on(12) ? params.heightLabelSize : 0, &pointGrid);
  }
  if (on(11)) {
    const bool zoomedIn = pointsNearView(target, points, 0, pointGrid, inView);
    if (!drawPointLayer(target, points, PointLayer::Markers, 0, blackPrint, progress,
                        zoomedIn ? &inView : nullptr))
      return;
    if (!repaint()) return;
  }
  if (on(14)) {
    if (!drawPointLayer(target, points, PointLayer::Symbols, params.numberLabelSize, blackPrint,
                        progress, &near))
      return;
    if (!repaint()) return;
  }
  if (on(16) && !repaint()) return;
  if (on(13)) {
    if (!drawPointLayer(target, points, PointLayer::Heights, params.heightLabelSize, blackPrint,
                        progress, &near))
      return;
    if (!repaint()) return;
  }
  if (on(12)) {
    if (!drawPointLayer(target, points, PointLayer::Numbers, params.heightLabelSize, blackPrint,
                        progress, &near))
      return;
    if (!repaint()) return;
  }
  if (on(15) && !repaint()) return;
  if (searchMarkPending) {
    drawSearchRing(target, searchMarkX, searchMarkY);
    searchMarkPending = false;
  }
  target.canvas->present();
}

}  // namespace merilon
