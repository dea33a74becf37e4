#include "alignment/section_viewer.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "alignment/section_sheet.h"
#include "platform/busy_cursor.h"
#include "platform/number_text.h"
#include "platform/printer.h"
#include "platform/text_file.h"
#include "points/no_value.h"
#include "points/numeric_helpers.h"
#include "points/record_parser.h"

namespace merilon {
namespace {

constexpr Rgb kBlack{0, 0, 0};
// Room around the picture on the surface.
constexpr int kSurfaceMargin = 12;
// A factor above this stretches a metre of height beyond any screen.
constexpr double kLargestFactor = 1000;

std::string lineText(int line) { return "wiersz " + formatInt(line); }

}  // namespace

TFormPrzekroje::TFormPrzekroje(Platform& platform) : platform_(platform) {
  Caption = kTitle;
  Button1.caption = "< Poprzedni";
  Button1.hint = "Poprzedni przekrój";
  Button2.caption = "Następny >";
  Button2.hint = "Następny przekrój";
  Label2.caption = "Pikietaż";
  ComboBox1.keyFilter = KeyFilter::Decimal;
  ComboBox1.hint = "Wybór przekroju według pikietażu";
  RadioButton1.caption = "Skala pionowa równa poziomej";
  RadioButton1.checked = true;
  RadioButton2.caption = "Przewyższenie pionowe";
  ComboBox2.items = {"2", "5", "10", "20", "50"};
  ComboBox2.text = "10";
  ComboBox2.keyFilter = KeyFilter::Decimal;
  ComboBox2.maxLength = 6;
  Button3.caption = "Drukuj";
  Button3.hint = "Drukowanie pokazanego przekroju";
  Button4.caption = "Zamknij";
  refreshControls();
}

bool TFormPrzekroje::openFile(const std::filesystem::path& file) {
  const std::string name = file.string();
  std::vector<std::string> lines;
  std::string error;
  if (!readCp1250Lines(file, lines, error)) {
    showMessage(platform_, MessageIcon::Error, MessageButtons::Ok, kTitle,
                "Nie można odczytać pliku " + name + ": " + error);
    return false;
  }
  RecordParser parser;
  CrossSectionText text = readCrossSectionText(lines, parser);
  if (text.sections.empty()) {
    std::string message = "Plik " + name + " nie zawiera przekrojów poprzecznych terenu";
    if (text.problemLine > 0)
      message += " (" + lineText(text.problemLine) + ": " + text.problem + ")";
    showMessage(platform_, MessageIcon::Error, MessageButtons::Ok, kTitle, message);
    return false;
  }
  if (text.problemLine > 0) {
    showMessage(platform_, MessageIcon::Warning, MessageButtons::Ok, kTitle,
                "Plik " + name + ", " + lineText(text.problemLine) + ": " + text.problem +
                    ". Pokazano przekroje wczytane do tego miejsca: " +
                    formatInt(static_cast<long long>(text.sections.size())) + ".");
  }
  text_ = std::move(text);
  fileName_ = name;
  Label1.caption = name;
  ComboBox1.items.clear();
  for (const TerSection& s : text_.sections) ComboBox1.items.push_back(formatFixed(s.chainage, 2));
  current_ = -1;
  show(0);
  return true;
}

void TFormPrzekroje::show(int index) {
  const int n = static_cast<int>(text_.sections.size());
  if (n == 0) {
    current_ = -1;
  } else {
    current_ = std::clamp(index, 0, n - 1);
    ComboBox1.text = ComboBox1.items[static_cast<std::size_t>(current_)];
  }
  refreshControls();
}

void TFormPrzekroje::refreshControls() {
  const int n = static_cast<int>(text_.sections.size());
  Button1.enabled = current_ > 0;
  Button2.enabled = current_ >= 0 && current_ < n - 1;
  ComboBox1.enabled = n > 0;
  Button3.enabled = current_ >= 0;
  RadioButton2.checked = !RadioButton1.checked;
  ComboBox2.enabled = RadioButton2.checked;
}

void TFormPrzekroje::Button1Click() {
  if (current_ > 0) show(current_ - 1);
}

void TFormPrzekroje::Button2Click() {
  if (current_ >= 0) show(current_ + 1);
}

void TFormPrzekroje::ComboBox1Change() {
  const double wanted = parseFloatText(ComboBox1.text);
  if (wanted == NO_VALUE_F || text_.sections.empty()) return;
  // The nearest chainage; of two equally near, the first.
  int best = 0;
  for (int k = 1; k < static_cast<int>(text_.sections.size()); ++k) {
    const double d = std::fabs(text_.sections[static_cast<std::size_t>(k)].chainage - wanted);
    const double b = std::fabs(text_.sections[static_cast<std::size_t>(best)].chainage - wanted);
    if (d < b) best = k;
  }
  show(best);
}

void TFormPrzekroje::RadioButton1Click() {
  RadioButton1.checked = true;
  refreshControls();
}

void TFormPrzekroje::RadioButton2Click() {
  RadioButton1.checked = false;
  refreshControls();
}

void TFormPrzekroje::ComboBox2Change() {
  const double f = parseFloatText(ComboBox2.text);
  if (f > 1 && f <= kLargestFactor) factor_ = f;
}

double TFormPrzekroje::exaggeration() const { return RadioButton1.checked ? 1 : factor_; }

void TFormPrzekroje::Button3Click() {
  if (current_ < 0) return;
  Printer* printer = platform_.printer();
  if (!printer) {
    showMessage(platform_, MessageIcon::Error, MessageButtons::Ok, kTitle, "Brak drukarki");
    return;
  }
  if (beforePrint) beforePrint();
  // A section is wide and low: landscape fills the page.
  printer->setOrientation(PageOrientation::Landscape);
  if (!printer->showPrintDialog()) return;
  Canvas* page = printer->beginDocument(kTitle);
  bool printed = page != nullptr;
  if (page) {
    BusyCursor busy(platform_);
    printShownSection(*page);
    printed = printer->endDocument();
  }
  if (!printed) {
    showMessage(platform_, MessageIcon::Error, MessageButtons::Ok, kTitle,
                "Nie udało się wydrukować przekroju");
  }
}

void TFormPrzekroje::Button4Click() { platform_.closeForm(*this); }

void TFormPrzekroje::FormKeyDown(Key key) {
  if (current_ < 0) return;
  switch (key) {
    case Key::First:
      return show(0);
    case Key::Last:
      return show(static_cast<int>(text_.sections.size()) - 1);
    case Key::Previous:
      return Button1Click();
    case Key::Next:
      return Button2Click();
  }
}

void TFormPrzekroje::paint(Canvas& c) {
  c.setPen(kBlack, 1, PenStyle::Invisible);
  c.setBrush(Rgb{255, 255, 255}, true);
  c.rectangle(0, 0, c.width() + 1, c.height() + 1);
  geometry_ = SectionPictureGeometry{};
  if (current_ < 0) return;
  SectionPictureOptions options;
  options.exaggeration = exaggeration();
  const SectionFrame frame{kSurfaceMargin, kSurfaceMargin, c.width() - 2 * kSurfaceMargin,
                           c.height() - 2 * kSurfaceMargin};
  geometry_ =
      drawSectionPicture(c, text_.sections[static_cast<std::size_t>(current_)], frame, options);
}

void TFormPrzekroje::printShownSection(Canvas& page) {
  if (current_ < 0) return;
  SectionSheetPage p;
  p.heading = std::string(kTitle) + ": " + std::filesystem::path(fileName_).filename().string();
  p.exaggeration = exaggeration();
  p.sections = {&text_.sections[static_cast<std::size_t>(current_)]};
  p.rows = 1;
  drawSectionSheetPage(page, p);
}

}  // namespace merilon
