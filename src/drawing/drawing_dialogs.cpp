#include "drawing/drawing_dialogs.h"

#include <numbers>

#include "drawing/drawing_window.h"
#include "platform/number_text.h"
#include "points/no_value.h"
#include "points/numeric_helpers.h"

namespace merilon {
namespace {

void field(Label& label, const char* caption, Edit& edit, KeyFilter filter) {
  label.caption = caption;
  edit.keyFilter = filter;
}

}  // namespace

TFormParam_rysow::TFormParam_rysow(Platform& platform, TGRAFIKA& window)
    : platform_(platform), window_(window) {
  Caption = "Parametry rysowania";
  GroupDrawing.caption = "Dane do rysowania";
  GroupOther.caption = "Inne";
  field(Label1, "Współczynnik skali przy powiekszaniu", Edit1, KeyFilter::Decimal);
  field(Label2, "Współczynnik skali przy zmniejszaniu", Edit2, KeyFilter::Decimal);
  field(Label3, "Wysokość opisów numerów (w pktach)", Edit3, KeyFilter::Integer);
  field(Label4, "Wysokość opisów rzędnych (w pktach)", Edit4, KeyFilter::Integer);
  field(Label5, "Wysokość opisu symboli (w pktach)", Edit5, KeyFilter::Decimal);
  field(Label6, "Skala na drukarkę", Edit6, KeyFilter::Decimal);
  field(Label7, "Co którą warstwicę opisymać (w metrach)", Edit7, KeyFilter::None);
  Button1.caption = "Zamknij";
}

void TFormParam_rysow::FormActivate() {
  const DrawingParams& p = window_.params;
  Edit1.text = formatFixed(p.zoomInCoefficient, 1);
  Edit2.text = formatFixed(p.zoomOutCoefficient, 1);
  Edit3.text = formatFixed(p.numberLabelSize, 0);
  Edit4.text = formatFixed(p.heightLabelSize, 0);
  Edit5.text = formatFixed(p.symbolLabelSize, 0);
  Edit6.text = formatFixed(p.printScale, 0);
  Edit7.text = formatFixed(p.contourLabelInterval, 2);
}

void TFormParam_rysow::FormClose() {
  DrawingParams& p = window_.params;
  p.zoomInCoefficient = parseFloatText(Edit1.text);
  p.zoomOutCoefficient = parseFloatText(Edit2.text);
  p.numberLabelSize = parseFloatText(Edit3.text);
  p.heightLabelSize = parseFloatText(Edit4.text);
  p.symbolLabelSize = parseFloatText(Edit5.text);
  p.printScale = parseFloatText(Edit6.text);
  p.contourLabelInterval = parseFloatText(Edit7.text);
  if (p.zoomInCoefficient <= 1.0) p.zoomInCoefficient = 2.0;
  if (p.zoomOutCoefficient <= 1.0) p.zoomOutCoefficient = 2.0;
  if (p.numberLabelSize < 6) p.numberLabelSize = 6;
  if (p.heightLabelSize < 6) p.heightLabelSize = 6;
  if (p.symbolLabelSize < 6) p.symbolLabelSize = 6;
  if (p.printScale < 50) p.printScale = 50;
  if (p.contourLabelInterval < 0.01) p.contourLabelInterval = 1.0;
  p.zoomInFactor = 1 / p.zoomInCoefficient;
  p.zoomOutFactor = p.zoomOutCoefficient;
}

void TFormParam_rysow::Button1Click() { platform_.closeForm(*this); }

TFormRysowan_obrot::TFormRysowan_obrot(Platform& platform, TGRAFIKA& window)
    : platform_(platform), window_(window) {
  Caption = "Kat obrotu";
  Label1.caption = "Kąt obrotu  dolnej krawędzi ekranu  względem osi X(E)";
  Label2.caption = "o";
  Button1.caption = "Przyjmij";
  Button2.caption = "Rezygnuj";
}

void TFormRysowan_obrot::FormActivate() {
  if (rememberedLeft != 0 || rememberedTop != 0) {
    Left = rememberedLeft;
    Top = rememberedTop;
  } else {
    Left = window_.windowLeft + (window_.windowWidth - Width) / 2;
    Top = window_.windowTop + (window_.windowHeight - Height) / 2;
  }
  Edit1.text = formatFixed(window_.view.angle * 180 / std::numbers::pi, 3);
}

void TFormRysowan_obrot::Button1Click() {
  double v = parseFloatText(Edit1.text);
  if (v == NO_VALUE_F) v = 0;
  window_.view.angle = round3(v / 180 * std::numbers::pi);
  platform_.closeForm(*this);
}

void TFormRysowan_obrot::Button2Click() {
  window_.view.angle = window_.view.previousAngle;
  rememberedLeft = Left;
  rememberedTop = Top;
  platform_.closeForm(*this);
}

bool TFormRysowan_obrot::KeyPressDouble(char32_t key) {
  if (key == 8 || (key >= '0' && key <= '9') || key == '.' || key == '-') return true;
  platform_.beep();
  return false;
}

}  // namespace merilon
