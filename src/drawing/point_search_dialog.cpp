#include "drawing/point_search_dialog.h"

#include <cmath>

#include "drawing/point_search.h"
#include "platform/number_text.h"
#include "points/no_value.h"
#include "points/numeric_helpers.h"
#include "shell/program.h"

namespace merilon {

TFormszukaj_pkt::TFormszukaj_pkt(Program& program) : program_(program) {
  Caption = "Szukaj punktu";
  Label1.caption = "Podaj numer punktu";
  Edit1.text = "1";
  Edit1.keyFilter = KeyFilter::Integer;
  Label4.caption = "Podaj symbol punktu";
  GroupBox1.caption = "Według rzędnej";
  Label2.caption = "Podaj rzędną";
  Edit2.text = "0.00";
  Edit2.keyFilter = KeyFilter::Decimal;
  Label3.caption = "z dokładnością";
  Edit3.text = "0.01";
  Edit3.keyFilter = KeyFilter::Decimal;
  CheckBox1.caption = "Szukaj kolejnego";
  Button1.caption = "Szukaj";
  Button2.caption = "Rezygnuj";
}

void TFormszukaj_pkt::Edit1Change() { Edit4.text.clear(); }
void TFormszukaj_pkt::Edit4Change() { Edit1.text.clear(); }

void TFormszukaj_pkt::Button1Click() {
  const PointStore& points = program_.points;
  Platform& platform = program_.platform;
  foundPoint = 0;
  const int start = CheckBox1.checked ? searchIndex : 1;
  const std::string symbol(trimBlanks(Edit4.text));
  if (!symbol.empty()) {
    const int i = findBySymbol(points, PointName::fromText(symbol).raw(), start);
    if (i == 0 || PointName::fromText(symbol).text() != symbol) {
      // The next continued search starts from the beginning again.
      searchIndex = 1;
      showMessage(platform, MessageIcon::Warning, MessageButtons::Ok, "Szukanie punktu",
                  " Nie znaleziono punktu o zadanych warunkach");
      return;
    }
    searchIndex = i + 1;
    return showFound(i);
  }
  const std::int32_t number = parseIntText(Edit1.text);
  if (number >= 1 && number <= points.pointCount()) return showFound(number);
  double tolerance = std::fabs(parseFloatText(Edit3.text));
  if (parseFloatText(Edit3.text) == NO_VALUE_F || tolerance > 1000) tolerance = 0.01;
  const double z = parseFloatText(Edit2.text);
  const int i = z == NO_VALUE_F ? 0 : findByHeight(points, z, tolerance, start);
  if (i == 0) {
    searchIndex = 1;
    platform.closeForm(*this);
    return;
  }
  searchIndex = i + 1;
  showFound(i);
}

void TFormszukaj_pkt::showFound(int i) {
  foundPoint = i;
  TGRAFIKA& window = program_.GRAFIKA;
  ViewTransform& view = window.view;
  const auto k = static_cast<std::size_t>(i);
  const double x = program_.points.pointX[k], y = program_.points.pointY[k];
  // 100 units across the surface, the point in its middle.
  view.scaleX = view.scaleY = view.viewWidth / 100.0;
  const double u = view.viewWidth / 2.0, v = view.viewHeight / 2.0;
  view.originX = x - (u * view.cosAngle - v * view.sinAngle) / view.scaleX;
  view.originY = y - (u * view.sinAngle + v * view.cosAngle) / view.scaleY;
  window.history.pushView(view);
  window.searchMarkPending = true;
  window.searchMarkX = x;
  window.searchMarkY = y;
  program_.platform.closeForm(*this);
}

void TFormszukaj_pkt::Button2Click() { program_.platform.closeForm(*this); }

}  // namespace merilon
