// The DXF underlay: the reader on drawings written for each case, the element table's growth,
// the "Podczytaj dxf" and "Odłącz DXF" commands as a user runs them (dialog, retry, progress,
// abort, log), and every drawing of the corpus, compared with a reader that compares raw lines
// where that reader pairs codes and values correctly.
#include "dxf/dxf_underlay.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "dxf/dxf_underlay_reader.h"
#include "dxf/underlay_command.h"
#include "platform/number_text.h"
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

std::string f4(double v) { return formatFixed(std::fabs(v) < 5e-5 ? 0 : v, 4); }

// Each element as one line of text: "line 1,2 3,4", "arc 0,0 r5 0..6.2832", "text 1,2 0 2.5 ABC".
Lines describe(const DxfUnderlay& u) {
  Lines out;
  for (int e = 1; e <= u.elementCount; ++e) {
    const auto i = static_cast<std::size_t>(e);
    const std::string a = f4(u.elementA1[i]) + "," + f4(u.elementA2[i]);
    switch (u.elementKind[i]) {
      case kUnderlayPoint:
        out.push_back("point " + a);
        break;
      case kUnderlayLine:
        out.push_back("line " + a + " " + f4(u.elementA3[i]) + "," + f4(u.elementA4[i]));
        break;
      case kUnderlayText:
        out.push_back("text " + a + " " + f4(u.elementA3[i]) + " " + f4(u.elementA4[i]) + " " +
                      u.text(e));
        break;
      default:
        out.push_back("arc " + a + " r" + f4(u.radius(e)) + " " + f4(u.elementA3[i]) + ".." +
                      f4(u.elementA4[i]));
        break;
    }
  }
  return out;
}

struct Loaded {
  Lines elements;
  Lines log;
  UnderlayReadResult result;
};

Loaded load(const std::string& bytes, DxfUnderlay& u) {
  Loaded l;
  DxfPairReader reader;
  reader.openBytes(bytes);
  UnderlayReadHooks hooks;
  hooks.log = [&l](const std::string& line) { l.log.push_back(line); };
  u.restartElements();
  l.result = readUnderlay(reader, u, hooks);
  l.elements = describe(u);
  return l;
}

Loaded load(const std::string& bytes) {
  DxfUnderlay u;
  return load(bytes, u);
}

TEST(DxfUnderlayReader, Entities) {
  struct Case {
    const char* what;
    std::string pairs;
    Lines elements;
    Lines log;
  };
  const Case cases[] = {
      {"points and lines, heights not kept",
       "0 POINT|8 0|10 1|20 2|30 3|0 LINE|8 0|10 1|20 2|30 3|11 4|21 5|31 6|0 3DLINE|10 7|20 "
       "8|11 9|21 10",
       {"point 1.0000,2.0000", "line 1.0000,2.0000 4.0000,5.0000",
        "line 7.0000,8.0000 9.0000,10.0000"},
       {}},
      {"a circle is a whole turn, an arc keeps its degrees as radians",
       "0 CIRCLE|10 1|20 2|40 5|0 ARC|10 0|20 0|40 2|50 350|51 10",
       {"arc 1.0000,2.0000 r5.0000 0.0000..6.2832", "arc 0.0000,0.0000 r2.0000 6.1087..0.1745"},
       {}},
      {"Polish letters from their codes, height, rotation",
       "0 TEXT|10 1|20 2|40 2.5|50 90|1 %%179%%243d%%159|0 TEXT|10 0|20 0|40 1|1 "
       "%%165%%202%%198%%140%%209%%163%%143%%175%%211 %%185%%234%%230%%156%%241%%191 %%123 %%",
       {"text 1.0000,2.0000 1.5708 2.5000 łódź",
        "text 0.0000,0.0000 0.0000 1.0000 ĄĘĆŚŃŁŹŻÓ "
        "ąęćśńż %%123 %%"},
       {}},
      {"a text without height, texts with escapes and their own code page",
       "0 TEXT|10 1|20 2|1 Dz%%191a|0 TEXT|10 1|20 2|40 1|1 \\U+0141\\U+00F3d\\U+017A|0 TEXT|10 "
       "0|20 0|40 1|1 \xb3\xf3\x64\x9f",
       {"text 1.0000,2.0000 0.0000 0.0000 Dzża", "text 1.0000,2.0000 0.0000 1.0000 Łódź",
        "text 0.0000,0.0000 0.0000 1.0000 łódź"},
       {}},
      {"the baseline's second point turns centred and aligned texts, not left ones",
       "0 TEXT|10 0|20 0|40 1|50 30|1 A|72 1|11 0|21 -2|0 TEXT|10 0|20 0|40 1|50 30|1 B|72 0|11 "
       "0|21 -2|0 TEXT|10 0|20 0|40 1|1 C|72 1|11 5|21 5|73 2",
       {"text 0.0000,0.0000 4.7124 1.0000 A", "text 0.0000,0.0000 0.5236 1.0000 B",
        "text 0.0000,0.0000 0.0000 1.0000 C"},
       {}},
      {"a polyline: short segments dropped, the vertex still starts the next",
       "0 POLYLINE|8 0|66 1|70 0|0 VERTEX|10 0|20 0|0 VERTEX|10 0.005|20 0|0 VERTEX|10 3|20 "
       "0|0 SEQEND|0 POINT|10 9|20 9",
       {"line 0.0050,0.0000 3.0000,0.0000", "point 9.0000,9.0000"},
       {}},
      {"closed polylines get their closing segment",
       "0 POLYLINE|66 1|70 1|0 VERTEX|10 0|20 0|0 VERTEX|10 4|20 0|0 VERTEX|10 4|20 3|0 "
       "SEQEND|0 LWPOLYLINE|90 3|70 1|10 10|20 0|10 14|20 0|10 14|20 3",
       {"line 0.0000,0.0000 4.0000,0.0000", "line 4.0000,0.0000 4.0000,3.0000",
        "line 4.0000,3.0000 0.0000,0.0000", "line 10.0000,0.0000 14.0000,0.0000",
        "line 14.0000,0.0000 14.0000,3.0000", "line 14.0000,3.0000 10.0000,0.0000"},
       {}},
      {"bulges are arcs through both vertices, either way round",
       "0 POLYLINE|66 1|0 VERTEX|10 0|20 0|42 1|0 VERTEX|10 2|20 0|42 -1|0 VERTEX|10 4|20 0|0 "
       "SEQEND|0 LWPOLYLINE|90 2|70 1|10 0|20 10|42 1|10 2|20 10|42 1",
       {"arc 1.0000,0.0000 r1.0000 3.1416..0.0000", "arc 3.0000,0.0000 r1.0000 0.0000..3.1416",
        "arc 1.0000,10.0000 r1.0000 3.1416..0.0000", "arc 1.0000,10.0000 r1.0000 0.0000..3.1416"},
       {}},
      {"entities in a plane seen from below are mirrored",
       "0 ARC|10 5|20 0|40 1|50 0|51 90|210 0|220 0|230 -1|0 LWPOLYLINE|90 2|210 0|220 0|230 "
       "-1|10 1|20 1|10 2|20 1",
       {"arc -5.0000,0.0000 r1.0000 1.5708..3.1416", "line -1.0000,1.0000 -2.0000,1.0000"},
       {}},
      {"names and codes only where the format puts them",
       "0 LINE|8 POINT|10 0|20 0|11 10|21 10|0 TEXT|8 LINE|10 10|20 20|40 10|1 CIRCLE|0 "
       "POINT|8 TEXT|10 11|20 10",
       {"line 0.0000,0.0000 10.0000,10.0000", "text 10.0000,20.0000 0.0000 10.0000 CIRCLE",
        "point 11.0000,10.0000"},
       {}},
      {"an unreadable number leaves out only its entity",
       "0 LINE|10 1,5|20 2|11 3|21 4|0 CIRCLE|10 0|20 0|40 x|0 POINT|10 4|20 5",
       {"point 4.0000,5.0000"},
       {"Nieczytelna liczba w wierszu 8 pliku DXF: 1,5",
        "Nieczytelna liczba w wierszu 22 pliku DXF: x"}},
      {"kinds left out, counted once each; attributes go with their insert",
       "0 SPLINE|10 0|20 0|0 INSERT|2 B|66 1|0 ATTRIB|1 X|0 SEQEND|0 SPLINE|0 ELLIPSE|0 "
       "POLYLINE|70 64|0 VERTEX|10 1|20 1|0 SEQEND|0 CIRCLE|10 0|20 0|40 1|210 1|220 0|230 0",
       {},
       {"Pominięto obiekty DXF typu SPLINE: 2", "Pominięto obiekty DXF typu INSERT: 1",
        "Pominięto obiekty DXF typu ELLIPSE: 1", "Pominięto obiekty DXF typu POLYLINE (siatka): 1",
        "Pominięto obiekty DXF typu CIRCLE (OCS): 1"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const Loaded got = load(dxf(kEntities + c.pairs + kEnd));
    EXPECT_EQ(got.elements, c.elements);
    EXPECT_EQ(got.log, c.log);
  }
}

TEST(DxfUnderlayReader, LayersSectionsAndTheEndOfTheFile) {
  // Layers off (negative colour) or frozen are left out, whatever the case of their names;
  // invisible entities too. Only ENTITIES is read.
  const std::string tables =
      "0 SECTION|2 HEADER|9 $ACADVER|1 AC1009|0 ENDSEC|0 SECTION|2 TABLES|0 TABLE|2 LAYER|0 "
      "LAYER|2 Mapa|70 0|62 -7|0 LAYER|2 ZAMR|70 1|62 3|0 LAYER|2 WIDOCZNA|70 0|62 5|0 "
      "ENDTAB|0 ENDSEC|0 SECTION|2 BLOCKS|0 BLOCK|0 POINT|10 8|20 8|0 ENDBLK|0 ENDSEC|";
  const Loaded layers = load(dxf(tables + kEntities +
                                 "0 POINT|8 MAPA|10 1|20 1|0 POINT|8 zamr|10 2|20 2|0 POINT|8 "
                                 "WIDOCZNA|10 3|20 3|0 POINT|60 1|10 4|20 4|0 POLYLINE|8 Mapa|0 "
                                 "VERTEX|10 0|20 0|0 VERTEX|10 1|20 0|0 SEQEND" +
                                 kEnd + "|0 SECTION|2 OBJECTS|0 POINT|10 9|20 9|0 ENDSEC"));
  EXPECT_EQ(layers.elements, Lines{"point 3.0000,3.0000"});
  EXPECT_EQ(layers.log,
            Lines{"Pominięto obiekty niewidoczne (warstwy wyłączone lub zamrożone): 4"});
  // The end of the file ends the entity being read; a polyline without SEQEND keeps its
  // segments. A broken group code ends the load with what came before.
  EXPECT_EQ(load(dxf(kEntities + "0 POINT|10 1|20 1|0 LINE|10 0|20 0|11 1|21 1")).elements,
            (Lines{"point 1.0000,1.0000", "line 0.0000,0.0000 1.0000,1.0000"}));
  EXPECT_EQ(load(dxf(kEntities + "0 POLYLINE|0 VERTEX|10 0|20 0|0 VERTEX|10 2|20 0")).elements,
            Lines{"line 0.0000,0.0000 2.0000,0.0000"});
  EXPECT_EQ(load(dxf(kEntities + "0 TEXT|10 1|20 1|40 1|1 AB")).elements,
            Lines{"text 1.0000,1.0000 0.0000 1.0000 AB"});
  const Loaded broken = load(dxf(kEntities + "0 POINT|10 1|20 1|0 POINT|1O 2|20 2"));
  EXPECT_EQ(broken.elements, Lines{"point 1.0000,1.0000"});
  EXPECT_EQ(broken.log,
            Lines{"Błędny kod grupy w wierszu 13 pliku DXF; dalsza część pliku pominięta"});
  // No ENTITIES, no element; a UTF-8 drawing keeps its letters.
  EXPECT_TRUE(load(dxf("0 SECTION|2 HEADER|0 ENDSEC|0 POINT|10 1|20 1|0 EOF")).elements.empty());
  EXPECT_EQ(load(dxf("0 SECTION|2 HEADER|9 $ACADVER|1 AC1021|0 ENDSEC|" + kEntities +
                     "0 TEXT|10 0|20 0|40 1|1 Łódź" + kEnd))
                .elements,
            Lines{"text 0.0000,0.0000 0.0000 1.0000 Łódź"});
}

TEST(DxfUnderlayTable, GrowsInStepsAndKeepsTheSideTablesCounting) {
  DxfUnderlay u;
  EXPECT_EQ(u.elementCapacity, 0);
  for (int k = 0; k < 5000; ++k) ASSERT_TRUE(u.addElement(kUnderlayLine, k, 0, k, 1));
  EXPECT_EQ(u.elementCapacity, 5000);
  ASSERT_TRUE(u.addText(1, 2, 0, 1, "A"));
  EXPECT_EQ(u.elementCapacity, 10000);
  EXPECT_EQ(u.textCapacity, 5000);
  EXPECT_EQ(u.radiusCapacity, 0);
  EXPECT_EQ(u.elementReference[5001], 1);
  // A new load starts at element 1; the text table goes on after its earlier entries.
  u.restartElements();
  ASSERT_TRUE(u.addText(3, 4, 0, 1, "B"));
  ASSERT_TRUE(u.addArc(0, 0, 0, 1, 7));
  EXPECT_EQ(u.elementCount, 2);
  EXPECT_EQ(u.elementReference[1], 2);
  EXPECT_EQ(u.text(1), "B");
  EXPECT_EQ(u.radius(2), 7);
  // A table that cannot grow stores nothing.
  u.tableLimit = 5000;
  for (int k = 0; k < 4999; ++k) ASSERT_TRUE(u.addArc(0, 0, 0, 1, 1));
  EXPECT_FALSE(u.addArc(0, 0, 0, 1, 1));
  EXPECT_EQ(u.radiusCount, 5000);
  EXPECT_EQ(u.elementCount, 5001);
}

// --- The commands -------------------------------------------------------------------------------

class UnderlayFlow : public ::testing::Test {
 protected:
  std::filesystem::path drawing(const std::string& name, const std::string& bytes) {
    const auto file = t.folder / name;
    testing::writeBytes(file, bytes);
    return file;
  }
  DxfUnderlay& underlay() { return t.program->underlay; }
  testing::TestProgram t;
};

TEST_F(UnderlayFlow, DialogRetryLogAndHiding) {
  TFORM_Main& main = t.main();
  const auto file = drawing("mapa.dxf", dxf(kEntities +
                                            "0 LINE|10 0|20 0|11 1|21 1|0 TEXT|10 0|20 0|40 "
                                            "1|1 A|0 CIRCLE|10 0|20 0|40 1" +
                                            kEnd));
  // A missing file: Yes offers the dialog again, where the existing file is chosen.
  const auto missing = t.folder / "brak.dxf";
  t.platform.openAnswers = {missing, file};
  t.platform.answers = {DialogResult::Yes};
  main.MenuClick(MenuCommand::LoadUnderlay);
  ASSERT_EQ(t.platform.openRequests.size(), 2u);
  EXPECT_EQ(t.platform.openRequests[0].title, "Otwórz plik DXF");
  EXPECT_EQ(t.platform.openRequests[0].filter, "Pliki DXF |*.dxf");
  EXPECT_EQ(t.platform.openRequests[0].proposedName, "");
  EXPECT_EQ(t.platform.shownTexts(),
            Lines{"Błąd: Brak pliku " + missing.string() + ",Chcesz spróbować jeszcze raz?"});
  EXPECT_EQ(t.platform.messages[0].icon, MessageIcon::Error);
  EXPECT_EQ(t.platform.messages[0].buttons, MessageButtons::YesNo);
  EXPECT_EQ(main.LogMemo.lines(), Lines{"Wczytano 3 elementów z pliku " + file.string()});
  EXPECT_TRUE(underlay().underlayShown);
  EXPECT_EQ(underlay().underlayFileName, file);
  EXPECT_EQ(main.dataFolder, t.folder.path());
  EXPECT_EQ(main.ProgressBar1.maximum,
            std::max(1, static_cast<int>(std::filesystem::file_size(file) / 1000)));
  EXPECT_EQ(main.ProgressBar1.position, 0);
  EXPECT_EQ(main.StatusBar1.text, "");
  EXPECT_TRUE(main.Button14.enabled);
  EXPECT_FALSE(t.platform.busy);

  // The next dialog starts in the underlay's folder, even after another folder was used.
  main.dataFolder = "/";
  t.platform.openAnswers = {std::nullopt};
  main.MenuClick(MenuCommand::LoadUnderlay);
  EXPECT_EQ(t.platform.openRequests.back().initialFolder, t.folder.path());

  // "Odłącz DXF" only hides; a file without ENTITIES then loads nothing and stays hidden.
  main.MenuClick(MenuCommand::DetachUnderlay);
  EXPECT_FALSE(underlay().underlayShown);
  EXPECT_EQ(underlay().elementCount, 3);
  t.platform.openAnswers = {drawing("pusty.dxf", dxf("0 SECTION|2 HEADER|0 ENDSEC|0 EOF"))};
  main.MenuClick(MenuCommand::LoadUnderlay);
  EXPECT_EQ(underlay().elementCount, 0);
  EXPECT_FALSE(underlay().underlayShown);
  EXPECT_EQ(main.LogMemo.lines().back(),
            "Wczytano 0 elementów z pliku " + (t.folder / "pusty.dxf").string());
  // A missing file answered No ends the command; while a long command runs, nothing starts.
  t.platform.openAnswers = {missing};
  t.platform.answers = {DialogResult::No};
  main.MenuClick(MenuCommand::LoadUnderlay);
  EXPECT_EQ(main.LogMemo.lines().size(), 2u);
  main.disableCommands();
  const std::size_t dialogs = t.platform.openRequests.size();
  main.MenuClick(MenuCommand::LoadUnderlay);
  EXPECT_EQ(t.platform.openRequests.size(), dialogs);
}

TEST_F(UnderlayFlow, AbortAndAllocation) {
  TFORM_Main& main = t.main();
  std::string big = kEntities;
  for (int k = 0; k < 40000; ++k) big += "0 POINT|8 0|10 " + std::to_string(k) + "|20 1|30 2|";
  const auto bigFile = drawing("big.dxf", dxf(big + "0 ENDSEC|0 EOF"));
  // A table that cannot grow: the message, the elements that fitted, then the usual ending.
  underlay().tableLimit = 10000;
  t.platform.openAnswers = {bigFile};
  main.MenuClick(MenuCommand::LoadUnderlay);
  EXPECT_EQ(t.platform.shownTexts().back(),
            "Błąd, alokacji pamięci: Brak pamięci dla podczytania DXFa");
  EXPECT_EQ(underlay().elementCount, 10000);
  EXPECT_EQ(main.LogMemo.lines().back(), "Wczytano 10000 elementów z pliku " + bigFile.string());
  EXPECT_TRUE(underlay().underlayShown);
  underlay().tableLimit = 2000000000;
  // No goes on to the end; Yes stops at once: no log line, the underlay as it was (hidden
  // here), the elements read so far in the table.
  for (DialogResult answer : {DialogResult::No, DialogResult::Yes}) {
    underlay().underlayShown = false;
    main.LogMemo.clear();
    t.platform.openAnswers = {bigFile};
    t.platform.answers = {answer};
    int calls = 0, highest = 0;
    bool statusShown = true;
    t.platform.onPendingEvents = [&](int) {
      if (++calls == 5) main.Button18Click();
      highest = std::max(highest, main.ProgressBar1.position);
      statusShown = statusShown && (main.ProgressBar1.position == 0 ||
                                    main.StatusBar1.text == "Wczytywanie rysunku z pliku DXF");
    };
    main.MenuClick(MenuCommand::LoadUnderlay);
    t.platform.onPendingEvents = nullptr;
    EXPECT_EQ(t.platform.messages.back().title, "Zatrzymano proces przetwarzania pliku DXF");
    EXPECT_EQ(t.platform.messages.back().text, "Przerwać generowanie pliku tekstowego z DXF?");
    EXPECT_EQ(t.platform.messages.back().icon, MessageIcon::Warning);
    if (answer == DialogResult::No) {
      // The bar moved by bytes in thousands, in its steps, while the status said what runs.
      EXPECT_GE(highest, main.ProgressBar1.maximum - main.ProgressBar1.step);
      EXPECT_GT(calls, 50);
      EXPECT_TRUE(statusShown);
      EXPECT_EQ(underlay().elementCount, 40000);
      EXPECT_TRUE(underlay().underlayShown);
      EXPECT_EQ(main.LogMemo.lines().size(), 1u);
    } else {
      EXPECT_GT(underlay().elementCount, 0);
      EXPECT_LT(underlay().elementCount, 40000);
      EXPECT_FALSE(underlay().underlayShown);
      EXPECT_TRUE(main.LogMemo.lines().empty());
    }
    EXPECT_FALSE(main.abortRequested);
    EXPECT_FALSE(underlay().loading);
    EXPECT_TRUE(main.Button14.enabled);
    EXPECT_EQ(main.StatusBar1.text, "");
  }
  // The progress bar went up to the file's size in thousands of bytes.
  EXPECT_EQ(main.ProgressBar1.maximum,
            static_cast<int>(std::filesystem::file_size(bigFile) / 1000));
}

}  // namespace
}  // namespace merilon
