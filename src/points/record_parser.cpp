#include "points/record_parser.h"

#include <cstring>

#include "points/no_value.h"
#include "points/numeric_helpers.h"

namespace merilon {

bool RecordParser::splitRecord() {
  fieldCount_ = 1;
  fieldStart_[1] = 1;
  if (recordLine.empty()) return false;
  const std::string_view line = recordLine;
  const std::string_view sep = fieldSeparator.empty() ? std::string_view(",") : fieldSeparator;
  const bool blank = sep == " ";
  separatorLength_ = sep.size();
  const auto length = static_cast<std::int32_t>(line.size());
  std::size_t from = 0;
  while (true) {
    std::size_t at;
    if (sep.size() == 1) {
      const void* hit = std::memchr(line.data() + from, sep[0], line.size() - from);
      at = hit ? static_cast<std::size_t>(static_cast<const char*>(hit) - line.data())
               : std::string_view::npos;
    } else {
      at = line.find(sep, from);
    }
    if (at == std::string_view::npos) break;
    from = at + sep.size();
    if (blank && (at == 0 || line[at - 1] == ' ')) continue;
    const auto next = static_cast<std::int32_t>(at + sep.size()) + 1;
    if (fieldCount_ + 1 == kTableSize) {
      // No room for a 400th field and its end marker: field 399 ends at this separator.
      fieldStart_[kTableSize] = next;
      fieldCount_ = kTableSize - 1;
      endMarkerInside_ = true;
      return true;
    }
    ++fieldCount_;
    fieldStart_[static_cast<std::size_t>(fieldCount_)] = next;
  }
  fieldStart_[static_cast<std::size_t>(fieldCount_) + 1] = length + 2;
  endMarkerInside_ = false;
  return true;
}

std::string_view RecordParser::fieldSpan(int first, int last) const {
  if (first < 1 || last > fieldCount_ || first > last) return {};
  const auto begin = static_cast<std::size_t>(fieldStart_[static_cast<std::size_t>(first)] - 1);
  // Field k ends just before the separator that precedes field k + 1.
  std::size_t end = static_cast<std::size_t>(fieldStart_[static_cast<std::size_t>(last) + 1]) - 1;
  end -= (last == fieldCount_ && !endMarkerInside_) ? 1 : separatorLength_;
  if (end > recordLine.size()) end = recordLine.size();
  if (end < begin) return {};
  return std::string_view(recordLine).substr(begin, end - begin);
}

std::string_view RecordParser::textField(int k) const {
  if (k < 1 || k > fieldCount_) return {};
  return fieldSpan(k, k);
}

std::int32_t RecordParser::intField(int k) const {
  if (k < 1 || k > fieldCount_) return NO_VALUE;
  return parseIntText(textField(k));
}

double RecordParser::floatField(int k) const {
  if (k < 1 || k > fieldCount_) return NO_VALUE_F;
  return parseFloatText(textField(k));
}

}  // namespace merilon
