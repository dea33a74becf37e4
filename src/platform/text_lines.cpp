#include "platform/text_lines.h"

#include <algorithm>
#include <cstring>

#include "platform/memory_advice.h"

namespace merilon {

TextLines::TextLines(const std::vector<std::string>& lines) {
  std::size_t bytes = 0;
  for (const auto& l : lines) bytes += l.size() + 1;
  reserve(lines.size(), bytes);
  for (const auto& l : lines) push_back(l);
}

TextLines TextLines::fromText(std::string text) {
  if (!text.empty() && text.back() != '\n') text.push_back('\n');
  TextLines lines;
  lines.starts_.reserve(static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')) + 1);
  adviseHugePagesIfLarge(lines.starts_.data(), lines.starts_.capacity() * sizeof(std::size_t));
  const char* d = text.data();
  const char* end = d + text.size();
  for (const char* p = d; p < end;) {
    p = static_cast<const char*>(std::memchr(p, '\n', static_cast<std::size_t>(end - p))) + 1;
    lines.starts_.push_back(static_cast<std::size_t>(p - d));
  }
  lines.text_ = std::move(text);
  return lines;
}

void TextLines::push_back(std::string_view line) {
  text_.append(line);
  text_.push_back('\n');
  starts_.push_back(text_.size());
}

void TextLines::reserve(std::size_t lines, std::size_t bytes) {
  text_.reserve(bytes);
  starts_.reserve(lines + 1);
  adviseHugePagesIfLarge(text_.data(), text_.capacity());
  adviseHugePagesIfLarge(starts_.data(), starts_.capacity() * sizeof(std::size_t));
}

std::vector<std::string> TextLines::toVector() const {
  std::vector<std::string> out;
  out.reserve(size());
  for (std::size_t i = 0; i < size(); ++i) out.emplace_back((*this)[i]);
  return out;
}

}  // namespace merilon
