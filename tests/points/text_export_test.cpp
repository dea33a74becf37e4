// "Zapisz Punkty do txt" and "Zapisz dane txt": the written files byte for byte, the proposed
// and forced names, both overwrite questions, and what happens when there is nothing to write.
#include "points/text_export.h"

#include <gtest/gtest.h>

#include "platform/cp1250.h"
#include "points/no_value.h"
#include "points/point_store.h"
#include "support/test_program.h"

namespace merilon {
namespace {

using testing::crlf;
using testing::readBytes;
using testing::TestProgram;
using testing::writeBytes;

void addPoint(PointStore& points, double x, double y, double z, const char* name, int type) {
  ASSERT_TRUE(points.reservePoint());
  points.setPoint(points.pointCount(), x, y, z, PointName::fromText(name), type);
}

// The points of the golden point text file; merilon-cli export-txt must write the same bytes.
void addGoldenPoints(PointStore& points) {
  addPoint(points, 7452101.234, 5602345.5, 112.345, "P00001", 0);
  addPoint(points, 5, -12.5, NO_VALUE_F, "SKRAJ", 3);
  addPoint(points, 1, 2, 3, "ZNAK", 9);  // type 9 is left out
  addPoint(points, 0.005, 100, 0, "NA,1", 12);
  addPoint(points, -0.5, 1e6, 99.999, "Łąka-żółta", -1);
}

TEST(PointTextExport, WritesEveryPointButType9AndRemembersTheCodes) {
  TestProgram t;
  TFORM_Main& m = t.main();
  addGoldenPoints(t.points());
  m.pointFileName = (t.folder / "POMIAR.MERI").string();
  t.platform.saveAnswers = {t.folder / "POMIAR.CSV"};
  exportPointText(m);
  ASSERT_EQ(t.platform.saveRequests.size(), 1u);
  EXPECT_EQ(t.platform.saveRequests[0].proposedName, (t.folder / "POMIARpkt.txt").string());
  EXPECT_EQ(t.platform.saveRequests[0].filter, "Pliki tekstowe|*.txt");
  EXPECT_FALSE(std::filesystem::exists(t.folder / "POMIAR.CSV"));
  testing::expectGolden(t.folder / "POMIAR.txt", "point_text.txt");
  EXPECT_EQ(t.program->lastTextExport, (t.folder / "POMIAR.txt").string());
  EXPECT_NE(readBytes(t.folder / "MERI_PARAM.knf").find(upperCase(m.pointFileName) + ",0,0,0,"),
            std::string::npos);
  EXPECT_TRUE(m.Button1.enabled);
  EXPECT_TRUE(t.platform.messages.empty());

  // Declining to overwrite leaves the file as it was.
  writeBytes(t.folder / "POMIAR.txt", "stary\r\n");
  t.platform.saveAnswers = {t.folder / "POMIAR.txt"};
  t.platform.answers = {DialogResult::No};
  exportPointText(m);
  EXPECT_EQ(t.platform.messages.back().text,
            "Plik: " + (t.folder / "POMIAR.txt").string() + " istnieje. Czy mimo to zapisywać?");
  EXPECT_EQ(readBytes(t.folder / "POMIAR.txt"), "stary\r\n");
}

TEST(PointTextExport, RefusesWithoutPointsAndWhileALongCommandRuns) {
  TestProgram t;
  TFORM_Main& m = t.main();
  exportPointText(m);
  ASSERT_EQ(
      t.platform.shownTexts(),
      std::vector<std::string>{"Zapis Punktów do plików tekstowych: Nie wczytano Punktów !!!"});
  EXPECT_EQ(t.platform.messages[0].icon, MessageIcon::Warning);
  EXPECT_TRUE(t.platform.saveRequests.empty());

  // Pressed while an import loops: nothing is asked and the import keeps its commands disabled.
  m.PreviewMemo.setLines({"1,1,1", "2,2,2"});
  bool stillDisabled = false;
  t.platform.onPendingEvents = [&](int step) {
    if (step != 2) return;
    t.platform.saveAnswers = {t.folder / "w.txt"};
    exportPointText(m);
    stillDisabled = !m.Button1.enabled;
  };
  t.platform.answers = {DialogResult::No};
  m.Button2Click();
  EXPECT_TRUE(stillDisabled);
  EXPECT_EQ(t.platform.beeps, 1);
  EXPECT_FALSE(std::filesystem::exists(t.folder / "w.txt"));
}

TEST(PreviewTextExport, WritesThePreviewAfterBothQuestions) {
  TestProgram t;
  TFORM_Main& m = t.main();
  m.PreviewMemo.setLines({"Nr;X;Y;Z", "Ł1;10.5;20;30", "  ;;  "});
  t.platform.saveAnswers = {t.folder / "wynik.dat"};
  // "Ze schowka" pressed while the file is written appends to the preview, not to the file.
  t.platform.onPendingEvents = [&](int step) {
    if (step != 2) return;
    t.platform.clipboard = std::string(200, 'x') + "\n" + std::string(200, 'y');
    m.Button20Click();
  };
  exportPreviewText(m);
  t.platform.onPendingEvents = nullptr;
  EXPECT_EQ(m.PreviewMemo.lineCount(), 5u);
  m.PreviewMemo.setLines({"Nr;X;Y;Z", "Ł1;10.5;20;30", "  ;;  "});
  testing::expectGolden(t.folder / "wynik.txt", "preview_text.txt");
  EXPECT_EQ(m.currentTextFile, (t.folder / "wynik.txt").string());

  // An existing file: the command's question, then the writer's own.
  const std::string name = (t.folder / "wynik.txt").string();
  writeBytes(name, "stary\r\n");
  for (auto answers :
       {std::deque{DialogResult::No}, std::deque{DialogResult::Yes, DialogResult::No}}) {
    t.platform.messages.clear();
    t.platform.saveAnswers = {name};
    t.platform.answers = answers;
    exportPreviewText(m);
    EXPECT_EQ(t.platform.messages.size(), answers.size());
    EXPECT_EQ(readBytes(name), "stary\r\n");
  }
  EXPECT_EQ(t.platform.messages[0].icon, MessageIcon::Question);
  EXPECT_EQ(t.platform.messages[1].icon, MessageIcon::Warning);
  t.platform.saveAnswers = {name};
  t.platform.answers = {DialogResult::Yes, DialogResult::Yes};
  exportPreviewText(m);
  EXPECT_EQ(readBytes(name),
            readBytes(std::filesystem::path(MERILON_TEST_DATA) / "golden" / "preview_text.txt"));
}

TEST(PreviewTextExport, OneLineWritesNoFileAndCancelEnablesTheCommands) {
  TestProgram t;
  TFORM_Main& m = t.main();
  m.PreviewMemo.setLines({"1,2,3"});
  t.platform.saveAnswers = {t.folder / "jeden.txt"};
  exportPreviewText(m);
  EXPECT_FALSE(std::filesystem::exists(t.folder / "jeden.txt"));
  m.disableCommands();
  exportPreviewText(m);  // the dialog is cancelled
  EXPECT_TRUE(m.Button15.enabled);
}

}  // namespace
}  // namespace merilon
