#include "support/scripted_printer.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace merilon::testing {

void ScriptedPrinter::setOrientation(PageOrientation orientation) {
  orientations.push_back(orientation);
  const int shorter = std::min(page.width(), page.height());
  const int longer = std::max(page.width(), page.height());
  if (orientation == PageOrientation::Landscape) {
    page.resize(longer, shorter);
  } else {
    page.resize(shorter, longer);
  }
}

Canvas* ScriptedPrinter::beginDocument(const std::string& documentTitle) {
  EXPECT_FALSE(open) << "a document begun while another is open";
  if (failBegin) return nullptr;
  ++begun;
  open = true;
  title = documentTitle;
  page.ops.clear();
  return &page;
}

bool ScriptedPrinter::endDocument() {
  EXPECT_TRUE(open) << "a document ended that was not begun";
  open = false;
  ++ended;
  return !failEnd;
}

void ScriptedPrinter::abortDocument() {
  EXPECT_TRUE(open) << "a document aborted that was not begun";
  open = false;
  ++aborted;
}

}  // namespace merilon::testing
