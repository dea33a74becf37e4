// Small helpers shared by every Part that reads numbers, files and key presses.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "platform/platform.h"

namespace merilon {

// Trimmed text as a number / 32-bit integer; NO_VALUE when empty or not convertible.
double parseFloatText(std::string_view s);
std::int32_t parseIntText(std::string_view s);

// v × 100 (× 1000) rounded to the nearest integer, halves to the even neighbour, divided back.
double round2(double v);
double round3(double v);

// Key filters of number fields: true when the key passes; a swallowed key sounds the beep.
bool decimalKeyFilter(Platform& platform, char32_t key);
bool integerKeyFilter(Platform& platform, char32_t key);

// True when the name is not empty and the file can be opened for reading.
bool fileExists(const std::filesystem::path& name);

// The name without its extension: the text before the last "." of its final component (a dot in
// a folder name is not an extension); the name itself when it has none.
std::string stripExtension(const std::string& name);

// The point at distance d from (x0, y0) in the direction opposite to the angle a.
void polarPoint(double x0, double y0, double a, double d, double& x, double& y);

double pointDistance(double x1, double y1, double x2, double y2);

// The name's extension with its dot, in upper case (".MERI"); empty when it has none.
std::string upperExtension(const std::string& name);

// Asks "Plik: NAME istnieje. Czy mimo to zapisywać?" ("Zapis do pliku", No by default) when
// the file exists; true when it does not exist or the user answered Yes.
bool confirmOverwrite(Platform& platform, const std::string& fileName, MessageIcon icon);

// A modal message box; returns the button pressed.
DialogResult showMessage(Platform& platform, MessageIcon icon, MessageButtons buttons,
                         const std::string& title, const std::string& text,
                         DialogResult defaultButton = DialogResult::Ok);

}  // namespace merilon
