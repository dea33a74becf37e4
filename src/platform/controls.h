// Controls as plain data. A window of the system holds its controls as values under their own
// names; handlers read and write them, and a front end mirrors them into real widgets.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/text_lines.h"

namespace merilon {

// Which keys an edit field lets through (the rest are swallowed with a beep).
enum class KeyFilter { None, Integer, Decimal };

struct Control {
  bool enabled = true;
  bool visible = true;
  std::string hint;
};

struct Button : Control {
  std::string caption;
};

struct Label : Control {
  std::string caption;
};

struct CheckBox : Control {
  std::string caption;
  bool checked = false;
};

struct Edit : Control {
  std::string text;
  bool readOnly = false;
  int maxLength = 0;  // 0: no limit
  KeyFilter keyFilter = KeyFilter::None;
};

// An editable drop-down list: free text plus a list of items to choose from.
struct ComboBox : Edit {
  std::vector<std::string> items;
};

struct ProgressBar : Control {
  int minimum = 0;
  int maximum = 100;
  int position = 0;
  int step = 1;
};

struct StatusBar : Control {
  std::string text;
};

// A multi-line plain-text editor holding its lines, in one block (`TextLines`). Every change
// bumps the revision, so a view copies a large text into its widget only when it really changed.
// A command that reads the lines for a long time takes a snapshot: later changes copy the lines
// first, leaving the snapshot as it was.
class Memo : public Control {
 public:
  using Lines = std::vector<std::string>;

  std::size_t lineCount() const { return text_->size(); }
  std::string_view line(std::size_t i) const { return (*text_)[i]; }
  // The lines as separate strings (a copy).
  Lines lines() const { return text_->toVector(); }
  const TextLines& text() const { return *text_; }
  std::shared_ptr<const TextLines> snapshot() const { return text_; }

  void setLines(const Lines& lines) { setText(TextLines(lines)); }
  void setText(TextLines text) {
    text_ = std::make_shared<TextLines>(std::move(text));
    replacedRevision_ = ++revision_;
  }
  void appendLine(std::string_view line) {
    writable().push_back(line);
    ++revision_;
  }
  void appendLines(const Lines& more) {
    TextLines& text = writable();
    for (const auto& l : more) text.push_back(l);
    ++revision_;
  }
  void clear() {
    text_ = std::make_shared<TextLines>();
    replacedRevision_ = ++revision_;
  }
  std::uint64_t revision() const { return revision_; }
  // The revision of the last change that was not an append.
  std::uint64_t replacedRevision() const { return replacedRevision_; }

  bool readOnly = true;

 private:
  TextLines& writable() {
    if (text_.use_count() > 1) text_ = std::make_shared<TextLines>(*text_);
    return *text_;
  }
  std::shared_ptr<TextLines> text_ = std::make_shared<TextLines>();
  std::uint64_t revision_ = 0;
  std::uint64_t replacedRevision_ = 0;
};

}  // namespace merilon
