// Flows of "Wczytaj do Punktów" driven through the scripted platform.
#include "points/text_import.h"

#include <gtest/gtest.h>

#include "points/no_value.h"
#include "support/test_program.h"

namespace merilon {
namespace {

using testing::TestProgram;

struct ImportFlow : ::testing::Test {
  TestProgram t;
  TFORM_Main& main = t.main();
  PointStore& points = t.points();

  void setPreview(std::vector<std::string> lines) { main.PreviewMemo.setLines(std::move(lines)); }
  // Runs the import answering the closing "Zapisać punkty?" with No.
  void import(std::deque<DialogResult> answers = {}) {
    answers.push_back(DialogResult::No);
    t.platform.answers = std::move(answers);
    main.Button2Click();
    EXPECT_TRUE(t.platform.answers.empty()) << "questions left unasked";
  }
  std::vector<std::string> titles() const {
    std::vector<std::string> out;
    for (const auto& m : t.platform.messages) out.push_back(m.title);
    return out;
  }
};

TEST_F(ImportFlow, ImportsRoundedPointsWithNamesTypesAndSummary) {
  main.PositionTypeCombo.text = "5";
  setPreview({"7452101.234,5602345.505,112.3456,A1,3", "10,20,30,,x", "1.125,2.375,3.0005, B ,7"});
  import();
  ASSERT_EQ(points.pointCount(), 3);
  EXPECT_EQ(points.pointX[1], 7452101.23);
  EXPECT_EQ(points.pointY[1], 5602345.5);  // 560234550.49999... rounds down
  EXPECT_EQ(points.pointZ[1], 112.346);
  EXPECT_EQ(points.pointName[1].text(), "A1");
  EXPECT_EQ(points.pointType[1], 3);
  EXPECT_EQ(points.pointName[2].text(), "P00002");  // blank symbol: the default name
  EXPECT_EQ(points.pointType[2], 0);                // unreadable type: 0
  EXPECT_EQ(points.pointX[3], 1.12);                // halves to even
  EXPECT_EQ(points.pointY[3], 2.38);
  EXPECT_EQ(points.pointName[3].text(), "B");
  const auto& last = t.platform.messages.back();
  EXPECT_EQ(last.title, "Operacja dodawania punktów");
  EXPECT_EQ(last.text, "Liczba dopisanych punktów: 3 Zapisać punkty?");
  EXPECT_FALSE(main.pointsSaved);
  EXPECT_EQ(main.PointCountLabel.caption, "Liczba punktów w do analizy: 3");
  EXPECT_EQ(main.LogMemo.lines().front(), "---- Wczytywanie dodatkowych danych (punkty) z pliku: ");
  EXPECT_TRUE(main.Button2.enabled);
  EXPECT_FALSE(t.platform.busy);
}

// Values whose rounding overflows would be written as "INF" and read back as NO_VALUE.
TEST_F(ImportFlow, CoordinatesThatOverflowWhenRoundedAreNoNumbers) {
  setPreview({"2e306,1,1", "1,-1.7e307,1", "1e306,5,1", "3,4,1e306", "5,6,1.7e305"});
  import();
  ASSERT_EQ(points.pointCount(), 3);
  EXPECT_DOUBLE_EQ(points.pointX[1], 1e306);
  EXPECT_EQ(points.pointZ[2], NO_VALUE_F);  // a height is stored as not read
  EXPECT_DOUBLE_EQ(points.pointZ[3], 1.7e305);
  EXPECT_EQ(main.LogMemo.lines().back(), "Pominięte wiersze bez współrzędnych X, Y: 2");
}

TEST_F(ImportFlow, SkipsHeaderAndShortLinesAndLogsSameXYOtherZ) {
  main.PositionXCombo.text = "2";
  main.PositionYCombo.text = "3";
  main.PositionZCombo.text = "4";
  main.PositionSymbolCombo.text = "1";
  setPreview({"Nr,X,Y,Z", "1,10,20,30", "2,10", "3,10,20,30.004", "4,10,20,31", "x,y"});
  import();
  ASSERT_EQ(points.pointCount(), 2);  // the exact duplicate is skipped silently
  EXPECT_EQ(points.pointName[2].text(), "4");
  const auto& log = main.LogMemo.lines();
  ASSERT_EQ(log.size(), 3u);
  EXPECT_EQ(log[1],
            "* Dwa punkty z rekordu: 5 i punkt nr 1 o takich samych współrzędnych X i Y i różnym "
            "Z: 4,10,20,31 i 30");
  EXPECT_EQ(log[2], "Pominięte wiersze bez współrzędnych X, Y: 1");
}

TEST_F(ImportFlow, RefusesAnUnusableRecordStructure) {
  setPreview({"1,2,3"});
  for (auto [x, y, z, s] :
       std::vector<std::tuple<const char*, const char*, const char*, const char*>>{
           {"1", "1", "3", "0"},
           {"1", "2", "2", "0"},
           {"0", "2", "3", "0"},
           {"1", "2", "3", "2"},
           {"a", "2", "3", "0"}}) {
    main.PositionXCombo.text = x;
    main.PositionYCombo.text = y;
    main.PositionZCombo.text = z;
    main.PositionSymbolCombo.text = s;
    t.platform.messages.clear();
    main.Button2Click();
    ASSERT_EQ(t.platform.messages.size(), 1u) << x << y << z << s;
    EXPECT_EQ(t.platform.messages[0].title, "Błąd");
    EXPECT_EQ(t.platform.messages[0].text,
              "Błędnie podane parametry dla pliku z danymi (struktura, separator)");
    EXPECT_EQ(points.pointCount(), 0);
    EXPECT_TRUE(main.Button2.enabled);
  }
  main.SeparatorCombo.text = "";
  t.platform.messages.clear();
  main.PositionXCombo.text = "1";
  main.PositionYCombo.text = "2";
  main.PositionZCombo.text = "3";
  main.PositionSymbolCombo.text = "0";  // no symbol is valid, but the separator is empty
  main.Button2Click();
  ASSERT_EQ(t.platform.messages.size(), 1u);
  EXPECT_EQ(t.platform.messages[0].title, "Błąd");
}

TEST_F(ImportFlow, SeparatorChoicesFromTheDropDown) {
  main.SeparatorCombo.text = "t (tabulator)";
  setPreview({"1\t2\t3\tA"});
  import();
  EXPECT_EQ(points.pointCount(), 1);
  main.SeparatorCombo.text = "  (spacja)";
  setPreview({"  5   6 7 B"});
  import({DialogResult::Yes});
  ASSERT_EQ(points.pointCount(), 2);
  EXPECT_EQ(points.pointX[2], 5);
  EXPECT_EQ(points.pointName[2].text(), "B");
}

TEST_F(ImportFlow, AsksOnceAfterManyLinesWithoutData) {
  std::vector<std::string> lines(150, "");
  lines.push_back("1,2,3");
  setPreview(lines);
  import({DialogResult::No});
  EXPECT_EQ(points.pointCount(), 1);
  ASSERT_EQ(t.platform.messages.size(), 2u);
  EXPECT_EQ(t.platform.messages[0].title, "Brak danych w linii");
  EXPECT_EQ(t.platform.messages[0].text,
            "Dużo linii bez danych (może wybrany zły znak rozdzielający?), Przerwać wczytywanie?");

  // Yes stops at once: no summary, commands back.
  setPreview(std::vector<std::string>(120, "a;b"));
  t.platform.messages.clear();
  t.platform.answers = {DialogResult::Yes, DialogResult::Yes};
  main.Button2Click();
  EXPECT_EQ(titles(), (std::vector<std::string>{"Wpisywanie punktów", "Brak danych w linii"}));
  EXPECT_TRUE(main.Button2.enabled);
}

TEST_F(ImportFlow, PrzerwijAtAChosenLineStopsWhenConfirmed) {
  std::vector<std::string> lines;
  for (int k = 0; k < 50; ++k) lines.push_back(std::to_string(k) + ",1,1");
  setPreview(lines);
  // The progress bar processes pending events once per line after its start; "Przerwij" is
  // pressed while line 9 is being read.
  t.platform.answers = {DialogResult::No, DialogResult::Yes};
  // First "Przerwać wczytywanie?" answered No goes on; the second press stops.
  int presses = 0;
  t.platform.onPendingEvents = [&](int step) {
    if (step == 11 || step == 31) {
      main.Button18Click();
      ++presses;
    }
  };
  main.Button2Click();
  EXPECT_EQ(presses, 2);
  EXPECT_EQ(titles(), (std::vector<std::string>{"Zatrzymano proces wczytywania danych",
                                                "Zatrzymano proces wczytywania danych"}));
  EXPECT_EQ(t.platform.messages[0].text, "Przerwać wczytywanie?");
  EXPECT_EQ(points.pointCount(), 30);
  EXPECT_TRUE(main.Button2.enabled);
  EXPECT_FALSE(main.abortRequested);
  // The points read so far are unsaved: closing must ask.
  EXPECT_FALSE(main.pointsSaved);
  t.platform.answers = {DialogResult::No};
  EXPECT_FALSE(main.FormCloseQuery());
}

TEST_F(ImportFlow, AppendQuestionKeepsClearsOrCancels) {
  setPreview({"1,1,1"});
  import();
  setPreview({"2,2,2"});
  import({DialogResult::Yes});
  EXPECT_EQ(points.pointCount(), 2);
  EXPECT_EQ(t.platform.messages[1].text,
            "Zbiór punktów zawiera już 1 punktów. Dopisać nowe dane? (nie -zapis od nowa)");
  main.pointToolLines = {"x"};
  setPreview({"3,3,3"});
  import({DialogResult::No});
  EXPECT_EQ(points.pointCount(), 1);
  EXPECT_EQ(points.pointX[1], 3);
  EXPECT_TRUE(main.pointToolLines.empty());
  t.platform.messages.clear();
  t.platform.answers = {DialogResult::Cancel};
  main.Button2Click();
  EXPECT_EQ(points.pointCount(), 1);
  EXPECT_EQ(t.platform.messages.size(), 1u);
  EXPECT_TRUE(main.Button2.enabled);
  // No empties the store before the first line, even when the import then stops.
  setPreview({"9,9,9"});
  main.PositionXCombo.text = "x";
  main.pointsSaved = true;
  t.platform.answers = {DialogResult::No};
  main.Button2Click();
  EXPECT_EQ(points.pointCount(), 0);
  EXPECT_FALSE(main.pointsSaved);  // the store was emptied: the old points are gone unsaved
}

TEST_F(ImportFlow, GrowthAtThe6000thPointAndItsFailure) {
  std::vector<std::string> lines;
  for (int k = 1; k <= 6500; ++k) lines.push_back(std::to_string(k) + ",0,0");
  setPreview(lines);
  import();
  EXPECT_EQ(points.pointCount(), 6500);
  EXPECT_EQ(points.pointCapacity(), 11000);

  points.capacityLimitForTesting = 11000;
  for (int k = 1; k <= 6000; ++k) lines.push_back(std::to_string(k + 10000) + ",0,0");
  setPreview(lines);
  t.platform.messages.clear();
  t.platform.answers = {DialogResult::No};
  main.Button2Click();
  EXPECT_EQ(points.pointCount(), 10999);
  EXPECT_EQ(titles(), (std::vector<std::string>{"Wpisywanie punktów", "Błąd, alokacji pamięci"}));
  EXPECT_TRUE(main.Button2.enabled);
  EXPECT_FALSE(main.pointsSaved);
}

TEST_F(ImportFlow, ClipboardDuringTheImportDoesNotDisturbIt) {
  setPreview({"1,1,1", "2,2,2", "3,3,3"});
  t.platform.clipboard = "7,7,7\n8,8,8";
  t.platform.onPendingEvents = [&](int step) {
    if (step == 2) main.Button20Click();
  };
  import();
  EXPECT_EQ(points.pointCount(), 3);
  EXPECT_EQ(main.PreviewMemo.lineCount(), 5u);
  // The pasted lines are read by the next import.
  t.platform.onPendingEvents = nullptr;
  import({DialogResult::Yes});
  EXPECT_EQ(points.pointCount(), 5);
}

TEST_F(ImportFlow, SaveAnswerRunsZapiszPunkty) {
  setPreview({"1,2,3,A"});
  t.platform.answers = {DialogResult::Yes};
  t.platform.saveAnswers = {t.folder / "nowe"};
  main.Button2Click();
  EXPECT_TRUE(main.pointsSaved);
  EXPECT_TRUE(std::filesystem::exists(t.folder / "nowe.meri"));
  EXPECT_EQ(main.pointFileName, (t.folder / "nowe.meri").string());
  // The file name under which the record structure is remembered is the current text file.
  main.currentTextFile = (t.folder / "a.txt").string();
  t.platform.answers = {DialogResult::Yes, DialogResult::No};
  main.Button2Click();
  const std::string params = testing::readBytes(t.folder / "MERI_PARAM.knf");
  EXPECT_NE(params.find("/A.TXT,0,0,0,1,2,3,4,0,44,S,NA,NB,HA,HB,0.50,0.30,0.50,0.30\r\n"),
            std::string::npos);
}

}  // namespace
}  // namespace merilon
