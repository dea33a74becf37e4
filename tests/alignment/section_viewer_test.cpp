#include "alignment/section_viewer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cmath>

#include "alignment/cross_section_text.h"
#include "alignment/section_sheet.h"
#include "drawing/drawing_fixture.h"
#include "points/record_parser.h"
#include "support/recording_canvas.h"
#include "support/scripted_platform.h"
#include "support/test_program.h"

namespace merilon {
namespace {

using testing::CanvasOp;
using testing::RecordingCanvas;

// A .TER text of sections, each given as its chainage and (offset, height, layer) points.
struct Sec {
  double chainage;
  std::vector<SectionPoint> points;
};
std::vector<std::string> terLines(const std::vector<Sec>& sections, bool announce = true) {
  std::vector<std::string> l = {"\"&IBMVORDPOW\",\"\""};
  l.push_back(announce ? "Teren z Merilonu,0,0.00,0.00," + std::to_string(sections.size() - 1)
                       : "PUSTA DO WPISANIA");
  for (const Sec& s : sections) {
    l.push_back(std::to_string(s.chainage) + "," + std::to_string(3 * s.points.size()));
    for (const SectionPoint& p : s.points) {
      l.push_back(std::to_string(p.offset));
      l.push_back(std::to_string(p.height));
      l.push_back(std::to_string(p.layerValue));
      l.push_back("\"\"");
    }
  }
  return l;
}

const std::vector<Sec> kThree = {
    {20, {{-8, 99.8, 0}, {-3, 100.05, -0.5}, {5, 99.5, 0.3}, {9, 99, -9999999}}},
    {40, {{-2, 101, 0}, {6, 102.5, -9999999}}},
    {60, {{1, 100, 0}, {4, 100.2, 0}, {12, 98, -9999999}}}};

TEST(CrossSectionTextTest, ReadsSectionsAndNamesTheFirstLineItCannotUse) {
  std::vector<std::string> generated = terLines(kThree);
  std::vector<std::string> badValue = generated;
  badValue[8] = "abc";  // the second point's height
  std::vector<std::string> badSection = generated;
  badSection[19] = "40.00";  // no point count
  std::vector<std::string> cut(generated.begin(), generated.end() - 5);
  std::vector<std::string> blanks = generated;
  blanks.insert(blanks.end(), {"", "  "});
  std::vector<std::string> overAnnounced = generated;
  overAnnounced[1] = "Teren z Merilonu,0,20.00,60.00,5";
  std::vector<std::string> underAnnounced = generated;
  underAnnounced[1] = "Teren z Merilonu,0,20.00,40.00,1";
  std::vector<std::string> hugeCount = {"x", "PUSTA", "10.00,1e300", "1", "2", "3", "\"\""};
  const struct {
    const char* what;
    std::vector<std::string> lines;
    long long announced;
    std::size_t sections, lastPoints;
    int problemLine;
  } cases[] = {
      {"as generated", generated, 3, 3, 3, 0},
      {"a short run's placeholder", terLines({kThree[0], kThree[1]}, false), -1, 2, 2, 0},
      {"a height that is no number", badValue, 3, 1, 1, 9},
      {"a section line without a count", badSection, 3, 1, 4, 20},
      {"the text ends inside a section", cut, 3, 3, 2, static_cast<int>(cut.size())},
      {"blank lines at the end", blanks, 3, 3, 3, 0},
      {"more sections announced than written", overAnnounced, 6, 3, 3, 2},
      {"fewer announced: the rest is not read", underAnnounced, 2, 2, 2, 0},
      {"a count beyond any file", hugeCount, -1, 1, 1, 7},
      {"nothing at all", {}, -1, 0, 0, 0},
      {"only the first line", {"\"&IBMVORDPOW\",\"\""}, -1, 0, 0, 1},
  };
  for (const auto& c : cases) {
    RecordParser parser;
    const CrossSectionText t = readCrossSectionText(c.lines, parser);
    EXPECT_EQ(t.announcedSections, c.announced) << c.what;
    ASSERT_EQ(t.sections.size(), c.sections) << c.what;
    if (c.sections > 0) {
      EXPECT_EQ(t.sections.back().points.size(), c.lastPoints) << c.what;
    }
    EXPECT_EQ(t.problemLine, c.problemLine) << c.what << ": " << t.problem;
  }
  RecordParser parser;
  const CrossSectionText t = readCrossSectionText(generated, parser);
  EXPECT_DOUBLE_EQ(t.sections[0].chainage, 20);
  EXPECT_EQ(t.sections[0].line, 3);
  EXPECT_DOUBLE_EQ(t.sections[0].points[1].height, 100.05);
  EXPECT_DOUBLE_EQ(t.sections[0].points[1].layerValue, -0.5);
  EXPECT_EQ(readCrossSectionText(hugeCount, parser).sections[0].declaredPoints, INT_MAX);
}

struct Viewer {
  Viewer() {
    testing::writeBytes(folder / "teren.TER", testing::crlf(terLines(kThree)));
    EXPECT_TRUE(form.openFile(folder / "teren.TER"));
  }
  // The segments of the terrain line (the widest pen) as drawn by the last paint.
  std::vector<CanvasOp> segments() {
    canvas.ops.clear();
    form.paint(canvas);
    std::vector<CanvasOp> r;
    for (const CanvasOp& o : canvas.of(CanvasOp::Line)) {
      if (o.penWidth == kSectionLineWidth) r.push_back(o);
    }
    return r;
  }
  testing::TempFolder folder;
  testing::ScriptedPlatform platform;
  TFormPrzekroje form{platform};
  RecordingCanvas canvas{800, 500};
};

TEST(SectionViewerTest, DrawsTheSectionOverItsOffsetsAndHeightsWithExaggeratedHeightsOnly) {
  Viewer v;
  const struct {
    bool exaggerated;
    const char* factor;
    double expected;
  } cases[] = {{false, "10", 1}, {true, "10", 10}, {true, "2", 2},       {true, "0", 2},
               {true, "abc", 2}, {true, "1", 2},   {true, "1000", 1000}, {true, "1000.5", 1000}};
  for (const auto& c : cases) {
    v.form.ComboBox2.text = c.factor;
    v.form.ComboBox2Change();
    c.exaggerated ? v.form.RadioButton2Click() : v.form.RadioButton1Click();
    EXPECT_EQ(v.form.ComboBox2.enabled, c.exaggerated);
    EXPECT_DOUBLE_EQ(v.form.exaggeration(), c.expected) << c.factor;
  }
  // Each section, equal and tenfold: the terrain line spans the section's offsets and heights
  // on the mapping of the picture, and stays inside the plot.
  for (int s = 0; s < 3; ++s) {
    for (double factor : {1.0, 10.0}) {
      v.form.ComboBox2.text = "10";
      v.form.ComboBox2Change();
      factor == 1 ? v.form.RadioButton1Click() : v.form.RadioButton2Click();
      const std::vector<CanvasOp> lines = v.segments();
      const Sec& sec = kThree[static_cast<std::size_t>(s)];
      ASSERT_EQ(lines.size(), sec.points.size() - 1);
      int x0 = INT_MAX, x1 = INT_MIN, y0 = INT_MAX, y1 = INT_MIN;
      for (const CanvasOp& l : lines) {
        x0 = std::min({x0, l.x1, l.x2});
        x1 = std::max({x1, l.x1, l.x2});
        y0 = std::min({y0, l.y1, l.y2});
        y1 = std::max({y1, l.y1, l.y2});
      }
      double o0 = 1e9, o1 = -1e9, z0 = 1e9, z1 = -1e9;
      for (const SectionPoint& p : sec.points) {
        o0 = std::min(o0, p.offset);
        o1 = std::max(o1, p.offset);
        z0 = std::min(z0, p.height);
        z1 = std::max(z1, p.height);
      }
      const SectionPictureGeometry& g = v.form.lastGeometry();
      EXPECT_DOUBLE_EQ(g.pixelsPerMetreY, factor * g.pixelsPerMetreX);
      EXPECT_NEAR((x1 - x0) / g.pixelsPerMetreX, o1 - o0, 1 / g.pixelsPerMetreX);
      EXPECT_NEAR((y1 - y0) / g.pixelsPerMetreY, z1 - z0, 1 / g.pixelsPerMetreY);
      EXPECT_EQ(x0, std::lround(g.x(o0)));
      EXPECT_EQ(y0, std::lround(g.y(z1)));
      EXPECT_GE(x0, g.plotLeft);
      EXPECT_LE(x1, g.plotRight);
      EXPECT_GE(y0, g.plotTop);
      EXPECT_LE(y1, g.plotBottom);
      // The axis is a red vertical line at offset 0.
      bool axis = false;
      for (const CanvasOp& l : v.canvas.of(CanvasOp::Line)) {
        axis = axis || (l.pen == Rgb{255, 0, 0} && l.x1 == l.x2 && l.x1 == std::lround(g.x(0)));
      }
      EXPECT_TRUE(axis);
      EXPECT_EQ(v.canvas.of(CanvasOp::Marker).size(), sec.points.size());
    }
    v.form.Button2Click();
  }
  // The first section: chainage and point count, segments in the plan's layer colours.
  v.form.FormKeyDown(TFormPrzekroje::Key::First);
  v.form.RadioButton1Click();
  const std::vector<CanvasOp> lines = v.segments();
  EXPECT_NE(v.canvas.findText("Pikietaż 20.00    Liczba punktów: 4"), nullptr);
  EXPECT_NE(v.canvas.findText("Skala pionowa równa poziomej"), nullptr);
  EXPECT_EQ(lines[0].pen, (Rgb{255, 255, 0}));    // terrain
  EXPECT_EQ(lines[1].pen, (Rgb{128, 128, 128}));  // pavement (negative)
  EXPECT_EQ(lines[2].pen, (Rgb{0, 128, 0}));      // humus (positive)
  v.form.RadioButton2Click();
  v.segments();
  EXPECT_NE(v.canvas.findText("Przewyższenie pionowe 10×"), nullptr);
}

// Heights and offsets far beyond a survey's (a hostile or broken file): the grid stays bounded,
// and at 1e18 the multiples of a centimetre step are beyond the doubles that count by one.
TEST(SectionViewerTest, FarOffValuesDrawABoundedGrid) {
  const struct {
    double offset, height;
  } cases[] = {{5, 1e18}, {5, -1e18}, {1e18, 100}, {-1e17, 1e16}, {5, 9007199254740992.0}};
  for (const auto& c : cases) {
    TerSection s;
    s.points = {{0, c.height, 0}, {c.offset, c.height + 0.5, 0}};
    for (bool paper : {false, true}) {
      RecordingCanvas canvas{800, 500};
      drawSectionPicture(canvas, s, {0, 0, 800, 500}, {10, paper});
      EXPECT_LT(canvas.of(CanvasOp::Line).size(), 2000u) << c.offset << " " << c.height;
      EXPECT_EQ(canvas.of(CanvasOp::Marker).size(), 2u) << c.offset << " " << c.height;
    }
  }
}

TEST(SectionViewerTest, StepsThroughTheSectionsAndChoosesByChainage) {
  Viewer v;
  TFormPrzekroje& f = v.form;
  EXPECT_EQ(f.ComboBox1.items, (std::vector<std::string>{"20.00", "40.00", "60.00"}));
  EXPECT_EQ(f.Caption, "Przekroje poprzeczne terenu");
  using Key = TFormPrzekroje::Key;
  const struct {
    const char* what;
    std::function<void()> act;
    int current;
    bool previous, next;
  } steps[] = {
      {"opened on the first", [] {}, 0, false, true},
      {"previous at the start", [&] { f.Button1Click(); }, 0, false, true},
      {"next", [&] { f.Button2Click(); }, 1, true, true},
      {"next to the last", [&] { f.Button2Click(); }, 2, true, false},
      {"next at the end", [&] { f.Button2Click(); }, 2, true, false},
      {"home", [&] { f.FormKeyDown(Key::First); }, 0, false, true},
      {"end", [&] { f.FormKeyDown(Key::Last); }, 2, true, false},
      {"key previous", [&] { f.FormKeyDown(Key::Previous); }, 1, true, true},
      {"typed 29.99",
       [&] {
         f.ComboBox1.text = "29.99";
         f.ComboBox1Change();
       },
       0, false, true},
      {"typed 30: a tie takes the first",
       [&] {
         f.ComboBox1.text = "30";
         f.ComboBox1Change();
       },
       0, false, true},
      {"typed 30.01",
       [&] {
         f.ComboBox1.text = "30.01";
         f.ComboBox1Change();
       },
       1, true, true},
      {"chosen 60.00",
       [&] {
         f.ComboBox1.text = "60.00";
         f.ComboBox1Change();
       },
       2, true, false},
      {"far beyond",
       [&] {
         f.ComboBox1.text = "-5000";
         f.ComboBox1Change();
       },
       0, false, true},
      {"not a number",
       [&] {
         f.ComboBox1.text = "x";
         f.ComboBox1Change();
       },
       0, false, true},
  };
  for (const auto& s : steps) {
    s.act();
    EXPECT_EQ(f.current(), s.current) << s.what;
    EXPECT_EQ(f.Button1.enabled, s.previous) << s.what;
    EXPECT_EQ(f.Button2.enabled, s.next) << s.what;
    if (std::string(s.what) != "not a number") {
      EXPECT_EQ(f.ComboBox1.text, f.ComboBox1.items[static_cast<std::size_t>(s.current)]) << s.what;
    }
  }
}

TEST(SectionViewerTest, RefusesFilesWithoutSectionsAndKeepsWhatItShowed) {
  Viewer v;
  const auto other = v.folder / "zly.TER";
  testing::writeBytes(other, "TRASA\r\n\"T\",\"Prosta\",x,0,2\r\n1,0,100,100,1.1,0,0\r\n");
  EXPECT_FALSE(v.form.openFile(other));
  EXPECT_FALSE(v.form.openFile(v.folder / "brak.TER"));
  ASSERT_EQ(v.platform.messages.size(), 2u);
  EXPECT_EQ(v.platform.messages[0].icon, MessageIcon::Error);
  EXPECT_EQ(v.platform.messages[0].text,
            "Plik " + other.string() +
                " nie zawiera przekrojów poprzecznych terenu (wiersz 3: brak pikietażu lub "
                "liczby punktów przekroju)");
  EXPECT_EQ(v.form.sections().sections.size(), 3u);
  EXPECT_EQ(v.form.fileName(), (v.folder / "teren.TER").string());
  // Part of a file: the sections before the line, with a warning naming it.
  std::vector<std::string> lines = terLines(kThree);
  lines[21] = "?";
  testing::writeBytes(other, testing::crlf(lines));
  EXPECT_TRUE(v.form.openFile(other));
  ASSERT_EQ(v.platform.messages.size(), 3u);
  EXPECT_EQ(v.platform.messages[2].icon, MessageIcon::Warning);
  EXPECT_EQ(v.platform.messages[2].text,
            "Plik " + other.string() +
                ", wiersz 22: wartość punktu przekroju nie jest liczbą. Pokazano przekroje "
                "wczytane do tego miejsca: 2.");
  EXPECT_EQ(v.form.ComboBox1.items.size(), 2u);
}

TEST(SectionViewerTest, PrintsTheShownSectionAtARoundScaleAndSheetsHoldFourSections) {
  Viewer v;
  v.form.Button2Click();
  testing::ScriptedPrinter& printer = v.platform.printerDevice;
  const RecordingCanvas& page = printer.page;  // A4 at 254 pixels per inch: 10 to a millimetre
  v.form.Button3Click();
  ASSERT_EQ(printer.ended, 1);
  EXPECT_EQ(printer.orientations.back(), PageOrientation::Landscape);
  EXPECT_EQ(printer.title, "Przekroje poprzeczne terenu");
  EXPECT_NE(page.findText("Przekroje poprzeczne terenu: teren.TER"), nullptr);
  EXPECT_NE(page.findText("Strona 1 z 1"), nullptr);
  EXPECT_NE(page.findText("Pikietaż 40.00    Liczba punktów: 2"), nullptr);
  // 8 m across about 25 cm of paper: 1:50.
  EXPECT_NE(page.findText("Skala 1:50"), nullptr);
  // Markers and thin lines as large as on the screen: 1 mm squares, 0.3 mm lines.
  std::size_t markers = 0;
  for (const CanvasOp& r : page.of(CanvasOp::Rectangle)) {
    if (r.pen != Rgb{128, 128, 0}) continue;
    ++markers;
    EXPECT_EQ(r.x2 - r.x1, 10);
    EXPECT_EQ(r.y2 - r.y1, 10);
  }
  EXPECT_EQ(markers, 2u);
  for (const CanvasOp& l : page.of(CanvasOp::Line)) EXPECT_GE(l.penWidth, 3);
  v.form.RadioButton2Click();
  v.form.Button3Click();
  // 1.5 m of height tenfold on about 14.5 cm of paper: 1:200 across, 1:20 upwards.
  EXPECT_NE(page.findText("Skala 1:200, pionowa 1:20"), nullptr);
  EXPECT_NE(page.findText("5 m"), nullptr) << "the scale bar";
  EXPECT_TRUE(v.platform.messages.empty());

  const struct {
    const char* what;
    bool confirm, failBegin, failEnd;
    int ended;
    std::size_t messages;
  } failures[] = {
      {"dialog cancelled", false, false, false, 0, 0},
      {"no document", true, true, false, 0, 1},
      {"the printer failed", true, false, true, 1, 1},
  };
  for (const auto& c : failures) {
    Viewer w;
    testing::ScriptedPrinter& p = w.platform.printerDevice;
    p.confirmDialog = c.confirm;
    p.failBegin = c.failBegin;
    p.failEnd = c.failEnd;
    w.form.Button3Click();
    EXPECT_EQ(p.ended, c.ended) << c.what;
    ASSERT_EQ(w.platform.messages.size(), c.messages) << c.what;
    if (c.messages) {
      EXPECT_EQ(w.platform.messages[0].text, "Nie udało się wydrukować przekroju") << c.what;
    }
  }
  EXPECT_EQ(roundScaleDenominator(50), 50);
  EXPECT_EQ(roundScaleDenominator(50.01), 100);
  EXPECT_EQ(roundScaleDenominator(201), 250);
  EXPECT_EQ(roundScaleDenominator(0.5), 1);
  for (auto [sections, pages] : {std::pair{0, 0}, {1, 1}, {4, 1}, {5, 2}, {2000, 500}}) {
    EXPECT_EQ(sectionSheetPageCount(static_cast<std::size_t>(sections)), pages) << sections;
  }
}

TEST(SectionViewerTest, TheDrawingWindowCommandUsesTheRoadProgramOrTheViewer) {
  const struct {
    const char* what;
    bool ter, terReadable, exe;
    std::size_t messages, started;
    bool viewerShown;
  } cases[] = {
      {"no .TER file: nothing", false, false, false, 0, 0, false},
      {"no .TER file, with the program: nothing", false, false, true, 0, 0, false},
      {"the road-design program takes the file", true, true, true, 0, 1, false},
      {"without it the viewer shows the sections", true, true, false, 0, 0, true},
      {"a file the viewer cannot read", true, false, false, 1, 0, false},
  };
  for (const auto& c : cases) {
    testing::DrawingProgram t;
    t.addPoint(0, 0, 1);
    t.open();
    const auto ter = t.folder / "teren.TER";
    if (c.ter) {
      testing::writeBytes(ter, c.terReadable ? testing::crlf(terLines(kThree)) : "x\r\n");
    }
    if (c.exe) testing::writeBytes(t.folder / "WinVo308.exe", "");
    t.program->FormPoprzeczka.lastTerFileName = ter.string();
    t.window().ToolButton26Click();
    EXPECT_EQ(t.platform.messages.size(), c.messages) << c.what;
    ASSERT_EQ(t.platform.startedPrograms.size(), c.started) << c.what;
    if (c.started) {
      EXPECT_EQ(t.platform.startedPrograms[0], (t.folder / "WinVo308.exe").string() + " \"" +
                                                   ter.string() + "\" in " +
                                                   t.folder.path().string());
    }
    EXPECT_EQ(t.program->FormPrzekroje.visible, c.viewerShown) << c.what;
    if (c.viewerShown) {
      EXPECT_EQ(t.program->FormPrzekroje.current(), 0);
    }
    EXPECT_EQ(t.window().lastCommand, 11);
    EXPECT_EQ(t.window().StatusBar1.text, "");
  }
}

}  // namespace
}  // namespace merilon
