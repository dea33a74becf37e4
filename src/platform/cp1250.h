// The code page 1250 codec: every file the program reads or writes is single-byte text in this
// code page, decoded to UTF-8 in memory. All 256 byte values map to a code point, so a file read
// and written back is byte-identical.
#pragma once

#include <string>
#include <string_view>

namespace merilon {

// Decodes single-byte code page 1250 text to UTF-8.
std::string decodeCp1250(std::string_view bytes);

// Encodes UTF-8 text to code page 1250. A character the code page cannot hold becomes "?";
// invalid UTF-8 bytes are taken as code page 1250 bytes of their own.
std::string encodeCp1250(std::string_view utf8);

// True when the text is well-formed UTF-8.
bool isValidUtf8(std::string_view bytes);

// True when every byte is below 0x80.
bool isAscii(std::string_view bytes);

// Number of characters (code points) in UTF-8 text.
std::size_t utf8Length(std::string_view utf8);

// The first `count` characters of UTF-8 text.
std::string utf8Prefix(std::string_view utf8, std::size_t count);

// Upper case of UTF-8 text for the letters of code page 1250 (ASCII and Polish and other
// Central European letters), so that comparisons do not depend on the process locale.
std::string upperCase(std::string_view utf8);

}  // namespace merilon
