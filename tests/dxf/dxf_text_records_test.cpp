// DXF to text records: the entity handlers on drawings written for each case, the command as a
// user runs it (dialog, question, log, abort, record structure), and every drawing of the
// corpus, cross-checked against GDAL's reading of its points and texts.
#include "dxf/dxf_text_records.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <regex>
#include <set>

#include "dxf/dxf_read_command.h"
#include "platform/number_text.h"
#include "platform/text_file.h"
#include "support/test_program.h"

namespace merilon {
namespace {

using Lines = std::vector<std::string>;

// A drawing from "code value" pairs separated by "|": "0 POINT|8 0|10 1".
std::string dxf(const std::string& pairs) {
  std::string out;
  std::size_t start = 0;
  while (start <= pairs.size()) {
    std::size_t end = pairs.find('|', start);
    if (end == std::string::npos) end = pairs.size();
    const std::string pair = pairs.substr(start, end - start);
    const std::size_t blank = pair.find(' ');
    out += pair.substr(0, blank) + "\r\n" +
           (blank == std::string::npos ? "" : pair.substr(blank + 1)) + "\r\n";
    start = end + 1;
  }
  return out;
}

const std::string kEntities = "0 SECTION|2 ENTITIES|";
const std::string kEnd = "|0 ENDSEC|0 EOF";

struct Converted {
  Lines records;
  Lines log;
};

Converted convert(const std::string& bytes, const CoordinateMapping& mapping = {}) {
  Converted c;
  DxfPairReader reader;
  reader.openBytes(bytes);
  DxfTextHooks hooks;
  hooks.log = [&c](const std::string& l) { c.log.push_back(l); };
  convertDxfPairsToText(reader, mapping, c.records, hooks);
  return c;
}

TEST(DxfTextRecords, EntityHandlers) {
  struct Case {
    const char* what;
    std::string pairs;
    Lines records;
    Lines log;
  };
  const Case cases[] = {
      {"a spot height text with a comma",
       "0 TEXT|8 0|10 10|20 20|30 0|40 1|1 Rz=123,45",
       {"10.00,20.00,123.45"},
       {}},
      {"a 3D line",
       "0 LINE|8 0|10 1|20 2|30 3|11 4|21 5|31 6",
       {"1.00,2.00,3.00,1", "4.00,5.00,6.00,0"},
       {}},
      {"a flat line takes its end from group 11",
       "0 3DLINE|8 0|10 1|20 2|11 4|21 5|31 9",
       {"1.00,2.00,0.00,1", "4.00,5.00,0.00,0"},
       {}},
      {"two polylines",
       "0 POLYLINE|8 0|66 1|70 0|0 VERTEX|8 0|10 1|20 1|30 1|0 VERTEX|8 0|10 2|20 2|0 VERTEX|10 "
       "3|20 3|30 3|0 SEQEND|0 POLYLINE|66 1|0 VERTEX|10 7|20 7|0 SEQEND",
       {"1.00,1.00,1.00,1", "2.00,2.00,0.00,0", "3.00,3.00,3.00,0", "7.00,7.00,0.00,1"},
       {}},
      {"a polyline in object coordinates",
       "0 POLYLINE|66 1|210 0|220 0|230 -1|0 VERTEX|10 1|20 1|0 SEQEND|0 POINT|10 5|20 6|30 7",
       {"5.00,6.00,7.00"},
       {"POLYLINE zapisana z OCS nie potrafię zdekodować"}},
      {"an extrusion along +Z is world coordinates",
       "0 POLYLINE|66 1|70 0|210 0|220 0|230 1|0 VERTEX|10 1|20 1|0 SEQEND",
       {"1.00,1.00,0.00,1"},
       {}},
      {"layers named TEXT and POINT start nothing",
       "0 POINT|8 TEXT|10 1|20 2|30 3|0 LINE|8 POINT|10 0|20 0|11 1|21 1",
       {"1.00,2.00,3.00", "0.00,0.00,0.00,1", "1.00,1.00,0.00,0"},
       {}},
      {"a text reading 10, an X reading 30",
       "0 TEXT|8 0|10 30|20 40|1 10|0 POINT|10 30|20 30|30 30",
       {"30.00,40.00,10.00", "30.00,30.00,30.00"},
       {}},
      {"groups in any order",
       "0 POINT|30 3|20 2|8 0|10 1|0 TEXT|1 -5.5|20 8|10 7",
       {"1.00,2.00,3.00", "7.00,8.00,-5.50"},
       {}},
      {"a text in object coordinates lands in the world's",
       "0 TEXT|10 5|20 6|30 0|210 0|220 0|230 -1|1 7",
       {"-5.00,6.00,7.00"},
       {}},
      {"lightweight polylines",
       "0 LWPOLYLINE|8 0|90 2|38 12.5|10 1|20 2|10 3|20 4|0 LWPOLYLINE|90 1|10 5|20 6",
       {"1.00,2.00,12.50,1", "3.00,4.00,12.50,0", "5.00,6.00,0.00,1"},
       {}},
      {"empty and blank texts give nothing", "0 TEXT|10 1|20 1|1 |0 TEXT|10 1|20 1|1    ", {}, {}},
      {"an unreadable number spoils only its entity",
       "0 POINT|10 1,5|20 2|0 TEXT|10 1|20 2|1 KOMIN|0 POINT|10 4|20 5",
       {"4.00,5.00,0.00"},
       {"Nieczytelna liczba w wierszu 8 pliku DXF: 1,5",
        "Nieczytelna liczba w wierszu 18 pliku DXF: KOMIN"}},
      {"the text cleaning keeps blanks, backspace and minus",
       "0 TEXT|10 0|20 0|1 +12.5 m|0 TEXT|10 0|20 0|1 1 2",
       {"0.00,0.00,12.50"},
       {"Nieczytelna liczba w wierszu 20 pliku DXF: 1 2"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const Converted got = convert(dxf(kEntities + c.pairs + kEnd));
    EXPECT_EQ(got.records, c.records);
    EXPECT_EQ(got.log, c.log);
  }
}

TEST(DxfTextRecords, SectionsAndTheEndOfTheFile) {
  // Only ENTITIES is read: not the header, not the blocks, nothing after ENDSEC.
  EXPECT_EQ(convert(dxf("0 SECTION|2 HEADER|9 $X|0 POINT|0 ENDSEC|0 SECTION|2 BLOCKS|0 BLOCK|0 "
                        "POINT|10 9|20 9|0 ENDBLK|0 ENDSEC|" +
                        kEntities +
                        "0 POINT|10 1|20 1|0 ENDSEC|0 SECTION|2 OBJECTS|0 POINT|10 "
                        "8|20 8|0 ENDSEC|0 EOF"))
                .records,
            Lines{"1.00,1.00,0.00"});
  // No ENTITIES at all; an entity cut off by the end; a polyline without SEQEND at the end.
  EXPECT_TRUE(convert(dxf("0 POINT|10 1|20 1|0 EOF")).records.empty());
  EXPECT_EQ(convert(dxf(kEntities + "0 POINT|10 1|20 1|0 POINT|10 2|20 2")).records,
            Lines{"1.00,1.00,0.00"});
  EXPECT_TRUE(convert(dxf(kEntities + "0 POLYLINE|66 1|0 VERTEX|10 1|20 1|0 VERTEX|10 2|20 2"))
                  .records.empty());
  // A broken group code ends the conversion with a log line; what came before stays.
  const Converted broken = convert(dxf(kEntities + "0 POINT|10 1|20 1|0 POINT|1O 2|20 2"));
  EXPECT_EQ(broken.records, Lines{"1.00,1.00,0.00"});
  EXPECT_EQ(broken.log,
            Lines{"Błędny kod grupy w wierszu 13 pliku DXF; dalsza część pliku pominięta"});
  // The DXFWE mapping: x' = (x − 100)·2 + 5000, y' = (y − 200)·2 + 6000, z' = z·0.5.
  CoordinateMapping m;
  m.scale = 2;
  m.drawingOriginX = 100;
  m.drawingOriginY = 200;
  m.surveyOriginX = 5000;
  m.surveyOriginY = 6000;
  m.heightFactor = 0.5;
  EXPECT_EQ(
      convert(dxf(kEntities + "0 POINT|10 101|20 201.5|30 3|0 TEXT|10 100|20 200|1 7" + kEnd), m)
          .records,
      (Lines{"5002.00,6003.00,1.50", "5000.00,6000.00,3.50"}));
}

// --- The command
// ----------------------------------------------------------------------------------

class DxfReadFlow : public ::testing::Test {
 protected:
  std::filesystem::path drawing(const std::string& name, const std::string& bytes) {
    const auto file = t.folder / name;
    testing::writeBytes(file, bytes);
    return file;
  }
  testing::TestProgram t;
};

TEST_F(DxfReadFlow, RecordsLogAndRecordStructure) {
  TFORM_Main& main = t.main();
  main.currentTextFile = "A.TXT";
  main.SeparatorCombo.text = "; (Średnik)";
  main.PositionZCombo.text = "7";
  const auto file = drawing("rys.dxf", dxf(kEntities + "0 TEXT|8 TEXT|10 1|20 2|1 5,25" + kEnd));
  t.platform.openAnswers = {file};
  main.MenuClick(MenuCommand::OpenDxf);
  EXPECT_EQ(t.platform.openRequests.back().title, "Otwórz plik DXF");
  EXPECT_EQ(t.platform.openRequests.back().filter, "Pliki DXF |*.dxf");
  EXPECT_EQ(main.PreviewMemo.lines(), Lines{"1.00,2.00,5.25"});
  const Lines& log = main.LogMemo.lines();
  ASSERT_EQ(log.size(), 4u);
  const std::regex time("\\d\\d:\\d\\d:\\d\\d");
  EXPECT_TRUE(std::regex_match(log[0], std::regex("Otwarcie pliku DXF \\d\\d:\\d\\d:\\d\\d")));
  EXPECT_TRUE(std::regex_match(log[1], std::regex("Rozpoczęcie wczytywania danych z pliku DXF "
                                                  "\\d\\d:\\d\\d:\\d\\d")));
  EXPECT_EQ(log[2].substr(0, log[2].size() - 8),
            "Zakończono wczytywanie danych z pliku: " + file.string() + "   ");
  EXPECT_EQ(log[3], "Liczba wybranych punktów z pliku: 1");
  EXPECT_EQ(main.SeparatorCombo.text, ",(przecinek)");
  EXPECT_EQ(main.PositionXCombo.text + main.PositionYCombo.text + main.PositionZCombo.text +
                main.PositionSymbolCombo.text,
            "1234");
  EXPECT_TRUE(main.currentTextFile.empty());
  EXPECT_EQ(main.currentDxfFile, file.string());
  EXPECT_EQ(t.program->recent.recentCount(), 1);
  EXPECT_TRUE(main.Button14.enabled);
  EXPECT_FALSE(t.platform.busy);
  EXPECT_EQ(main.ProgressBar1.position, 0);

  // The records are points for "Wczytaj do Punktów".
  t.platform.answers = {DialogResult::No};
  main.Button2Click();
  ASSERT_EQ(t.points().pointCount(), 1);
  EXPECT_EQ(t.points().pointZ[1], 5.25);
}

TEST_F(DxfReadFlow, TransformationQuestionBinaryFilesAndAbort) {
  TFORM_Main& main = t.main();
  testing::writeBytes(t.folder / "merilon.knf", "DXFWE,1,0,0,10,0,1\r\n");
  const auto file = drawing("a.dxf", dxf(kEntities + "0 POINT|10 1|20 2" + kEnd));
  t.platform.openAnswers = {file};
  t.platform.answers = {DialogResult::No};
  main.Button14Click();
  ASSERT_EQ(t.platform.messages.size(), 1u);
  EXPECT_EQ(t.platform.messages[0].title, "Transformacja współrzędnych");
  EXPECT_EQ(t.platform.messages[0].text,
            "Współrzędne punktów poddane zostaną transformacji zgodnie z zapisem w pliku "
            "\"merilon.knf\". Czy mimo to wczytywać?");
  EXPECT_TRUE(main.LogMemo.lines().empty());
  EXPECT_EQ(main.PreviewMemo.lineCount(), 0u);
  t.platform.openAnswers = {file};
  t.platform.answers = {DialogResult::Yes};
  main.Button14Click();
  EXPECT_EQ(main.PreviewMemo.lines(), Lines{"11.00,2.00,0.00"});
  std::filesystem::remove(t.folder / "merilon.knf");

  // A binary drawing is named as such and changes nothing.
  t.platform.openAnswers = {drawing("b.dxf", std::string("AutoCAD Binary DXF\r\n\x1a\0\0\0", 25))};
  main.Button14Click();
  EXPECT_EQ(t.platform.messages.back().text,
            "Plik: " + (t.folder / "b.dxf").string() +
                " nie jest plikiem DXF w postaci tekstowej (zapisano go binarnie).");
  EXPECT_EQ(main.PreviewMemo.lines(), Lines{"11.00,2.00,0.00"});

  // "Przerwij" during a large drawing: No goes on, Yes stops with the records made so far and
  // leaves the record structure alone.
  std::string big = kEntities;
  for (int k = 0; k < 40000; ++k) big += "0 POINT|8 0|10 " + std::to_string(k) + "|20 1|30 2|";
  const auto bigFile = drawing("big.dxf", dxf(big + "0 ENDSEC|0 EOF"));
  for (DialogResult answer : {DialogResult::No, DialogResult::Yes}) {
    main.SeparatorCombo.text = "t (tabulator)";
    t.platform.openAnswers = {bigFile};
    t.platform.answers = {answer};
    int calls = 0;
    t.platform.onPendingEvents = [&](int) {
      if (++calls == 5) main.Button18Click();
    };
    main.Button14Click();
    t.platform.onPendingEvents = nullptr;
    EXPECT_EQ(t.platform.messages.back().title, "Zatrzymano proces przewarzania pliku DXF");
    EXPECT_EQ(t.platform.messages.back().text, "Przerwać generowanie pliku tekstowego z DXF?");
    if (answer == DialogResult::No) {
      EXPECT_EQ(main.PreviewMemo.lineCount(), 40000u);
      EXPECT_EQ(main.SeparatorCombo.text, ",(przecinek)");
    } else {
      EXPECT_GT(main.PreviewMemo.lineCount(), 0u);
      EXPECT_LT(main.PreviewMemo.lineCount(), 40000u);
      EXPECT_EQ(main.SeparatorCombo.text, "t (tabulator)");
    }
    EXPECT_FALSE(main.abortRequested);
    EXPECT_TRUE(main.Button14.enabled);
  }
  EXPECT_EQ(main.ProgressBar1.maximum, static_cast<int>(std::filesystem::file_size(bigFile) / 4));
}

// --- Drawings written by other programs ---------------------------------------------------------

std::string runCommand(const std::string& command) {
  std::string out;
  if (FILE* p = popen(command.c_str(), "r")) {
    char buf[4096];
    while (std::size_t n = std::fread(buf, 1, sizeof buf, p)) out.append(buf, n);
    pclose(p);
  }
  return out;
}

TEST(DxfCorpus, EveryDrawingConvertsAndPointsMatchGdal) {
  const auto corpus =
      std::filesystem::path(MERILON_SOURCE_DIR) / ".." / "shared" / "corpus" / "dxf";
  if (!std::filesystem::exists(corpus)) GTEST_SKIP() << "no corpus at " << corpus;
  const bool haveGdal = std::system("ogrinfo --version >/dev/null 2>&1") == 0;
  int files = 0, compared = 0;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(corpus)) {
    if (!entry.is_regular_file()) continue;
    ++files;
    SCOPED_TRACE(entry.path().string());
    DxfPairReader reader;
    std::string error;
    ASSERT_TRUE(reader.open(entry.path(), error));
    Lines records, log;
    DxfTextHooks hooks;
    hooks.log = [&log](const std::string& l) { log.push_back(l); };
    convertDxfPairsToText(reader, CoordinateMapping{}, records, hooks);
    if (!haveGdal || reader.isBinary()) continue;
    // GDAL's point features (points, texts, and more of its own): each of our point and text
    // records must be among them, at 0.01.
    const std::string listing = runCommand("DXF_INLINE_BLOCKS=FALSE ogrinfo -ro -q -al '" +
                                           entry.path().string() + "' 2>/dev/null");
    std::set<std::string> gdalPoints;
    static const std::regex point("POINT Z? ?\\(([-0-9.e+]+) ([-0-9.e+]+)");
    for (auto it = std::sregex_iterator(listing.begin(), listing.end(), point);
         it != std::sregex_iterator(); ++it) {
      gdalPoints.insert(formatFixed(std::stod((*it)[1]), 2) + "," +
                        formatFixed(std::stod((*it)[2]), 2));
    }
    if (gdalPoints.empty()) continue;
    for (const std::string& r : records) {
      if (std::count(r.begin(), r.end(), ',') != 2) continue;  // lines and polylines
      const std::string xy = r.substr(0, r.rfind(','));
      EXPECT_TRUE(gdalPoints.count(xy)) << xy;
      ++compared;
    }
  }
  RecordProperty("files", files);
  RecordProperty("compared", compared);
  EXPECT_GT(files, 50);
  if (haveGdal) {
    EXPECT_GT(compared, 20);
  }
}

}  // namespace
}  // namespace merilon
