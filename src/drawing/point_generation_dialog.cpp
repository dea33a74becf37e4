#include "drawing/point_generation_dialog.h"

#include <algorithm>

#include "platform/number_text.h"
#include "points/numeric_helpers.h"
#include "shell/program.h"

namespace merilon {
namespace {

std::string shown(double v, int decimals) {
  return v == NO_VALUE_F ? std::string() : formatFixed(v, decimals);
}

}  // namespace

TFormGenerpkt::TFormGenerpkt(Program& program) : program_(program) {
  Caption = "Generuj punkt";
  Label1.caption = "W jakiej proporcji generować punkt";
  Label2.caption = "W jakiej odległości od pierwszego punktu generować punkt";
  Label3.caption = "W jakim pikietażu";
  Edit2.hint = "W jakim pikietażu generować punkt";
  Label4.caption = "Symbol";
  Edit4.hint = "Jaki symbol nadać punktowi";
  Edit4.maxLength = 16;
  Label5.caption = "Typ";
  Edit5.hint = "Jaki typ ma mieć nowy punkt (>0 nie będzie uwzględniany w poprzeczce)";
  Edit5.keyFilter = KeyFilter::Integer;
  Edit6.keyFilter = Edit1.keyFilter = Edit2.keyFilter = KeyFilter::Decimal;
  Button1.caption = "Generuj";
  Button2.caption = "Rezygnuj";
}

void TFormGenerpkt::FormActivate() {
  accepted = false;
  Edit6.text = shown(proportion, 5);
  Edit1.text = shown(distance, 2);
  Edit2.text = shown(chainage, 2);
  const PointStore& points = program_.points;
  const auto p1 = static_cast<std::size_t>(firstPoint), p2 = static_cast<std::size_t>(secondPoint);
  Edit4.text = PointName::fromText(points.pointName[p1].text() + "-" + points.pointName[p2].text())
                   .text();
  Edit5.text = formatInt(points.pointType[p1]);
}

void TFormGenerpkt::Edit6Change() {
  Edit1.text.clear();
  Edit2.text.clear();
}

void TFormGenerpkt::Edit1Change() {
  Edit6.text.clear();
  Edit2.text.clear();
}

void TFormGenerpkt::Edit2Change() {
  Edit6.text.clear();
  Edit1.text.clear();
}

bool TFormGenerpkt::chainageInRangeOrAccepted(double c) {
  TFormPoprzeczka& sections = program_.FormPoprzeczka;
  PointStore& points = program_.points;
  if (!sections.pointsClassified) {
    sections.pointsClassified = projectAllPoints(points, program_.alignment, sections.stored);
  }
  // Without an alignment the generation itself refuses.
  if (!sections.pointsClassified) return true;
  const double c1 = points.pointChainage[static_cast<std::size_t>(firstPoint)];
  const double c2 = points.pointChainage[static_cast<std::size_t>(secondPoint)];
  const double tolerance = program_.GRAFIKA.generationTolerance;
  if (c >= std::min(c1, c2) - tolerance && c <= std::max(c1, c2) + tolerance) return true;
  return showMessage(program_.platform, MessageIcon::Warning, MessageButtons::YesNo,
                     "Zakres pikietaży",
                     "Pikietaż " + formatFixed(c, 2) +
                         " nie leży pomiędzy pikietażami rzutów punktów " + formatFixed(c2, 2) +
                         " i " + formatFixed(c1, 2) + " mimo to generować?",
                     DialogResult::No) == DialogResult::Yes;
}

void TFormGenerpkt::Button1Click() {
  const double p = parseFloatText(Edit6.text);
  const double d = p == NO_VALUE_F ? parseFloatText(Edit1.text) : NO_VALUE_F;
  const double c = parseFloatText(Edit2.text);
  if (p == NO_VALUE_F && d == NO_VALUE_F && c == NO_VALUE_F) {
    showMessage(program_.platform, MessageIcon::Error, MessageButtons::Ok, "Generowanie punktu",
                "Nie można generować punktu, ponieważ nie podano danych");
    return;
  }
  if (c != NO_VALUE_F && !chainageInRangeOrAccepted(c)) return;
  proportion = p;
  distance = d;
  chainage = c;
  type = parseIntText(Edit5.text);
  if (type == NO_VALUE) type = 1;
  name = Edit4.text;
  accepted = true;
  program_.platform.closeForm(*this);
}

void TFormGenerpkt::Button2Click() {
  accepted = false;
  program_.platform.closeForm(*this);
}

}  // namespace merilon
