#include "platform/number_text.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>

namespace merilon {
namespace {

struct Decimal {
  bool negative = false;
  std::string digits;  // significant digits, no leading zeros unless the value is 0
  int exponent = 0;    // value = 0.d1d2d3... × 10^exponent
};

// The value correctly rounded to 15 significant digits.
Decimal toFifteenDigits(double value) {
  Decimal d;
  char buf[64];
  auto res = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::scientific, 14);
  std::string_view s(buf, static_cast<std::size_t>(res.ptr - buf));
  if (!s.empty() && s[0] == '-') {
    d.negative = true;
    s.remove_prefix(1);
  }
  const auto e = s.find('e');
  d.digits.push_back(s[0]);
  for (char c : s.substr(2, e - 2)) d.digits.push_back(c);
  int exp10 = 0;
  std::string_view es = s.substr(e + 1);
  if (!es.empty() && es[0] == '+') es.remove_prefix(1);
  std::from_chars(es.data(), es.data() + es.size(), exp10);
  d.exponent = exp10 + 1;
  while (d.digits.size() > 1 && d.digits.back() == '0') d.digits.pop_back();
  if (d.digits == "0") {
    d.exponent = 1;
  }
  return d;
}

}  // namespace

std::string formatFixed(double value, int decimals) {
  if (decimals < 0) decimals = 0;
  if (decimals > 15) decimals = 15;
  if (!std::isfinite(value)) return std::isnan(value) ? "NAN" : (value < 0 ? "-INF" : "INF");
  Decimal d = toFifteenDigits(value);
  // Digits before the point and the decimals, as one digit string to be rounded.
  std::string intPart;
  std::string frac;
  for (int k = 0; k < d.exponent; ++k) {
    intPart.push_back(k < static_cast<int>(d.digits.size()) ? d.digits[k] : '0');
  }
  if (intPart.empty()) intPart = "0";
  // Fraction digits: positions exponent, exponent+1, ... of the digit string.
  std::string allFrac;
  for (int k = 0; k < decimals + 1; ++k) {
    const int idx = d.exponent + k;
    allFrac.push_back(idx >= 0 && idx < static_cast<int>(d.digits.size()) ? d.digits[idx] : '0');
  }
  // A value below 1 with leading zeros after the point: the index above is negative for them.
  frac = allFrac.substr(0, decimals);
  const bool roundUp = allFrac[decimals] >= '5';
  std::string number = intPart + frac;
  if (roundUp) {
    int k = static_cast<int>(number.size()) - 1;
    while (k >= 0) {
      if (number[k] == '9') {
        number[k] = '0';
        --k;
      } else {
        ++number[k];
        break;
      }
    }
    if (k < 0) number.insert(number.begin(), '1');
  }
  const std::size_t intLen = number.size() - static_cast<std::size_t>(decimals);
  std::string out;
  bool allZero = true;
  for (char c : number) {
    if (c != '0') allZero = false;
  }
  if (d.negative && !allZero) out.push_back('-');
  out.append(number, 0, intLen);
  if (decimals > 0) {
    out.push_back('.');
    out.append(number, intLen, std::string::npos);
  }
  // Strip leading zeros of the integer part that came from the carry-free path.
  const std::size_t start = (out[0] == '-') ? 1 : 0;
  while (out.size() > start + 1 && out[start] == '0' && out[start + 1] != '.') out.erase(start, 1);
  return out;
}

namespace {

constexpr double kPowersOfTen[] = {1, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6};

// The common case of writers of large files: a value below 10^(12 − decimals). Rounding to 15
// significant digits first can move such a value by at most 0.0005 units of the last decimal,
// and the product below is off by far less than 0.0005 units, so away from a tie (a fraction of
// 0.5 ± 0.001) rounding the product is the two-step result; near a tie the caller takes the
// exact path. False when the fast path does not apply.
bool appendFixedFast(std::string& out, double value, int decimals) {
  if (decimals > 6) return false;
  const double magnitude = std::fabs(value);
  if (!(magnitude < kPowersOfTen[6] * 1e6 / kPowersOfTen[decimals])) return false;
  const double scaled = magnitude * kPowersOfTen[decimals];
  auto whole = static_cast<std::uint64_t>(scaled);
  const double fraction = scaled - static_cast<double>(whole);
  if (std::fabs(fraction - 0.5) < 0.001) return false;
  if (fraction > 0.5) ++whole;
  char digits[24];
  const auto res = std::to_chars(digits, digits + sizeof digits, whole);
  const int length = static_cast<int>(res.ptr - digits);
  if (std::signbit(value) && whole != 0) out.push_back('-');
  if (length <= decimals) {
    out.push_back('0');
    if (decimals > 0) out.push_back('.');
    out.append(static_cast<std::size_t>(decimals - length), '0');
    out.append(digits, static_cast<std::size_t>(length));
    return true;
  }
  out.append(digits, static_cast<std::size_t>(length - decimals));
  if (decimals > 0) {
    out.push_back('.');
    out.append(digits + length - decimals, static_cast<std::size_t>(decimals));
  }
  return true;
}

// The shortest text that reads back as the value, when it has at most 15 significant digits and
// needs no exponent: then it is exactly the value rounded to 15 digits (the double lies within
// half a unit of its last place of it, far less than half a unit of the 15th digit). Most survey
// values take this way.
bool appendShortGeneral(std::string& out, double value) {
  const double a = std::fabs(value);
  if (!(a >= 1e-5 && a < 1e15)) return false;
  char buf[64];
  const auto res = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed);
  if (res.ec != std::errc()) return false;
  int significant = 0;
  bool leading = true;
  for (const char* p = buf; p != res.ptr; ++p) {
    if (*p < '0' || *p > '9') continue;
    if (leading && *p == '0') continue;
    leading = false;
    ++significant;
  }
  if (significant > 15) return false;
  out.append(buf, res.ptr);
  return true;
}

}  // namespace

void appendFixed(std::string& out, double value, int decimals) {
  if (decimals < 0) decimals = 0;
  if (decimals > 15) decimals = 15;
  if (!std::isfinite(value)) {
    out += formatFixed(value, decimals);
    return;
  }
  if (appendFixedFast(out, value, decimals)) return;
  // The 15 significant digits: value = 0.d0 d1 ... d14 × 10^exponent.
  char sci[32];
  const auto res = std::to_chars(sci, sci + sizeof sci, value, std::chars_format::scientific, 14);
  const char* p = sci;
  const bool negative = *p == '-';
  if (negative) ++p;
  char digits[15];
  digits[0] = p[0];
  for (int k = 1; k < 15; ++k) digits[k] = p[k + 1];
  int exp10 = 0;
  const char* e = p + 17;  // after "d.dddddddddddddde"
  if (*e == '+') ++e;
  std::from_chars(e, res.ptr, exp10);
  const int exponent = value == 0 ? 1 : exp10 + 1;
  auto digitAt = [&](int index) { return index >= 0 && index < 15 ? digits[index] : '0'; };
  // The integer digits (at least one) and the decimals, plus one digit that decides the rounding.
  char number[360];
  int n = 0;
  const int intDigits = exponent > 0 ? exponent : 1;
  const int firstIndex = exponent > 0 ? 0 : exponent - 1;
  for (int k = 0; k < intDigits + decimals; ++k) number[n++] = digitAt(firstIndex + k);
  if (exponent <= 0) number[0] = '0';
  if (digitAt(firstIndex + intDigits + decimals) >= '5') {
    int k = n - 1;
    while (k >= 0 && number[k] == '9') number[k--] = '0';
    if (k >= 0) {
      ++number[k];
    } else {
      for (int m = n; m > 0; --m) number[m] = number[m - 1];
      number[0] = '1';
      ++n;
    }
  }
  bool allZero = true;
  for (int k = 0; k < n; ++k) allZero = allZero && number[k] == '0';
  if (negative && !allZero) out.push_back('-');
  const int intLen = n - decimals;
  out.append(number, static_cast<std::size_t>(intLen));
  if (decimals > 0) {
    out.push_back('.');
    out.append(number + intLen, static_cast<std::size_t>(decimals));
  }
}

namespace {

// A value on the millimetre grid (every rounded coordinate and height) below 10^12: its text is
// the decimal units / 1000 itself, since no other text of at most 15 significant digits reads
// back as the same double. Written from the integer, it needs no shortest-digits search.
bool appendMillimetreGeneral(std::string& out, double value) {
  if (!(std::fabs(value) < 1e12)) return false;
  const double units = std::nearbyint(value * 1000);
  if (units / 1000 != value) return false;
  auto magnitude = static_cast<std::uint64_t>(std::fabs(units));
  if (std::signbit(value)) out.push_back('-');
  char digits[24];
  const auto res = std::to_chars(digits, digits + sizeof digits, magnitude / 1000);
  out.append(digits, res.ptr);
  unsigned fraction = static_cast<unsigned>(magnitude % 1000);
  if (fraction != 0) {
    char decimals[4] = {'.', static_cast<char>('0' + fraction / 100),
                        static_cast<char>('0' + fraction / 10 % 10),
                        static_cast<char>('0' + fraction % 10)};
    std::size_t length = 4;
    while (decimals[length - 1] == '0') --length;
    out.append(decimals, length);
  }
  return true;
}

}  // namespace

void appendGeneral(std::string& out, double value) {
  if (value != 0 && std::isfinite(value) &&
      (appendMillimetreGeneral(out, value) || appendShortGeneral(out, value))) {
    return;
  }
  out += formatGeneral(value);
}

std::string formatGeneral(double value) {
  if (!std::isfinite(value)) return std::isnan(value) ? "NAN" : (value < 0 ? "-INF" : "INF");
  if (value == 0) return "0";
  std::string shortForm;
  if (appendMillimetreGeneral(shortForm, value) || appendShortGeneral(shortForm, value)) {
    return shortForm;
  }
  Decimal d = toFifteenDigits(value);
  std::string out;
  if (d.negative) out.push_back('-');
  const int exp10 = d.exponent - 1;  // value = d1.d2d3... × 10^exp10
  if (exp10 >= 15 || exp10 < -5) {
    out.push_back(d.digits[0]);
    if (d.digits.size() > 1) {
      out.push_back('.');
      out.append(d.digits, 1, std::string::npos);
    }
    out.push_back('E');
    out += std::to_string(exp10);
    return out;
  }
  if (d.exponent <= 0) {
    out += "0.";
    out.append(static_cast<std::size_t>(-d.exponent), '0');
    out += d.digits;
    return out;
  }
  for (int k = 0; k < d.exponent; ++k) {
    out.push_back(k < static_cast<int>(d.digits.size()) ? d.digits[k] : '0');
  }
  if (static_cast<int>(d.digits.size()) > d.exponent) {
    out.push_back('.');
    out.append(d.digits, static_cast<std::size_t>(d.exponent), std::string::npos);
  }
  return out;
}

void appendInt(std::string& out, long long value) {
  char buf[32];
  auto res = std::to_chars(buf, buf + sizeof buf, value);
  out.append(buf, res.ptr);
}

std::string formatInt(long long value) {
  char buf[32];
  auto res = std::to_chars(buf, buf + sizeof buf, value);
  return std::string(buf, res.ptr);
}

std::string_view trimBlanks(std::string_view text) {
  auto isBlank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
  while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
  return text;
}

namespace {

// The trimmed text when it has the form of a number: optional sign, then a digit or the point
// (from_chars also takes "inf" and "nan", which are not numbers to a surveyor); else nothing.
std::optional<std::string_view> numberText(std::string_view text) {
  text = trimBlanks(text);
  if (text.empty()) return std::nullopt;
  if (text.front() == '+') {
    text.remove_prefix(1);
    if (text.empty() || text.front() == '-' || text.front() == '+') return std::nullopt;
  }
  const char first = text.front() == '-' && text.size() > 1 ? text[1] : text.front();
  if (!((first >= '0' && first <= '9') || first == '.')) return std::nullopt;
  return text;
}

}  // namespace

std::optional<double> parseDouble(std::string_view text) {
  const auto number = numberText(text);
  if (!number) return std::nullopt;
  double value = 0;
  auto res = std::from_chars(number->data(), number->data() + number->size(), value);
  if (res.ec != std::errc() || res.ptr != number->data() + number->size()) return std::nullopt;
  if (!std::isfinite(value)) return std::nullopt;
  return value;
}

std::optional<double> parseSavedDouble(std::string_view text) {
  if (const auto value = parseDouble(text)) return value;
  const auto number = numberText(text);
  if (!number) return std::nullopt;
  long double wide = 0;
  const auto res = std::from_chars(number->data(), number->data() + number->size(), wide);
  if (res.ec != std::errc() || res.ptr != number->data() + number->size()) return std::nullopt;
  // "1.79769313486232E308", the largest finite number to 15 digits, lies just beyond it.
  constexpr long double kLargestSaved = 1.79769313486232E308L;
  if (std::fabs(wide) > kLargestSaved) return std::nullopt;
  if (std::fabs(wide) <= std::numeric_limits<double>::max()) return std::nullopt;
  return std::signbit(wide) ? -std::numeric_limits<double>::max()
                            : std::numeric_limits<double>::max();
}

std::optional<std::int32_t> parseInt32(std::string_view text) {
  text = trimBlanks(text);
  if (text.empty()) return std::nullopt;
  if (text.front() == '+') {
    text.remove_prefix(1);
    if (text.empty() || text.front() == '-') return std::nullopt;
  }
  std::int32_t value = 0;
  auto res = std::from_chars(text.data(), text.data() + text.size(), value);
  if (res.ec != std::errc() || res.ptr != text.data() + text.size()) return std::nullopt;
  return value;
}

}  // namespace merilon
