// The cross-section viewer "Przekroje poprzeczne terenu" (TFormPrzekroje): the sections of a
// .TER file one at a time, drawn as offset against height with equal or exaggerated vertical
// scale, with previous and next, a drop-down of chainages and a printout of the shown section.
// The drawing window opens it when the road-design program is not in the program folder.
#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>

#include "alignment/cross_section_text.h"
#include "alignment/section_picture.h"
#include "platform/canvas.h"
#include "platform/controls.h"
#include "platform/platform.h"

namespace merilon {

class TFormPrzekroje : public Form {
 public:
  explicit TFormPrzekroje(Platform& platform);

  Label Label1;           // the file's name
  Button Button1;         // "< Poprzedni"
  Button Button2;         // "Następny >"
  Label Label2;           // "Pikietaż"
  ComboBox ComboBox1;     // the chainages of the sections
  CheckBox RadioButton1;  // "Skala pionowa równa poziomej"
  CheckBox RadioButton2;  // "Przewyższenie pionowe"
  ComboBox ComboBox2;     // the exaggeration factor
  Button Button3;         // "Drukuj"
  Button Button4;         // "Zamknij"

  // Reads the sections of a .TER file; a file that cannot be read or holds no section is
  // refused with a message and the viewer keeps what it showed. A file that stops being
  // readable part way shows the sections before that line, with a warning naming it.
  bool openFile(const std::filesystem::path& file);

  // Called as "Drukuj" begins. The printer holds one document at a time, and the drawing
  // window's print at scale may hold one open while it waits for its frame: it is dropped.
  std::function<void()> beforePrint;

  void Button1Click();  // previous section
  void Button2Click();  // next section
  // A chainage chosen, or typed and confirmed: the section nearest to it (of two equally near, the
  // first) is shown and its chainage written into the field.
  void ComboBox1Change();
  void RadioButton1Click();
  void RadioButton2Click();
  void ComboBox2Change();  // a factor typed or chosen; anything but a number above 1 is ignored
  // "Drukuj": the shown section on the printer chosen in the print dialog, on a landscape page.
  void Button3Click();
  void Button4Click();
  // Home, End, Page Up, Page Down and the arrows step through the sections.
  enum class Key { First, Last, Previous, Next };
  void FormKeyDown(Key key);

  // The shown section on the window's surface, fitted to it.
  void paint(Canvas& surface);
  // The shown section on a printer page, at a round scale with its scale bar.
  void printShownSection(Canvas& page);

  const CrossSectionText& sections() const { return text_; }
  // Index into sections().sections of the shown section; -1 when nothing is loaded.
  int current() const { return current_; }
  double exaggeration() const;
  const std::string& fileName() const { return fileName_; }
  // Where the last paint put the section.
  const SectionPictureGeometry& lastGeometry() const { return geometry_; }

  static constexpr const char* kTitle = "Przekroje poprzeczne terenu";

 private:
  void show(int index);
  void refreshControls();
  Platform& platform_;
  CrossSectionText text_;
  std::string fileName_;
  int current_ = -1;
  double factor_ = 10;
  SectionPictureGeometry geometry_;
};

}  // namespace merilon
