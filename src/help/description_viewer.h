// The program description viewer (TFormtrojpomoc, "Opis programu"): MERI_OPIS.rtf in a read-only
// rich-text editor, with a find dialog whose repeated searches walk the matches downwards.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

#include "help/rich_text.h"
#include "platform/controls.h"
#include "platform/platform.h"

namespace merilon {

class Program;

inline constexpr const char* kDescriptionFile = "MERI_OPIS.rtf";

// The find dialog's state: the text to find and which of its option boxes are shown.
struct FindDialog : Control {
  std::string FindText;
  bool searchDown = true;
  bool matchCaseHidden = false;
  bool wholeWordHidden = false;
  bool open = false;
};

class TFormtrojpomoc : public Form {
 public:
  static constexpr int kMinWidth = 640;
  static constexpr int kMinClientHeight = 400;

  TFormtrojpomoc(Platform& platform, std::filesystem::path programFolder);

  RichEdit RichEdit1;
  Button Button3;  // "Wyszukiwanie"
  Button Button1;  // "Zamknij"
  FindDialog FindDialog1;

  // Geometry kept by FormResize: the window's width and client height, the height of the bottom
  // panel and the left edge and width of "Zamknij".
  int Width = 648;
  int ClientHeight = 470;
  int panelHeight = 41;
  int button1Left = 0;
  int button1Width = 75;

  // Loads the description file when it exists; a missing file leaves the viewer empty.
  void FormCreate();
  void Button3Click();
  // One search step from just after the selection (or from the start), ignoring case.
  void FindDialog1Find();
  void Button1Click();
  void FormResize();

 private:
  Platform& platform_;
  std::filesystem::path programFolder_;
};

// "Opis programu": shows the viewer beside the main window.
void showDescription(Program& program);

}  // namespace merilon
