// The one place where numbers become text and text becomes numbers. Always "." as decimal
// point and no thousands separator, whatever the process locale.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace merilon {

// Fixed-decimal form ("%.Nf"): the value is first taken to 15 significant digits and then
// rounded half away from zero to `decimals` places, so 112.345 with two decimals is "112.35".
// `decimals` is clamped to 0..15.
std::string formatFixed(double value, int decimals);

// The same text as formatFixed, appended to `out` without allocating: for writers of large files.
void appendFixed(std::string& out, double value, int decimals);

// General form: rounded to 15 significant digits, no trailing zeros, no decimal point for whole
// values; scientific form ("1.5E-6", "1E15") for magnitudes of 10^15 or more or below 0.00001.
std::string formatGeneral(double value);

// Plain decimal integer.
std::string formatInt(long long value);

// The general form and the integer appended to `out`, for writers of many numbers.
void appendGeneral(std::string& out, double value);
void appendInt(std::string& out, long long value);

// Whole text (after trimming blanks and tabs) as a finite number with optional sign, decimals and
// exponent; nothing when it does not convert.
std::optional<double> parseDouble(std::string_view text);

// A number as the program's own files hold it: as parseDouble, and also the text that rounding
// the largest finite number (or one near it) to 15 significant digits gives,
// "1.79769313486232E308": it is read as that largest number, so that every saved value reads
// back. Larger magnitudes still do not convert.
std::optional<double> parseSavedDouble(std::string_view text);

// Whole text (after trimming) as a signed 32-bit integer; nothing when it does not convert.
std::optional<std::int32_t> parseInt32(std::string_view text);

// Text with surrounding blanks (spaces, tabs, line ends) removed.
std::string_view trimBlanks(std::string_view text);

}  // namespace merilon
