// The pair reader under every DXF reader: line ends of every kind, trimming, line numbers for
// messages, one pair of push-back, lines longer than a read block, and hostile input.
#include "dxf/dxf_pair_reader.h"

#include <gtest/gtest.h>

#include "support/test_program.h"

namespace merilon {
namespace {

std::vector<std::string> pairsOf(DxfPairReader& r) {
  std::vector<std::string> out;
  DxfPair p;
  while (r.next(p))
    out.push_back(std::to_string(p.code) + "=" + std::string(p.value) + "@" +
                  std::to_string(p.line));
  return out;
}

TEST(DxfPairReader, LineEndsBlanksAndLineNumbers) {
  const std::vector<std::string> expected = {"0=SECTION@1", "2=ENTITIES@3", "10=1.5@5", "1=@7",
                                             "0=EOF@9"};
  for (const char* eol : {"\n", "\r\n", "\r"}) {
    SCOPED_TRACE(::testing::PrintToString(eol));
    const std::string e = eol;
    // Blanks and tabs around codes and values, an empty value, no line end after the last line.
    const std::string text = "  0" + e + "SECTION" + e + "\t2 " + e + " ENTITIES\t" + e + " 10" +
                             e + "1.5  " + e + "1" + e + e + "0" + e + "EOF";
    DxfPairReader r;
    r.openBytes(text);
    EXPECT_EQ(pairsOf(r), expected);
    EXPECT_EQ(r.status(), DxfPairReader::Status::End);
    EXPECT_EQ(r.position(), text.size());
  }
  // An empty line where a code is due is passed over; LF CR is two line ends.
  DxfPairReader r;
  r.openBytes("0\nA\n\n8\nB\n\r0\nC");
  EXPECT_EQ(pairsOf(r), (std::vector<std::string>{"0=A@1", "8=B@4", "0=C@7"}));
}

TEST(DxfPairReader, PushBackBadCodesAndBinary) {
  DxfPairReader r;
  r.openBytes("0\nPOINT\n10\n1\nX\n2\n");
  DxfPair p;
  ASSERT_TRUE(r.next(p));
  r.pushBack();
  ASSERT_TRUE(r.next(p));
  EXPECT_EQ(p.value, "POINT");
  ASSERT_TRUE(r.next(p));
  EXPECT_EQ(p.code, 10);
  EXPECT_FALSE(r.next(p));
  EXPECT_EQ(r.status(), DxfPairReader::Status::BadCode);
  EXPECT_EQ(r.errorLine(), 5u);
  EXPECT_FALSE(r.next(p));  // stays stopped

  for (const char* bad : {"1.5\nA\n", "+\nA\n", "10x\nA\n", "99999999999\nA\n"}) {
    r.openBytes(bad);
    EXPECT_FALSE(r.next(p)) << bad;
    EXPECT_EQ(r.status(), DxfPairReader::Status::BadCode) << bad;
  }
  // A code without its value at the end is the end, not a pair.
  r.openBytes("0\nEOF\n0");
  EXPECT_EQ(pairsOf(r).size(), 1u);
  EXPECT_EQ(r.status(), DxfPairReader::Status::End);

  r.openBytes(std::string("AutoCAD Binary DXF\r\n\x1a\0", 22));
  EXPECT_TRUE(r.isBinary());
  r.openBytes("0\nSECTION\n");
  EXPECT_FALSE(r.isBinary());
}

TEST(DxfPairReader, FileInBlocksGivesThePairsOfTheBytes) {
  testing::TempFolder folder;
  // A value longer than a read block, and CR LF split across block ends at every offset nearby.
  std::string text = "0\r\nTEXT\r\n1\r\n" + std::string(9 << 20, 'x') + "\r\n";
  for (int k = 0; k < 200000; ++k) text += " 10\r\n" + std::to_string(k) + ".25\r\n";
  text += "0\r\nEOF\r\n";
  testing::writeBytes(folder / "big.dxf", text);
  DxfPairReader fromFile, fromBytes;
  std::string error;
  ASSERT_TRUE(fromFile.open(folder / "big.dxf", error));
  EXPECT_EQ(fromFile.size(), text.size());
  fromBytes.openBytes(text);
  DxfPair a, b;
  std::size_t n = 0;
  while (fromBytes.next(b)) {
    ASSERT_TRUE(fromFile.next(a)) << n;
    ASSERT_EQ(a.code, b.code);
    ASSERT_EQ(a.value, b.value);
    ASSERT_EQ(a.line, b.line);
    ++n;
  }
  EXPECT_FALSE(fromFile.next(a));
  EXPECT_EQ(n, 200003u);
  EXPECT_EQ(fromFile.position(), text.size());
  EXPECT_FALSE(fromFile.open(folder / "missing.dxf", error));
  EXPECT_FALSE(error.empty());
}

}  // namespace
}  // namespace merilon
