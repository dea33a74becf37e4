#include "qt_printer.h"

#include <QApplication>
#include <QPageSetupDialog>
#include <QPrintDialog>

#include "qt_text.h"

namespace merilon::qt {

QtPrinter::QtPrinter() = default;

QtPrinter::~QtPrinter() { abortDocument(); }

void QtPrinter::setOrientation(PageOrientation orientation) {
  printer_.setPageOrientation(orientation == PageOrientation::Landscape ? QPageLayout::Landscape
                                                                        : QPageLayout::Portrait);
}

bool QtPrinter::showPrintDialog() {
  bool accepted = false;
  if (printDialogHook) {
    accepted = printDialogHook(printer_);
  } else {
    QPrintDialog dialog(&printer_, QApplication::activeWindow());
    // One page is printed: there is nothing to choose from.
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
    dialog.setOption(QAbstractPrintDialog::PrintCollateCopies, false);
    accepted = dialog.exec() == QDialog::Accepted;
  }
  if (accepted && printer_.outputFormat() == QPrinter::PdfFormat) {
    printer_.setResolution(kPdfResolution);
  }
  return accepted;
}

void QtPrinter::showPrinterSetup() {
  if (setupDialogHook) {
    setupDialogHook(printer_);
    return;
  }
  QPageSetupDialog dialog(&printer_, QApplication::activeWindow());
  dialog.exec();
}

Canvas* QtPrinter::beginDocument(const std::string& title) {
  abortDocument();
  printer_.setDocName(toQt(title));
  page_ = std::make_unique<QtPageCanvas>(printer_);
  return page_.get();
}

bool QtPrinter::endDocument() {
  if (!page_) return false;
  const bool ok = page_->finish();
  page_.reset();
  return ok;
}

void QtPrinter::abortDocument() {
  if (!page_) return;
  // Painting begins with the first stroke, so a print at scale dropped before its frame was
  // released has sent nothing; one already painting is aborted at the printer.
  if (page_->begun()) printer_.abort();
  page_.reset();
}

}  // namespace merilon::qt
