// The printer as the drawing window uses it: the page orientation, the print dialog, the printer
// set-up dialog, and a document of one page whose canvas the scene is drawn on. The page canvas
// measures in printer pixels: its width and height are the printable area, its font resolution
// the printer's.
#pragma once

#include <string>

#include "platform/canvas.h"

namespace merilon {

enum class PageOrientation { Portrait, Landscape };

class Printer {
 public:
  virtual ~Printer() = default;

  virtual void setOrientation(PageOrientation orientation) = 0;
  // The platform's print dialog (printer, copies, output to a file); false when cancelled.
  virtual bool showPrintDialog() = 0;
  // The printer set-up dialog (paper, orientation, margins).
  virtual void showPrinterSetup() = 0;

  // Begins a document titled `title` on the chosen printer: the canvas of its page, valid until
  // the document ends or is aborted; nullptr when no document can be begun.
  virtual Canvas* beginDocument(const std::string& title) = 0;
  // Ends the document and sends the page to the printer (or the file); false when that failed.
  virtual bool endDocument() = 0;
  // Drops the document begun: nothing is printed and no file is left.
  virtual void abortDocument() = 0;
};

}  // namespace merilon
