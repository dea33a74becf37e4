#include "help/description_viewer.h"

#include <fstream>
#include <iterator>
#include <vector>

#include "platform/cp1250.h"
#include "points/numeric_helpers.h"
#include "shell/program.h"

namespace merilon {
namespace {

// The characters of UTF-8 text, each upper-cased, so that positions count characters.
std::vector<std::string> upperCharacters(std::string_view utf8) {
  std::vector<std::string> chars;
  std::size_t i = 0;
  while (i < utf8.size()) {
    const auto lead = static_cast<unsigned char>(utf8[i]);
    std::size_t n = 1;
    if (lead >= 0xF0) {
      n = 4;
    } else if (lead >= 0xE0) {
      n = 3;
    } else if (lead >= 0xC0) {
      n = 2;
    }
    n = std::min(n, utf8.size() - i);
    chars.push_back(upperCase(utf8.substr(i, n)));
    i += n;
  }
  return chars;
}

}  // namespace

TFormtrojpomoc::TFormtrojpomoc(Platform& platform, std::filesystem::path programFolder)
    : platform_(platform), programFolder_(std::move(programFolder)) {
  Caption = "Opis programu";
  RichEdit1.readOnly = true;
  Button3.caption = "Wyszukiwanie";
  Button1.caption = "Zamknij";
  FormResize();
}

void TFormtrojpomoc::FormCreate() {
  const auto file = programFolder_ / kDescriptionFile;
  if (!fileExists(file)) return;
  std::ifstream in(file, std::ios::binary);
  const std::string rtf((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  RichEdit1.setText(readRtf(rtf));
}

void TFormtrojpomoc::Button3Click() {
  FindDialog1.searchDown = true;
  FindDialog1.matchCaseHidden = true;
  FindDialog1.wholeWordHidden = true;
  FindDialog1.open = true;
}

void TFormtrojpomoc::FindDialog1Find() {
  const auto needle = upperCharacters(FindDialog1.FindText);
  if (needle.empty()) return;
  const auto text = upperCharacters(RichEdit1.text.plainText());
  const std::size_t start = RichEdit1.selLength > 0
                                ? static_cast<std::size_t>(RichEdit1.selStart + RichEdit1.selLength)
                                : 0;
  if (text.size() < needle.size()) return;
  for (std::size_t at = start; at + needle.size() <= text.size(); ++at) {
    if (std::equal(needle.begin(), needle.end(), text.begin() + static_cast<std::ptrdiff_t>(at))) {
      ++RichEdit1.focusRequests;
      RichEdit1.selStart = static_cast<int>(at);
      RichEdit1.selLength = static_cast<int>(needle.size());
      return;
    }
  }
}

void TFormtrojpomoc::Button1Click() {
  FindDialog1.open = false;
  platform_.closeForm(*this);
}

void TFormtrojpomoc::FormResize() {
  if (Width < kMinWidth) Width = kMinWidth;
  if (ClientHeight < kMinClientHeight) ClientHeight = kMinClientHeight;
  RichEdit1.height = ClientHeight - panelHeight - 8;
  button1Left = (Width - button1Width) / 2;
}

void showDescription(Program& program) { program.platform.showModeless(program.Formtrojpomoc); }

}  // namespace merilon
