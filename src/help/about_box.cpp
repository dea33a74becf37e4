#include "help/about_box.h"

#include "shell/program.h"

namespace merilon {

std::string aboutText() {
  return "MERILON\n"
         "Przygotowanie danych pomiarowych:\n"
         "punkty, przekroje poprzeczne terenu, rysunki DXF\n"
         "Moduł systemu projektowania dróg VORDA\n"
         "Opracowanie: Pracownia Oprogramowania Drogowego\n"
         "Wszelkie prawa zastrzeżone\n"
         "Wersja 1.0";
}

TFormMERIInfo::TFormMERIInfo(Platform& platform) : platform_(platform) {
  Caption = "Program MERILON - podstawowe informacje";
  Image1 = ":/merilon/about.svg";
  Label2.caption = "Dane z pomiaru prosto do projektu drogi";
  SpeedButton1.caption = "Zamknij";
  Timer1.interval = kAboutInterval;
}

void TFormMERIInfo::closeBox() {
  if (!visible) return;
  platform_.closeForm(*this);
}

void TFormMERIInfo::SpeedButton1Click() { closeBox(); }

void TFormMERIInfo::FormKeyPress(char32_t) { closeBox(); }

void TFormMERIInfo::Timer1Timer() { closeBox(); }

void TFormMERIInfo::FormActivate() {
  if (showingActivation_) {
    showingActivation_ = false;
    return;
  }
  Timer1Timer();
}

void TFormMERIInfo::showInformation() {
  Label1.caption = aboutText();
  showingActivation_ = true;
  platform_.showModal(*this);
  showingActivation_ = false;
}

void showAbout(Program& program) { program.FormMERIInfo.showInformation(); }

void showAboutAtStartup(Program& program) {
  program.FormMERIInfo.Timer1.interval = kAboutStartupInterval;
  program.FormMERIInfo.showInformation();
  program.FormMERIInfo.Timer1.interval = kAboutInterval;
}

}  // namespace merilon
