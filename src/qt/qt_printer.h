// The desktop program's printer: Qt's print dialog (a real printer or the PDF file output, so a
// machine with no printer still prints), Qt's page set-up dialog, and the page of the chosen
// printer as a canvas.
#pragma once

#include <QPrinter>
#include <functional>
#include <memory>

#include "platform/printer.h"
#include "qt_page_canvas.h"

namespace merilon::qt {

class QtPrinter : public Printer {
 public:
  // A PDF file is printed at this resolution; a printer at its own.
  static constexpr int kPdfResolution = 600;

  QtPrinter();
  ~QtPrinter() override;

  void setOrientation(PageOrientation orientation) override;
  bool showPrintDialog() override;
  void showPrinterSetup() override;
  Canvas* beginDocument(const std::string& title) override;
  bool endDocument() override;
  void abortDocument() override;

  QPrinter& printer() { return printer_; }
  // Tests answer the dialogs here: they set the printer as a user would; true confirms.
  std::function<bool(QPrinter&)> printDialogHook;
  std::function<void(QPrinter&)> setupDialogHook;

 private:
  QPrinter printer_{QPrinter::HighResolution};
  std::unique_ptr<QtPageCanvas> page_;
};

}  // namespace merilon::qt
