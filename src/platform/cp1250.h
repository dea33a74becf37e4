// The code page 1250 codec: every file the program reads or writes is single-byte text in this
// code page, decoded to UTF-8 in memory. All 256 byte values map to a code point, so a file read
// and written back is byte-identical.
#pragma once

#include <string>
#include <string_view>

namespace merilon {

// Appends a code point as UTF-8.
void appendUtf8(std::string& out, char32_t c);

// Decodes single-byte code page 1250 text to UTF-8.
std::string decodeCp1250(std::string_view bytes);

// Encodes UTF-8 text to code page 1250. A character the code page cannot hold becomes "?";
// invalid UTF-8 bytes are taken as code page 1250 bytes of their own.
std::string encodeCp1250(std::string_view utf8);

// True when the text is well-formed UTF-8.
bool isValidUtf8(std::string_view bytes);

// How a text file brought by the user is read: true (UTF-8) when the bytes open with a UTF-8
// byte-order mark, or are valid UTF-8 holding non-ASCII characters every one of which a Polish
// survey file could hold (Latin letters with diacritics, the no-break space, °, typographic
// quotes and dashes, €, and the like); false (code page 1250) otherwise. Polish capitals in code
// page 1250 often form valid UTF-8 of other scripts ("DÓŁ" is 44 D3 A3, U+04E3).
bool isUserTextUtf8(std::string_view bytes);

// UTF-8 text with every byte that is no part of a well-formed sequence taken as a code page
// 1250 byte of its own.
std::string repairUtf8(std::string_view bytes);

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
