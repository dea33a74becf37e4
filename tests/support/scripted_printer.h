// The printer of the tests: the print dialog confirmed or cancelled as told, every call counted,
// and a recording page of a chosen size and resolution (A4 portrait at 254 pixels per inch
// unless told otherwise: 2100 x 2970 pixels, a pixel a tenth of a millimetre).
#pragma once

#include <string>
#include <vector>

#include "platform/printer.h"
#include "support/recording_canvas.h"

namespace merilon::testing {

class ScriptedPrinter : public Printer {
 public:
  ScriptedPrinter() : page(2100, 2970) { page.ppi = 254; }

  bool confirmDialog = true;
  bool failBegin = false;
  bool failEnd = false;
  RecordingCanvas page;
  std::vector<PageOrientation> orientations;
  std::string title;
  int dialogs = 0, setups = 0, begun = 0, ended = 0, aborted = 0;
  bool open = false;

  // The page's size for the orientation last set: a portrait page turned when landscape.
  void setOrientation(PageOrientation orientation) override;
  bool showPrintDialog() override {
    ++dialogs;
    return confirmDialog;
  }
  void showPrinterSetup() override { ++setups; }
  Canvas* beginDocument(const std::string& documentTitle) override;
  bool endDocument() override;
  void abortDocument() override;
};

}  // namespace merilon::testing
