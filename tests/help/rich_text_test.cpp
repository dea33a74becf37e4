// The RTF subset reader: paragraphs, bold, italic, code page 1250 escapes, and everything else
// of RTF skipped without a trace in the text.
#include "help/rich_text.h"

#include <gtest/gtest.h>

#include "support/test_program.h"

namespace merilon {
namespace {

TEST(RtfReader, ParagraphsStylesAndEscapes) {
  const RichText t = readRtf(
      "{\\rtf1\\ansi\\ansicpg1250\\deff0{\\fonttbl{\\f0\\fswiss\\fcharset238 Arial;}}"
      "{\r\n\\stylesheet{\\s0 Normal;}}{\\colortbl ;\\red0\\green0\\blue128;}{\\*\\generator "
      "Edytor 1.0;}{\\info{\\title T}}\r\n"
      "\\viewkind4\\uc1\\pard\\sa60\\fs20 Zwyk\\'b3y {\\b pogrubiony \\i0 i}\\par\r\n"
      "{\\i kursywa \\b0}\\b B\\b0 \\{\\}\\\\ \\u321?\\'f3d\\tab x\\unknownword-12 y\\par\r\n"
      "\\par ostatni\\plain}");
  ASSERT_EQ(t.paragraphs.size(), 4u);
  EXPECT_EQ(t.paragraphs[0].runs,
            (std::vector<TextRun>{{"Zwykły ", false, false}, {"pogrubiony i", true, false}}));
  EXPECT_EQ(t.paragraphs[1].runs,
            (std::vector<TextRun>{
                {"kursywa ", false, true}, {"B", true, false}, {"{}\\ Łód\txy", false, false}}));
  EXPECT_TRUE(t.paragraphs[2].runs.empty());
  EXPECT_EQ(t.plainText(), "Zwykły pogrubiony i\nkursywa B{}\\ Łód\txy\n\nostatni");
}

TEST(RtfReader, UnicodeEscapesOutsideTheRangeBecomeReplacementCharacters) {
  const RichText t = readRtf("{\\rtf1 a\\u2000000?b\\u-70000?c\\u55296?d\\u-3005?e\\u65?}");
  EXPECT_EQ(t.plainText(), "a\uFFFDb\uFFFDc\uFFFDd\uF443eA");
}

TEST(RtfReader, TheShippedDescriptionReadsAsPolishText) {
  const std::string rtf =
      testing::readBytes(std::filesystem::path(MERILON_SOURCE_DIR) / "data" / "MERI_OPIS.rtf");
  const RichText t = readRtf(rtf);
  const std::string text = t.plainText();
  EXPECT_GT(t.paragraphs.size(), 20u);
  EXPECT_EQ(text.rfind("MERILON - opis programu", 0), 0u);
  EXPECT_NE(text.find("Wczytaj do Punktów"), std::string::npos);
  EXPECT_NE(text.find("własnym pliku punktów"), std::string::npos);
  for (const char* stray : {"\\", "{", "}", "Arial", "fcharset", "Merilon - opis programu\n"}) {
    EXPECT_EQ(text.find(stray), std::string::npos) << stray;
  }
  bool bold = false, italic = false;
  for (const auto& p : t.paragraphs) {
    for (const auto& r : p.runs) {
      bold |= r.bold;
      italic |= r.italic;
    }
  }
  EXPECT_TRUE(bold && italic);
}

}  // namespace
}  // namespace merilon
