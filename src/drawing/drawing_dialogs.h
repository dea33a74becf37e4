// The two small modal dialogs of the drawing window: "Parametry rysowania" (label sizes, print
// scale, contour interval, zoom coefficients) and "Kat obrotu" (the view angle the rotation tool
// has just measured).
#pragma once

#include "platform/controls.h"
#include "platform/platform.h"

namespace merilon {

class TGRAFIKA;

class TFormParam_rysow : public Form {
 public:
  TFormParam_rysow(Platform& platform, TGRAFIKA& window);

  Label GroupDrawing;  // "Dane do rysowania"
  Label GroupOther;    // "Inne"
  Label Label1, Label2, Label3, Label4, Label5, Label6, Label7;
  Edit Edit1, Edit2, Edit3, Edit4, Edit5, Edit6, Edit7;
  Button Button1;  // "Zamknij"

  void FormActivate();
  // Reads the fields back, however the dialog is closed.
  void FormClose();
  void Button1Click();

 private:
  Platform& platform_;
  TGRAFIKA& window_;
};

class TFormRysowan_obrot : public Form {
 public:
  TFormRysowan_obrot(Platform& platform, TGRAFIKA& window);

  Label Label1;  // "Kąt obrotu  dolnej krawędzi ekranu  względem osi X(E)"
  Label Label2;  // "o"
  Edit Edit1;
  Button Button1;  // "Przyjmij" (default)
  Button Button2;  // "Rezygnuj" (cancel)

  // Position on the screen: the remembered one (0, 0: none yet) and the one to show at.
  int rememberedLeft = 0, rememberedTop = 0;
  int Left = 0, Top = 0;
  int Width = 340, Height = 130;

  void FormActivate();
  void Button1Click();
  void Button2Click();
  // Backspace, digits, "." and "-" pass; anything else is swallowed with a beep.
  bool KeyPressDouble(char32_t key);

 private:
  Platform& platform_;
  TGRAFIKA& window_;
};

}  // namespace merilon
