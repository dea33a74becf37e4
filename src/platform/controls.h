// Controls as plain data. A window of the system holds its controls as values under their own
// names; handlers read and write them, and a front end mirrors them into real widgets.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

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

// A multi-line plain-text editor holding its lines. Every change bumps the revision, so a view
// copies a large text into its widget only when it really changed. A command that reads the lines
// for a long time takes a snapshot: later changes copy the lines first, leaving the snapshot as it
// was.
class Memo : public Control {
 public:
  using Lines = std::vector<std::string>;

  const Lines& lines() const { return *lines_; }
  std::shared_ptr<const Lines> snapshot() const { return lines_; }
  std::size_t lineCount() const { return lines_->size(); }
  std::string_view line(std::size_t i) const { return (*lines_)[i]; }
  void setLines(Lines lines) {
    lines_ = std::make_shared<Lines>(std::move(lines));
    replacedRevision_ = ++revision_;
  }
  void appendLine(std::string line) {
    writable().push_back(std::move(line));
    ++revision_;
  }
  void appendLines(const Lines& more) {
    Lines& lines = writable();
    lines.insert(lines.end(), more.begin(), more.end());
    ++revision_;
  }
  void clear() {
    lines_ = std::make_shared<Lines>();
    replacedRevision_ = ++revision_;
  }
  std::uint64_t revision() const { return revision_; }
  // The revision of the last change that was not an append.
  std::uint64_t replacedRevision() const { return replacedRevision_; }

  bool readOnly = true;

 private:
  Lines& writable() {
    if (lines_.use_count() > 1) lines_ = std::make_shared<Lines>(*lines_);
    return *lines_;
  }
  std::shared_ptr<Lines> lines_ = std::make_shared<Lines>();
  std::uint64_t revision_ = 0;
  std::uint64_t replacedRevision_ = 0;
};

}  // namespace merilon
