// Reading alignment files: header, skip count, record count, growth of the storage and its
// failure, the extent, and the dialog fields the "Wybierz trasę" flow fills.
#include "alignment/alignment.h"

#include <gtest/gtest.h>

#include "alignment/alignment_geometry.h"
#include "platform/cp1250.h"
#include "platform/number_text.h"
#include "points/record_parser.h"
#include "support/test_program.h"

namespace merilon {
namespace {

using testing::crlf;
using testing::TempFolder;

std::string recordLine(int k, double chainage, double x, double y) {
  return formatInt(k) + "," + formatFixed(chainage, 3) + "," + formatFixed(x, 3) + "," +
         formatFixed(y, 3) + ",0.5,0,0";
}

// A straight file of n records, 10 apart, after `skip` extra lines.
std::string straightFile(int n, int skip, const std::string& header = "\"Trasa 1\",\"Droga\",x") {
  std::vector<std::string> lines{"TRASA", header + "," + formatInt(skip) + "," + formatInt(n)};
  for (int k = 0; k < skip; ++k) lines.push_back("pominięta linia " + formatInt(k));
  for (int k = 1; k <= n; ++k) lines.push_back(recordLine(k, 10.0 * k, 100 + k, 200 - k));
  return crlf(lines);
}

class AlignmentReadTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(alignment.initialise(platform)); }
  AlignmentReadStatus read(const std::string& bytes) {
    testing::writeBytes(folder / "A.TRS", encodeCp1250(bytes));  // files are code page 1250
    std::string error;
    return readAlignmentFile(folder / "A.TRS", parser, alignment, platform, lines, error);
  }
  TempFolder folder;
  testing::ScriptedPlatform platform;
  RecordParser parser;
  Alignment alignment;
  std::vector<std::string> lines;
};

TEST_F(AlignmentReadTest, HeaderSkipCountRecordsAndExtent) {
  parser.fieldSeparator = ";";
  ASSERT_EQ(read(crlf({"TRASA", "\"Oś główna\",\"Obwodnica\",,2,3", "x", "y",
                       "1,0.00,500.10,600.20,0.1,0,0", "2,100.00,450.00,700.00,0.2,-250.5,0",
                       "3,180.00,520.00,650.00,0.3,0,-120", "4,999,1,1,0,0,0"})),
            AlignmentReadStatus::Ok);
  EXPECT_EQ(parser.fieldSeparator, ",");
  EXPECT_EQ(alignment.headerText, "Oś główna  \"Obwodnica\"");
  ASSERT_EQ(alignment.count, 3);
  EXPECT_EQ(alignment.first, 1);
  EXPECT_TRUE(alignment.loaded);
  const auto r2 = alignment.record(2);
  EXPECT_EQ(r2.chainage, 100);
  EXPECT_EQ(r2.x, 450);
  EXPECT_EQ(r2.y, 700);
  EXPECT_EQ(r2.azimuth, 0.2);
  EXPECT_EQ(r2.radius, -250.5);
  EXPECT_EQ(alignment.record(3).clothoidParameter, -120);
  EXPECT_EQ(alignment.minX, 450);
  EXPECT_EQ(alignment.maxX, 520);
  EXPECT_EQ(alignment.minY, 600.2);
  EXPECT_EQ(alignment.maxY, 700);
  EXPECT_EQ(lines.size(), 8u);
}

TEST_F(AlignmentReadTest, UnreadableNumbersAreKeptAsNoValueAndMissingLinesEndTheRecords) {
  ASSERT_EQ(read(crlf({"T", "a,b,c,0,5", "1,0,1,2,x,0,0", "2,10,1,12"})), AlignmentReadStatus::Ok);
  ASSERT_EQ(alignment.count, 2);  // five announced, two present
  EXPECT_EQ(alignment.record(1).azimuth, -99999999.0);
  EXPECT_EQ(alignment.record(2).radius, -99999999.0);
  EXPECT_EQ(alignment.record(2).clothoidParameter, -99999999.0);
}

TEST_F(AlignmentReadTest, EmptyAlignmentCannotBeProjectedOn) {
  ASSERT_EQ(read(crlf({"T", "a,b,c,0,0", "1,0,1,2,0,0,0"})), AlignmentReadStatus::Ok);
  EXPECT_EQ(alignment.count, 0);
  double c = 0, o = -99999999, fx = 0, fy = 0;
  EXPECT_FALSE(projectOnAlignment(alignment, 1, 2, c, o, fx, fy));
}

TEST_F(AlignmentReadTest, StorageGrowsInStepsOf5000) {
  EXPECT_EQ(alignment.capacity(), 5000);
  ASSERT_EQ(read(straightFile(4999, 0)), AlignmentReadStatus::Ok);
  EXPECT_EQ(alignment.capacity(), 5000);
  ASSERT_EQ(read(straightFile(12000, 1)), AlignmentReadStatus::Ok);
  EXPECT_EQ(alignment.count, 12000);
  EXPECT_EQ(alignment.capacity(), 15000);
  EXPECT_EQ(alignment.record(12000).chainage, 120000);
  EXPECT_EQ(alignment.record(12000).x, 12100);
  // A shorter file afterwards: the storage does not shrink.
  ASSERT_EQ(read(straightFile(3, 0)), AlignmentReadStatus::Ok);
  EXPECT_EQ(alignment.count, 3);
  EXPECT_EQ(alignment.capacity(), 15000);
  EXPECT_TRUE(platform.messages.empty());
}

TEST_F(AlignmentReadTest, FailedGrowthEndsTheReadingWithTheMessage) {
  alignment.capacityLimitForTesting = 5000;
  EXPECT_EQ(read(straightFile(6000, 0)), AlignmentReadStatus::OutOfMemory);
  EXPECT_FALSE(alignment.loaded);
  EXPECT_EQ(alignment.capacity(), 5000);
  ASSERT_EQ(platform.messages.size(), 1u);
  EXPECT_EQ(platform.messages[0].title, "Błąd, alokacji pamięci");
  EXPECT_EQ(platform.messages[0].text, "Brak pamięci dla punktów trasy10000");
  EXPECT_EQ(platform.messages[0].icon, MessageIcon::Error);
}

TEST(LoadAlignment, AsksAgainForAMissingFileAndFillsTheDialogFields) {
  testing::TestProgram t;
  Alignment alignment;
  ASSERT_TRUE(alignment.initialise(t.platform));
  Edit start, end;
  Label description, title;
  title.visible = false;
  std::vector<std::string> work;
  testing::writeBytes(t.folder / "OS.TRW", straightFile(4, 2, "Obwodnica,\"Wariant 2\",z"));
  t.platform.openAnswers = {t.folder / "BRAK.TRS", t.folder / "OS.TRW"};
  t.platform.answers = {DialogResult::Yes};
  ASSERT_TRUE(loadAlignment(*t.program, alignment, {start, end, description, title}, work));
  ASSERT_EQ(t.platform.messages.size(), 1u);
  EXPECT_EQ(t.platform.messages[0].title, "Odczyt z pliku");
  EXPECT_EQ(t.platform.messages[0].text, "Plik: " + (t.folder / "BRAK.TRS").string() +
                                             " nie istnieje. Czy chcesz jeszcze raz wybrać?");
  EXPECT_EQ(t.platform.openRequests[0].filter,
            "Trasy, łącznice WĘZŁA|*.TRS;*.TRW;|Trasy LandXML|*.xml;*.XML;");
  EXPECT_EQ(start.text, "10.00");
  EXPECT_EQ(end.text, "40.00");
  EXPECT_EQ(description.caption, "Obwodnica  \"Wariant 2\"");
  EXPECT_TRUE(title.visible);
  EXPECT_EQ(work.size(), 8u);
  EXPECT_FALSE(t.platform.busy);

  // Answering No, or cancelling, leaves everything as it was.
  t.platform.openAnswers = {t.folder / "BRAK.TRS"};
  t.platform.answers = {DialogResult::No};
  EXPECT_FALSE(loadAlignment(*t.program, alignment, {start, end, description, title}, work));
  t.platform.openAnswers = {std::nullopt};
  EXPECT_FALSE(loadAlignment(*t.program, alignment, {start, end, description, title}, work));
  EXPECT_EQ(alignment.count, 4);
  EXPECT_EQ(start.text, "10.00");
  EXPECT_EQ(alignment.minX, 101);  // the extent of the loaded alignment, not a reset one
  EXPECT_EQ(alignment.maxY, 199);
  EXPECT_EQ(work.size(), 8u);
}

}  // namespace
}  // namespace merilon
