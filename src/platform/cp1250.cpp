#include "platform/cp1250.h"

#include <array>
#include <cstdint>
#include <cstring>

namespace merilon {
namespace {

// Code points of bytes 0x80..0xFF. The five bytes the code page leaves undefined map to the C1
// control of the same value, which keeps the codec lossless.
constexpr std::array<char32_t, 128> kHighHalf = {
    0x20AC, 0x0081, 0x201A, 0x0083, 0x201E, 0x2026, 0x2020, 0x2021,  // 80
    0x0088, 0x2030, 0x0160, 0x2039, 0x015A, 0x0164, 0x017D, 0x0179,  // 88
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90
    0x0098, 0x2122, 0x0161, 0x203A, 0x015B, 0x0165, 0x017E, 0x017A,  // 98
    0x00A0, 0x02C7, 0x02D8, 0x0141, 0x00A4, 0x0104, 0x00A6, 0x00A7,  // A0
    0x00A8, 0x00A9, 0x015E, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x017B,  // A8
    0x00B0, 0x00B1, 0x02DB, 0x0142, 0x00B4, 0x00B5, 0x00B6, 0x00B7,  // B0
    0x00B8, 0x0105, 0x015F, 0x00BB, 0x013D, 0x02DD, 0x013E, 0x017C,  // B8
    0x0154, 0x00C1, 0x00C2, 0x0102, 0x00C4, 0x0139, 0x0106, 0x00C7,  // C0
    0x010C, 0x00C9, 0x0118, 0x00CB, 0x011A, 0x00CD, 0x00CE, 0x010E,  // C8
    0x0110, 0x0143, 0x0147, 0x00D3, 0x00D4, 0x0150, 0x00D6, 0x00D7,  // D0
    0x0158, 0x016E, 0x00DA, 0x0170, 0x00DC, 0x00DD, 0x0162, 0x00DF,  // D8
    0x0155, 0x00E1, 0x00E2, 0x0103, 0x00E4, 0x013A, 0x0107, 0x00E7,  // E0
    0x010D, 0x00E9, 0x0119, 0x00EB, 0x011B, 0x00ED, 0x00EE, 0x010F,  // E8
    0x0111, 0x0144, 0x0148, 0x00F3, 0x00F4, 0x0151, 0x00F6, 0x00F7,  // F0
    0x0159, 0x016F, 0x00FA, 0x0171, 0x00FC, 0x00FD, 0x0163, 0x02D9,  // F8
};

// Decodes one UTF-8 sequence at s[i]; returns its length, 0 when it is not well formed.
std::size_t decodeUtf8At(std::string_view s, std::size_t i, char32_t& cp) {
  const auto b0 = static_cast<unsigned char>(s[i]);
  if (b0 < 0x80) {
    cp = b0;
    return 1;
  }
  std::size_t len = 0;
  char32_t min = 0;
  if ((b0 & 0xE0) == 0xC0) {
    len = 2, cp = b0 & 0x1F, min = 0x80;
  } else if ((b0 & 0xF0) == 0xE0) {
    len = 3, cp = b0 & 0x0F, min = 0x800;
  } else if ((b0 & 0xF8) == 0xF0) {
    len = 4, cp = b0 & 0x07, min = 0x10000;
  } else {
    return 0;
  }
  if (i + len > s.size()) return 0;
  for (std::size_t k = 1; k < len; ++k) {
    const auto b = static_cast<unsigned char>(s[i + k]);
    if ((b & 0xC0) != 0x80) return 0;
    cp = (cp << 6) | (b & 0x3F);
  }
  if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
  return len;
}

int encodeCodePoint(char32_t cp) {
  if (cp < 0x80) return static_cast<int>(cp);
  // Every code point of the upper half lies below U+2200: one table lookup per character.
  static const auto kByteOf = [] {
    std::array<std::uint8_t, 0x2200> table{};
    for (int k = 0; k < 128; ++k) table[kHighHalf[k]] = static_cast<std::uint8_t>(0x80 + k);
    return table;
  }();
  if (cp >= kByteOf.size() || kByteOf[cp] == 0) return -1;
  return kByteOf[cp];
}

}  // namespace

std::string decodeCp1250(std::string_view bytes) {
  if (isAscii(bytes)) return std::string(bytes);
  std::string out;
  out.reserve(bytes.size() + bytes.size() / 4);
  for (char c : bytes) {
    const auto b = static_cast<unsigned char>(c);
    if (b < 0x80) {
      out.push_back(c);
    } else {
      appendUtf8(out, kHighHalf[b - 0x80]);
    }
  }
  return out;
}

std::string encodeCp1250(std::string_view utf8) {
  if (isAscii(utf8)) return std::string(utf8);
  std::string out;
  out.reserve(utf8.size());
  for (std::size_t i = 0; i < utf8.size();) {
    char32_t cp = 0;
    const std::size_t len = decodeUtf8At(utf8, i, cp);
    if (len == 0) {
      out.push_back(utf8[i]);
      ++i;
      continue;
    }
    const int b = encodeCodePoint(cp);
    out.push_back(b < 0 ? '?' : static_cast<char>(b));
    i += len;
  }
  return out;
}

bool isValidUtf8(std::string_view bytes) {
  for (std::size_t i = 0; i < bytes.size();) {
    char32_t cp = 0;
    const std::size_t len = decodeUtf8At(bytes, i, cp);
    if (len == 0) return false;
    i += len;
  }
  return true;
}

namespace {

// The length of the run of ASCII bytes at the start, eight at a time.
std::size_t asciiPrefix(std::string_view bytes) {
  std::size_t i = 0;
  for (; i + 8 <= bytes.size(); i += 8) {
    std::uint64_t w;
    std::memcpy(&w, bytes.data() + i, 8);
    if (w & 0x8080808080808080ull) break;
  }
  while (i < bytes.size() && static_cast<unsigned char>(bytes[i]) < 0x80) ++i;
  return i;
}

// Characters a Polish survey file holds beyond ASCII: Latin-1 and Latin Extended-A letters and
// signs, the spacing accents of code page 1250, general punctuation (dashes, quotes, ellipsis,
// bullet, per mille), the euro and trade mark signs.
bool plausibleInSurveyText(char32_t cp) {
  return (cp >= 0xA0 && cp <= 0x17F) || cp == 0x2C7 || (cp >= 0x2D8 && cp <= 0x2DD) ||
         (cp >= 0x2010 && cp <= 0x2027) || cp == 0x2030 || cp == 0x2039 || cp == 0x203A ||
         cp == 0x20AC || cp == 0x2116 || cp == 0x2122;
}

}  // namespace

bool isUserTextUtf8(std::string_view bytes) {
  if (bytes.starts_with("\xEF\xBB\xBF")) return true;
  bool nonAscii = false;
  for (std::size_t i = 0; i < bytes.size();) {
    if (static_cast<unsigned char>(bytes[i]) < 0x80) {
      i += asciiPrefix(bytes.substr(i));
      continue;
    }
    char32_t cp = 0;
    const std::size_t len = decodeUtf8At(bytes, i, cp);
    if (len == 0 || !plausibleInSurveyText(cp)) return false;
    nonAscii = true;
    i += len;
  }
  return nonAscii;
}

std::string repairUtf8(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size());
  for (std::size_t i = 0; i < bytes.size();) {
    char32_t cp = 0;
    const std::size_t len = decodeUtf8At(bytes, i, cp);
    if (len == 0) {
      appendUtf8(out, kHighHalf[static_cast<unsigned char>(bytes[i]) - 0x80]);
      ++i;
    } else {
      out.append(bytes.substr(i, len));
      i += len;
    }
  }
  return out;
}

bool isAscii(std::string_view bytes) { return asciiPrefix(bytes) == bytes.size(); }

std::size_t utf8Length(std::string_view utf8) {
  std::size_t n = 0;
  for (char c : utf8) {
    if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++n;
  }
  return n;
}

std::string utf8Prefix(std::string_view utf8, std::size_t count) {
  std::size_t n = 0;
  for (std::size_t i = 0; i < utf8.size(); ++i) {
    if ((static_cast<unsigned char>(utf8[i]) & 0xC0) != 0x80) {
      if (n == count) return std::string(utf8.substr(0, i));
      ++n;
    }
  }
  return std::string(utf8);
}

std::string upperCase(std::string_view utf8) {
  // Going through the code page keeps the mapping small: the upper-case partner of a Central
  // European letter is found in the table itself.
  std::string out;
  out.reserve(utf8.size());
  for (std::size_t i = 0; i < utf8.size();) {
    char32_t cp = 0;
    std::size_t len = decodeUtf8At(utf8, i, cp);
    if (len == 0) {
      out.push_back(utf8[i]);
      ++i;
      continue;
    }
    char32_t up = cp;
    if (cp >= U'a' && cp <= U'z') {
      up = cp - 32;
    } else if ((cp >= 0xE0 && cp <= 0xFE && cp != 0xF7)) {
      up = cp - 32;
    } else if (cp >= 0x100 && cp <= 0x17F) {
      // Latin Extended-A pairs: even upper/odd lower, except the ranges 0x139..0x148 and
      // 0x179..0x17E where the pairs start on an odd code point.
      const bool oddPairs = (cp >= 0x139 && cp <= 0x148) || (cp >= 0x179 && cp <= 0x17E);
      if (oddPairs ? (cp % 2 == 0) : (cp % 2 == 1)) up = cp - 1;
    }
    appendUtf8(out, up);
    i += len;
  }
  return out;
}

void appendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

}  // namespace merilon
