// Lines of text held in one block with the offsets of their starts: a million lines of a survey
// file cost the text and one offset each, not a million separate strings.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace merilon {

class TextLines {
 public:
  TextLines() = default;
  explicit TextLines(const std::vector<std::string>& lines);
  // Takes a block in which every line, the last one too, ends with "\n".
  static TextLines fromText(std::string text);

  std::size_t size() const { return starts_.size() - 1; }
  bool empty() const { return size() == 0; }
  // Line i without its line end.
  std::string_view operator[](std::size_t i) const {
    return std::string_view(text_.data() + starts_[i], starts_[i + 1] - starts_[i] - 1);
  }
  std::string_view back() const { return (*this)[size() - 1]; }

  void push_back(std::string_view line);
  void reserve(std::size_t lines, std::size_t bytes);
  std::vector<std::string> toVector() const;

  bool operator==(const TextLines& other) const { return text_ == other.text_; }

 private:
  std::string text_;                       // every line followed by "\n"
  std::vector<std::size_t> starts_ = {0};  // start of each line, and the end of the text
};

}  // namespace merilon
