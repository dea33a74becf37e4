#include "drawing/point_edit_dialog.h"

#include "points/coordinate_match.h"
#include "points/no_value.h"
#include "points/numeric_helpers.h"
#include "points/point_history.h"
#include "platform/number_text.h"
#include "shell/program.h"

namespace merilon {
namespace {

std::string fixed2(double v) { return formatFixed(v, 2); }

// "moved more than 0.005": compared in whole millimetres, so 0.005 itself is no move.
bool movedMoreThanHalfCentimetre(double a, double b) {
  return fartherThan(gridValue(a, kMillimetres), gridValue(b, kMillimetres), 5);
}

}  // namespace

TFormZmienpkt::TFormZmienpkt(Program& program) : program_(program) {
  Caption = "Dane punktu";
  Label1.caption = "Współrzędna X(E)";
  Label2.caption = "Współrzędna Y(N)";
  Label3.caption = "Rzędna";
  Edit3.hint = "Współrzędna Z";
  Label5.caption = "Symbol";
  Edit4.hint = "Symbol punktu";
  Edit4.maxLength = 16;
  Label6.caption = "Typ";
  Edit5.hint = "Kod punktu (>0 - nie uwzględniany w poprzeczce)";
  Edit5.keyFilter = KeyFilter::Integer;
  Edit1.keyFilter = Edit2.keyFilter = Edit3.keyFilter = KeyFilter::Decimal;
  Label7.caption = "Pikietaż rzutu punktu";
  Label8.caption = "Odległość punktu od trasy";
  Edit6.readOnly = Edit7.readOnly = true;
  Button1.caption = "Zmień";
  Button2.caption = "Rezygnuj";
  WskawsprzedneXiY1.caption = "Wskaż współrzedne X i Y";
}

void TFormZmienpkt::FormActivate() {
  const TGRAFIKA& window = program_.GRAFIKA;
  if (rememberedLeft != 0 || rememberedTop != 0) {
    Left = rememberedLeft;
    Top = rememberedTop;
  } else {
    Left = window.windowLeft + (window.windowWidth - Width) / 2;
    Top = window.windowTop + (window.windowHeight - Height) / 2;
  }
  pointChanged = false;
  PointStore& points = program_.points;
  const bool editing = !insertMode && pointIndex >= 1 && pointIndex <= points.pointCount();
  Button1.caption = editing ? "Zmień" : "Wprowadź";
  for (Control* c : {static_cast<Control*>(&Label4), static_cast<Control*>(&Label7),
                     static_cast<Control*>(&Label8), static_cast<Control*>(&Edit6),
                     static_cast<Control*>(&Edit7)}) {
    c->visible = false;
  }
  if (!editing) {
    Edit1.text = fixed2(proposedX);
    Edit2.text = fixed2(proposedY);
    Edit3.text = fixed2(0);
    Edit4.text.clear();
    Edit5.text = "0";
    Label4.caption.clear();
    return;
  }
  const auto k = static_cast<std::size_t>(pointIndex);
  Edit1.text = fixed2(points.pointX[k]);
  Edit2.text = fixed2(points.pointY[k]);
  Edit3.text = fixed2(points.pointZ[k]);
  Edit4.text = points.pointName[k].text();
  Edit5.text = formatInt(points.pointType[k]);
  Label4.caption = "Punkt numer: " + formatInt(pointIndex);
  Label4.visible = true;
  TFormPoprzeczka& sections = program_.FormPoprzeczka;
  if (!sections.pointsClassified) {
    sections.pointsClassified = projectAllPoints(points, program_.alignment, sections.stored);
  }
  if (sections.pointsClassified && points.pointChainage[k] != NO_VALUE_F) {
    Edit6.text = fixed2(points.pointChainage[k]);
    Edit7.text = fixed2(points.pointOffset[k]);
    Label7.visible = Label8.visible = Edit6.visible = Edit7.visible = true;
  }
}

void TFormZmienpkt::Button1Click() {
  Platform& platform = program_.platform;
  PointStore& points = program_.points;
  // The window stays open beside the main window; a long command started there meanwhile (an
  // import appending to the points) finishes before the point changes. The window keeps what
  // was typed.
  if (program_.main.commandRunning()) {
    platform.beep();
    return;
  }
  const double x = parseFloatText(Edit1.text);
  const double y = parseFloatText(Edit2.text);
  const double z = parseFloatText(Edit3.text);
  if (x == NO_VALUE_F || y == NO_VALUE_F || z == NO_VALUE_F) {
    // Nothing is stored from an empty or unreadable coordinate; the window stays for a fix.
    showMessage(platform, MessageIcon::Error, MessageButtons::Ok, "Dane punktu",
                "Błędna lub brakująca współrzędna punktu");
    return;
  }
  std::int32_t type = parseIntText(Edit5.text);
  if (type == NO_VALUE) type = 0;
  PointRecord after;
  after.x = x;
  after.y = y;
  after.z = z;
  after.name = PointName::fromText(Edit4.text);
  after.type = type;
  TFORM_Main& main = program_.main;
  const bool wasSaved = main.pointsSaved;
  if (insertMode) {
    if (!points.reservePoint()) return finish();
    const int i = points.pointCount();
    after.storeInto(points, i);
    program_.pointHistory.recordAppend(i, after, wasSaved);
    pointChanged = true;
  } else if (pointIndex >= 1 && pointIndex <= points.pointCount()) {
    const PointRecord before = PointRecord::of(points, pointIndex);
    bool apply = true;
    if (movedMoreThanHalfCentimetre(before.x, x) || movedMoreThanHalfCentimetre(before.y, y)) {
      apply = showMessage(platform, MessageIcon::Question, MessageButtons::YesNo,
                          "Zmiana współrzędnych punktu",
                          "Współrzędne stare: " + fixed2(before.x) + ", " + fixed2(before.y) +
                              " nowe: " + fixed2(x) + ", " + fixed2(y) + ", Czy zmienić?",
                          DialogResult::Yes) == DialogResult::Yes;
    }
    if (apply) {
      // The work values stay those of the last classification.
      after.chainage = before.chainage;
      after.offset = before.offset;
      after.storeInto(points, pointIndex);
      program_.pointHistory.recordEdit(pointIndex, before, after, wasSaved);
      pointChanged = true;
    }
  }
  if (pointChanged) {
    main.pointsSaved = false;
    program_.GRAFIKA.extent.extentValid = false;
    main.refreshPointCount();
  }
  finish();
}

void TFormZmienpkt::Button2Click() { finish(); }

void TFormZmienpkt::finish() {
  rememberedLeft = Left;
  rememberedTop = Top;
  TGRAFIKA& window = program_.GRAFIKA;
  // The pick's request goes from the status line with the pick.
  if (window.toolBusy) window.setStatus("");
  window.toolBusy = false;
  window.redraw();
  window.toolMode = 0;
  program_.platform.closeForm(*this);
}

void TFormZmienpkt::WskawsprzedneXiY1Click() {
  TGRAFIKA& window = program_.GRAFIKA;
  window.toolBusy = true;
  window.toolMode = 9001;
  window.setStatus("Wskaż punkt do pobrania współrzędnych");
  program_.platform.showModeless(window);
}

void TFormZmienpkt::coordinatesPicked(double x, double y) {
  Edit1.text = fixed2(x);
  Edit2.text = fixed2(y);
  // Back to the front without filling the fields again.
  program_.platform.showModeless(*this);
}

}  // namespace merilon
