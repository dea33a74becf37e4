// A printer that puts its pages into a PDF file on A4 paper with no margins, at 600 printer
// pixels per inch, without dialogs (merilon-cli render and sections-pdf). The pages are vector
// drawings with their texts as text. The file is written whole or not at all: a failed or
// dropped document leaves an existing file untouched.
#pragma once

#include <QPdfWriter>
#include <QSaveFile>
#include <filesystem>
#include <memory>
#include <string>

#include "platform/printer.h"
#include "qt_page_canvas.h"

namespace merilon::qt {

class PdfFilePrinter : public Printer {
 public:
  static constexpr int kResolution = 600;

  explicit PdfFilePrinter(std::filesystem::path file) : file_(std::move(file)) {}
  ~PdfFilePrinter() override;

  void setOrientation(PageOrientation orientation) override { orientation_ = orientation; }
  bool showPrintDialog() override { return true; }
  void showPrinterSetup() override {}
  Canvas* beginDocument(const std::string& title) override;
  bool endDocument() override;
  // Ends the page of the document begun and begins the next; false when that failed.
  bool newPage() { return page_ && page_->newPage(); }
  void abortDocument() override;

  // Why the last document failed; empty when it did not.
  const std::string& error() const { return error_; }
  // True once a document has been written to the file.
  bool written() const { return written_; }

 private:
  std::filesystem::path file_;
  PageOrientation orientation_ = PageOrientation::Portrait;
  std::unique_ptr<QSaveFile> out_;
  std::unique_ptr<QPdfWriter> writer_;
  std::unique_ptr<QtPageCanvas> page_;
  std::string error_;
  bool written_ = false;
};

}  // namespace merilon::qt
