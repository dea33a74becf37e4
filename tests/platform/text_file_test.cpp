#include "platform/text_file.h"

#include <gtest/gtest.h>

#include "platform/cp1250.h"
#include "support/test_program.h"

namespace merilon {
namespace {

using testing::TempFolder;

TEST(Cp1250, EveryByteSurvivesDecodeAndEncode) {
  std::string all;
  for (int b = 1; b < 256; ++b) all.push_back(static_cast<char>(b));
  const std::string utf8 = decodeCp1250(all);
  EXPECT_TRUE(isValidUtf8(utf8));
  EXPECT_EQ(encodeCp1250(utf8), all);
  EXPECT_EQ(decodeCp1250("\xB3\xB9\xEA"), "łąę");
  EXPECT_EQ(encodeCp1250("Łódź"), "\xA3\xF3\x64\x9F");
  EXPECT_EQ(encodeCp1250("€ ∑"), "\x80 ?");  // the sum sign has no place in the code page
}

TEST(Cp1250, UpperCaseKnowsPolishLetters) {
  EXPECT_EQ(upperCase("c:\\dane\\łąka.txt"), "C:\\DANE\\ŁĄKA.TXT");
  EXPECT_EQ(upperCase("żółć źś ń"), "ŻÓŁĆ ŹŚ Ń");
  EXPECT_EQ(utf8Length("Łąka"), 4u);
  EXPECT_EQ(utf8Prefix("Łąka", 2), "Łą");
}

TEST(TextFiles, ReadAnyLineEndAndDetectUtf8) {
  TempFolder dir;
  testing::writeBytes(dir / "mixed.txt", "a\r\nb\nc\rd");
  std::vector<std::string> lines;
  std::string error;
  ASSERT_TRUE(readCp1250Lines(dir / "mixed.txt", lines, error));
  EXPECT_EQ(lines, (std::vector<std::string>{"a", "b", "c", "d"}));

  testing::writeBytes(dir / "utf8.txt", "\xEF\xBB\xBFPunkt \xC5\x81\xC4\x85ka\n");
  ASSERT_TRUE(readUserTextLines(dir / "utf8.txt", lines, error));
  EXPECT_EQ(lines, (std::vector<std::string>{"Punkt Łąka"}));

  testing::writeBytes(dir / "cp.txt", "Punkt \xA3\xB9ka\r\n");
  ASSERT_TRUE(readUserTextLines(dir / "cp.txt", lines, error));
  EXPECT_EQ(lines, (std::vector<std::string>{"Punkt Łąka"}));

  EXPECT_FALSE(readUserTextLines(dir / "none.txt", lines, error));
  EXPECT_FALSE(error.empty());
}

TEST(TextFiles, LineReaderStreamsAcrossBufferBorders) {
  TempFolder dir;
  std::string bytes;
  std::vector<std::string> expected;
  // Lines long enough to straddle the reader's 1 MiB buffer, CR LF split across reads included.
  for (int k = 0; k < 3000; ++k) {
    std::string line(static_cast<std::size_t>(700 + k % 13), static_cast<char>('a' + k % 26));
    expected.push_back(line);
    bytes += line + (k % 3 == 0 ? "\r\n" : (k % 3 == 1 ? "\n" : "\r"));
  }
  testing::writeBytes(dir / "big.txt", bytes);
  TextLineReader reader;
  std::string error;
  ASSERT_TRUE(reader.open(dir / "big.txt", error));
  EXPECT_EQ(reader.fileSize(), bytes.size());
  std::vector<std::string> got;
  std::string line;
  std::size_t raw = 0;
  while (reader.next(line, raw)) {
    EXPECT_EQ(raw, line.size());
    got.push_back(line);
  }
  EXPECT_EQ(got, expected);
}

TEST(TextFiles, SafeWriterKeepsTheOldFileWhenItCannotFinish) {
  TempFolder dir;
  testing::writeBytes(dir / "keep.txt", "old");
  {
    SafeFileWriter writer(dir / "keep.txt");
    ASSERT_TRUE(writer.open());
    writer.writeLine("new");
    // Dropped without commit: as if the program failed half-way.
  }
  EXPECT_EQ(testing::readBytes(dir / "keep.txt"), "old");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()),
                          std::filesystem::directory_iterator()),
            1);

  std::string error;
  ASSERT_TRUE(writeCp1250Lines(dir / "keep.txt", {"Łąka", "b"}, error));
  EXPECT_EQ(testing::readBytes(dir / "keep.txt"), "\xA3\xB9ka\r\nb\r\n");

  EXPECT_FALSE(writeCp1250Lines(dir / "no-such-folder" / "x.txt", {"a"}, error));
  EXPECT_FALSE(error.empty());
}

}  // namespace
}  // namespace merilon
