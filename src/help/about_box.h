// The about box (TFormMERIInfo, "O programie"): a picture with the information text, shown
// modally once at start-up and on request. It closes itself at each tick of its timer, on any
// key, and when it is activated again after another window had the focus.
#pragma once

#include <string>

#include "platform/controls.h"
#include "platform/platform.h"

namespace merilon {

class Program;

// A periodic timer; the front end ticks `Timer1Timer` every `interval` milliseconds while it is
// enabled. A change of the interval starts the period afresh.
struct Timer : Control {
  int interval = 1000;
};

inline constexpr int kAboutStartupInterval = 5000;
inline constexpr int kAboutInterval = 25000;

// The program's name and task, the system it belongs to, the makers, rights and version.
std::string aboutText();

class TFormMERIInfo : public Form {
 public:
  explicit TFormMERIInfo(Platform& platform);

  std::string Image1;   // the picture, stretched over the whole window (a resource name)
  Label Label1;         // right-aligned bold yellow: the information text
  Label Label2;         // centred bold italic lime green
  Button SpeedButton1;  // "Zamknij"
  Timer Timer1;

  void SpeedButton1Click();
  void FormKeyPress(char32_t key);
  void Timer1Timer();
  // Every activation but the one that comes with showing the box closes it.
  void FormActivate();

  // Fills the information text and shows the box modally.
  void showInformation();

 private:
  void closeBox();
  Platform& platform_;
  bool showingActivation_ = false;
};

// "O programie".
void showAbout(Program& program);
// The start-up display at the main window's first activation: 5 s, then 25 s for later showings.
void showAboutAtStartup(Program& program);

}  // namespace merilon
