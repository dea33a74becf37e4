// "Generuj punkt" (TFormGenerpkt): how a new point between two picked points is placed (by
// proportion, by distance from the first point or at a chainage of the alignment), with its
// symbol and type. Only one of the three ways is filled in at a time.
#pragma once

#include <cstdint>
#include <string>

#include "platform/controls.h"
#include "platform/platform.h"
#include "points/no_value.h"

namespace merilon {

class Program;

class TFormGenerpkt : public Form {
 public:
  explicit TFormGenerpkt(Program& program);

  Label Label1, Label2, Label3, Label4, Label5;  // captions of Edit6, Edit1, Edit2, Edit4, Edit5
  Edit Edit6;  // proportion
  Edit Edit1;  // distance from the first point
  Edit Edit2;  // chainage
  Edit Edit4;  // symbol
  Edit Edit5;  // type
  Button Button1;  // "Generuj"
  Button Button2;  // "Rezygnuj"

  // The values of the last generation (NO_VALUE_F: not given); the main window's first
  // activation sets 0.5 and two missing values.
  double proportion = NO_VALUE_F;
  double distance = NO_VALUE_F;
  double chainage = NO_VALUE_F;
  bool accepted = false;
  // The two points of this generation, and what "Generuj" decided for the new point.
  int firstPoint = 0, secondPoint = 0;
  std::string name;
  std::int32_t type = 1;

  void FormActivate();
  void Button1Click();
  void Button2Click();
  // Typing into one way of generating empties the other two.
  void Edit6Change();
  void Edit1Change();
  void Edit2Change();

 private:
  // False when the chainage lies outside the two points' chainages and the user declined.
  bool chainageInRangeOrAccepted(double c);
  Program& program_;
};

}  // namespace merilon
