#include "pdf_file_printer.h"

#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>

#include "qt_text.h"

namespace merilon::qt {

PdfFilePrinter::~PdfFilePrinter() { abortDocument(); }

Canvas* PdfFilePrinter::beginDocument(const std::string& title) {
  abortDocument();
  error_.clear();
  out_ = std::make_unique<QSaveFile>(QString::fromStdString(file_.string()));
  if (!out_->open(QIODevice::WriteOnly)) {
    error_ = out_->errorString().toStdString();
    out_.reset();
    return nullptr;
  }
  writer_ = std::make_unique<QPdfWriter>(out_.get());
  writer_->setResolution(kResolution);
  writer_->setPageLayout(QPageLayout(
      QPageSize(QPageSize::A4),
      orientation_ == PageOrientation::Landscape ? QPageLayout::Landscape : QPageLayout::Portrait,
      QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter));
  writer_->setTitle(toQt(title));
  writer_->setCreator("Merilon");
  page_ = std::make_unique<QtPageCanvas>(*writer_);
  return page_.get();
}

bool PdfFilePrinter::endDocument() {
  if (!page_) return false;
  bool ok = page_->finish();
  page_.reset();
  writer_.reset();
  if (ok && !out_->commit()) ok = false;
  if (!ok && error_.empty()) error_ = out_->errorString().toStdString();
  out_.reset();
  written_ = written_ || ok;
  return ok;
}

void PdfFilePrinter::abortDocument() {
  page_.reset();
  writer_.reset();
  if (out_) out_->cancelWriting();
  out_.reset();
}

}  // namespace merilon::qt
