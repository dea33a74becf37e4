#include "platform/number_text.h"

#include <gtest/gtest.h>

#include <charconv>
#include <clocale>
#include <cmath>
#include <random>
#include <string>

namespace merilon {
namespace {

TEST(FormatFixed, RoundsFifteenDigitsHalfAwayFromZero) {
  // The binary values of these lie just below the half; the program's forms round them up.
  EXPECT_EQ(formatFixed(112.345, 2), "112.35");
  EXPECT_EQ(formatFixed(0.125, 2), "0.13");
  EXPECT_EQ(formatFixed(2.675, 2), "2.68");
  EXPECT_EQ(formatFixed(-2.675, 2), "-2.68");
  EXPECT_EQ(formatFixed(1.0005, 3), "1.001");
  EXPECT_EQ(formatFixed(9.995, 2), "10.00");
  EXPECT_EQ(formatFixed(999.9996, 3), "1000.000");
  EXPECT_EQ(formatFixed(5, 2), "5.00");
  EXPECT_EQ(formatFixed(-99999999, 2), "-99999999.00");
  EXPECT_EQ(formatFixed(7452101.23, 2), "7452101.23");
  EXPECT_EQ(formatFixed(5602345.5, 2), "5602345.50");
  EXPECT_EQ(formatFixed(0.00123, 2), "0.00");
  EXPECT_EQ(formatFixed(0.00523, 2), "0.01");
  EXPECT_EQ(formatFixed(-0.001, 2), "0.00");
  EXPECT_EQ(formatFixed(0, 0), "0");
  EXPECT_EQ(formatFixed(2.5, 0), "3");
  EXPECT_EQ(formatFixed(123456.789, 1), "123456.8");
  EXPECT_EQ(formatFixed(1e20, 2), "100000000000000000000.00");
  EXPECT_EQ(formatFixed(1.5, 6), "1.500000");
}

TEST(FormatGeneral, FifteenSignificantDigitsWithoutTrailingZeros) {
  EXPECT_EQ(formatGeneral(5432.1), "5432.1");
  EXPECT_EQ(formatGeneral(100.0), "100");
  EXPECT_EQ(formatGeneral(-99999999.0), "-99999999");
  EXPECT_EQ(formatGeneral(0.125), "0.125");
  EXPECT_EQ(formatGeneral(112.345), "112.345");
  EXPECT_EQ(formatGeneral(0.1 + 0.2), "0.3");
  EXPECT_EQ(formatGeneral(7452101.23), "7452101.23");
  EXPECT_EQ(formatGeneral(0), "0");
  EXPECT_EQ(formatGeneral(0.00001), "0.00001");
  EXPECT_EQ(formatGeneral(0.0000015), "1.5E-6");
  EXPECT_EQ(formatGeneral(1e15), "1E15");
  EXPECT_EQ(formatGeneral(999999999999999.0), "999999999999999");
  EXPECT_EQ(formatGeneral(-1234567.125), "-1234567.125");
}

TEST(ParseNumbers, AcceptOnlyWholeDecimalText) {
  EXPECT_EQ(parseDouble(" 1.5 "), 1.5);
  EXPECT_EQ(parseDouble("-2e3"), -2000.0);
  EXPECT_EQ(parseDouble("+7"), 7.0);
  EXPECT_EQ(parseDouble(".5"), 0.5);
  EXPECT_FALSE(parseDouble("1,5"));
  EXPECT_FALSE(parseDouble("1 000"));
  EXPECT_FALSE(parseDouble(""));
  EXPECT_FALSE(parseDouble("   "));
  EXPECT_FALSE(parseDouble("X"));
  EXPECT_FALSE(parseDouble("nan"));
  EXPECT_FALSE(parseDouble("inf"));
  EXPECT_FALSE(parseDouble("1e999"));
  EXPECT_EQ(parseInt32(" 12 "), 12);
  EXPECT_EQ(parseInt32("-7"), -7);
  EXPECT_FALSE(parseInt32("12.5"));
  EXPECT_FALSE(parseInt32("a"));
  EXPECT_FALSE(parseInt32("99999999999"));
}

TEST(NumberText, IgnoresACommaDecimalLocale) {
  const char* locales[] = {"pl_PL.UTF-8", "pl_PL.utf8", "de_DE.UTF-8", "de_DE.utf8"};
  const char* set = nullptr;
  for (const char* l : locales) {
    if ((set = std::setlocale(LC_ALL, l)) != nullptr) break;
  }
  if (!set) GTEST_SKIP() << "no comma-decimal locale installed";
  EXPECT_EQ(formatFixed(1234.5, 2), "1234.50");
  EXPECT_EQ(formatGeneral(0.25), "0.25");
  EXPECT_EQ(parseDouble("3.75"), 3.75);
  EXPECT_FALSE(parseDouble("3,75"));
  std::setlocale(LC_ALL, "C");
}

}  // namespace
}  // namespace merilon

namespace merilon {
namespace {

// The general form against the C library's "%.15g" where the two agree on the notation
// (10^-4 ≤ |v| < 10^15): survey values, whole values and values of 16 and 17 digits.
TEST(NumberText, GeneralFormIsTheValueToFifteenDigits) {
  std::mt19937_64 rng(15);
  std::uniform_real_distribution<double> mantissa(1, 10);
  std::uniform_int_distribution<int> exponent(-4, 14);
  for (int n = 0; n < 200000; ++n) {
    double v = mantissa(rng) * std::pow(10.0, exponent(rng));
    if (n % 3 == 0) v = std::nearbyint(v * 100) / 100;    // a rounded coordinate
    if (n % 3 == 1) v = std::nearbyint(v * 1000) / 1000;  // a rounded height
    if (n % 2 == 1) v = -v;
    if (std::fabs(v) < 1e-4 || std::fabs(v) >= 9.99999999999999e14) continue;
    char buf[64];
    const auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::general, 15);
    ASSERT_EQ(formatGeneral(v), std::string(buf, r.ptr)) << n;
    std::string appended;
    appendGeneral(appended, v);
    ASSERT_EQ(appended, std::string(buf, r.ptr)) << n;
  }
}

}  // namespace
}  // namespace merilon
