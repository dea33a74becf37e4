// The drawing window (TGRAFIKA): the surface EKRAN with its view, the toolbar ToolButton1..40,
// the pop-up and main menus, the status line, the navigation commands, the layer switches, the
// redraw, and the mouse-tool machine across press, move and release.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "drawing/draw_target.h"
#include "drawing/drawing_params.h"
#include "drawing/point_tools_seam.h"
#include "drawing/view_transform.h"
#include "platform/controls.h"
#include "platform/platform.h"
#include "points/point_grid_index.h"
#include "platform/printer.h"

namespace merilon {

class Program;

enum class CursorShape { Default, PointingHand, SizeAll, Help, Cross, Wait };

struct ToolButton : Button {
  bool down = false;  // shown pressed
};

// Everything a toolbar button or menu item of the window can run.
enum class DrawingCommand {
  Refresh,
  ZoomIn,
  ZoomOut,
  ZoomWindow,
  WholeExtent,
  Move,
  PreviousView,
  NextView,
  Rotate,
  Layer,  // with the button number 10..18
  Coordinates,
  EditPoint,
  Chainage,
  Distance,
  GeneratePoint,
  SearchPoint,
  ShowSections,
  SectionData,
  SavePoints,
  GenerateSections,
  NearestOnly,
  CloseWindow,
  PrintWindow,
  PrintAtScale,
  PrinterSetup,
  DrawingParameters,
  DxfCheck,
  Undo,
  Redo,
  None
};

struct MenuItem {
  std::string menu;     // the top-level menu ("Widok"...); empty for the pop-up menu
  std::string caption;  // "-" for a separator
  DrawingCommand command = DrawingCommand::None;
  int layer = 0;  // button number of a layer switch
  bool checkable = false;
  bool checked = false;
  std::string shortcut;  // "Ctrl+Z"; empty for none
};

enum class DrawingKey { F1, F3, Escape, Other };

class TGRAFIKA : public Form {
 public:
  explicit TGRAFIKA(Program& program);

  // --- Controls ------------------------------------------------------------------------------
  std::array<ToolButton, 41> ToolButtons;  // ToolButton1..40; index 0 unused
  ToolButton& ToolButtonN(int n) { return ToolButtons[static_cast<std::size_t>(n)]; }
  std::vector<MenuItem> mainMenu;
  std::vector<MenuItem> popupMenu;
  StatusBar StatusBar1;
  CursorShape surfaceCursor = CursorShape::Default;
  bool surfaceTakesInput = true;
  // Set at the first activation; the view maximises the window and clears it.
  bool maximizeRequested = false;
  // The window's frame on the screen, kept by the view (the rotation dialog centres over it).
  int windowLeft = 0, windowTop = 0, windowWidth = 800, windowHeight = 600;

  // --- Drawing state -------------------------------------------------------------------------
  ViewTransform view;
  ExtentBox extent;
  ViewHistory history;
  DrawTarget target{view};
  DrawingParams params;
  std::array<bool, 41> layerOn{};        // outlives the window
  std::array<bool, 41> buttonVisible{};  // set when the window opens
  bool windowReady = false;
  bool setupDone = false;
  bool searchMarkPending = false;
  double searchMarkX = 0, searchMarkY = 0;
  // The points by grid cell: a zoomed-in redraw visits only the cells near the view.
  PointGridIndex pointGrid;
  bool nearestOnly = false;  // "Wskazuj punkt tylko najbliższy"
  // Tolerance of the range test of point generation.
  double generationTolerance = 0.00005;

  // --- Tool state ----------------------------------------------------------------------------
  std::int32_t toolMode = 0;
  std::int32_t lastCommand = 0;
  bool toolBusy = false;
  struct Pixel {
    int x = 0, y = 0;
  };
  Pixel dragStart, dragEnd, frameEnd, dragOffset;
  int printFrameWidth = 0, printFrameHeight = 0;
  // Middle-button pan and wheel zoom (outside the tool machine).
  bool panning = false;
  Pixel panStart, panLast;

  // The point tools; none yet: their states return to idle.
  PointToolsSeam* pointTools = nullptr;
  // The file name of the road-design system started by "Wyswietl profil lub poprzeczki".
  static constexpr const char* kVordaExecutable = "WinVo308.exe";

  // --- Surface -------------------------------------------------------------------------------
  // The canvas of the surface; its size is the view's size.
  void setSurface(Canvas* canvas) { surface_ = canvas; }
  Canvas* surface() const { return surface_; }

  // --- Window handlers -----------------------------------------------------------------------
  // "Rysuj" of the main window: disables the button, reads the settings again, shows the window.
  void openDrawingWindow();
  void FormActivate();
  void FormClose();
  // The new client size is corrected to the minimum 640 x 400 (returned through w, h).
  void FormResize(int& w, int& h);
  void FormKeyDown(DrawingKey key, bool ctrl, bool alt);
  void EKRANMouseDown(MouseButton button, bool shift, int x, int y);
  void EKRANMouseMove(bool shift, int x, int y);
  void EKRANMouseUp(MouseButton button, bool shift, int x, int y);
  // Wheel: `steps` > 0 zooms in about (x, y), < 0 out; one history entry per gesture.
  void EKRANMouseWheel(int steps, int x, int y);
  void run(DrawingCommand command, int layer = 0);
  // A press of ToolButton n (buttons without a command do nothing).
  void ToolButtonClick(int n);
  // The pop-up menu: right-button press with no tool armed shows it.
  bool popupWanted(MouseButton button) const {
    return button == MouseButton::Right && toolMode == 0;
  }

  // --- Commands ------------------------------------------------------------------------------
  void OdswiezClick();
  void PowiekszClick();
  void ZmniejszClick();
  void WybierzOknoClick();
  void CaloscClick();
  void PrzesunClick();
  void PoprzedniClick();
  void NastepnyClick();
  void ToolButton9Click();
  void layerClick(int n);  // ToolButton10Click..ToolButton18Click
  void ToolButton23Click();
  void ToolButton24Click();
  void ToolButton25Click();
  void ToolButton26Click();
  void ToolButton28Click();
  void ToolButton34Click();
  void ToolButton35Click();
  void ToolButton36Click();
  void Danetrasyiprzekrojw1Click();
  void Zapiszpunkty1Click();
  void Generujprzekrojepoprzeczne1Click();
  void Wskazujpunkttylkonajbliszy1Click();
  void Zamknijoknorysunku1Click();
  // "Cofnij" and "Ponów": point edits, inserts and generations one step back or forward.
  void Cofnij1Click();
  void Ponow1Click();
  // Whether a menu command or toolbar button can do anything now: "Cofnij" and "Ponów" are greyed
  // with nothing to take back or forward, and the commands that change the points or open the
  // cross-section dialog while a long command of the main window runs (an import appending to
  // the points, say); every other command is always offered.
  bool commandAvailable(DrawingCommand command) const;
  // The command of toolbar button n (None for the buttons without one).
  static DrawingCommand toolCommand(int n);

  // --- Printing (printing.cpp) ---------------------------------------------------------------
  void ToolButton27Click();  // "Drukuj w skali": arms the frame of the page's ground
  void ToolButton29Click();  // "Parametry drukarki"
  void ToolButton30Click();  // "Drukuj okno": the whole view across the page's width
  // The print at scale armed by ToolButton27Click, with the page's lower-left printable corner
  // at world (x, y): what releasing the frame there prints.
  void printAtCorner(double x, double y);
  // A print at scale armed but not finished: its document is dropped, nothing is printed, the
  // tool returns to idle (another command, the right button, closing the window).
  void cancelPrintAtScale();
  bool printAtScaleArmed() const { return printJob_ != nullptr; }
  // The working scale denominator of the print at scale, |printScale| when it was armed.
  double printScaleInUse = 1000;

  // --- Services ------------------------------------------------------------------------------
  void redraw();
  void fitExtent(double a);
  void BUTTONY(int n);
  void WYBIERZ_BUTTON(int n);
  void USTAW_UZYWANE_BUTTON();
  void setStatus(const std::string& text) { StatusBar1.text = text; }
  bool toolsFree();
  void showPointCoordinates(int x, int y);
  void showChainage(double chainage, double offset, double x, double y);
  // True while a redraw runs (a command given meanwhile restarts it).
  bool redrawing() const { return redrawing_; }

  Program& program() { return program_; }

 private:
  Platform& platform();
  // A command that changes the points or starts a command of its own, asked for while a long
  // command of the main window runs.
  bool waitsForRunningCommand(DrawingCommand command) const;
  void drawScene();
  // Shows the picture so far and handles pending events; false when the redraw must stop.
  bool repaint();
  void finishZoomWindow();
  void finishMove(int x, int y);
  void finishRotation();
  // The release of the print frame at (x, y).
  void finishPrintFrame(int x, int y);
  // The print variant of redraw on `page`; the surface's sizes are set back afterwards.
  void printRedraw(Canvas& page);
  Printer* printerOrMessage();
  // Turns the page as the surface is, shows the print dialog and begins the document: its page,
  // or nullptr when the dialog was cancelled or the printer failed (with the message).
  Canvas* beginPrintDocument(Printer& printer);
  void endPrintDocument(Printer& printer);
  void idleCursor();
  // Arms a tool: its state, the code F3 repeats, the surface cursor and the status text.
  void arm(int mode, int command, CursorShape cursor, const std::string& status);
  void buildMenus();
  MenuItem* mainLayerItem(int n);
  Program& program_;
  Canvas* surface_ = nullptr;
  bool redrawing_ = false;
  bool restartRedraw_ = false;
  bool abortRedraw_ = false;
  // The points' change count when the pass of the redraw began.
  std::uint64_t drawnPoints_ = 0;
  // The last .TER file is read into the work text at most once per run.
  bool terLoadTried_ = false;
  // The printer whose document an armed print at scale holds open, and its page.
  Printer* printJob_ = nullptr;
  Canvas* printPage_ = nullptr;
};

}  // namespace merilon
