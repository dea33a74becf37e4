#include "points/record_parser.h"

#include <gtest/gtest.h>

#include "points/no_value.h"
#include "points/numeric_helpers.h"

namespace merilon {
namespace {

std::vector<std::string> fields(RecordParser& p) {
  std::vector<std::string> out;
  for (int k = 1; k <= p.fieldCount(); ++k) out.emplace_back(p.textField(k));
  return out;
}

RecordParser split(const std::string& line, const std::string& sep) {
  RecordParser p;
  p.recordLine = line;
  p.fieldSeparator = sep;
  p.splitRecord();
  return p;
}

TEST(RecordParser, BlankSeparatorMakesNoEmptyFields) {
  RecordParser p = split("  1.5   2.5 3", " ");
  EXPECT_EQ(fields(p), (std::vector<std::string>{"  1.5", "  2.5", "3"}));
  EXPECT_EQ(p.floatField(1), 1.5);
  EXPECT_EQ(p.floatField(2), 2.5);
  EXPECT_EQ(p.floatField(3), 3.0);
  // End marker: the line length + 2 after the last field.
  EXPECT_EQ(p.fieldStart(4), 15);
}

TEST(RecordParser, OtherSeparatorsMakeEmptyFieldsAndNeverQuote) {
  RecordParser p = split("1,,3,", ",");
  EXPECT_EQ(fields(p), (std::vector<std::string>{"1", "", "3", ""}));
  p = split("a;b", ",");
  EXPECT_EQ(p.fieldCount(), 1);
  p = split("\"A,B\",2", ",");
  EXPECT_EQ(fields(p), (std::vector<std::string>{"\"A", "B\"", "2"}));
  p = split("1\t2\t\t4", "\t");
  EXPECT_EQ(fields(p), (std::vector<std::string>{"1", "2", "", "4"}));
  p = split("1ś2", "ś");  // a separator outside ASCII
  EXPECT_EQ(fields(p), (std::vector<std::string>{"1", "2"}));
  RecordParser empty = split("", ",");
  EXPECT_FALSE(empty.splitRecord());
  EXPECT_EQ(empty.fieldCount(), 1);
  EXPECT_EQ(empty.textField(1), "");
}

TEST(RecordParser, NumericFieldsGiveNoValueWhenMissingOrWrong) {
  RecordParser p = split(" 12 ,12.5,x,1e3", ",");
  EXPECT_EQ(p.intField(1), 12);
  EXPECT_EQ(p.intField(2), NO_VALUE);
  EXPECT_EQ(p.intField(3), NO_VALUE);
  EXPECT_EQ(p.floatField(2), 12.5);
  EXPECT_EQ(p.floatField(4), 1000.0);
  EXPECT_EQ(p.floatField(5), NO_VALUE_F);
  EXPECT_EQ(p.intField(0), NO_VALUE);
  EXPECT_EQ(p.textField(9), "");
}

TEST(RecordParser, LongLinesKeepTheirFirst399Fields) {
  std::string line;
  for (int k = 1; k <= 450; ++k) line += (k > 1 ? "," : "") + std::to_string(k);
  RecordParser p = split(line, ",");
  EXPECT_EQ(p.fieldCount(), 399);
  EXPECT_EQ(p.textField(1), "1");
  EXPECT_EQ(p.textField(399), "399");
  EXPECT_EQ(p.intField(400), NO_VALUE);
  // Exactly 399 fields fit with their end marker.
  line.clear();
  for (int k = 1; k <= 399; ++k) line += (k > 1 ? "," : "") + std::to_string(k);
  p = split(line, ",");
  EXPECT_EQ(p.fieldCount(), 399);
  EXPECT_EQ(p.textField(399), "399");
}

TEST(NumericHelpers, RoundHalvesToEvenAndStripExtensions) {
  EXPECT_EQ(round2(2.125), 2.12);
  EXPECT_EQ(round2(2.375), 2.38);
  EXPECT_EQ(round3(1.0005), 1.0);  // 1000.4999... is below the half
  EXPECT_EQ(round2(NO_VALUE_F), NO_VALUE_F);
  EXPECT_EQ(stripExtension("C:\\DANE\\POMIAR.MERI"), "C:\\DANE\\POMIAR");
  EXPECT_EQ(stripExtension("abc"), "abc");
  EXPECT_EQ(stripExtension("a.b.txt"), "a.b");
  // A dot in a folder name is no extension.
  EXPECT_EQ(stripExtension("/home/jan/dane.v2/pomiar"), "/home/jan/dane.v2/pomiar");
  double x = 0, y = 0;
  polarPoint(10, 20, 0, 5, x, y);
  EXPECT_NEAR(x, 5, 1e-12);
  EXPECT_NEAR(y, 20, 1e-12);
  EXPECT_EQ(pointDistance(0, 0, 3, 4), 5.0);
}

}  // namespace
}  // namespace merilon
