// The drawing window's prints: the whole view stretched to the page's width, and a part of the
// drawing at a true scale placed with a frame that follows the mouse. Both run the redraw on the
// printer's page and leave the screen's view as it was.
#include <algorithm>
#include <cmath>

#include "drawing/drawing_window.h"
#include "drawing/print_layout.h"
#include "platform/busy_cursor.h"
#include "points/numeric_helpers.h"
#include "shell/program.h"

namespace merilon {
namespace {

constexpr const char* kPrintTitle = "Drukowanie";

}  // namespace

Printer* TGRAFIKA::printerOrMessage() {
  Printer* printer = platform().printer();
  if (!printer) {
    showMessage(platform(), MessageIcon::Error, MessageButtons::Ok, kPrintTitle, "Brak drukarki");
  }
  return printer;
}

Canvas* TGRAFIKA::beginPrintDocument(Printer& printer) {
  const int w = surface_ ? surface_->width() : view.viewWidth;
  const int h = surface_ ? surface_->height() : view.viewHeight;
  printer.setOrientation(pageOrientation(w, h));
  if (!printer.showPrintDialog()) return nullptr;
  Canvas* page = printer.beginDocument(program_.main.baseTitle);
  if (!page) {
    showMessage(platform(), MessageIcon::Error, MessageButtons::Ok, kPrintTitle,
                "Nie można rozpocząć wydruku");
  }
  return page;
}

void TGRAFIKA::ToolButton30Click() {
  cancelPrintAtScale();
  setStatus("Drukowanie calego obszaru ekranu (bez skali)");
  Printer* printer = printerOrMessage();
  Canvas* page = printer ? beginPrintDocument(*printer) : nullptr;
  if (!page) return;
  target.printMode = 1;
  view.saveView();
  printRedraw(*page);
  endPrintDocument(*printer);
}

void TGRAFIKA::ToolButton27Click() {
  cancelPrintAtScale();
  setStatus("Drukowanie częsci rysunku w zadanej skali");
  printScaleInUse = std::fabs(params.printScale);
  Printer* printer = printerOrMessage();
  Canvas* page = printer ? beginPrintDocument(*printer) : nullptr;
  if (!page) return;
  view.saveView();
  printJob_ = printer;
  printPage_ = page;
  const int ppi = page->fontPixelsPerInch();
  target.printerDpiRatio = printerDpiRatioOf(ppi, surface_ ? surface_->fontPixelsPerInch() : 96);
  printFrameWidth = printFrameExtent(page->width(), ppi, printScaleInUse, view.scaleX);
  printFrameHeight = printFrameExtent(page->height(), ppi, printScaleInUse, view.scaleY);
  toolMode = 9;
  surfaceCursor = CursorShape::Cross;
  setStatus("Wskaż dolny lewy narożnik obszaru drukowania");
}

void TGRAFIKA::ToolButton29Click() {
  cancelPrintAtScale();
  if (Printer* printer = printerOrMessage()) printer->showPrinterSetup();
}

void TGRAFIKA::finishPrintFrame(int x, int y) {
  // The frame ends where the button is released, whether the mouse moved after the press or not.
  target.Okno(dragEnd.x, dragEnd.y, frameEnd.x, frameEnd.y, PenMode::NotXor);
  dragEnd = {x, y};
  frameEnd = {x + printFrameWidth, y - printFrameHeight};
  target.Okno(dragEnd.x, dragEnd.y, frameEnd.x, frameEnd.y, PenMode::Copy);
  if (target.canvas) target.canvas->present();
  toolMode = 0;
  const WorldPoint corner = view.screenToWorld(std::min(dragEnd.x, frameEnd.x),
                                               view.viewHeight - std::max(dragEnd.y, frameEnd.y));
  printAtCorner(corner.x, corner.y);
}

void TGRAFIKA::printAtCorner(double x, double y) {
  if (!printJob_) return;
  Printer& printer = *printJob_;
  Canvas& page = *printPage_;
  printJob_ = nullptr;
  printPage_ = nullptr;
  toolMode = 0;
  view.originX = x;
  view.originY = y;
  view.scaleX = printerPixelsPerMetre(printScaleInUse, page.fontPixelsPerInch());
  view.scaleY = view.scaleX;
  target.printMode = 2;
  printRedraw(page);
  endPrintDocument(printer);
}

void TGRAFIKA::cancelPrintAtScale() {
  if (!printJob_) return;
  Printer& printer = *printJob_;
  printJob_ = nullptr;
  printPage_ = nullptr;
  if (toolMode == 99) {
    // The frame following the mouse goes.
    target.Okno(dragEnd.x, dragEnd.y, frameEnd.x, frameEnd.y, PenMode::NotXor);
    if (target.canvas) target.canvas->present();
  }
  printer.abortDocument();
  if (toolMode == 9 || toolMode == 99) {
    toolMode = 0;
    surfaceCursor = CursorShape::Default;
    target.restorePen();
  }
  setStatus("");
}

void TGRAFIKA::endPrintDocument(Printer& printer) {
  const bool printed = printer.endDocument();
  view.restoreView();
  target.printMode = 0;
  if (!printed) {
    showMessage(platform(), MessageIcon::Error, MessageButtons::Ok, kPrintTitle,
                "Nie udało się wydrukować rysunku");
  }
}

void TGRAFIKA::printRedraw(Canvas& page) {
  BusyCursor busy(platform());
  surfaceCursor = CursorShape::Wait;
  const int surfaceWidth = surface_ ? surface_->width() : view.viewWidth;
  const int surfaceHeight = surface_ ? surface_->height() : view.viewHeight;
  const ViewTransform screen = view;
  // The whole view from the page's lower-left corner: the surface's width fills the page's
  // width; on a page relatively wider than the surface its height fills the page's height
  // instead, so that no part of the view is lost above the page.
  if (target.printMode == 1 && surfaceWidth > 0 && surfaceHeight > 0) {
    const long long across = static_cast<long long>(page.width()) * surfaceHeight;
    const long long up = static_cast<long long>(page.height()) * surfaceWidth;
    view.scaleX = across <= up ? view.scaleX * page.width() / surfaceWidth
                               : view.scaleX * page.height() / surfaceHeight;
  }
  view.scaleY = view.scaleX;
  view.viewHeight = page.height();
  view.viewWidth = page.width();
  target.printerDpiRatio =
      printerDpiRatioOf(page.fontPixelsPerInch(), surface_ ? surface_->fontPixelsPerInch() : 96);
  const WorldPoint far = view.screenToWorld(view.viewWidth, view.viewHeight);
  view.farCornerX = far.x;
  view.farCornerY = far.y;
  target.canvas = &page;
  target.setClipToView();
  view.aspect = view.viewHeight > 0 ? static_cast<double>(view.viewWidth) / view.viewHeight : 1;

  // A screen redraw that was showing its progress when the print began starts again after it;
  // the print itself is drawn in one go.
  const bool outer = redrawing_, restart = restartRedraw_, abort = abortRedraw_;
  redrawing_ = true;
  restartRedraw_ = abortRedraw_ = false;
  drawScene();
  redrawing_ = outer;
  restartRedraw_ = restart || outer;
  abortRedraw_ = abort;

  surfaceCursor = CursorShape::Default;
  view.viewWidth = screen.viewWidth;
  view.viewHeight = screen.viewHeight;
  view.farCornerX = screen.farCornerX;
  view.farCornerY = screen.farCornerY;
  view.aspect = screen.aspect;
  target.canvas = surface_;
  target.setClipToView();
}

}  // namespace merilon
