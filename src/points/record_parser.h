// The one shared splitter of a line into numbered fields by a one-character separator. Every
// reader of the program's own text files uses it.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace merilon {

class RecordParser {
 public:
  static constexpr int kTableSize = 400;

  // The line being split (UTF-8) and the separator (one character).
  std::string recordLine;
  std::string fieldSeparator = ",";

  // Splits `recordLine`: true when the line is not empty. With the blank as separator, leading
  // blanks and runs of blanks make no empty fields; any other separator makes an empty field for
  // each pair of adjacent separators and for one at either end. A line of 400 or more fields
  // keeps its first 399, since the end marker needs the last slot of the table.
  bool splitRecord();

  int fieldCount() const { return fieldCount_; }
  // 1-based character (byte) position at which field k begins, k = 1..fieldCount + 1.
  int fieldStart(int k) const { return fieldStart_[static_cast<std::size_t>(k)]; }

  // Field k as it stands; empty when k is beyond the fields.
  std::string_view textField(int k) const;
  // Field k trimmed, as a 32-bit integer; NO_VALUE when missing or not an integer.
  std::int32_t intField(int k) const;
  // Field k as a number; NO_VALUE when missing or not a number.
  double floatField(int k) const;
  // The text from the start of field `first` to the end of field `last`, separators included.
  std::string_view fieldSpan(int first, int last) const;

 private:
  std::array<std::int32_t, kTableSize + 1> fieldStart_{};  // index 0 unused
  int fieldCount_ = 0;
  std::size_t separatorLength_ = 1;
  bool endMarkerInside_ = false;  // true when a long line was cut at field 399
};

}  // namespace merilon
