// The small modal choice "Wybór trasy" shown when a LandXML file holds several alignments: their
// names and lengths in a list, "OK" takes the marked one, "Rezygnuj" none.
#pragma once

#include <string>
#include <vector>

#include "alignment/landxml_alignment.h"
#include "platform/controls.h"
#include "platform/platform.h"

namespace merilon {

// A list of texts with the marked row (-1: none).
struct ListBox : Control {
  std::vector<std::string> items;
  int itemIndex = -1;
};

class TFormWyborTrasy : public Form {
 public:
  explicit TFormWyborTrasy(Platform& platform);

  Label Label1;
  ListBox ListBox1;
  Button Button1;  // "OK"
  Button Button2;  // "Rezygnuj"

  // The row taken by the last showing; -1 when the user gave up.
  int chosen = -1;

  // Shows the alignments modally; the index of the one chosen, or -1.
  int choose(const std::vector<LandXmlAlignmentEntry>& alignments);

  void ListBox1Click();
  void ListBox1DblClick();
  void Button1Click();
  void Button2Click();

 private:
  Platform& platform_;
};

// One row of the list: the name (or "(bez nazwy)") and the length with two decimals.
std::string alignmentChoiceText(const LandXmlAlignmentEntry& entry);

}  // namespace merilon
