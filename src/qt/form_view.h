// What the Qt platform needs of every view: mirror the form's controls into the widgets, and
// show, run modally or close the window.
#pragma once

namespace merilon::qt {

class FormView {
 public:
  virtual ~FormView() = default;
  // Copies the form's control state into the widgets (cheap when nothing changed).
  virtual void syncFromModel() = 0;
  virtual void runModal() = 0;
  virtual void showModeless() = 0;
  virtual void closeView() = 0;
};

}  // namespace merilon::qt
