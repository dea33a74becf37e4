#include "platform/text_lines.h"

namespace merilon {

TextLines::TextLines(const std::vector<std::string>& lines) {
  std::size_t bytes = 0;
  for (const auto& l : lines) bytes += l.size() + 1;
  reserve(lines.size(), bytes);
  for (const auto& l : lines) push_back(l);
}

void TextLines::push_back(std::string_view line) {
  text_.append(line);
  text_.push_back('\n');
  starts_.push_back(text_.size());
}

void TextLines::reserve(std::size_t lines, std::size_t bytes) {
  text_.reserve(bytes);
  starts_.reserve(lines + 1);
}

std::vector<std::string> TextLines::toVector() const {
  std::vector<std::string> out;
  out.reserve(size());
  for (std::size_t i = 0; i < size(); ++i) out.emplace_back((*this)[i]);
  return out;
}

}  // namespace merilon
