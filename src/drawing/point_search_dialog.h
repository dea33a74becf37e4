// "Szukaj punktu" (TFormszukaj_pkt): finds a point by symbol, by number or by height, centres the
// drawing on it and rings it once; "Szukaj kolejnego" goes on from the last point found.
#pragma once

#include "platform/controls.h"
#include "platform/platform.h"

namespace merilon {

class Program;

class TFormszukaj_pkt : public Form {
 public:
  explicit TFormszukaj_pkt(Program& program);

  Label Label1;  // "Podaj numer punktu"
  Edit Edit1;    // number
  Label Label4;  // "Podaj symbol punktu"
  Edit Edit4;    // symbol
  Label GroupBox1;  // "Według rzędnej"
  Label Label2;     // "Podaj rzędną"
  Edit Edit2;       // height
  Label Label3;     // "z dokładnością"
  Edit Edit3;       // tolerance
  CheckBox CheckBox1;  // "Szukaj kolejnego"
  Button Button1;      // "Szukaj"
  Button Button2;      // "Rezygnuj"

  // Where a continued symbol or height search starts.
  int searchIndex = 1;
  // The point of the last successful search; 0 when the last search found nothing.
  int foundPoint = 0;

  void Button1Click();
  void Button2Click();
  // A symbol and a number exclude each other: typing into one empties the other.
  void Edit1Change();
  void Edit4Change();

 private:
  void showFound(int i);
  Program& program_;
};

}  // namespace merilon
