#include "help/rich_text.h"

#include <cctype>
#include <charconv>
#include <optional>

#include "platform/cp1250.h"

namespace merilon {
namespace {

int hexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Control words that open a group whose text is not part of the document.
bool isDestination(std::string_view word) {
  static constexpr std::string_view kSkipped[] = {
      "fonttbl",      "colortbl",  "stylesheet", "info",
      "pict",         "header",    "footer",     "headerl",
      "headerr",      "footerl",   "footerr",    "footnote",
      "object",       "generator", "listtable",  "listoverridetable",
      "rsidtbl",      "xmlnstbl",  "themedata",  "datastore",
      "latentstyles", "fldinst",   "template",   "filetbl",
      "revtbl"};
  for (auto s : kSkipped) {
    if (word == s) return true;
  }
  return false;
}

struct GroupState {
  bool bold = false;
  bool italic = false;
  bool skip = false;    // inside a destination that is not shown
  int unicodeSkip = 1;  // characters that follow \uN as its fallback (\ucN)
};

class RtfReader {
 public:
  explicit RtfReader(std::string_view rtf) : rtf_(rtf) {}

  RichText read() {
    states_.push_back(GroupState{});
    while (pos_ < rtf_.size()) {
      const char c = rtf_[pos_++];
      switch (c) {
        case '{':
          states_.push_back(states_.back());
          groupStart_ = true;
          continue;
        case '}':
          if (states_.size() > 1) states_.pop_back();
          break;
        case '\\':
          controlSymbolOrWord();
          break;
        case '\r':
        case '\n':
          continue;  // line ends of the source are not text (nor the end of a group's start)
        default:
          if (pendingFallback_ > 0) {
            --pendingFallback_;
          } else {
            addByte(c);
          }
          break;
      }
      groupStart_ = false;
    }
    endParagraph(/*force=*/false);
    return std::move(result_);
  }

 private:
  GroupState& state() { return states_.back(); }

  void addText(const std::string& utf8) {
    if (state().skip || utf8.empty()) return;
    auto& runs = paragraph_.runs;
    if (runs.empty() || runs.back().bold != state().bold || runs.back().italic != state().italic) {
      runs.push_back(TextRun{"", state().bold, state().italic});
    }
    runs.back().text += utf8;
    paragraphOpen_ = true;
  }

  void addByte(char c) {
    const auto u = static_cast<unsigned char>(c);
    addText(u < 0x80 ? std::string(1, c) : decodeCp1250(std::string_view(&c, 1)));
  }

  void endParagraph(bool force) {
    if (state().skip) return;
    if (force || paragraphOpen_) result_.paragraphs.push_back(std::move(paragraph_));
    paragraph_ = RichParagraph{};
    paragraphOpen_ = false;
  }

  void controlSymbolOrWord() {
    if (pos_ >= rtf_.size()) return;
    const char c = rtf_[pos_];
    if (!std::isalpha(static_cast<unsigned char>(c))) {
      ++pos_;
      switch (c) {
        case '\\':
        case '{':
        case '}':
          addByte(c);
          break;
        case '\'': {
          // A byte of the document's code page written in hexadecimal.
          if (pos_ + 1 < rtf_.size()) {
            const int hi = hexValue(rtf_[pos_]);
            const int lo = hexValue(rtf_[pos_ + 1]);
            if (hi >= 0 && lo >= 0) {
              pos_ += 2;
              if (pendingFallback_ > 0) {
                --pendingFallback_;
              } else {
                addByte(static_cast<char>(hi * 16 + lo));
              }
            }
          }
          break;
        }
        case '~':
          addText("\xC2\xA0");
          break;
        case '_':
          addText("-");
          break;
        case '*':
          // {\* ...}: an optional destination this reader does not know.
          state().skip = true;
          break;
        case '\r':
        case '\n':
          endParagraph(true);  // "\" before a line end is \par
          break;
        default:
          break;  // \- (optional hyphen), \| and the like show nothing
      }
      return;
    }
    const std::size_t wordStart = pos_;
    while (pos_ < rtf_.size() && std::isalpha(static_cast<unsigned char>(rtf_[pos_]))) ++pos_;
    const std::string_view word = rtf_.substr(wordStart, pos_ - wordStart);
    std::optional<int> parameter;
    const std::size_t numberStart = pos_;
    if (pos_ < rtf_.size() && rtf_[pos_] == '-') ++pos_;
    while (pos_ < rtf_.size() && std::isdigit(static_cast<unsigned char>(rtf_[pos_]))) ++pos_;
    if (pos_ > numberStart) {
      int value = 0;
      const auto r = std::from_chars(rtf_.data() + numberStart, rtf_.data() + pos_, value);
      if (r.ec == std::errc()) parameter = value;
    }
    if (pos_ < rtf_.size() && rtf_[pos_] == ' ') ++pos_;  // the delimiter belongs to the word
    controlWord(word, parameter);
  }

  void controlWord(std::string_view word, std::optional<int> parameter) {
    const bool on = !parameter || *parameter != 0;
    if (groupStart_ && isDestination(word)) {
      state().skip = true;
    } else if (word == "par" || word == "line") {
      endParagraph(true);
    } else if (word == "b") {
      state().bold = on;
    } else if (word == "i") {
      state().italic = on;
    } else if (word == "plain") {
      state().bold = false;
      state().italic = false;
    } else if (word == "tab") {
      addText("\t");
    } else if (word == "emdash") {
      addText("\xE2\x80\x94");
    } else if (word == "endash") {
      addText("\xE2\x80\x93");
    } else if (word == "bullet") {
      addText("\xE2\x80\xA2");
    } else if (word == "lquote" || word == "rquote") {
      addText("'");
    } else if (word == "ldblquote" || word == "rdblquote") {
      addText("\"");
    } else if (word == "uc" && parameter) {
      state().unicodeSkip = *parameter;
    } else if (word == "u" && parameter) {
      long long code = *parameter;
      if (code < 0) code += 65536;
      // Beyond Unicode, negative beyond 16 bits or a lone surrogate: no character of its own.
      if (code < 0 || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) code = 0xFFFD;
      if (!state().skip) {
        std::string utf8;
        appendUtf8(utf8, static_cast<char32_t>(code));
        addText(utf8);
      }
      pendingFallback_ = state().unicodeSkip;
    }
    // Every other control word is formatting this viewer does not keep.
  }

  std::string_view rtf_;
  std::size_t pos_ = 0;
  std::vector<GroupState> states_;
  RichText result_;
  RichParagraph paragraph_;
  bool paragraphOpen_ = false;
  bool groupStart_ = false;
  int pendingFallback_ = 0;
};

}  // namespace

std::string RichText::plainText() const {
  std::string text;
  for (std::size_t p = 0; p < paragraphs.size(); ++p) {
    if (p > 0) text += '\n';
    for (const auto& run : paragraphs[p].runs) text += run.text;
  }
  return text;
}

RichText readRtf(std::string_view rtf) { return RtfReader(rtf).read(); }

}  // namespace merilon
