#include "platform/text_file.h"

#include <gtest/gtest.h>

#include "platform/controls.h"
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

// Polish capitals of code page 1250 often form valid UTF-8 ("DÓŁ" is 44 D3 A3, U+04E3): UTF-8
// is taken only where every character it gives could stand in a Polish survey file.
TEST(TextFiles, CodePageDetectionTakesOnlyPlausibleUtf8) {
  TempFolder dir;
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"D\xD3\xA3;1;2", "DÓŁ;1;2"},  // code page 1250
      {"W\xCA\xAF 5", "WĘŻ 5"},      // C A AF would be U+02AF
      {"\xEA\xBF\xB9", "ężą"},       // would be U+AFF9
      {"\xC3\xA9\xC2\x80", "Ă©Â€"},  // U+0080 is a control
      {"\xC5\x81\xC4\x85ka \xC5\xBC\xC3\xB3\xC5\x82\xC4\x87", "Łąka żółć"},  // UTF-8
      {"10\xC2\xB0 \xE2\x80\x9E"
       "a\xE2\x80\x9D \xE2\x80\x93 5\xC2\xA0\xE2\x82\xAC",
       "10° „a” – 5\u00A0€"},
      {"\xEF\xBB\xBFNr;X", "Nr;X"},   // the mark is no part of the line
      {"\xEF\xBB\xBF\xD0\x96", "Ж"},  // with the mark, any UTF-8
      {"\xEF\xBB\xBF\xA3\xF3"
       "d\x9F",
       "Łódź"},                        // mark, then code page bytes
      {"\xC5\x81 \xA3", "Ĺ\u0081 Ł"},  // invalid UTF-8: code page 1250
  };
  for (const auto& [bytes, first] : cases) {
    testing::writeBytes(dir / "f.txt", bytes + "\r\nx\r\n");
    std::vector<std::string> lines;
    std::string error;
    ASSERT_TRUE(readUserTextLines(dir / "f.txt", lines, error));
    ASSERT_EQ(lines.size(), 2u) << bytes;
    EXPECT_EQ(lines[0], first) << bytes;
    EXPECT_TRUE(isValidUtf8(lines[0])) << bytes;
  }
}

TEST(TextFiles, UserTextInOneBlockSplitsAtEveryLineEnd) {
  TempFolder dir;
  testing::writeBytes(dir / "ends.txt", "a\r\nb\nc\rd\r\r\n\n\xA3\r");
  TextLines text;
  std::string error;
  ASSERT_TRUE(readUserText(dir / "ends.txt", text, error));
  EXPECT_EQ(text.toVector(), (std::vector<std::string>{"a", "b", "c", "d", "", "", "Ł"}));
  Memo memo;
  memo.setText(std::move(text));
  const auto snapshot = memo.snapshot();
  memo.appendLine("nowa");
  ASSERT_EQ(memo.lineCount(), 8u);
  EXPECT_EQ(memo.line(6), "Ł");
  EXPECT_EQ(memo.line(7), "nowa");
  EXPECT_EQ(snapshot->size(), 7u);  // the snapshot stays as it was
  memo.setLines({});
  EXPECT_EQ(memo.lineCount(), 0u);
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
  EXPECT_EQ(reader.lineCount(), expected.size());
}

TEST(TextFiles, LineReaderCountsTheLinesItGives) {
  TempFolder dir;
  for (const char* text : {"", "a", "a\n", "a\r\n", "a\r", "\n", "\r", "\r\n", "\r\r\n\n",
                           "a\rb\nc\r\nd", "a\n\r", "\n\n\r\r"}) {
    testing::writeBytes(dir / "t.txt", text);
    TextLineReader reader;
    std::string error, line;
    ASSERT_TRUE(reader.open(dir / "t.txt", error));
    const std::size_t counted = reader.lineCount();
    std::size_t given = 0, raw = 0;
    while (reader.next(line, raw)) ++given;
    EXPECT_EQ(counted, given) << ::testing::PrintToString(std::string(text));
  }
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

TEST(TextFiles, SafeWriterReplacesTheTargetOfALinkAndKeepsItsPermissions) {
  TempFolder dir;
  namespace fs = std::filesystem;
  fs::create_directory(dir / "dane");
  testing::writeBytes(dir / "dane" / "real.txt", "old");
  fs::permissions(dir / "dane" / "real.txt", fs::perms(0640));
  fs::create_symlink("dane/real.txt", dir / "link.txt");
  fs::create_symlink(dir / "link.txt", dir / "chain.txt");
  std::string error;
  for (const char* name : {"link.txt", "chain.txt"}) {
    ASSERT_TRUE(writeCp1250Lines(dir / name, {name}, error)) << error;
    EXPECT_TRUE(fs::is_symlink(dir / "link.txt"));
    EXPECT_TRUE(fs::is_symlink(dir / "chain.txt"));
    EXPECT_EQ(testing::readBytes(dir / "dane" / "real.txt"), std::string(name) + "\r\n");
    EXPECT_EQ(fs::status(dir / "dane" / "real.txt").permissions(), fs::perms(0640));
  }
  // The temporary file was in the target's folder and is gone.
  EXPECT_EQ(std::distance(fs::directory_iterator(dir / "dane"), fs::directory_iterator()), 1);
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 3);
  // A link to a file not yet there makes the file.
  fs::create_symlink("dane/new.txt", dir / "ahead.txt");
  ASSERT_TRUE(writeCp1250Lines(dir / "ahead.txt", {"a"}, error));
  EXPECT_EQ(testing::readBytes(dir / "dane" / "new.txt"), "a\r\n");
  EXPECT_TRUE(fs::is_symlink(dir / "ahead.txt"));
}

// A save killed half-way leaves its temporary file, under a name fixed for the target; the next
// save replaces it, even when it was made a link to some other file meanwhile.
TEST(TextFiles, SafeWriterReplacesAStaleTemporaryFile) {
  TempFolder dir;
  namespace fs = std::filesystem;
  const fs::path temp = temporaryFileFor(dir / "p.txt");
  EXPECT_EQ(temp, dir / "p.txt.tmp~");
  testing::writeBytes(temp, "stale stale stale");
  std::string error;
  ASSERT_TRUE(writeCp1250Lines(dir / "p.txt", {"a"}, error)) << error;
  EXPECT_EQ(testing::readBytes(dir / "p.txt"), "a\r\n");
  EXPECT_FALSE(fs::exists(temp));
  testing::writeBytes(dir / "other.txt", "other");
  fs::create_symlink(dir / "other.txt", temp);
  ASSERT_TRUE(writeCp1250Lines(dir / "p.txt", {"b"}, error)) << error;
  EXPECT_EQ(testing::readBytes(dir / "p.txt"), "b\r\n");
  EXPECT_EQ(testing::readBytes(dir / "other.txt"), "other");
  EXPECT_FALSE(fs::exists(fs::symlink_status(temp)));
}

}  // namespace
}  // namespace merilon
