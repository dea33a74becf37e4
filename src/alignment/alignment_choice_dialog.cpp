#include "alignment/alignment_choice_dialog.h"

#include "platform/number_text.h"

namespace merilon {

TFormWyborTrasy::TFormWyborTrasy(Platform& platform) : platform_(platform) {
  Caption = "Wybór trasy";
  Label1.caption = "Plik zawiera kilka tras. Wybierz trasę:";
  Button1.caption = "OK";
  Button2.caption = "Rezygnuj";
}

std::string alignmentChoiceText(const LandXmlAlignmentEntry& entry) {
  return (entry.name.empty() ? std::string("(bez nazwy)") : entry.name) + "  (długość " +
         formatFixed(entry.length, 2) + ")";
}

int TFormWyborTrasy::choose(const std::vector<LandXmlAlignmentEntry>& alignments) {
  ListBox1.items.clear();
  for (const auto& a : alignments) ListBox1.items.push_back(alignmentChoiceText(a));
  ListBox1.itemIndex = ListBox1.items.empty() ? -1 : 0;
  Button1.enabled = ListBox1.itemIndex >= 0;
  chosen = -1;
  platform_.showModal(*this);
  return chosen;
}

void TFormWyborTrasy::ListBox1Click() {
  if (ListBox1.itemIndex >= static_cast<int>(ListBox1.items.size())) ListBox1.itemIndex = -1;
  Button1.enabled = ListBox1.itemIndex >= 0;
}

void TFormWyborTrasy::ListBox1DblClick() { Button1Click(); }

void TFormWyborTrasy::Button1Click() {
  ListBox1Click();
  if (ListBox1.itemIndex < 0) return;
  chosen = ListBox1.itemIndex;
  platform_.closeForm(*this);
}

void TFormWyborTrasy::Button2Click() {
  chosen = -1;
  platform_.closeForm(*this);
}

}  // namespace merilon
