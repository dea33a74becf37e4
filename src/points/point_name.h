// A point's name as the store keeps it: a length and up to 16 single-byte characters of code
// page 1250, so that a name's limit counts characters, not UTF-8 bytes.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace merilon {

struct PointName {
  static constexpr std::size_t kMaxLength = 16;
  std::uint8_t length = 0;
  std::array<char, kMaxLength> bytes{};

  // From UTF-8 text, cut to its first 16 characters.
  static PointName fromText(std::string_view utf8);
  // From code page 1250 bytes, cut to 16.
  static PointName fromBytes(std::string_view cp1250);

  std::string text() const;  // UTF-8
  std::string_view raw() const { return std::string_view(bytes.data(), length); }
  bool empty() const { return length == 0; }
};

}  // namespace merilon
